#include "astro/sunrise.h"

#include <gtest/gtest.h>
#include <swephexp.h>

#include <cmath>
#include <thread>

using namespace velmora::astro;
using namespace std::chrono;

namespace {

SunEventsQuery Query(year_month_day date, int offsetSeconds, double latitude, double longitudeEast) {
    SunEventsQuery q;
    q.LocalDate = date;
    q.ClockOffsetSeconds = offsetSeconds;
    q.Latitude = latitude;
    q.LongitudeEast = longitudeEast;
    return q;
}

// The library called directly, the way the brief for the panchanga gives it.
std::optional<double> Direct(double start, int32 which, double latitude, double longitudeEast) {
    swe_set_ephe_path("/usr/share/libswe/ephe");
    double place[3] = {longitudeEast, latitude, 0};
    double found[10] = {};
    char serr[AS_MAXCH] = {};
    const int32 result = swe_rise_trans(start, SE_SUN, nullptr, SEFLG_SWIEPH, which, place, 1013.25, 15, found, serr);
    EXPECT_NE(result, -1) << serr;
    if (result != 0 || found[0] >= start + 1) return std::nullopt;
    return found[0];
}

}  // namespace

TEST(Sunrise, AsTheLibraryGivesItForSeveralPlaces) {
    struct Place {
        year_month_day Date;
        int Offset;
        double Latitude, LongitudeEast;
    };
    const Place places[] = {
        {2000y / January / 1, 19800, 28.6139, 77.2090},      // New Delhi
        {1969y / July / 20, -4 * 3600, 40.7128, -74.0060},   // New York, daylight time
        {2023y / March / 20, 0, 51.4779, -0.0015},           // Greenwich at the equinox
        {1955y / October / 2, 36000, -33.8688, 151.2093},    // Sydney
        {2010y / June / 21, 0, 64.1466, -21.9426},           // Reykjavik at midsummer: no sunset
        {1850y / December / 31, -10 * 3600, 21.3, -157.85},  // Honolulu, long ago
    };
    for (const Place& p : places) {
        SCOPED_TRACE(testing::Message() << int(p.Date.year()) << " " << p.Latitude);
        const SunEvents events = SunriseAndSunset(Query(p.Date, p.Offset, p.Latitude, p.LongitudeEast));
        ASSERT_TRUE(events.Ok) << events.Error;
        const double start = LocalMidnightJulianDay(p.Date, p.Offset);
        EXPECT_EQ(events.Sunrise, Direct(start, SE_CALC_RISE, p.Latitude, p.LongitudeEast));
        EXPECT_EQ(events.Sunset, Direct(start, SE_CALC_SET, p.Latitude, p.LongitudeEast));
        // Reykjavik's midsummer sunset falls just after midnight, on the
        // next date; every other place has both.
        ASSERT_TRUE(events.Sunrise.has_value());
        EXPECT_EQ(events.Sunset.has_value(), p.Latitude < 60);
        EXPECT_GE(*events.Sunrise, start);
        if (events.Sunset) {
            EXPECT_LT(*events.Sunset, start + 1);
        }
    }
}

TEST(Sunrise, GreenwichAtTheEquinoxAndMidnightOfTheLocalDate) {
    // 2023-03-20 at Greenwich: sunrise about 06:03 UT, sunset about 18:14.
    const SunEvents events = SunriseAndSunset(Query(2023y / March / 20, 0, 51.4779, -0.0015));
    ASSERT_TRUE(events.Ok && events.Sunrise && events.Sunset);
    const double midnight = 2460023.5;
    EXPECT_NEAR((*events.Sunrise - midnight) * 1440, 6 * 60 + 3, 3);
    EXPECT_NEAR((*events.Sunset - midnight) * 1440, 18 * 60 + 14, 3);
    EXPECT_DOUBLE_EQ(LocalMidnightJulianDay(2023y / March / 20, 0), midnight);
    EXPECT_DOUBLE_EQ(LocalMidnightJulianDay(2023y / March / 20, 19800), midnight - 0.229166666666666667);
}

TEST(Sunrise, PolarDayAndNightHaveNone) {
    for (const year_month_day date : {2020y / December / 15, 2021y / June / 21}) {
        const SunEvents events = SunriseAndSunset(Query(date, 3600, 69.6492, 18.9553));  // Tromsø
        ASSERT_TRUE(events.Ok) << events.Error;
        EXPECT_FALSE(events.Sunrise.has_value());
        EXPECT_FALSE(events.Sunset.has_value());
    }
    // The day the Sun first stays up at the pole's edge still has a setting
    // or a rising only where the library finds one within the day.
    const SunEvents spring = SunriseAndSunset(Query(2021y / January / 20, 3600, 69.6492, 18.9553));
    ASSERT_TRUE(spring.Ok);
    EXPECT_TRUE(spring.Sunrise && spring.Sunset);
}

TEST(Sunrise, RefusesWhatTheFilesDoNotCover) {
    EXPECT_FALSE(SunriseAndSunset(Query(1799y / June / 1, 0, 10, 10)).Ok);
    EXPECT_FALSE(SunriseAndSunset(Query(2400y / January / 1, 0, 10, 10)).Ok);
    EXPECT_FALSE(SunriseAndSunset(Query(2000y / February / 30, 0, 10, 10)).Ok);
    EXPECT_FALSE(SunriseAndSunset(Query(2000y / June / 1, 0, 91, 10)).Ok);
    EXPECT_FALSE(SunriseAndSunset(Query(2000y / June / 1, 0, 10, std::nan(""))).Ok);
    SunEventsQuery missing = Query(2000y / June / 1, 0, 10, 10);
    missing.EphemerisPath = "/nonexistent";
    const SunEvents refused = SunriseAndSunset(missing);
    EXPECT_FALSE(refused.Ok);
    EXPECT_NE(refused.Error.find("swe-basic-data"), std::string::npos) << refused.Error;
    // And the right path works again afterwards.
    EXPECT_TRUE(SunriseAndSunset(Query(2000y / June / 1, 0, 10, 10)).Ok);
}

TEST(Sunrise, FromAnotherThread) {
    SunEvents there;
    std::thread worker([&] { there = SunriseAndSunset(Query(2000y / January / 1, 19800, 28.6139, 77.2090)); });
    worker.join();
    const SunEvents here = SunriseAndSunset(Query(2000y / January / 1, 19800, 28.6139, 77.2090));
    ASSERT_TRUE(there.Ok && here.Ok);
    EXPECT_EQ(there.Sunrise, here.Sunrise);
}
