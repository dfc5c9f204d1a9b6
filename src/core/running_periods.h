#pragma once

#include <optional>

#include "analysis/dasha.h"
#include "analysis/yogini.h"

namespace velmora::core {

// The periods of both dasha systems running at one moment: nothing for a
// system whose table does not reach it (before birth, after the last period).
struct RunningPeriods {
    UtMoment Moment{};
    std::optional<analysis::RunningDasha> Vimshottari;
    std::optional<analysis::RunningYogini> Yogini;
};

}  // namespace velmora::core
