#pragma once

#include <QString>

#include "core/parashari_texts.h"
#include "core/pipeline.h"

namespace velmora::cli {

// A text table with its columns padded to their widest cell, indented two.
QString TableText(const core::TextTable& table);

// The Parashari part of the readable report: the degree table, the
// panchanga, the vargas and the dashas running at birth and at the moment
// the analysis was asked for ("today").
QString ParashariText(const core::BirthAnalysis& analysis);

}  // namespace velmora::cli
