#pragma once

// How the dasha systems lay one level of periods: end to end from the
// level's nominal start, cut at birth.

#include <chrono>
#include <cstddef>

#include "analysis/dasha.h"

namespace velmora::analysis {

// A period that ends this close after the cut ends at it, up to the rounding
// of the moments (a few tenths of a microsecond in a moment of 1e9 seconds):
// a balance that uses up whole periods leaves none of them behind.
inline constexpr std::chrono::duration<double> kCutTolerance{1e-3};

// Lays `count` periods end to end from `nominalStart`, period k ending
// elapsedAfter(k) years after it (called once for each k in order) and the
// last one exactly at `end`, and calls keep(k, nominalStartOfK, keptStart,
// periodEnd) for each period that ends after `from` (by more than
// kCutTolerance); the one running at `from` is kept from there.
template <class ElapsedAfter, class Keep>
void LayPeriods(std::size_t count, UtMoment nominalStart, UtMoment end, UtMoment from, double secondsPerYear,
                ElapsedAfter elapsedAfter, Keep keep) {
    using Seconds = std::chrono::duration<double>;
    double elapsedBefore = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const UtMoment start = nominalStart + Seconds(elapsedBefore * secondsPerYear);
        const double elapsed = elapsedAfter(k);
        const UtMoment stop = k + 1 == count ? end : nominalStart + Seconds(elapsed * secondsPerYear);
        elapsedBefore = elapsed;
        if (stop <= from + kCutTolerance) continue;
        keep(k, start, start < from ? from : start, stop);
    }
}

}  // namespace velmora::analysis
