#pragma once

#include <QString>

#include "core/pipeline.h"

namespace velmora::cli {

// The readable report: details, positions, chart, Arudha Lagna, readings
// and profile.
QString ResultText(const BirthAnalysis& analysis);

// The chart as a 4 x 4 text grid, laid out like the result window's chart.
QString ChartGrid(const BirthAnalysis& analysis);

// The zone rows with their offsets.
QString ZoneListText();

// Up to 20 atlas places matching the text, one a line: name, state,
// country, latitude, longitude, zone; empty when none matches.
QString PlaceListText(const QString& query);

}  // namespace velmora::cli
