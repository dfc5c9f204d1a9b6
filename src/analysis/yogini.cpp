#include "analysis/yogini.h"

#include "analysis/nakshatra.h"
#include "analysis/period_layout.h"

namespace velmora::analysis {

namespace {

using Seconds = std::chrono::duration<double>;

constexpr std::size_t kCount = kYoginis.size();

YoginiSpan Span(std::size_t yogini, UtMoment start, UtMoment end) {
    YoginiSpan span;
    span.Yogini = static_cast<int>(yogini);
    span.YoginiName = kYoginis[yogini].Name;
    span.Lord = kYoginis[yogini].Lord;
    span.LordName = kDashaLords[static_cast<std::size_t>(span.Lord)].Name;
    span.Start = start;
    span.End = end;
    span.StartDate = UtDateOf(start);
    span.EndDate = UtDateOf(end);
    return span;
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
    table.Periods.reserve(kCount);

    UtMoment nominalStart = birth - Seconds(position.Fraction * kYoginis[first].Years * secondsPerYear);
    for (std::size_t k = 0; k < kCount; ++k) {
        const std::size_t yogini = (first + k) % kCount;
        const double mahaYears = kYoginis[yogini].Years;
        const UtMoment end = nominalStart + Seconds(mahaYears * secondsPerYear);
        YoginiMaha maha;
        static_cast<YoginiSpan&>(maha) = Span(yogini, k == 0 ? birth : nominalStart, end);
        maha.Years = kYoginis[yogini].Years;
        maha.Sub.reserve(kCount);
        LayPeriods(
            kCount, nominalStart, end, birth, secondsPerYear,
            [&](std::size_t a) { return mahaYears * kYoginis[(yogini + a) % kCount].Years / kYoginiCycleYears; },
            [&](std::size_t a, UtMoment, UtMoment start, UtMoment stop) {
                maha.Sub.push_back(Span((yogini + a) % kCount, start, stop));
            });
        table.Periods.push_back(std::move(maha));
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
