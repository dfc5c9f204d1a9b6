#include <gtest/gtest.h>

#include <cmath>

#include "core/zones.h"
#include "astro/time_conversion.h"
#include "model/birth_builders.h"

using namespace velmora;
using namespace velmora::core;
using namespace velmora::astro;
using namespace std::chrono;
using velmora::testing::BirthData;
using velmora::testing::MomentOf;

namespace {

BirthData Entries(int year, int month, int day, int hour, int minute, bool east, int lonDegrees, bool dst = false) {
    BirthData b = velmora::testing::BirthAt(year, month, day, hour, minute);
    b.IsEast = east;
    b.LongitudeDegrees = lonDegrees;
    b.DaylightSaving = dst;
    return b;
}

ZoneOffset ZoneOfRow(int row) {
    const ZoneOffset z = ZoneOffsetOfRow(row);
    return z;
}

}  // namespace

TEST(DayNumbers, JulianDayNumbersOfKnownDates) {
    EXPECT_EQ(DayNumber(1, 1, 2000), 2451545);
    EXPECT_EQ(DayNumber(1, 1, 1901), 2415386);
    EXPECT_EQ(DayNumber(12, 31, 2050), 2470172);
    EXPECT_EQ(DayNumber(1, 1, 1900), 2415021);
    EXPECT_EQ(DayNumber(10, 15, 1582), 2299161);  // the first Gregorian day
    EXPECT_EQ(DayNumber(10, 4, 1582), 2299160);   // the last Julian one
}

TEST(DayNumbers, WholeNumberStepsAgreeWithFloorsInFloatingPoint) {
    // The day number's steps as written in floating point with floor(),
    // across both calendars and years before the count's epoch: the whole
    // number arithmetic must give the same value everywhere.
    const auto withFloors = [](int month, int day, int year) {
        const double a = 12.0 * (year + 4800) + month - 3;
        double j =
            std::floor((365 * a + 2 * (a - 12 * std::floor(a / 12)) + 7) / 12) + day + std::floor(a / 48) - 32083;
        if (j >= 2299171) j += std::floor(a / 4800) - std::floor(a / 1200) + 38;
        return j;
    };
    for (int year = -4900; year <= 3100; year += 3)
        for (int month = 1; month <= 12; ++month)
            for (int day : {1, 15, 31}) ASSERT_EQ(DayNumber(month, day, year), withFloors(month, day, year)) << year;
    // Each side of the calendar reform: Thursday 4 October 1582 (Julian) was
    // followed by Friday 15 October (Gregorian), the first Gregorian day.
    EXPECT_EQ(DayNumber(10, 15, 1582) - DayNumber(10, 4, 1582), 1);
}

TEST(DayNumbers, DayCountFromJ2000) {
    EXPECT_DOUBLE_EQ(DayCount2000(2000, 1, 1, 12, 0), 0);
    EXPECT_DOUBLE_EQ(DayCount2000(2000, 1, 1, 0, 0), -0.5);
    // Agrees with the Julian day number over the whole offered range.
    for (int year = 1901; year <= 2050; year += 7)
        for (int month = 1; month <= 12; ++month)
            EXPECT_DOUBLE_EQ(DayCount2000(year, month, 15, 12, 0), DayNumber(month, 15, year) - 2451545)
                << year << "-" << month;
}

TEST(UniversalTime, ZoneAndDaylightSavingOnEveryRoute) {
    struct Case {
        int row;
        bool east;
        int lonDegrees;
        bool dst;
        int hour;
        double expected;
    };
    const Case cases[] = {
        {34, true, 77, true, 10, 3.5},    // Indian time, east, daylight saving
        {27, false, 75, true, 10, 14.0},  // Eastern Standard Time, west, daylight saving
        {29, false, 0, true, 10, 9.0},    // Greenwich with daylight saving: one hour earlier
        {61, true, 2, true, 10, 9.0},     // Universal Time east of Greenwich: the same
        {20, false, 3, false, 12, 11.0},  // 3° West in a zone east of Greenwich
        {46, true, 176, false, 5, -8.0},  // 13 hours east: the day before, unwrapped
    };
    for (const Case& c : cases) {
        const BirthData birth = Entries(2000, 6, 15, c.hour, 0, c.east, c.lonDegrees, c.dst);
        const ZoneOffset zone = ZoneOfRow(c.row);
        EXPECT_DOUBLE_EQ(MomentOf(birth, zone).UniversalTime, c.expected) << "row " << c.row;
        EXPECT_DOUBLE_EQ(MomentOf(birth, zone).UniversalTime, c.expected);

        // The planets' calendar route reaches the same moment.
        const ClockReading ut = UniversalCalendarTime(MomentOf(birth, zone));
        const sys_days utDate{year{ut.Year} / month{static_cast<unsigned>(ut.Month)} /
                              day{static_cast<unsigned>(ut.Day)}};
        const double hoursFromDate =
            (utDate - sys_days{year{2000} / June / 15}).count() * 24.0 + ut.Hour + ut.Minute / 60.0;
        EXPECT_DOUBLE_EQ(hoursFromDate, c.expected) << "row " << c.row;
    }
}

TEST(UniversalTime, CalendarRouteCarriesAcrossDaysMonthsAndYears) {
    // 22:30 in a zone five hours behind becomes 03:30 the next day.
    ClockReading ut = UniversalCalendarTime(MomentOf(Entries(1980, 3, 10, 22, 30, false, 75), ZoneOfRow(27)));
    EXPECT_EQ((ClockReading{1980, 3, 11, ut.Hour, ut.Minute}), ut);
    EXPECT_EQ(ut.Hour, 3);
    EXPECT_EQ(ut.Minute, 30);

    ut = UniversalCalendarTime(MomentOf(Entries(1999, 12, 31, 23, 0, false, 75), ZoneOfRow(27)));
    EXPECT_EQ((ClockReading{2000, 1, 1, ut.Hour, ut.Minute}), ut);
    EXPECT_EQ(ut.Hour, 4);

    // East of Greenwich the clock goes back, here into a leap day.
    ut = UniversalCalendarTime(MomentOf(Entries(2000, 3, 1, 2, 0, true, 77), ZoneOfRow(34)));
    EXPECT_EQ((ClockReading{2000, 2, 29, ut.Hour, ut.Minute}), ut);
    EXPECT_EQ(ut.Hour, 20);
    EXPECT_EQ(ut.Minute, 30);

    // Daylight saving at 00:30 on Greenwich time falls on the day before.
    ut = UniversalCalendarTime(MomentOf(Entries(1975, 7, 1, 0, 30, false, 0, true), ZoneOfRow(29)));
    EXPECT_EQ((ClockReading{1975, 6, 30, ut.Hour, ut.Minute}), ut);
    EXPECT_EQ(ut.Hour, 23);
    EXPECT_EQ(ut.Minute, 30);
}

TEST(UniversalTime, CenturiesFromBothEpochs) {
    const BirthMoment noon2000 = MomentOf(Entries(2000, 1, 1, 12, 0, false, 0), ZoneOfRow(29));
    EXPECT_DOUBLE_EQ(CenturiesFrom2000(noon2000), 0);
    EXPECT_DOUBLE_EQ(CenturiesFrom1900(noon2000), 1);
    const BirthMoment moment = MomentOf(Entries(1900, 1, 1, 0, 0, false, 0), ZoneOfRow(29));
    EXPECT_NEAR(CenturiesFrom1900(moment), 0.5 / 36525, 1e-15);
}

TEST(UniversalTime, SignedCoordinates) {
    BirthData b = Entries(2000, 1, 1, 12, 0, true, 77);
    b.LongitudeMinutes = 30;
    b.LatitudeDegrees = 28;
    b.LatitudeMinutes = 36;
    b.IsSouth = true;
    const BirthMoment m = MomentOf(b, ZoneOfRow(29));
    EXPECT_DOUBLE_EQ(m.Longitude, 77.5);
    EXPECT_DOUBLE_EQ(m.Latitude, -28.6);
}
