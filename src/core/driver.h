#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "analysis/chart.h"
#include "analysis/readings.h"
#include "analysis/sign_profiles.h"
#include "core/analysis_state.h"
#include "core/form_input.h"
#include "core/messages.h"

namespace velmora {

// The birth details of the result window, one text per label.
struct BirthDetails {
    std::string Name;         // lblName
    std::string DateOfBirth;  // lblDOB, e.g. January/5/1980
    std::string TimeOfBirth;  // lblTOB, e.g. 9:5
    std::string Latitude;     // lblLatitude, e.g. 28° 36'
    std::string Longitude;    // lblLongitude
    std::string City;         // lblCity
    std::string State;        // lblState
    std::string Country;      // lblCountry
};

inline constexpr std::array<std::string_view, 8> kDetailControlNames{
    "lblName", "lblDOB", "lblTOB", "lblLatitude", "lblLongitude", "lblCity", "lblState", "lblCountry"};

// Everything the result window shows for one analysis, as plain data. The
// window renders it unchanged; the command-line tool prints it.
struct AnalysisResult {
    analysis::ChartCaptions Chart;             // sign boxes and Arudha markers
    BirthDetails Details;
    std::array<std::string, 10> Positions;     // planet_0 .. planet_9
    int ArudhaLagnaSign = 0;                   // 1..12; 0 when it could not be found
    analysis::ProfileDisplay Profile;          // the 29 profile controls
    std::vector<analysis::TextRun> Readings;   // appended to RTB in order
};

// Either the first failed check (nothing else happened) or a result.
struct AnalysisOutcome {
    std::optional<Notice> Rejected;
    AnalysisResult Result;
};

// Localized full month name of month 1..12 (the user's language).
using MonthNamer = std::function<std::string(int month)>;

// The full month name in the user's locale, "January" in an English or the
// C locale.
std::string SystemMonthName(int month);

// Runs one analysis from the form: the checks, then every step in its fixed
// order. After the checks every step runs guarded: a step that fails is
// skipped and the rest go on, and a result is always produced.
AnalysisOutcome RunAnalysis(const FormInput& form, AnalysisState& state,
                            const MonthNamer& monthName = SystemMonthName);

// Details formats.
std::string FormatDateOfBirth(const BirthData& birth, const MonthNamer& monthName);
std::string FormatTimeOfBirth(const BirthData& birth);
std::string FormatAngle(int degrees, int minutes);

}  // namespace velmora
