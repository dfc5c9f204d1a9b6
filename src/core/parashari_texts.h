#pragma once

// The texts of the Parashari tables as the text report, the printable
// report and the windows show them: each table as rows of cells.

#include <string>
#include <string_view>
#include <vector>

#include "analysis/dasha_year.h"
#include "analysis/vargas.h"
#include "core/pipeline.h"

namespace velmora::core {

// A table of texts: a header row and the rows under it.
struct TextTable {
    std::vector<std::string> Header;
    std::vector<std::vector<std::string>> Rows;
};

// The Sanskrit name of a varga (Brihat Parashara Hora Shastra, chapter 6):
// "Rasi", "Hora", "Drekkana" .. "Shashtiamsa".
std::string_view VargaName(analysis::Varga varga);
// "D9 Navamsa".
std::string VargaTitle(analysis::Varga varga);

// "Dasha year: 365.25 days (Julian)".
std::string DashaYearText(analysis::DashaYear year);

// A sidereal longitude to the arc-second, every part truncated:
// "285°04'33\"".
std::string ArcSecondsText(double longitude);
// A daily motion in degrees a day with its sign: "+0.9856", "-0.0712".
std::string SpeedText(double degreesPerDay);

// Body, longitude, sign, nakshatra, pada, speed (°/day), retrograde mark
// ("R"), navamsa sign; one row a body in body order.
TextTable DegreeTable(const BirthAnalysis& analysis);

// One row a body, one column a varga in kAllVargas order; the cells are
// sign names, or their three-letter abbreviations when `abbreviated`.
TextTable VargaTableText(const BirthAnalysis& analysis, bool abbreviated);

// The five limbs with number and name, then sunrise and sunset on the birth's
// clock ("none" on a date without the event; why they are missing when the
// look-up failed or was not asked for).
TextTable PanchangaTable(const BirthAnalysis& analysis);

// The periods running at a moment, one line each system:
// "Vimshottari: Saturn / Mercury / Venus (to 2024-05-06)" and
// "Yogini: Ulka (Saturn) / Siddha (Venus) (to 2023-01-02)"; a line saying
// so when a system's table does not reach the moment.
std::vector<std::string> RunningDashaLines(const BirthAnalysis& analysis, const RunningPeriods& running);

}  // namespace velmora::core
