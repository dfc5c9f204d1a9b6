#include "analysis/yogini.h"

#include "analysis/nakshatra.h"
#include "analysis/period_layout.h"

namespace velmora::analysis {

namespace {

using Seconds = std::chrono::duration<double>;

constexpr std::size_t kCount = kYoginis.size();

// Fills the span in place: built elsewhere and copied, its moments would be
// read back before their stores land.
void Fill(YoginiSpan& span, std::size_t yogini, UtMoment start, UtMoment end) {
    span.Yogini = static_cast<int>(yogini);
    span.YoginiName = kYoginis[yogini].Name;
    span.Lord = kYoginis[yogini].Lord;
    span.LordName = kDashaLords[static_cast<std::size_t>(span.Lord)].Name;
    span.Start = start;
    span.End = end;
}

}  // namespace

int FirstYoginiOf(int nakshatra) {
    const int r = ((nakshatra + 3) % 8 + 8) % 8;
    return (r + 7) % 8;  // r = 1 is Mangala, the first entry; r = 0 Sankata, the last
}

YoginiTable YoginiDashas(double moonLongitude, UtMoment birth, DashaYear year) {
    const NakshatraPosition position = NakshatraPositionOf(moonLongitude);
    YoginiTable table;
    table.Year = year;
    table.YearDays = DaysPerYear(year);
    const double secondsPerYear = table.YearDays * 86400.0;
    table.Nakshatra = position.Index + 1;
    const std::size_t first = static_cast<std::size_t>(FirstYoginiOf(table.Nakshatra));
    table.First = static_cast<int>(first);
    table.ElapsedFraction = position.Fraction;
    table.BalanceYears = (1 - position.Fraction) * kYoginis[first].Years;

    UtMoment nominalStart = birth - Seconds(position.Fraction * kYoginis[first].Years * secondsPerYear);
    for (std::size_t k = 0; k < kCount; ++k) {
        const std::size_t yogini = (first + k) % kCount;
        const double mahaYears = kYoginis[yogini].Years;
        const UtMoment end = nominalStart + Seconds(mahaYears * secondsPerYear);
        YoginiMaha& maha = table.Periods[k];
        Fill(maha, yogini, k == 0 ? birth : nominalStart, end);
        maha.Years = kYoginis[yogini].Years;
        // Whole years summed exactly, so each antar's end is found without
        // waiting for the one before.
        int years = 0;
        LayPeriods(
            kCount, nominalStart, end, birth, secondsPerYear,
            [&](std::size_t a) {
                years += kYoginis[(yogini + a) % kCount].Years;
                return mahaYears * years / kYoginiCycleYears;
            },
            [&](std::size_t a, UtMoment, UtMoment start, UtMoment stop) {
                Fill(maha.Sub.emplace_back(), (yogini + a) % kCount, start, stop);
            });
        nominalStart = end;
    }
    return table;
}

std::optional<RunningYogini> RunningYoginiAt(const YoginiTable& table, UtMoment moment) {
    for (std::size_t m = 0; m < table.Periods.size(); ++m) {
        const YoginiMaha& maha = table.Periods[m];
        if (moment < maha.Start || moment >= maha.End) continue;
        for (std::size_t a = 0; a < maha.Sub.size(); ++a)
            if (moment >= maha.Sub[a].Start && moment < maha.Sub[a].End) return RunningYogini{m, a};
        return std::nullopt;  // not reached: the antars cover their maha
    }
    return std::nullopt;
}

}  // namespace velmora::analysis
