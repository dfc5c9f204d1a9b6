#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

#include "core/zones.h"

using namespace velmora;
using namespace velmora::core;

namespace {

ZoneOffset Offset(int row) {
    const ZoneOffset z = ZoneOffsetOfRow(row);
    return z;
}

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

}  // namespace

TEST(Zones, TableShapeAndDefault) {
    const auto& zones = ZoneTable();
    ASSERT_EQ(zones.size(), 71u);
    EXPECT_EQ(zones[kDefaultZoneRow].Text, "Greenwich Mean Time,GMT,0.0");
    EXPECT_EQ(zones.front().Text, "Alaska/Hawaii Daylight Time,AHDT,-9.0");
    EXPECT_EQ(zones.back().Text, "Yukon War Time,YWT,-8.0");
    EXPECT_EQ(zones[11].Text, "Azores Time, AT, -2.0");
    EXPECT_EQ(zones[34].Text, "Indian Time, IST, +5.3");
    EXPECT_EQ(zones[35].Text, "Int'l Date Line East,IDLE,+12.0");

    // Alphabetical by zone name, ignoring case; look-alike rows all kept.
    for (std::size_t i = 1; i < zones.size(); ++i) {
        const std::string previous = Lower(zones[i - 1].Text.substr(0, zones[i - 1].Text.find(',')));
        const std::string current = Lower(zones[i].Text.substr(0, zones[i].Text.find(',')));
        EXPECT_LE(previous, current) << i;
    }
    const auto spaced = std::count_if(zones.begin(), zones.end(),
                                      [](const ZoneRow& z) { return z.Text.find(", ") != std::string_view::npos; });
    EXPECT_EQ(spaced, 8);
    std::set<std::string_view> texts;
    for (const ZoneRow& z : zones) texts.insert(z.Text);
    EXPECT_EQ(texts.size(), 71u);
}

TEST(Zones, EveryPairIsTheTextsOffsetReversed) {
    for (int row = 0; row < kZoneCount; ++row) {
        const std::string_view text = ZoneTable()[static_cast<std::size_t>(row)].Text;
        std::string offset(text.substr(text.rfind(',') + 1));
        offset.erase(0, offset.find_first_not_of(' '));
        const double hours = std::stod(offset);
        const bool half = offset.find(".5") != std::string::npos || offset.find(".3") != std::string::npos;
        const int expectedHours = -static_cast<int>(hours);
        const int expectedMinutes = half ? (hours > 0 ? -30 : 30) : 0;
        const ZoneOffset z = Offset(row);
        EXPECT_EQ(z.Hours, expectedHours) << text;
        EXPECT_EQ(z.Minutes, expectedMinutes) << text;
    }
}

TEST(Zones, NamedRows) {
    EXPECT_EQ(Offset(29).Hours, 0);
    EXPECT_EQ(Offset(29).Minutes, 0);
    EXPECT_EQ(Offset(34).Hours, -5);  // "+5.3" is five and a half hours east
    EXPECT_EQ(Offset(34).Minutes, -30);
    EXPECT_EQ(Offset(50).Hours, 3);
    EXPECT_EQ(Offset(50).Minutes, 30);
    EXPECT_EQ(Offset(32).Hours, 10);
    EXPECT_EQ(Offset(32).Minutes, 30);
    EXPECT_EQ(Offset(46).Hours, -13);
    EXPECT_EQ(Offset(36).Hours, 12);
    EXPECT_EQ(Offset(56).Hours, Offset(57).Hours);
    EXPECT_EQ(Offset(56).Minutes, Offset(57).Minutes);
    EXPECT_EQ(Offset(58).Minutes, Offset(59).Minutes);
    EXPECT_EQ(Offset(61).Hours, 0);
}

TEST(Zones, RowOutsideTheListHasNoOffset) {
    EXPECT_EQ(ZoneOffsetOfRow(34), (ZoneOffset{-5, -30}));
    EXPECT_EQ(ZoneOffsetOfRow(71), ZoneOffset{});
    EXPECT_EQ(ZoneOffsetOfRow(-1), ZoneOffset{});
}
