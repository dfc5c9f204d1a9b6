#pragma once

// How the dasha systems lay one level of periods: end to end from the
// level's nominal start, cut at birth.

#include <chrono>
#include <cstddef>

#include "analysis/dasha.h"

namespace velmora::analysis {

// Lays `count` periods of lengthYears(k) years each from `nominalStart`, the
// last one ending exactly at `end`, and calls keep(k, nominalStartOfK,
// keptStart, periodEnd) for each period that ends after `from`; the one
// running at `from` is kept from there.
template <class LengthYears, class Keep>
void LayPeriods(std::size_t count, UtMoment nominalStart, UtMoment end, UtMoment from, double secondsPerYear,
                LengthYears lengthYears, Keep keep) {
    using Seconds = std::chrono::duration<double>;
    double elapsedYears = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const UtMoment start = nominalStart + Seconds(elapsedYears * secondsPerYear);
        elapsedYears += lengthYears(k);
        const UtMoment stop = k + 1 == count ? end : nominalStart + Seconds(elapsedYears * secondsPerYear);
        if (stop <= from) continue;
        keep(k, start, start < from ? from : start, stop);
    }
}

}  // namespace velmora::analysis
