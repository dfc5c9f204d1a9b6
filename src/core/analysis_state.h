#pragma once

#include "analysis/chart.h"
#include "model/birth_record.h"
#include "astro/engine_state.h"
#include "astro/retrograde.h"
#include "astro/time_conversion.h"

namespace velmora {

// Everything one analysis leaves for the next steps. The program owns one
// instance; each analysis overwrites it without clearing it first, so a value
// that a step could not compute keeps what the previous analysis left.
struct AnalysisState {
    BirthData Birth;
    astro::ZoneOffset Zone;        // signed, west positive
    astro::EngineState Engine;     // correction, longitudes, position texts
    astro::RetrogradeMarks Marks;  // retrograde flags and display names
    analysis::ChartState Chart;    // ascendant lord and the signs
};

}  // namespace velmora
