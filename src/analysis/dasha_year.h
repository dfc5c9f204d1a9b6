#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace velmora::analysis {

// The year a dasha's years are counted in: the Julian year of 365.25 days
// (what the program has always used), the tropical year (365.2422), the
// sidereal year (365.25636) or the savana year of twelve 30-day months (360).
enum class DashaYear { Julian, Tropical, Sidereal, Savana };

inline constexpr std::array<DashaYear, 4> kAllDashaYears{DashaYear::Julian, DashaYear::Tropical, DashaYear::Sidereal,
                                                         DashaYear::Savana};

// Days in one such year.
double DaysPerYear(DashaYear year);

// The option's text: "365.25", "365.2422", "365.25636" or "360".
std::string_view DashaYearKey(DashaYear year);

// Accepts exactly the four texts DashaYearKey gives; nothing else.
std::optional<DashaYear> ParseDashaYear(std::string_view text);

}  // namespace velmora::analysis
