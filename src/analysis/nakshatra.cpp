#include "analysis/nakshatra.h"

#include <cmath>

#include "analysis/dasha.h"
#include "analysis/longitude.h"

namespace velmora::analysis {

namespace {

constexpr int kNakshatras = 27;
constexpr int kPadas = 4;
constexpr double kEdgeTolerance = 1e-9;

}  // namespace

NakshatraPosition NakshatraPositionOf(double siderealLongitude) {
    double position = WithinOneCircle(siderealLongitude) * kNakshatras / 360.0;
    const double nearestEdge = std::round(position);
    if (std::abs(position - nearestEdge) < kEdgeTolerance) position = nearestEdge;
    int nakshatra = static_cast<int>(std::floor(position));
    NakshatraPosition result;
    result.Fraction = position - nakshatra;
    result.Index = nakshatra % kNakshatras;
    return result;
}

NakshatraPada NakshatraPadaOf(double siderealLongitude) {
    const NakshatraPosition position = NakshatraPositionOf(siderealLongitude);
    NakshatraPada result;
    result.Nakshatra = position.Index + 1;
    result.Name = kNakshatraNames[static_cast<std::size_t>(position.Index)];
    // The fraction is below 1 - 1e-9 (nearer the end it was taken as the
    // next nakshatra), so the pada stays within 1..4.
    result.Pada = static_cast<int>(std::floor(position.Fraction * kPadas + kEdgeTolerance)) + 1;
    return result;
}

std::array<NakshatraPada, 10> NakshatraPadas(const std::array<double, 10>& siderealLongitudes) {
    std::array<NakshatraPada, 10> result{};
    for (std::size_t body = 0; body < result.size(); ++body) result[body] = NakshatraPadaOf(siderealLongitudes[body]);
    return result;
}

}  // namespace velmora::analysis
