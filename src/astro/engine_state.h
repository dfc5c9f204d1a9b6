#pragma once

#include <array>
#include <string>

namespace velmora::astro {

inline constexpr int kBodyCount = 10;  // Sun, Moon, Mercury, Venus, Mars, Jupiter, Saturn, Rahu, Ketu, Asc

enum Body : int { Sun, Moon, Mercury, Venus, Mars, Jupiter, Saturn, Rahu, Ketu, Ascendant };

// What the three engine steps leave for one another and for the rest of the
// analysis. Every analysis overwrites it.
struct EngineState {
    double UniversalTime = 0;       // hours
    double SiderealCorrection = 0;  // degrees, negative; its magnitude is the ayanamsa
    std::string AscendantArcText;
    std::string MoonArcText;
    // Sidereal longitudes and arc texts of the ten bodies, body order.
    std::array<double, kBodyCount> SiderealLongitudes{};
    std::array<std::string, kBodyCount> SignArcTexts{};
    // The ten position texts ("07 Tau 05"), body order.
    std::array<std::string, kBodyCount> PlanetPositions{};
};

}  // namespace velmora::astro
