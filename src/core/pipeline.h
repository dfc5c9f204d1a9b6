#pragma once

#include <optional>
#include <string>
#include <vector>

#include <array>

#include "analysis/chart.h"
#include "analysis/dasha.h"
#include "analysis/navamsa.h"
#include "analysis/padas.h"
#include "analysis/readings.h"
#include "analysis/sign_profiles.h"
#include "astro/engine.h"
#include "core/display.h"
#include "core/engine_settings.h"
#include "core/place_zone.h"
#include "core/form_input.h"
#include "core/messages.h"
#include "model/birth_moment.h"

namespace velmora {

// Which engine computes the positions and how the analysis is shown.
struct AnalysisOptions {
    // The engine and its choices (the formulas unless told otherwise).
    EngineSettings Settings;
    // An engine to use instead of the one the settings name (tests).
    const astro::PositionEngine* Engine = nullptr;
    // In precise mode, also run the formulas so each position can be shown
    // beside its formula counterpart.
    bool CompareWithFormulas = true;
    // The astrologer's toolkit: padas, navamsa and dasha. Off only where a
    // caller needs the chart alone (the time scan).
    bool Toolkit = true;
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

    EngineSettings Settings;                                  // which engine ran
    std::optional<astro::EnginePositions> FormulaComparison;  // the formulas, beside a precise run
    std::optional<PlaceZoneOutcome> PlaceZone;                // the atlas place's clock at the birth

    std::array<analysis::Pada, 12> Padas{};  // A1 (AL) .. A12 (UL)
    std::array<int, kBodyCount> Navamsa{};   // navamsa sign of each body
    analysis::DashaTable Dasha;              // Vimshottari, from the Moon
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

// The same, into a result the caller holds (a fresh one).
void AnalyzeInto(BirthAnalysis& analysis, const FormInput& form, const BirthData& birth, const ZoneOffset& zone,
                 const astro::EnginePositions& positions, const AnalysisOptions& options = {});

}  // namespace velmora
