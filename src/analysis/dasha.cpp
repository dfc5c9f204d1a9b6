#include "analysis/dasha.h"

#include <cmath>

namespace velmora::analysis {

namespace {

using Seconds = std::chrono::duration<double>;

constexpr double kSecondsPerYear = kDashaDaysPerYear * 86400.0;
constexpr double kUnixEpochJulianDay = 2440587.5;
constexpr int kNakshatras = 27;

// A longitude that misses a nakshatra's edge by rounding noise only (13°20'
// written as 13 + 20/60.0) is taken as the edge itself, so the Moon there
// starts the nakshatra with its full balance. In nakshatras: about 5e-5
// arcseconds.
constexpr double kEdgeTolerance = 1e-9;

Seconds Years(double years) { return Seconds(years * kSecondsPerYear); }

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
std::vector<DashaSpan> AntarDashas(std::size_t mahaLord, UtMoment nominalStart, UtMoment mahaEnd, UtMoment from) {
    std::vector<DashaSpan> antars;
    const double mahaYears = kDashaLords[mahaLord].Years;
    double elapsedYears = 0;
    for (std::size_t k = 0; k < kDashaLords.size(); ++k) {
        const std::size_t lord = (mahaLord + k) % kDashaLords.size();
        const UtMoment start = nominalStart + Years(elapsedYears);
        elapsedYears += mahaYears * kDashaLords[lord].Years / kDashaCycleYears;
        const UtMoment end = k + 1 == kDashaLords.size() ? mahaEnd : nominalStart + Years(elapsedYears);
        if (end <= from) continue;
        antars.push_back(Span(lord, start < from ? from : start, end));
    }
    return antars;
}

}  // namespace

UtMoment MomentOfJulianDay(double julianDay) { return UtMoment(Seconds((julianDay - kUnixEpochJulianDay) * 86400.0)); }

std::chrono::year_month_day UtDateOf(UtMoment moment) {
    return std::chrono::year_month_day(std::chrono::floor<std::chrono::days>(moment));
}

DashaTable VimshottariDashas(double moonLongitude, UtMoment birth) {
    double longitude = std::isfinite(moonLongitude) ? std::fmod(moonLongitude, 360.0) : 0.0;
    if (longitude < 0) longitude += 360.0;
    double position = longitude * kNakshatras / 360.0;
    const double nearestEdge = std::round(position);
    if (std::abs(position - nearestEdge) < kEdgeTolerance) position = nearestEdge;
    int nakshatra = static_cast<int>(std::floor(position));
    const double fraction = position - nakshatra;
    nakshatra %= kNakshatras;

    DashaTable table;
    table.Nakshatra = nakshatra + 1;
    table.NakshatraName = kNakshatraNames[static_cast<std::size_t>(nakshatra)];
    const std::size_t first = static_cast<std::size_t>(nakshatra) % kDashaLords.size();
    table.Lord = static_cast<int>(first);
    table.LordName = kDashaLords[first].Name;
    table.ElapsedFraction = fraction;
    table.BalanceYears = (1 - fraction) * kDashaLords[first].Years;

    UtMoment nominalStart = birth - Years(fraction * kDashaLords[first].Years);
    for (std::size_t k = 0; k < kDashaLords.size(); ++k) {
        const std::size_t lord = (first + k) % kDashaLords.size();
        const UtMoment end = nominalStart + Years(kDashaLords[lord].Years);
        MahaDasha maha;
        static_cast<DashaSpan&>(maha) = Span(lord, k == 0 ? birth : nominalStart, end);
        maha.Sub = AntarDashas(lord, nominalStart, end, birth);
        table.Periods.push_back(std::move(maha));
        nominalStart = end;
    }
    return table;
}

std::optional<RunningDasha> RunningDashaAt(const DashaTable& table, UtMoment moment) {
    for (std::size_t m = 0; m < table.Periods.size(); ++m) {
        const MahaDasha& maha = table.Periods[m];
        if (moment < maha.Start || moment >= maha.End) continue;
        for (std::size_t a = 0; a < maha.Sub.size(); ++a)
            if (moment >= maha.Sub[a].Start && moment < maha.Sub[a].End) return RunningDasha{m, a};
        return std::nullopt;  // not reached: the antar dashas cover their maha
    }
    return std::nullopt;
}

}  // namespace velmora::analysis
