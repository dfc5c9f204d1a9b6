#include "analysis/navamsa.h"

#include <cmath>

namespace velmora::analysis {

namespace {

constexpr int kParts = 108;  // nine in each of the twelve signs

// A part edge computed from degrees and minutes misses the exact multiple by
// a few units in the last place; this tolerance (in parts, about 1e-5
// arcseconds) lets such a longitude start the next part.
constexpr double kEdgeTolerance = 1e-9;

}  // namespace

int NavamsaSign(double siderealLongitude) {
    if (!std::isfinite(siderealLongitude)) return 0;
    double longitude = std::fmod(siderealLongitude, 360.0);
    if (longitude < 0) longitude += 360.0;
    int part = static_cast<int>(std::floor(longitude * kParts / 360.0 + kEdgeTolerance));
    part %= kParts;  // 359.999999999... rounds up into the first part again
    return part % 12 + 1;
}

std::array<int, 10> NavamsaSigns(const std::array<double, 10>& siderealLongitudes) {
    std::array<int, 10> signs{};
    for (std::size_t body = 0; body < signs.size(); ++body) signs[body] = NavamsaSign(siderealLongitudes[body]);
    return signs;
}

}  // namespace velmora::analysis
