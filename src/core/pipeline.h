#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/chart.h"
#include "analysis/readings.h"
#include "analysis/sign_profiles.h"
#include "astro/engine.h"
#include "core/display.h"
#include "core/form_input.h"
#include "core/messages.h"
#include "model/birth_moment.h"

namespace velmora {

// Which engine computes the positions and how the analysis is shown.
struct AnalysisOptions {
    // The engine; null means the program's own formulas.
    const astro::PositionEngine* Engine = nullptr;
    // Month names for the date of birth; null means the user's locale.
    const MonthNameTable* MonthNames = nullptr;
};

// One analysis, from the form as entered to the texts on the screen.
struct BirthAnalysis {
    FormInput Input;                          // the form as entered
    BirthData Birth;                          // the birth record read from it
    ZoneOffset Zone;                          // the zone row's signed offset
    BirthMoment Moment;                       // what the engine was given
    astro::EnginePositions Positions;         // sidereal longitudes and retrograde marks
    analysis::ChartPlacement Chart;           // signs, ascendant lord, Arudha Lagna
    std::vector<analysis::Reading> Readings;  // in the order of the rule table
    std::optional<analysis::SignProfileView> Profile;
    DisplayTexts Display;
};

// Either the first failed check (nothing else happened) or a result.
struct AnalysisOutcome {
    std::optional<Notice> Rejected;
    BirthAnalysis Result;
};

// The birth record of a form that passed the checks.
BirthData BirthRecordOf(const FormInput& form, ZoneOffset& zone);

// Runs one analysis: the checks, then moment → positions → chart → Arudha
// Lagna → readings → profile → display texts. The same form always gives
// the same result; nothing is kept between analyses.
AnalysisOutcome RunAnalysis(const FormInput& form, const AnalysisOptions& options = {});

// The steps after the checks, for callers that vary the moment (the time
// scan) or already hold a record.
BirthAnalysis AnalyzeRecord(const FormInput& form, const BirthData& birth, const ZoneOffset& zone,
                            const astro::EnginePositions& positions, const AnalysisOptions& options = {});

}  // namespace velmora
