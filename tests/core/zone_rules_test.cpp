#include "core/zone_rules.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "core/zone_at_moment.h"

namespace velmora::core {
namespace {

using namespace std::chrono;

struct ExpectedClock {
    const char* Zone;
    int Year, Month, Day, Hour, Minute;
    int OffsetSeconds;
    bool SummerTime;
    LocalTimeStatus Status;
};

// Local clock times in 2038-2050 (mid-winter, mid-summer, and around both
// changes of 2039 and 2047: the minute before, the middle of the skipped or
// repeated hour, its last minute and the first after) and a few local mean
// times, as Python's zoneinfo reads the same system files:
// tests/core/make_zone_clocks.py.
constexpr ExpectedClock kExpectedClocks[] = {
#include "core/zone_clocks.inc"
};

std::string Describe(const ExpectedClock& e) {
    char text[96];
    std::snprintf(text, sizeof text, "%s %04d-%02d-%02d %02d:%02d", e.Zone, e.Year, e.Month, e.Day, e.Hour, e.Minute);
    return text;
}

TEST(ZoneRules, AgreesWithZoneinfoPast2037AndToTheSecond) {
    ZoneRules rules;
    int compared = 0;
    for (const ExpectedClock& e : kExpectedClocks) {
        const ZoneAtMoment z = ZoneAt(rules, e.Zone, e.Year, e.Month, e.Day, e.Hour, e.Minute);
        SCOPED_TRACE(Describe(e));
        ASSERT_EQ(z.Status, e.Status) << z.Note;
        ++compared;
        if (e.Status == LocalTimeStatus::Skipped) continue;
        EXPECT_EQ(z.UtcOffsetSeconds, e.OffsetSeconds);
        EXPECT_EQ(z.SummerTime, e.SummerTime);
        // The minutes field stays the rounded one.
        EXPECT_LE(std::abs(z.UtcOffsetMinutes * 60 - e.OffsetSeconds), 30);
    }
    EXPECT_GT(compared, 800);
}

TEST(ZoneRules, SummerTimeGoesOnAfter2037InBothHemispheres) {
    ZoneRules rules;
    EXPECT_EQ(ZoneAt(rules, "America/New_York", 2040, 7, 1, 12, 0).UtcOffsetMinutes, -240);
    EXPECT_EQ(ZoneAt(rules, "America/New_York", 2040, 1, 1, 12, 0).UtcOffsetMinutes, -300);
    // Sydney's summer runs across the new year; its winter is standard time.
    EXPECT_EQ(ZoneAt(rules, "Australia/Sydney", 2038, 7, 15, 12, 0).UtcOffsetMinutes, 600);
    const ZoneAtMoment newYear = ZoneAt(rules, "Australia/Sydney", 2045, 1, 1, 0, 30);
    EXPECT_EQ(newYear.UtcOffsetMinutes, 660);
    EXPECT_TRUE(newYear.SummerTime);
    EXPECT_EQ(newYear.Abbreviation, "AEDT");
    const ZoneAtMoment june = ZoneAt(rules, "America/Santiago", 2040, 6, 15, 12, 0);
    EXPECT_EQ(june.UtcOffsetMinutes, -240);
    EXPECT_EQ(june.Abbreviation, "-04");
    EXPECT_FALSE(ZoneAt(rules, "Asia/Kolkata", 2049, 7, 1, 12, 0).SummerTime);
    EXPECT_EQ(ZoneAt(rules, "Asia/Kathmandu", 2049, 7, 1, 12, 0).UtcOffsetMinutes, 345);
}

TEST(ZoneRules, SkippedAndRepeatedHoursAfter2037SayWhatHappened) {
    ZoneRules rules;
    const ZoneAtMoment skipped = ZoneAt(rules, "America/New_York", 2040, 3, 11, 2, 30);
    EXPECT_EQ(skipped.Status, LocalTimeStatus::Skipped);
    EXPECT_NE(skipped.Note.find("clocks went from 02:00 to 03:00"), std::string::npos) << skipped.Note;
    const ZoneAtMoment repeated = ZoneAt(rules, "America/New_York", 2040, 11, 4, 1, 30);
    EXPECT_EQ(repeated.Status, LocalTimeStatus::Repeated);
    EXPECT_EQ(repeated.UtcOffsetMinutes, -240);  // the first: still daylight time
    EXPECT_NE(repeated.Note.find("the first (daylight, UTC-04:00)"), std::string::npos) << repeated.Note;
    // Southern: Sydney's clocks go back on the first Sunday of April at 03:00.
    EXPECT_EQ(ZoneAt(rules, "Australia/Sydney", 2046, 4, 1, 2, 30).Status, LocalTimeStatus::Repeated);
    EXPECT_EQ(ZoneAt(rules, "Australia/Sydney", 2046, 10, 7, 2, 30).Status, LocalTimeStatus::Skipped);
}

// Europe's rule (Directive 2000/84/EC): summer time from 01:00 UT on the
// last Sunday of March to 01:00 UT on the last Sunday of October, worked out
// here from the calendar and checked at universal moments a second either
// side of each change.
TEST(ZoneRules, LondonFollowsTheEuropeanRuleToTheSecond) {
    ZoneRules rules;
    ZoneHistory* london = rules.Find("Europe/London");
    ASSERT_NE(london, nullptr);
    EXPECT_TRUE(london->FollowsRule());
    for (int y = 2038; y <= 2050; ++y) {
        for (const unsigned month : {3u, 10u}) {
            const date::sys_days lastSunday{date::year{y} / date::month{month} / date::Sunday[date::last]};
            const date::sys_seconds change = lastSunday + hours{1};
            const bool summerAfter = month == 3;
            const date::sys_info before = london->Info(change - seconds{1});
            const date::sys_info after = london->Info(change);
            SCOPED_TRACE(std::to_string(y) + "-" + std::to_string(month));
            EXPECT_EQ(before.offset, summerAfter ? seconds{0} : hours{1});
            EXPECT_EQ(after.offset, summerAfter ? hours{1} : seconds{0});
            EXPECT_EQ(after.abbrev, summerAfter ? "BST" : "GMT");
            EXPECT_EQ(after.begin, change);
        }
    }
}

TEST(ZoneRules, LocalMeanTimeKeepsItsSeconds) {
    const ZoneAtMoment casablanca = ZoneAt("Africa/Casablanca", 1906, 6, 1, 12, 0);
    EXPECT_EQ(casablanca.UtcOffsetSeconds, -(30 * 60 + 20));
    EXPECT_EQ(casablanca.UtcOffsetMinutes, -30);
    EXPECT_EQ(ZoneAt("Asia/Kolkata", 2040, 1, 1, 0, 0).UtcOffsetSeconds, 19800);
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(ZoneRules, ReadsTheTailOfATzifFile) {
    const std::string bytes = FileBytes("/usr/share/zoneinfo/America/New_York");
    std::string error;
    const std::optional<TzifTail> tail = ReadTzifTail(bytes, &error);
    ASSERT_TRUE(tail) << error;
    EXPECT_EQ(tail->Rule, "EST5EDT,M3.2.0,M11.1.0");
    // 2037-11-01 06:00 UT, the last change Debian's file lists (or later, with
    // another build of the files).
    ASSERT_TRUE(tail->LastTransition);
    EXPECT_GE(*tail->LastTransition, 2140668000);

    // Cut anywhere before the footer's end: refused, never read past the end.
    for (const std::size_t cut :
         {std::size_t{0}, std::size_t{3}, std::size_t{44}, bytes.size() / 2, bytes.size() - 1}) {
        EXPECT_FALSE(ReadTzifTail(std::string_view(bytes).substr(0, cut), &error)) << cut;
        EXPECT_FALSE(error.empty());
    }
    EXPECT_FALSE(ReadTzifTail("not a zone file at all, but long enough for a header......"));

    // A version 1 file has no rule: an empty header, no data.
    std::string v1(44, '\0');
    v1.replace(0, 4, "TZif");
    const std::optional<TzifTail> old = ReadTzifTail(v1);
    ASSERT_TRUE(old);
    EXPECT_TRUE(old->Rule.empty());
    EXPECT_FALSE(old->LastTransition);
}

TEST(ZoneRules, NegativeTimesOfDayAreMovedNotLost) {
    seconds shift{};
    EXPECT_EQ(RuleWithoutNegativeTimes("<-02>2<-01>,M3.5.0/-1,M10.5.0/0", shift), "<-02>1<-01>0,M3.5.0/0,M10.5.0/1");
    EXPECT_EQ(shift, hours{1});
    EXPECT_EQ(RuleWithoutNegativeTimes("NST3:30NDT,M3.2.0/-2:30,M11.1.0", shift),
              "NST0:30NDT-0:30,M3.2.0/0:30,M11.1.0/5");
    EXPECT_EQ(shift, hours{3});
    // Nothing negative: the rule as it is.
    EXPECT_EQ(RuleWithoutNegativeTimes("IST-2IDT,M3.4.4/26,M10.5.0", shift), "IST-2IDT,M3.4.4/26,M10.5.0");
    EXPECT_EQ(shift, seconds{0});
    EXPECT_EQ(RuleWithoutNegativeTimes("<+0545>-5:45", shift), "<+0545>-5:45");
    for (const char* broken : {"", "E5", "EST", "EST5EDT,M3.2.0", "EST5EDT,M3.2.0,M11.1.0,", "<EST5", "EST5EDT;"})
        EXPECT_FALSE(RuleWithoutNegativeTimes(broken, shift)) << broken;
}

TEST(ZoneRules, UnknownIdsAndMissingFiles) {
    ZoneRules rules;
    EXPECT_EQ(rules.Find("Mars/Olympus_Mons"), nullptr);
    EXPECT_EQ(rules.Find("../../etc/passwd"), nullptr);
    EXPECT_EQ(rules.Find("Mars/Olympus_Mons"), nullptr);  // remembered as unknown
    EXPECT_EQ(rules.Find("America/New_York"), rules.Find("America/New_York"));

    // Without the files only the explicit transitions are known: the last
    // offset holds, as before.
    ZoneRules without("/nonexistent-zoneinfo");
    ZoneHistory* york = without.Find("America/New_York");
    ASSERT_NE(york, nullptr);
    EXPECT_FALSE(york->FollowsRule());
    EXPECT_EQ(ZoneAt(without, "America/New_York", 2040, 7, 1, 12, 0).UtcOffsetMinutes, -300);
}

}  // namespace
}  // namespace velmora::core
