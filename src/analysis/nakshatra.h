#pragma once

#include <array>
#include <string_view>

namespace velmora::analysis {

// Where a sidereal longitude falls among the 27 nakshatras of 13°20'.
struct NakshatraPosition {
    int Index = 0;        // 0..26
    double Fraction = 0;  // elapsed part of that nakshatra, 0 <= f < 1
};

// The nakshatra position of a longitude in degrees (any value; wrapped into
// [0, 360), NaN or infinity as 0). A longitude that misses a nakshatra's
// edge by rounding noise only (13°20' written as 13 + 20/60.0) is taken as
// the edge itself, so it starts that nakshatra with nothing elapsed: within
// 1e-9 of a nakshatra, about 5e-5 arcseconds.
NakshatraPosition NakshatraPositionOf(double siderealLongitude);

// A body's nakshatra and pada: nakshatra = floor(λ / 13°20') + 1 and pada =
// floor((λ mod 13°20') / 3°20') + 1. A value on an edge up to rounding noise
// belongs to the part that starts there.
struct NakshatraPada {
    int Nakshatra = 0;  // 1..27
    std::string_view Name;
    int Pada = 0;  // 1..4
};

NakshatraPada NakshatraPadaOf(double siderealLongitude);

// The nakshatras and padas of the ten bodies, body order.
std::array<NakshatraPada, 10> NakshatraPadas(const std::array<double, 10>& siderealLongitudes);

}  // namespace velmora::analysis
