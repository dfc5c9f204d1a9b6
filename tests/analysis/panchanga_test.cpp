#include <gtest/gtest.h>

#include <cmath>

#include "analysis/panchanga.h"

using namespace velmora::analysis;
using namespace std::chrono;

namespace {

double Dms(int degrees, int minutes, int seconds = 0) { return degrees + minutes / 60.0 + seconds / 3600.0; }

Panchanga WithElongation(double elongation, double sun = 100) {
    return PanchangaLimbs(sun, sun + elongation, 2000y / January / 1);
}

UtMoment At(year_month_day date, int hour, int minute) {
    return UtMoment(sys_days(date)) + hours(hour) + minutes(minute);
}

constexpr int kIndia = 19800;  // +05:30

}  // namespace

TEST(Panchanga, PublishedTithis) {
    // Sun 12°14' Virgo, Moon 14°52' Libra: 1958' apart, 2 whole tithis of
    // 720', so the third, Tritiya, of the bright half.
    const Panchanga third = PanchangaLimbs(150 + Dms(12, 14), 180 + Dms(14, 52), 2011y / October / 23);
    EXPECT_EQ(third.Tithi.Number, 3);
    EXPECT_EQ(third.Tithi.Name, "Tritiya");
    EXPECT_EQ(third.Tithi.Paksha, "Shukla");
    // 2017-02-20 at sunrise near New Delhi: Sun Aquarius 7°30'21", Moon
    // Scorpio 21°04'08"; (Moon − Sun + 360) / 12 = 23.63, the 24th tithi,
    // Navami of the dark half, with the Moon in Jyeshtha; a Monday.
    const Panchanga dark = PanchangaLimbs(300 + Dms(7, 30, 21), 210 + Dms(21, 4, 8), 2017y / February / 20);
    EXPECT_EQ(dark.Tithi.Number, 24);
    EXPECT_EQ(dark.Tithi.Name, "Navami");
    EXPECT_EQ(dark.Tithi.Paksha, "Krishna");
    EXPECT_EQ(dark.Nakshatra.Name, "Jyeshtha");
    EXPECT_EQ(dark.Vara.Number, 2);
    EXPECT_EQ(dark.Vara.Name, "Somavara");
}

TEST(Panchanga, FullAndNewMoonTithis) {
    EXPECT_EQ(WithElongation(0).Tithi.Number, 1);
    EXPECT_EQ(WithElongation(0).Tithi.Name, "Pratipada");
    EXPECT_EQ(WithElongation(179.99).Tithi.Number, 15);
    EXPECT_EQ(WithElongation(179.99).Tithi.Name, "Purnima");
    EXPECT_EQ(WithElongation(179.99).Tithi.Paksha, "Shukla");
    EXPECT_EQ(WithElongation(180).Tithi.Number, 16);
    EXPECT_EQ(WithElongation(180).Tithi.Name, "Pratipada");
    EXPECT_EQ(WithElongation(180).Tithi.Paksha, "Krishna");
    EXPECT_EQ(WithElongation(347.99).Tithi.Name, "Chaturdashi");
    EXPECT_EQ(WithElongation(348).Tithi.Number, 30);
    EXPECT_EQ(WithElongation(348).Tithi.Name, "Amavasya");
    EXPECT_EQ(WithElongation(359.99).Tithi.Number, 30);
    EXPECT_EQ(WithElongation(359.99).Tithi.Paksha, "Krishna");
    // The Moon behind the Sun by a hair is the end of the dark half; ahead
    // by 12° up to rounding (212.1 − 200.1) starts the second tithi.
    EXPECT_EQ(PanchangaLimbs(10, 9.9999, 2000y / January / 1).Tithi.Number, 30);
    EXPECT_EQ(PanchangaLimbs(200.1, 212.1, 2000y / January / 1).Tithi.Number, 2);
    EXPECT_EQ(PanchangaLimbs(350, 2, 2000y / January / 1).Tithi.Number, 2);  // across Aries
}

TEST(Panchanga, Karanas) {
    struct Case {
        double Elongation;
        int Number;
        std::string_view Name;
    };
    const Case cases[] = {{0, 1, "Kimstughna"},  {5.99, 1, "Kimstughna"},  {6, 2, "Bava"},      {12, 3, "Balava"},
                          {42, 8, "Vishti"},     {48, 9, "Bava"},          {336, 57, "Vishti"}, {341.99, 57, "Vishti"},
                          {342, 58, "Shakuni"},  {348, 59, "Chatushpada"}, {354, 60, "Naga"},   {359.99, 60, "Naga"},
                          {360, 1, "Kimstughna"}};
    for (const Case& c : cases) {
        const Panchanga p = WithElongation(c.Elongation);
        EXPECT_EQ(p.Karana.Number, c.Number) << c.Elongation;
        EXPECT_EQ(p.Karana.Name, c.Name) << c.Elongation;
    }
    // Sun 12°14' Virgo, Moon 14°52' Libra: 32°38' apart, the sixth karana.
    EXPECT_EQ(PanchangaLimbs(150 + Dms(12, 14), 180 + Dms(14, 52), 2011y / October / 23).Karana.Name, "Gara");
}

TEST(Panchanga, YogaWrapsPastAFullCircle) {
    EXPECT_EQ(PanchangaLimbs(0, 0, 2000y / January / 1).Yoga.Name, "Vishkambha");
    EXPECT_EQ(PanchangaLimbs(300, 59.99, 2000y / January / 1).Yoga.Number, 27);
    EXPECT_EQ(PanchangaLimbs(300, 59.99, 2000y / January / 1).Yoga.Name, "Vaidhriti");
    EXPECT_EQ(PanchangaLimbs(300, 60, 2000y / January / 1).Yoga.Number, 1);  // 360 is 0 again
    const Panchanga past = PanchangaLimbs(300, 70, 2000y / January / 1);     // 370: 10°
    EXPECT_EQ(past.Yoga.Number, 1);
    // 13°20' from degrees and minutes starts the second yoga.
    EXPECT_EQ(PanchangaLimbs(Dms(6, 40), Dms(6, 40), 2000y / January / 1).Yoga.Name, "Priti");
    EXPECT_EQ(PanchangaLimbs(180, Dms(166, 40), 2000y / January / 1).Yoga.Name, "Vaidhriti");
}

TEST(Panchanga, VaraBeforeAndAfterSunrise) {
    const year_month_day sunday = 2024y / March / 3;
    Panchanga p = PanchangaLimbs(0, 0, sunday);
    EXPECT_EQ(p.Vara.Number, 1);
    EXPECT_EQ(p.Vara.Name, "Ravivara");

    velmora::astro::SunEvents events;
    events.Ok = true;
    // Sunrise 06:41:30 and sunset 18:24:30 local (+05:30).
    events.Sunrise = 2460372.5 + (6 * 60 + 41.5 - 330) / 1440.0;
    events.Sunset = 2460372.5 + (18 * 60 + 24.5 - 330) / 1440.0;
    const UtMoment sunrise = MomentOfJulianDay(*events.Sunrise);

    Panchanga before = p;
    AddSunEvents(before, events, sunrise - seconds(1), kIndia);
    EXPECT_EQ(before.Vara.Number, 7);  // still Saturday's day
    EXPECT_EQ(before.Vara.Name, "Shanivara");
    EXPECT_EQ(before.SunriseText, "06:41");
    EXPECT_EQ(before.SunsetText, "18:24");
    ASSERT_TRUE(before.Sunrise.has_value());
    EXPECT_EQ(*before.Sunrise, sunrise);

    Panchanga atSunrise = p;
    AddSunEvents(atSunrise, events, sunrise, kIndia);
    EXPECT_EQ(atSunrise.Vara.Number, 1);

    // No sunrise that day: the date's weekday, whatever the hour.
    velmora::astro::SunEvents polar;
    polar.Ok = true;
    Panchanga night = PanchangaLimbs(0, 0, 2024y / March / 4);
    AddSunEvents(night, polar, At(2024y / March / 3, 23, 0), 3600);
    EXPECT_EQ(night.Vara.Number, 2);
    EXPECT_FALSE(night.Sunrise.has_value());
    EXPECT_TRUE(night.SunriseText.empty());
    EXPECT_TRUE(night.SunEventsError.empty());

    velmora::astro::SunEvents failed;
    failed.Error = "outside";
    Panchanga unknown = p;
    AddSunEvents(unknown, failed, At(2024y / March / 2, 20, 0), kIndia);
    EXPECT_EQ(unknown.Vara.Number, 1);
    EXPECT_EQ(unknown.SunEventsError, "outside");
}

TEST(Panchanga, LocalClockTextDropsSeconds) {
    EXPECT_EQ(LocalClockText(At(2000y / January / 1, 0, 30) + seconds(59), kIndia), "06:00");
    EXPECT_EQ(LocalClockText(At(2000y / January / 1, 0, 30) + duration<double>(29.999), kIndia), "06:00");
    EXPECT_EQ(LocalClockText(At(2000y / January / 1, 0, 29) + duration<double>(59.999), kIndia), "05:59");
    EXPECT_EQ(LocalClockText(At(2000y / January / 1, 2, 15), -5 * 3600), "21:15");
    EXPECT_EQ(LocalClockText(At(2000y / January / 1, 23, 59), 60), "00:00");
}

// ---------------------------------------------------------------------------
// With the Swiss Ephemeris

TEST(PanchangaOfBirth, NewDelhiJustBeforeAndAfterSunrise) {
    PanchangaInput input;
    input.SunLongitude = 256.5;
    input.MoonLongitude = 220.0;
    input.LocalDate = 2000y / January / 1;  // a Saturday
    input.ClockOffsetSeconds = kIndia;
    input.Latitude = 28.6139;
    input.LongitudeEast = 77.2090;
    input.Birth = At(2000y / January / 1, 0, 30);  // 06:00 local
    const Panchanga dawn = PanchangaOfBirth(input);
    ASSERT_TRUE(dawn.SunEventsError.empty()) << dawn.SunEventsError;
    ASSERT_TRUE(dawn.Sunrise && dawn.Sunset);
    // Published for New Delhi on 1 January: sunrise 07:14, sunset 17:35.
    const auto minutesOf = [](const std::string& text) {
        return std::stoi(text.substr(0, 2)) * 60 + std::stoi(text.substr(3));
    };
    EXPECT_NEAR(minutesOf(dawn.SunriseText), 7 * 60 + 14, 2) << dawn.SunriseText;
    EXPECT_NEAR(minutesOf(dawn.SunsetText), 17 * 60 + 35, 2) << dawn.SunsetText;
    EXPECT_EQ(dawn.Vara.Name, "Shukravara");  // before sunrise: still Friday's day

    input.Birth = *dawn.Sunrise - seconds(30);
    EXPECT_EQ(PanchangaOfBirth(input).Vara.Name, "Shukravara");
    input.Birth = *dawn.Sunrise + seconds(30);
    EXPECT_EQ(PanchangaOfBirth(input).Vara.Name, "Shanivara");
}

TEST(PanchangaOfBirth, TromsoWithoutSunriseInDecemberAndJune) {
    PanchangaInput input;
    input.Latitude = 69.6492;
    input.LongitudeEast = 18.9553;
    for (const year_month_day date : {2020y / December / 15, 2021y / June / 21}) {
        SCOPED_TRACE(testing::Message() << int(date.year()) << "-" << unsigned(date.month()));
        input.LocalDate = date;
        input.ClockOffsetSeconds = unsigned(date.month()) == 12 ? 3600 : 7200;
        input.Birth = UtMoment(sys_days(date)) + minutes(10) - seconds(input.ClockOffsetSeconds);  // 00:10 local
        const Panchanga p = PanchangaOfBirth(input);
        EXPECT_TRUE(p.SunEventsError.empty()) << p.SunEventsError;
        EXPECT_FALSE(p.Sunrise.has_value());
        EXPECT_FALSE(p.Sunset.has_value());
        EXPECT_TRUE(p.SunriseText.empty());
        EXPECT_EQ(p.Vara.Number, WeekdayNumber(date));  // kept, though the birth is at 00:10
    }
}
