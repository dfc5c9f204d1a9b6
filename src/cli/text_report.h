#pragma once

#include <QString>

#include "core/pipeline.h"
#include "core/time_scan.h"

namespace velmora::cli {

// The readable report: details, positions, chart, Arudha Lagna, readings
// and profile, then the Arudha padas, the navamsa and the maha dashas.
QString ResultText(const core::BirthAnalysis& analysis);

// The birth-time scan: its segments and the run of the unchanged chart.
QString SensitivityText(const core::SensitivityScan& scan);

// The sky at a moment against the natal chart, with the running dashas.
QString TransitsText(const core::TransitSky& sky);

// The chart as a 4 x 4 text grid, laid out like the result window's chart.
QString ChartGrid(const core::BirthAnalysis& analysis);

// The zone rows with their offsets.
QString ZoneListText();

// Up to 20 atlas places matching the text, one a line: name, state,
// country, latitude, longitude, zone; empty when none matches.
QString PlaceListText(const QString& query);

// The bodies the precise ephemeris places in another sign than the
// formulas: "  Note: the precise ephemeris places Rahu in Taurus (the
// formulas: Aries)." Nothing when none does or the check could not run.
QString PreciseCheckText(const core::PreciseCheck& check);

}  // namespace velmora::cli
