#pragma once

#include <array>
#include <optional>
#include <vector>

#include "analysis/chart.h"
#include "analysis/dasha.h"
#include "analysis/nakshatra.h"
#include "analysis/padas.h"
#include "analysis/readings.h"
#include "analysis/sign_profiles.h"
#include "astro/engine.h"
#include "core/birth.h"
#include "core/display.h"
#include "core/engine_settings.h"
#include "core/form_input.h"
#include "core/messages.h"
#include "core/position_comparison.h"
#include "core/time_scan.h"
#include "core/transits.h"
#include "model/moment.h"

namespace velmora::core {

// What an analysis computes beside the chart, and how it is shown.
struct AnalysisOptions {
    // The engine and its choices (the formulas unless told otherwise).
    EngineSettings Settings;
    // An engine to use instead of the one the settings name (tests).
    const astro::PositionEngine* Engine = nullptr;
    // In precise mode, also run the formulas so each position can be shown
    // beside its formula counterpart.
    bool CompareWithFormulas = true;
    // The astrologer's toolkit: padas, navamsa and dasha.
    bool Toolkit = true;
    // The birth run at every minute two hours either way.
    bool ScanBirthTime = false;
    // The sky at this universal clock reading over the chart.
    std::optional<ClockReading> TransitsAt;
    // Month names for the date of birth; null means the user's locale.
    const MonthNameTable* MonthNames = nullptr;
    // The readings, the sign profile and the display texts; a research run
    // that writes numbers only (analysis_csv.h) goes without them.
    bool Texts = true;
    // The antar dashas of each maha dasha in Dasha (the CSV wants the mahas only).
    bool AntarDashas = true;
};

// One analysis: everything any front end shows, from the form as entered to
// the texts on the screen.
struct BirthAnalysis {
    FormInput Input;                          // the form as entered
    core::Birth Birth;                        // read from it once; holds the moment and engine settings
    astro::EnginePositions Positions;         // sidereal longitudes and retrograde marks
    analysis::ChartPlacement Chart;           // signs, ascendant lord, Arudha Lagna
    std::vector<analysis::Reading> Readings;  // in the order of the rule table
    std::optional<analysis::SignProfileView> Profile;
    DisplayTexts Display;

    // The formulas beside a precise run, body by body.
    std::optional<astro::EnginePositions> FormulaComparison;
    std::optional<std::array<PositionComparison, kBodyCount>> Comparison;

    std::array<analysis::Pada, 12> Padas{};  // A1 (AL) .. A12 (UL)
    std::array<int, kBodyCount> Navamsa{};   // navamsa sign of each body
    analysis::DashaTable Dasha;              // Vimshottari, from the Moon

    std::optional<SensitivityScan> Scan;  // when asked for
    std::optional<TransitSky> Transits;   // when asked for

    std::array<analysis::NakshatraPada, kBodyCount> Nakshatras{};  // of each body, with the toolkit
};

// Either the first failed check (nothing else happened) or a result.
struct AnalysisOutcome {
    std::optional<Notice> Rejected;
    BirthAnalysis Result;
};

// The engine an analysis of these options runs.
const astro::PositionEngine& EngineOf(const AnalysisOptions& options);

// Runs one analysis: the form is read once (ReadForm), then moment →
// positions → chart → Arudha Lagna → readings → profile → toolkit → display
// texts, and what the options ask for beside. The same form always gives the
// same result; nothing is kept between analyses.
AnalysisOutcome RunAnalysis(const FormInput& form, const AnalysisOptions& options = {});

// The steps after the form is read, into a result the caller holds (a fresh
// one), from positions already computed for the birth's moment. The engine
// settings are the birth's.
void AnalyzeInto(BirthAnalysis& analysis, const FormInput& form, const Birth& birth,
                 const astro::EnginePositions& positions, const AnalysisOptions& options = {});

// The sky at a universal clock reading over an analysis, by its engine.
TransitSky TransitsOver(const BirthAnalysis& natal, const ClockReading& universalTime,
                        const astro::PositionEngine* engine = nullptr);

}  // namespace velmora::core
