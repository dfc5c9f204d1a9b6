#include "core/period_texts.h"

#include <algorithm>
#include <cmath>

#include "astro/time_conversion.h"
#include "core/text_formats.h"

namespace velmora::core {

std::string YearsAndMonthsText(double years) {
    if (!std::isfinite(years) || years < 0) years = 0;
    // Whole months, counted down, so 9.999 years is 9 years 11 months.
    const long totalMonths = static_cast<long>(std::floor(years * 12 + 1e-9));
    const long whole = totalMonths / 12;
    const long months = totalMonths % 12;
    std::string text = std::to_string(whole) + (whole == 1 ? " year " : " years ");
    text += std::to_string(months) + (months == 1 ? " month" : " months");
    return text;
}

std::string DashaBalanceText(const analysis::DashaTable& table) {
    return "Moon in " + std::string(table.NakshatraName) + " (lord " + std::string(table.LordName) +
           "); balance at birth " + YearsAndMonthsText(table.BalanceYears);
}

std::vector<ReadingDasha> ReadingDashas(const BirthAnalysis& analysis) {
    std::vector<ReadingDasha> lines;
    std::array<bool, kBodyCount> read{};
    for (const analysis::Reading& r : analysis.Readings) read[static_cast<std::size_t>(r.Subject)] = true;
    for (int body = Sun; body <= Ketu; ++body) {
        if (!read[static_cast<std::size_t>(body)]) continue;
        const std::string_view name = kBodyNames[static_cast<std::size_t>(body)];
        for (std::size_t m = 0; m < analysis.Dasha.Periods.size(); ++m) {
            const analysis::MahaDasha& maha = analysis.Dasha.Periods[m];
            if (maha.LordName != name) continue;
            lines.push_back({static_cast<Body>(body), m,
                             std::string(name) + " has a reading: its maha dasha runs " + DateText(maha.StartDate) +
                                 " to " + DateText(maha.EndDate)});
        }
    }
    return lines;
}

std::string ScanTimeText(const SensitivityScan& scan, const ClockReading& minute, bool repeated) {
    std::string text = ScanTimeText(scan, minute);
    return repeated ? text + " (repeated)" : text;
}

std::string ScanTimeText(const SensitivityScan& scan, const ClockReading& minute) {
    std::string time = ClockTimeText(minute);
    const ClockReading sameDay{scan.Entered.Year, scan.Entered.Month, scan.Entered.Day, minute.Hour, minute.Minute};
    if (minute == sameDay) return time;
    if (minute == astro::AddMinutes(sameDay, 24 * 60)) return time + " the next day";
    if (minute == astro::AddMinutes(sameDay, -24 * 60)) return time + " the day before";
    return ClockReadingText(minute);
}

std::string SensitivitySentence(const SensitivityScan& scan) {
    if (!scan.Ok || scan.Runs.empty()) return {};
    auto span = [&](const MinuteSpan& s) {
        std::string from = ScanTimeText(scan, s.From, s.FromRepeated);
        if (s.FromOffset == -scan.WindowMinutes) from += " or earlier";
        std::string to = ScanTimeText(scan, s.To, s.ToRepeated);
        if (s.ToOffset == scan.WindowMinutes) to += " or later";
        return "from " + from + " to " + to;
    };
    std::string sentence = "Your Arudha Lagna stays " + std::string(SignNameOf(scan.ArudhaLagnaSign)) + " for births " +
                           span(scan.SameArudhaLagna) +
                           "; the whole chart (the signs of all ten bodies, the ascendant among them) is unchanged " +
                           span(scan.SameChart) + ".";
    for (const MinuteSpan& gap : scan.Gaps)
        sentence += " The clocks went forward: " + ScanTimeText(scan, gap.From) + " to " + ScanTimeText(scan, gap.To) +
                    " never came there.";
    if (std::any_of(scan.Runs.begin(), scan.Runs.end(), [](const ScanRun& run) { return run.Repeated; }))
        sentence += " The clocks went back: times marked (repeated) are the second showing of that hour.";
    return sentence;
}

}  // namespace velmora::core
