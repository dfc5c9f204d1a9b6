#pragma once

#include <array>
#include <string_view>

namespace velmora {

inline constexpr int kBodyCount = 10;
inline constexpr int kSignCount = 12;

// Body order, used by every table of bodies.
enum Body : int { Sun, Moon, Mercury, Venus, Mars, Jupiter, Saturn, Rahu, Ketu, Ascendant };

// Plain names of the ten bodies, body order.
inline constexpr std::array<std::string_view, kBodyCount> kBodyNames{"Sun",     "Moon",   "Mercury", "Venus", "Mars",
                                                                     "Jupiter", "Saturn", "Rahu",    "Ketu",  "Asc"};

// The five planets that can be retrograde, in body order (Mercury .. Saturn).
inline constexpr std::array<Body, 5> kRetrogradeBodies{Mercury, Venus, Mars, Jupiter, Saturn};

// English sign names, sign index order (0 Aries .. 11 Pisces).
inline constexpr std::array<std::string_view, kSignCount> kSignNames{"Aries",       "Taurus",    "Gemini",   "Cancer",
                                                                     "Leo",         "Virgo",     "Libra",    "Scorpio",
                                                                     "Sagittarius", "Capricorn", "Aquarius", "Pisces"};

// The lord of each sign, sign index order.
inline constexpr std::array<Body, kSignCount> kSignLords{Mars,  Venus, Mercury, Moon,   Sun,    Mercury,
                                                         Venus, Mars,  Jupiter, Saturn, Saturn, Jupiter};

// The English name of sign number 1..12; empty for any other number.
constexpr std::string_view SignNameOf(int signNumber) {
    return signNumber >= 1 && signNumber <= kSignCount ? kSignNames[static_cast<std::size_t>(signNumber - 1)]
                                                       : std::string_view{};
}

}  // namespace velmora
