#include "analysis/dasha_year.h"

namespace velmora::analysis {

double DaysPerYear(DashaYear year) {
    switch (year) {
        case DashaYear::Julian:
            return 365.25;
        case DashaYear::Tropical:
            return 365.2422;
        case DashaYear::Sidereal:
            return 365.25636;
        case DashaYear::Savana:
            return 360;
    }
    return 365.25;
}

std::string_view DashaYearKey(DashaYear year) {
    switch (year) {
        case DashaYear::Julian:
            return "365.25";
        case DashaYear::Tropical:
            return "365.2422";
        case DashaYear::Sidereal:
            return "365.25636";
        case DashaYear::Savana:
            return "360";
    }
    return "365.25";
}

std::optional<DashaYear> ParseDashaYear(std::string_view text) {
    for (DashaYear year : kAllDashaYears)
        if (text == DashaYearKey(year)) return year;
    return std::nullopt;
}

}  // namespace velmora::analysis
