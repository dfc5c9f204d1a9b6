#include "analysis/dasha.h"

#include <cmath>

#include "analysis/nakshatra.h"
#include "analysis/period_layout.h"

namespace velmora::analysis {

namespace {

using Seconds = std::chrono::duration<double>;

constexpr double kUnixEpochJulianDay = 2440587.5;
constexpr std::size_t kLords = kDashaLords.size();

DashaSpan Span(std::size_t lord, UtMoment start, UtMoment end) {
    DashaSpan span;
    span.Lord = static_cast<int>(lord);
    span.LordName = kDashaLords[lord].Name;
    span.Start = start;
    span.End = end;
    span.StartDate = UtDateOf(start);
    span.EndDate = UtDateOf(end);
    return span;
}

// The antar dashas of a maha dasha of the given lord laid from its nominal
// start, kept from `from` on; the last one ends exactly at the maha's end.
std::vector<AntarDasha> AntarDashas(std::size_t mahaLord, UtMoment nominalStart, UtMoment mahaEnd, UtMoment from,
                                    double secondsPerYear) {
    std::vector<AntarDasha> antars;
    antars.reserve(kLords);
    const double mahaYears = kDashaLords[mahaLord].Years;
    const auto antarYears = [&](std::size_t k) {
        return mahaYears * kDashaLords[(mahaLord + k) % kLords].Years / kDashaCycleYears;
    };
    // The lengths are summed in years, one by one, as the table has always
    // been laid.
    double elapsed = 0;
    const auto elapsedAfter = [&](std::size_t k) { return elapsed += antarYears(k); };
    LayPeriods(kLords, nominalStart, mahaEnd, from, secondsPerYear, elapsedAfter,
               [&](std::size_t k, UtMoment antarNominal, UtMoment start, UtMoment end) {
                   AntarDasha antar;
                   static_cast<DashaSpan&>(antar) = Span((mahaLord + k) % kLords, start, end);
                   antar.NominalStart = antarNominal;
                   antar.Years = antarYears(k);
                   antars.push_back(antar);
               });
    return antars;
}

}  // namespace

UtMoment MomentOfJulianDay(double julianDay) { return UtMoment(Seconds((julianDay - kUnixEpochJulianDay) * 86400.0)); }

std::chrono::year_month_day UtDateOf(UtMoment moment) {
    return std::chrono::year_month_day(std::chrono::floor<std::chrono::days>(moment));
}

namespace {

DashaTable LayDashas(double moonLongitude, UtMoment birth, DashaYear year, bool antars) {
    const NakshatraPosition position = NakshatraPositionOf(moonLongitude);
    const double fraction = position.Fraction;

    DashaTable table;
    table.Year = year;
    table.YearDays = DaysPerYear(year);
    const double secondsPerYear = table.YearDays * 86400.0;
    table.Nakshatra = position.Index + 1;
    table.NakshatraName = kNakshatraNames[static_cast<std::size_t>(position.Index)];
    const std::size_t first = static_cast<std::size_t>(position.Index) % kLords;
    table.Lord = static_cast<int>(first);
    table.LordName = kDashaLords[first].Name;
    table.ElapsedFraction = fraction;
    table.BalanceYears = (1 - fraction) * kDashaLords[first].Years;
    table.Periods.reserve(kLords);

    UtMoment nominalStart = birth - Seconds(fraction * kDashaLords[first].Years * secondsPerYear);
    for (std::size_t k = 0; k < kLords; ++k) {
        const std::size_t lord = (first + k) % kLords;
        const UtMoment end = nominalStart + Seconds(kDashaLords[lord].Years * secondsPerYear);
        MahaDasha maha;
        static_cast<DashaSpan&>(maha) = Span(lord, k == 0 ? birth : nominalStart, end);
        if (antars) maha.Sub = AntarDashas(lord, nominalStart, end, birth, secondsPerYear);
        table.Periods.push_back(std::move(maha));
        nominalStart = end;
    }
    return table;
}

}  // namespace

DashaTable VimshottariDashas(double moonLongitude, UtMoment birth, DashaYear year) {
    return LayDashas(moonLongitude, birth, year, true);
}

DashaTable VimshottariMahaDashas(double moonLongitude, UtMoment birth, DashaYear year) {
    return LayDashas(moonLongitude, birth, year, false);
}

PratyantarList PratyantarsOf(const DashaTable& table, const AntarDasha& antar) {
    PratyantarList list;
    if (table.Periods.empty() || antar.Lord < 0 || antar.Lord >= static_cast<int>(kLords)) return list;
    const std::size_t lord = static_cast<std::size_t>(antar.Lord);
    double elapsed = 0;
    LayPeriods(
        kLords, antar.NominalStart, antar.End, table.Periods.front().Start, table.YearDays * 86400.0,
        [&](std::size_t p) {
            return elapsed += antar.Years * kDashaLords[(lord + p) % kLords].Years / kDashaCycleYears;
        },
        [&](std::size_t p, UtMoment, UtMoment start, UtMoment end) {
            DashaPeriod& sub = list.emplace_back();
            sub.Lord = static_cast<int>((lord + p) % kLords);
            sub.Start = start;
            sub.End = end;
        });
    return list;
}

std::optional<RunningDasha> RunningDashaAt(const DashaTable& table, UtMoment moment) {
    for (std::size_t m = 0; m < table.Periods.size(); ++m) {
        const MahaDasha& maha = table.Periods[m];
        if (moment < maha.Start || moment >= maha.End) continue;
        for (std::size_t a = 0; a < maha.Sub.size(); ++a) {
            const AntarDasha& antar = maha.Sub[a];
            if (moment < antar.Start || moment >= antar.End) continue;
            const PratyantarList subs = PratyantarsOf(table, antar);
            for (std::size_t p = 0; p < subs.size(); ++p)
                if (moment >= subs[p].Start && moment < subs[p].End) return RunningDasha{m, a, p};
            return RunningDasha{m, a, 0};  // not reached: the pratyantars cover their antar
        }
        return std::nullopt;  // not reached: the antar dashas cover their maha
    }
    return std::nullopt;
}

}  // namespace velmora::analysis
