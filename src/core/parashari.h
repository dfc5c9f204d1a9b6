#pragma once

// The Parashari tables of an analysis: each body's nakshatra and pada, the
// sixteen vargas, the panchanga of the birth, the Yogini dasha, and the
// periods running at birth and at a moment.

#include "core/pipeline.h"

namespace velmora::core {

// Fills the tables of an analysis whose positions, birth and Vimshottari
// dashas are in place, as the options ask (the dasha year, sunrise and
// sunset, the moment of the running periods, or the nakshatras alone).
void AddParashariTables(BirthAnalysis& analysis, const AnalysisOptions& options);

// The Vimshottari and Yogini periods of an analysis running at a moment.
RunningPeriods RunningPeriodsAt(const BirthAnalysis& analysis, UtMoment moment);

}  // namespace velmora::core
