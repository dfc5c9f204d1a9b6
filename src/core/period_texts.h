#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "analysis/dasha.h"
#include "core/pipeline.h"
#include "core/time_scan.h"

namespace velmora::core {

// Texts of the dashas and of the birth-time scan, shared by the windows and
// the text report.

// "9 years 11 months" (whole months; "1 year", "0 months").
std::string YearsAndMonthsText(double years);

// "Moon in Ashlesha (lord Mercury); balance at birth 9 years 11 months".
std::string DashaBalanceText(const analysis::DashaTable& table);

// For each body with a reading, in body order, once: "Saturn has a reading:
// its maha dasha runs 2001-03-04 to 2020-03-04". Only bodies that rule a
// maha dasha (Sun .. Ketu) are listed.
struct ReadingDasha {
    Body Which = Sun;
    std::size_t Maha = 0;  // index into the table's periods
    std::string Text;
};
std::vector<ReadingDasha> ReadingDashas(const BirthAnalysis& analysis);

// "Your Arudha Lagna stays Leo for births from 10:07 to 12:25; the whole
// chart (the signs of all ten bodies, the ascendant among them) is unchanged
// from 10:07 to 12:25." A run that reaches the end of the window says "or
// earlier" / "or later"; a time on another day than the birth says which.
// Clock times that never came (the clocks went forward) are named after it,
// and a repeated hour's second showing is marked "(repeated)".
std::string SensitivitySentence(const SensitivityScan& scan);

// A clock time of the scan as the sentence shows it: "10:07", "00:15 the next
// day", "23:40 the day before" or, further off, the whole date.
std::string ScanTimeText(const SensitivityScan& scan, const ClockReading& minute);
// The same, " (repeated)" after it for the second showing of a repeated hour.
std::string ScanTimeText(const SensitivityScan& scan, const ClockReading& minute, bool repeated);

}  // namespace velmora::core
