#pragma once

#include <array>

namespace velmora::analysis {

// The navamsa sign number (1..12) of a sidereal longitude in degrees. Each
// sign is cut into nine parts of 3°20' and the parts run through the zodiac
// without a break from 0° Aries, so fire signs start from Aries, earth signs
// from Capricorn, air signs from Libra and water signs from Cancer.
// Longitudes outside [0, 360) are wrapped first. A longitude that lies on a
// part's edge up to floating-point noise (3°20' written as 3 + 20/60.0)
// belongs to the part that starts there. NaN or infinity gives 0.
int NavamsaSign(double siderealLongitude);

// The navamsa signs of the ten bodies, body order.
std::array<int, 10> NavamsaSigns(const std::array<double, 10>& siderealLongitudes);

}  // namespace velmora::analysis
