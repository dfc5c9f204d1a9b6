#include <gtest/gtest.h>

#include <swephexp.h>

#include <cmath>
#include <random>

#include "core/form_builders.h"
#include "core/analysis_json.h"
#include "core/pipeline.h"
#include "core/place_zone.h"
#include "core/text_formats.h"
#include "core/zones.h"

using namespace velmora;
using namespace velmora::core;

namespace {

FormInput Sample() { return velmora::testing::DelhiForm("ASHA"); }

// Difference of two longitudes in degrees, in (-180, 180].
double AngularDifference(double a, double b) {
    double d = std::fmod(a - b, 360.0);
    if (d > 180) d -= 360;
    if (d <= -180) d += 360;
    return d;
}

AnalysisOptions English() {
    AnalysisOptions options;
    options.MonthNames = &EnglishMonthNames();
    return options;
}

}  // namespace

TEST(Pipeline, RejectedFormGivesOnlyTheNotice) {
    const AnalysisOutcome outcome = RunAnalysis(FormInput{}, English());
    ASSERT_TRUE(outcome.Rejected);
    EXPECT_EQ(outcome.Rejected->Text, "Please Enter Name");
    EXPECT_TRUE(outcome.Result.Display.Positions[0].empty());
}

TEST(Pipeline, FillsTheBirthRecordAndEveryPosition) {
    FormInput form = Sample();
    form.DaylightSaving = true;
    form.South = true;
    form.East = false;
    const AnalysisOutcome outcome = RunAnalysis(form, English());
    ASSERT_FALSE(outcome.Rejected);
    const Birth& b = outcome.Result.Birth;
    EXPECT_EQ(b.Name, "ASHA");
    EXPECT_EQ(b.Clock, (ClockReading{1980, 1, 5, 9, 5}));  // January is 1, never 0
    EXPECT_EQ(ZoneOffsetOfRow(b.ZoneRow), (ZoneOffset{-5, -30}));
    EXPECT_EQ(b.Longitude, (AngleEntry{77, 12, true}));
    EXPECT_EQ(b.Latitude, (AngleEntry{28, 36, true}));
    EXPECT_TRUE(b.DaylightSaving);
    EXPECT_DOUBLE_EQ(outcome.Result.Positions.UniversalTime, 9 + 5 / 60.0 - 5.5 - 1);
    const BirthMoment& moment = b.Moment;
    EXPECT_EQ(moment.UtcOffsetSeconds, (330 + 60) * 60);  // east positive
    EXPECT_DOUBLE_EQ(moment.Latitude, -(28 + 36 / 60.0));
    EXPECT_DOUBLE_EQ(moment.Longitude, -(77 + 12 / 60.0));
    for (const auto& position : outcome.Result.Display.Positions) EXPECT_EQ(position.size(), 9u);
}

TEST(Pipeline, SecondsAreNeverReadAndNothingIsKeptBetweenAnalyses) {
    FormInput f = Sample();
    const AnalysisOutcome first = RunAnalysis(f, English());
    f.Second = "30";
    const AnalysisOutcome second = RunAnalysis(f, English());
    EXPECT_EQ(first.Result.Display.Positions, second.Result.Display.Positions);
    EXPECT_EQ(first.Result.Positions.Longitudes, second.Result.Positions.Longitudes);

    // An analysis in between changes nothing of the next.
    FormInput other = Sample();
    other.Year = "2011";
    other.MonthIndex = 6;
    const AnalysisOutcome between = RunAnalysis(other, English());
    EXPECT_NE(between.Result.Display.Positions, first.Result.Display.Positions);
    EXPECT_EQ(AnalysisJson(RunAnalysis(Sample(), English()).Result), AnalysisJson(first.Result));
}

TEST(Pipeline, DetailsChartMarkersProfileAndReadingsOfATypicalBirth) {
    FormInput f = Sample();
    f.South = true;
    const AnalysisOutcome outcome = RunAnalysis(f, English());
    ASSERT_FALSE(outcome.Rejected);
    const BirthAnalysis& a = outcome.Result;
    const DisplayTexts& d = a.Display;
    EXPECT_EQ(d.Details.Name, "ASHA");
    EXPECT_EQ(d.Details.DateOfBirth, "January/5/1980");
    EXPECT_EQ(d.Details.TimeOfBirth, "9:5");
    EXPECT_EQ(d.Details.Latitude, "28\xC2\xB0 36'");  // no hemisphere shown
    EXPECT_EQ(d.Details.Longitude, "77\xC2\xB0 12'");
    EXPECT_EQ(d.Details.City, "New Delhi");

    // Every body appears in exactly one box, under its display name, in body
    // order, and the box is the sign its position text names.
    int lines = 0;
    for (std::size_t sign = 0; sign < 12; ++sign) {
        const std::string_view box = d.SignBoxes[sign];
        for (std::size_t at = box.find('\n'); at != std::string::npos; at = box.find('\n', at + 1)) ++lines;
    }
    EXPECT_EQ(lines, 10);
    for (std::size_t body = 0; body < 10; ++body) {
        const std::size_t sign = static_cast<std::size_t>(a.Chart.BodySign[body] - 1);
        EXPECT_NE(d.SignBoxes[sign].view().find("\n" + std::string(d.BodyNames[body])), std::string::npos) << body;
        EXPECT_EQ(d.Positions[body].view().substr(3, 3), std::string(kSignNames[sign]).substr(0, 3)) << body;
    }
    ASSERT_GE(a.Chart.ArudhaLagnaSign, 1);
    ASSERT_LE(a.Chart.ArudhaLagnaSign, 12);
    for (std::size_t k = 0; k < 12; ++k) {
        EXPECT_EQ(d.ArudhaMarkers[k], k + 1 == static_cast<std::size_t>(a.Chart.ArudhaLagnaSign) ? "Arudha Lagna" : "");
    }
    EXPECT_EQ(a.Chart.ArudhaLagnaSign, analysis::ArudhaLagnaSignOf(a.Chart.LordSign, a.Chart.AscendantSign));
    EXPECT_TRUE(d.ProfileShown);
    EXPECT_EQ(d.Profile[28], kSignNames[static_cast<std::size_t>(a.Chart.ArudhaLagnaSign - 1)]);
    EXPECT_EQ(d.Readings, ReadingRuns(analysis::ArudhaReadings(a.Chart.BodySign, a.Chart.ArudhaLagnaSign)));
}

TEST(Pipeline, ExactOffsetReplacesTheZoneRowAndDaylightSaving) {
    // Kathmandu keeps UTC+05:45: 12:00 there is 06:15 universal time.
    FormInput f = Sample();
    f.Hour = "12";
    f.Minute = "0";
    f.ZoneRow = 0;
    f.DaylightSaving = true;
    f.ExactUtcOffsetMinutes = 345;
    const AnalysisOutcome exact = RunAnalysis(f, English());
    ASSERT_FALSE(exact.Rejected);
    EXPECT_DOUBLE_EQ(exact.Result.Positions.UniversalTime, 6.25);

    FormInput greenwich = Sample();
    greenwich.Hour = "6";
    greenwich.Minute = "15";
    greenwich.ZoneRow = kDefaultZoneRow;
    const AnalysisOutcome same = RunAnalysis(greenwich, English());
    EXPECT_EQ(exact.Result.Positions.Longitudes, same.Result.Positions.Longitudes);
}

TEST(Formats, DetailsAndMonthNames) {
    ClockReading b{1980, 1, 5, 9, 5};
    EXPECT_EQ(FormatDateOfBirth(b, EnglishMonthNames()), "January/5/1980");
    EXPECT_EQ(FormatTimeOfBirth(b), "9:5");
    b.Hour = 17;
    b.Minute = 30;
    EXPECT_EQ(FormatTimeOfBirth(b), "17:30");
    EXPECT_EQ(FormatAngle(28, 36), "28\xC2\xB0 36'");
    EXPECT_EQ(FormatAngle(0, 0), "0\xC2\xB0 0'");
    // The tests run in the C locale, where the system names are English.
    EXPECT_EQ(SystemMonthNames()[11], "December");
    EXPECT_EQ(WithNewlines("a\r\nb\r\n\r\nc\rd\n"), "a\nb\n\nc\rd\n");
    EXPECT_EQ(LatitudeText(AngleEntry{}), "00:00N");
    EXPECT_EQ(LatitudeText(AngleEntry{8, 3, true}), "08:03S");
    EXPECT_EQ(LongitudeText(AngleEntry{77, 5, false}), "077:05E");
    EXPECT_EQ(LongitudeText(AngleEntry{179, 59, true}), "179:59W");
}

TEST(Pipeline, PreciseModeAgreesWithTheSwissEphemerisCalledDirectly) {
    // Random births from the form: every body within 0.001 degree of the
    // library asked directly for the same moment, place, ayanamsa and node,
    // the ascendant's sign always the same, and the marks from the sign of
    // the daily motion.
    std::mt19937 random(42);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    swe_set_ephe_path(const_cast<char*>("/usr/share/libswe/ephe"));
    for (int n = 0; n < 60; ++n) {
        FormInput f = Sample();
        f.MonthIndex = pick(0, 11);
        f.Day = std::to_string(pick(1, 28));
        f.Year = std::to_string(pick(1901, 2050));
        f.Hour = std::to_string(pick(0, 23));
        f.Minute = std::to_string(pick(0, 59));
        f.ZoneRow = pick(0, 70);
        f.DaylightSaving = pick(0, 1) == 1;
        f.LatitudeDegrees = std::to_string(pick(0, 60));
        f.South = pick(0, 1) == 1;
        f.LongitudeDegrees = std::to_string(pick(0, 179));
        f.East = pick(0, 1) == 1;
        AnalysisOptions options = English();
        options.Settings.Mode = EphemerisMode::Precise;
        options.Settings.Node = n % 2 ? astro::NodeKind::True : astro::NodeKind::Mean;
        options.Settings.Ayanamsa = n % 3 ? astro::Ayanamsa::Lahiri : astro::Ayanamsa::Krishnamurti;
        const AnalysisOutcome outcome = RunAnalysis(f, options);
        ASSERT_FALSE(outcome.Rejected) << outcome.Rejected->Text;
        const BirthAnalysis& a = outcome.Result;

        // The moment straight from the form: the civil date and clock time
        // less the zone's offset and the daylight-saving hour.
        const ZoneRow& row = ZoneTable()[static_cast<std::size_t>(f.ZoneRow)];
        const double hours = std::stoi(f.Hour) + std::stoi(f.Minute) / 60.0 + row.OffsetHours +
                             row.OffsetMinutes / 60.0 - (f.DaylightSaving ? 1 : 0);
        const double jd = swe_julday(std::stoi(f.Year), f.MonthIndex + 1, std::stoi(f.Day), hours, SE_GREG_CAL);
        swe_set_sid_mode(n % 3 ? SE_SIDM_LAHIRI : SE_SIDM_KRISHNAMURTI, 0, 0);
        const int flags = SEFLG_SWIEPH | SEFLG_SPEED | SEFLG_SIDEREAL;
        const int bodies[] = {SE_SUN,  SE_MOON,    SE_MERCURY, SE_VENUS,
                              SE_MARS, SE_JUPITER, SE_SATURN,  n % 2 ? SE_TRUE_NODE : SE_MEAN_NODE};
        char error[256];
        for (int b = 0; b < 8; ++b) {
            double x[6];
            ASSERT_GE(swe_calc_ut(jd, bodies[b], flags, x, error), 0) << error;
            EXPECT_NEAR(AngularDifference(a.Positions.Longitudes[static_cast<std::size_t>(b)], x[0]), 0, 0.001)
                << n << " body " << b;
            if (b >= 2 && b <= 6) {
                EXPECT_EQ(a.Positions.Retrograde[static_cast<std::size_t>(b)], x[3] < 0) << n << " body " << b;
            }
        }
        EXPECT_NEAR(AngularDifference(a.Positions.Longitudes[Ketu], a.Positions.Longitudes[Rahu] + 180), 0, 1e-9);
        double cusps[13], ascmc[10];
        const double latitude =
            (f.South ? -1 : 1) * std::stod(f.LatitudeDegrees) + (f.South ? -1 : 1) * std::stod(f.LatitudeMinutes) / 60;
        const double longitude =
            (f.East ? 1 : -1) * (std::stod(f.LongitudeDegrees) + std::stod(f.LongitudeMinutes) / 60);
        swe_houses_ex(jd, SEFLG_SIDEREAL, latitude, longitude, 'W', cusps, ascmc);
        EXPECT_EQ(a.Chart.AscendantSign, static_cast<int>(ascmc[0] / 30) + 1) << n;
        ASSERT_TRUE(a.FormulaComparison.has_value());
    }
}

TEST(Pipeline, TheRecordTakesTheNumberTheChecksJudged) {
    // A degree text that only starts with a number passes the checks on
    // that number; the record must hold the same number.
    FormInput f = Sample();
    f.LatitudeDegrees = "12abc";
    f.LongitudeDegrees = "77 5";
    const AnalysisOutcome outcome = RunAnalysis(f, English());
    ASSERT_FALSE(outcome.Rejected);
    EXPECT_EQ(outcome.Result.Birth.Latitude.Degrees, 12);
    EXPECT_EQ(outcome.Result.Birth.Longitude.Degrees, 77);
}

TEST(UtcOffsets, ReadWholeOrNotAtAll) {
    EXPECT_EQ(ParseUtcOffset("+05:45"), 345);
    EXPECT_EQ(ParseUtcOffset("-03:30"), -210);
    EXPECT_EQ(ParseUtcOffset("5:30"), 330);
    EXPECT_EQ(ParseUtcOffset("+00:00"), 0);
    EXPECT_EQ(ParseUtcOffset("+18:00"), 18 * 60);
    for (const char* refused : {"", "+", "05::0", "+00::2", "+18:01", "+5:3", "+123:00", "05:60", "+05:4a", "05h45",
                                ":45", "+05:45 ", "--05:45"}) {
        EXPECT_FALSE(ParseUtcOffset(refused).has_value()) << refused;
    }
}

TEST(Pipeline, ControlCharactersInTextsGiveValidJsonInBothLayouts) {
    // Texts from a file or a batch row can hold any byte; both layouts
    // escape every control character.
    FormInput f = Sample();
    f.State = std::string("Bar\x1e\x1a\x1f\x01", 7) + std::string(1, '\0') + "end";
    const AnalysisOutcome outcome = RunAnalysis(f, English());
    ASSERT_FALSE(outcome.Rejected);
    for (JsonLayout layout : {JsonLayout::Compact, JsonLayout::Indented}) {
        const std::string json = AnalysisJson(outcome.Result, layout);
        for (char c : json) {
            if (layout == JsonLayout::Indented && c == '\n') continue;
            EXPECT_GE(static_cast<unsigned char>(c), 0x20) << static_cast<int>(layout);
        }
        EXPECT_NE(json.find("Bar\\u001E\\u001A\\u001F\\u0001\\u0000end"), std::string::npos)
            << static_cast<int>(layout);
    }
}
