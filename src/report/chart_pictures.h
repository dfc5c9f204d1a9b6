#pragma once

#include <QString>

#include "core/pipeline.h"
#include "core/transits.h"
#include "report/chart_painting.h"

namespace velmora::report {

// The pictures the charts of the added tabs draw.
// The birth chart: each body in its sign under its display name (" (R) " on
// a retrograde planet), the twelve padas (AL, A2 .. A11, UL) as markers.
ChartPicture BirthPicture(const core::BirthAnalysis& analysis);
// The navamsa chart: each body in its navamsa sign, the ascendant's navamsa
// as the first house.
ChartPicture NavamsaPicture(const core::BirthAnalysis& analysis);
// The birth chart with the sky of a moment over it: the natal bodies as
// bodies, the transiting ones as markers ("t Saturn (R)").
ChartPicture TransitPicture(const core::BirthAnalysis& analysis, const core::TransitSky& sky);
QString TransitLabel(const core::TransitBody& body);

}  // namespace velmora::report
