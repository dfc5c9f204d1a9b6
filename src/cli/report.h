#pragma once

#include <QJsonObject>
#include <QString>

#include "core/analysis_state.h"
#include "core/driver.h"

namespace velmora::cli {

// One JSON object with everything the analysis computed and the result
// window shows.
QJsonObject ResultJson(const AnalysisState& state, const AnalysisResult& result);

// The readable report: details, positions, chart, Arudha Lagna, readings
// and profile.
QString ResultText(const AnalysisState& state, const AnalysisResult& result);

// The chart as a 4 x 4 text grid, laid out like the result window's chart.
QString ChartGrid(const AnalysisResult& result);

// The zone rows with their offsets.
QString ZoneListText();

}  // namespace velmora::cli
