#pragma once

// The precise engine: sidereal positions from the Swiss Ephemeris data files
// (JPL DE431 compressed), in place of the formula engine's mean elements.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace velmora::astro {

enum class Ayanamsa { Lahiri, Raman, Krishnamurti, FaganBradley, Yukteshwar, TrueChitra };
enum class NodeKind { Mean, True };

inline constexpr std::array<Ayanamsa, 6> kAllAyanamsas{Ayanamsa::Lahiri,       Ayanamsa::Raman,
                                                       Ayanamsa::Krishnamurti, Ayanamsa::FaganBradley,
                                                       Ayanamsa::Yukteshwar,   Ayanamsa::TrueChitra};
inline constexpr std::array<NodeKind, 2> kAllNodeKinds{NodeKind::Mean, NodeKind::True};

struct PreciseSettings {
    Ayanamsa ayanamsa = Ayanamsa::Lahiri;
    NodeKind node = NodeKind::Mean;
    std::string ephemerisPath = "/usr/share/libswe/ephe";
};

struct PreciseResult {
    // Sidereal, [0, 360), body order Sun, Moon, Mercury, Venus, Mars, Jupiter,
    // Saturn, Rahu, Ketu, Ascendant.
    std::array<double, 10> Longitudes{};
    // Degrees per day in sidereal longitude, negative while moving backward;
    // the ascendant's as the houses routine gives it.
    std::array<double, 10> Speeds{};
    // Mercury, Venus, Mars, Jupiter, Saturn: daily motion below zero.
    std::array<bool, 5> Retrograde{};
    // The ayanamsa subtracted from the tropical longitudes (nutation included).
    double AyanamsaDegrees = 0;
};

struct PreciseOutcome {
    bool Ok = false;
    std::string Error;
    PreciseResult Result;
};

// julianDayUt: Julian day in universal time. latitude north positive,
// longitudeEast east positive, in degrees; a latitude beyond 90 or a longitude
// beyond 180 either way is refused. Safe to call from several threads:
// the library calls are serialised inside.
PreciseOutcome ComputePrecise(double julianDayUt, double latitude, double longitudeEast,
                              const PreciseSettings& settings);

// The universal-time Julian days the installed data files cover, as a
// half-open range [first, second): 1800-01-02 0h to 2400-01-01 0h. The planet
// file starts at 1800-01-01 0h TT, and the Sun's light time and the speed
// steps need a little room before that.
std::pair<double, double> PreciseRange();

// Stable names for settings files, JSON and the command line.
std::string_view AyanamsaKey(Ayanamsa ayanamsa);
std::string_view AyanamsaDisplayName(Ayanamsa ayanamsa);
// Accepts the stable names, in any letter case.
std::optional<Ayanamsa> ParseAyanamsa(std::string_view key);

std::string_view NodeKindKey(NodeKind node);
std::string_view NodeKindDisplayName(NodeKind node);
std::optional<NodeKind> ParseNodeKind(std::string_view key);

}  // namespace velmora::astro
