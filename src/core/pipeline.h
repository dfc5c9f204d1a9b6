#pragma once

#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "analysis/chart.h"
#include "analysis/dasha.h"
#include "analysis/dasha_year.h"
#include "analysis/nakshatra.h"
#include "analysis/panchanga.h"
#include "analysis/vargas.h"
#include "analysis/yogini.h"
#include "analysis/derivations.h"
#include "analysis/jaimini.h"
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
#include "core/precise_check.h"
#include "core/running_periods.h"
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
    // In formula mode, also run the precise ephemeris where its data files
    // are present and mark the bodies it places in another sign (the window
    // and the readable report; --json only when asked, so batches keep
    // their rate).
    bool CheckAgainstPrecise = false;
    // The Parashari tables (with the toolkit): the year the Vimshottari and
    // Yogini dashas count in; whether the panchanga looks up sunrise and
    // sunset (about 90 µs in the Swiss Ephemeris: the batch leaves them out
    // unless asked); the moment the running dashas are shown for beside the
    // birth ("today"; the transits' moment when not given).
    analysis::DashaYear DashaYear = analysis::DashaYear::Julian;
    bool SunEvents = true;
    std::optional<UtMoment> DashasAt;
    // Jaimini's tools with the toolkit: the chara karaka scheme, 7 or 8
    // (RunAnalysis throws std::invalid_argument for another), and whether
    // the tools and their derivations are made at all.
    int KarakaScheme = 8;
    bool JaiminiTools = true;
    bool Derivations = true;
    // The readings, the sign profile and the display texts; a research run
    // that writes numbers only (analysis_csv.h) goes without them.
    bool Texts = true;
    // The antar dashas of each maha dasha in Dasha (the CSV wants the mahas only).
    bool AntarDashas = true;
    // The Parashari tables beyond each body's nakshatra (with the toolkit):
    // the speeds, the vargas, the panchanga, the Yogini dasha and the periods
    // running at birth and at a moment. The CSV rows print none of them.
    bool ParashariTables = true;
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
    std::optional<PreciseCheck> Precise;  // CheckAgainstPrecise in formula mode

    // The Parashari tables (with the toolkit; speeds in Positions.Speeds).
    std::array<analysis::NakshatraPada, kBodyCount> Nakshatras{};  // body order
    analysis::VargaTable Vargas{};                                 // [varga in kAllVargas order][body]
    analysis::Panchanga Panchanga;                                 // without sunrise and sunset unless asked
    bool SunEventsLookedUp = false;                                // whether sunrise and sunset were asked for
    analysis::YoginiTable Yogini;
    RunningPeriods AtBirth;                  // the periods running at birth
    std::optional<RunningPeriods> AtMoment;  // at DashasAt or the transits' moment

    // With the toolkit: Jaimini's karakas, karakamsa, sign aspects, argala,
    // graha arudhas and chara dasha, and why the padas, karakas, karakamsa
    // and periods are what they are (shared: the derivations' texts live in
    // one buffer that copies of the analysis read).
    std::optional<analysis::JaiminiTools> Jaimini;
    std::shared_ptr<const analysis::Derivations> Why;
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
void AnalyzeInto(BirthAnalysis& analysis, const FormInput& form, Birth birth, const astro::EnginePositions& positions,
                 const AnalysisOptions& options = {});

// The sky at a universal clock reading over an analysis, by its engine.
TransitSky TransitsOver(const BirthAnalysis& natal, const ClockReading& universalTime,
                        const astro::PositionEngine* engine = nullptr);

}  // namespace velmora::core
