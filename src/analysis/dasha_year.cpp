#include "analysis/dasha_year.h"

namespace velmora::analysis {

namespace {

struct YearRow {
    double Days;
    std::string_view Key;
};

// In kAllDashaYears order.
constexpr std::array<YearRow, kAllDashaYears.size()> kYears{
    {{365.25, "365.25"}, {365.2422, "365.2422"}, {365.25636, "365.25636"}, {360, "360"}}};

const YearRow& RowOf(DashaYear year) {
    const auto index = static_cast<std::size_t>(year);
    return kYears[index < kYears.size() ? index : 0];
}

}  // namespace

double DaysPerYear(DashaYear year) { return RowOf(year).Days; }

std::string_view DashaYearKey(DashaYear year) { return RowOf(year).Key; }

std::optional<DashaYear> ParseDashaYear(std::string_view text) {
    for (DashaYear year : kAllDashaYears)
        if (text == DashaYearKey(year)) return year;
    return std::nullopt;
}

}  // namespace velmora::analysis
