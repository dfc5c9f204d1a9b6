#pragma once

#include <QString>

#include "core/pipeline.h"

namespace velmora::cli {

// The readable report's Jaimini section: why the Arudha Lagna is what it
// is, the chara karakas with their scheme, the karakamsa, argala from the
// ascendant, the Arudha Lagna and the AK, the graha arudhas and the twelve
// chara dasha periods. Empty for an analysis without the toolkit.
QString JaiminiText(const core::BirthAnalysis& analysis);

}  // namespace velmora::cli
