#include "analysis/dasha.h"

#include <cmath>

#include "analysis/nakshatra.h"
#include "analysis/period_layout.h"

namespace velmora::analysis {

namespace {

using Seconds = std::chrono::duration<double>;

constexpr double kUnixEpochJulianDay = 2440587.5;
constexpr std::size_t kLords = kDashaLords.size();
constexpr std::size_t kMostPratyantars = kLords * kLords * kLords;

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
// start, kept from `from` on, each with its pratyantars appended to
// `pratyantars`; the last antar ends exactly at the maha's end, and the last
// pratyantar of each antar at the antar's end.
std::vector<AntarDasha> AntarDashas(std::size_t mahaLord, UtMoment nominalStart, UtMoment mahaEnd, UtMoment from,
                                    double secondsPerYear, std::vector<DashaPeriod>& pratyantars) {
    std::vector<AntarDasha> antars;
    antars.reserve(kLords);
    const double mahaYears = kDashaLords[mahaLord].Years;
    const auto antarYears = [&](std::size_t k) {
        return mahaYears * kDashaLords[(mahaLord + k) % kLords].Years / kDashaCycleYears;
    };
    LayPeriods(kLords, nominalStart, mahaEnd, from, secondsPerYear, antarYears,
               [&](std::size_t k, UtMoment antarNominal, UtMoment start, UtMoment end) {
                   const std::size_t lord = (mahaLord + k) % kLords;
                   AntarDasha antar;
                   static_cast<DashaSpan&>(antar) = Span(lord, start, end);
                   antar.FirstSub = static_cast<std::uint16_t>(pratyantars.size());
                   const double years = antarYears(k);
                   LayPeriods(
                       kLords, antarNominal, end, from, secondsPerYear,
                       [&](std::size_t p) { return years * kDashaLords[(lord + p) % kLords].Years / kDashaCycleYears; },
                       [&](std::size_t p, UtMoment, UtMoment subStart, UtMoment subEnd) {
                           pratyantars.push_back({static_cast<int>((lord + p) % kLords), subStart, subEnd});
                       });
                   antar.SubCount = static_cast<std::uint16_t>(pratyantars.size() - antar.FirstSub);
                   antars.push_back(antar);
               });
    return antars;
}

}  // namespace

UtMoment MomentOfJulianDay(double julianDay) { return UtMoment(Seconds((julianDay - kUnixEpochJulianDay) * 86400.0)); }

std::chrono::year_month_day UtDateOf(UtMoment moment) {
    return std::chrono::year_month_day(std::chrono::floor<std::chrono::days>(moment));
}

DashaTable VimshottariDashas(double moonLongitude, UtMoment birth, DashaYear year) {
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
    table.Pratyantars.reserve(kMostPratyantars);
    table.Periods.reserve(kLords);

    UtMoment nominalStart = birth - Seconds(fraction * kDashaLords[first].Years * secondsPerYear);
    for (std::size_t k = 0; k < kLords; ++k) {
        const std::size_t lord = (first + k) % kLords;
        const UtMoment end = nominalStart + Seconds(kDashaLords[lord].Years * secondsPerYear);
        MahaDasha maha;
        static_cast<DashaSpan&>(maha) = Span(lord, k == 0 ? birth : nominalStart, end);
        maha.Sub = AntarDashas(lord, nominalStart, end, birth, secondsPerYear, table.Pratyantars);
        table.Periods.push_back(std::move(maha));
        nominalStart = end;
    }
    return table;
}

std::span<const DashaPeriod> PratyantarsOf(const DashaTable& table, const AntarDasha& antar) {
    if (antar.FirstSub + antar.SubCount > table.Pratyantars.size()) return {};
    return std::span<const DashaPeriod>(table.Pratyantars).subspan(antar.FirstSub, antar.SubCount);
}

std::optional<RunningDasha> RunningDashaAt(const DashaTable& table, UtMoment moment) {
    for (std::size_t m = 0; m < table.Periods.size(); ++m) {
        const MahaDasha& maha = table.Periods[m];
        if (moment < maha.Start || moment >= maha.End) continue;
        for (std::size_t a = 0; a < maha.Sub.size(); ++a) {
            const AntarDasha& antar = maha.Sub[a];
            if (moment < antar.Start || moment >= antar.End) continue;
            const std::span<const DashaPeriod> subs = PratyantarsOf(table, antar);
            for (std::size_t p = 0; p < subs.size(); ++p)
                if (moment >= subs[p].Start && moment < subs[p].End) return RunningDasha{m, a, p};
            return RunningDasha{m, a, 0};  // not reached: the pratyantars cover their antar
        }
        return std::nullopt;  // not reached: the antar dashas cover their maha
    }
    return std::nullopt;
}

}  // namespace velmora::analysis
