// The birth-time scan and today's sky, checked against whole analyses of
// the same moments.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>

#include "astro/time_conversion.h"
#include "core/analysis_json.h"
#include "core/form_builders.h"
#include "core/form_reading.h"
#include "core/period_texts.h"
#include "core/pipeline.h"
#include "core/text_formats.h"
#include "core/time_scan.h"

using namespace velmora;
using namespace velmora::core;

namespace {

// The sample birth's place and zone (Indian Time) at another moment.
FormInput FormAt(int year, int month, int day, int hour, int minute) {
    FormInput f = velmora::testing::DelhiForm("SCAN");
    f.Year = std::to_string(year);
    f.MonthIndex = month - 1;
    f.Day = std::to_string(day);
    f.Hour = std::to_string(hour);
    f.Minute = std::to_string(minute);
    f.City = f.State = f.Country = "";
    return f;
}

BirthAnalysis Analyse(const FormInput& form, const AnalysisOptions& options = {}) {
    const AnalysisOutcome outcome = RunAnalysis(form, options);
    EXPECT_FALSE(outcome.Rejected) << (outcome.Rejected ? outcome.Rejected->Text : "");
    return outcome.Result;
}

// The scan of an analysed birth by the engine some options name, or by the
// engine the analysis ran.
SensitivityScan ScanOf(const BirthAnalysis& entered, const AnalysisOptions& options) {
    return ScanBirthTime(entered.Birth, EngineOf(options));
}
SensitivityScan ScanOf(const BirthAnalysis& entered) {
    return ScanBirthTime(entered.Birth, EngineFor(entered.Birth.Settings));
}

// A chart analysed from given positions instead of an engine's.
BirthAnalysis AnalysedFrom(const FormInput& form, const astro::EnginePositions& positions) {
    const FormReading reading = ReadForm(form);
    EXPECT_TRUE(BirthOf(reading));
    BirthAnalysis analysis;
    AnalyzeInto(analysis, form, *BirthOf(reading), positions);
    return analysis;
}

// The form of the same birth moved to another local minute, the date carried
// by the calendar (worked out here independently of the scan).
FormInput Moved(FormInput form, int minutes) {
    using namespace std::chrono;
    const year_month_day date{year{std::stoi(form.Year)}, month{static_cast<unsigned>(form.MonthIndex + 1)},
                              day{static_cast<unsigned>(std::stoi(form.Day))}};
    const sys_time<std::chrono::minutes> at =
        sys_days{date} + hours{std::stoi(form.Hour)} + std::chrono::minutes{std::stoi(form.Minute) + minutes};
    const sys_days newDay = floor<days>(at);
    const year_month_day newDate{newDay};
    const auto inDay = (at - newDay).count();
    form.Year = std::to_string(static_cast<int>(newDate.year()));
    form.MonthIndex = static_cast<int>(static_cast<unsigned>(newDate.month())) - 1;
    form.Day = std::to_string(static_cast<unsigned>(newDate.day()));
    form.Hour = std::to_string(inDay / 60);
    form.Minute = std::to_string(inDay % 60);
    return form;
}

const SensitivitySegment& SegmentAt(const SensitivityScan& scan, int offset) {
    for (const SensitivitySegment& s : scan.Segments)
        if (s.FromOffset <= offset && offset <= s.ToOffset) return s;
    ADD_FAILURE() << "no segment holds offset " << offset;
    return scan.Segments.front();
}

// Segments tile the runs without gaps, each a maximal run of one pair of
// signs; the whole scan covers FirstOffset..LastOffset minute by minute.
void ExpectWellFormed(const SensitivityScan& scan) {
    ASSERT_TRUE(scan.Ok) << scan.Error;
    ASSERT_FALSE(scan.Segments.empty());
    ASSERT_EQ(static_cast<int>(scan.Runs.size()), scan.LastOffset - scan.FirstOffset + 1);
    for (std::size_t i = 0; i < scan.Runs.size(); ++i) {
        EXPECT_EQ(scan.Runs[i].Offset, scan.FirstOffset + static_cast<int>(i));
        EXPECT_EQ(scan.Runs[i].Local, astro::AddMinutes(scan.Entered, scan.Runs[i].Offset));
    }
    EXPECT_EQ(scan.Segments.front().FromOffset, scan.FirstOffset);
    EXPECT_EQ(scan.Segments.back().ToOffset, scan.LastOffset);
    for (std::size_t i = 0; i < scan.Segments.size(); ++i) {
        const SensitivitySegment& s = scan.Segments[i];
        EXPECT_LE(s.FromOffset, s.ToOffset);
        EXPECT_EQ(s.From, astro::AddMinutes(scan.Entered, s.FromOffset));
        EXPECT_EQ(s.To, astro::AddMinutes(scan.Entered, s.ToOffset));
        if (i > 0) {
            EXPECT_EQ(s.FromOffset, scan.Segments[i - 1].ToOffset + 1);
            EXPECT_TRUE(s.AscendantSign != scan.Segments[i - 1].AscendantSign ||
                        s.ArudhaLagnaSign != scan.Segments[i - 1].ArudhaLagnaSign);
        }
    }
    EXPECT_LE(scan.SameChart.FromOffset, 0);
    EXPECT_GE(scan.SameChart.ToOffset, 0);
    EXPECT_LE(scan.SameArudhaLagna.FromOffset, scan.SameChart.FromOffset);
    EXPECT_GE(scan.SameArudhaLagna.ToOffset, scan.SameChart.ToOffset);
}

// A stand-in engine that returns fixed longitudes, so the houses can be set
// up exactly.
class FixedEngine final : public astro::PositionEngine {
public:
    explicit FixedEngine(std::array<double, kBodyCount> longitudes) { positions_.Longitudes = longitudes; }
    astro::EngineOutcome Compute(const BirthMoment& moment) const override {
        seen = moment;
        astro::EngineOutcome outcome;
        outcome.Positions = positions_;
        outcome.Positions.Retrograde[Saturn] = true;
        return outcome;
    }
    mutable BirthMoment seen;

private:
    astro::EnginePositions positions_;
};

}  // namespace

TEST(ClockReadings, TextsCarryAndParse) {
    EXPECT_EQ(ClockReadingText({1999, 12, 31, 23, 59}), "1999-12-31T23:59");
    EXPECT_EQ(ClockTimeText({1999, 12, 31, 7, 5}), "07:05");
    EXPECT_EQ(astro::AddMinutes({1999, 12, 31, 23, 59}, 1), (ClockReading{2000, 1, 1, 0, 0}));
    EXPECT_EQ(astro::AddMinutes({2000, 3, 1, 0, 10}, -11), (ClockReading{2000, 2, 29, 23, 59}));
    EXPECT_EQ(astro::AddMinutes({1901, 3, 1, 0, 0}, -1), (ClockReading{1901, 2, 28, 23, 59}));
    EXPECT_EQ(ParseClockReading("2024-02-29T13:05"), (ClockReading{2024, 2, 29, 13, 5}));
    EXPECT_EQ(ParseClockReading("2024-02-29 13:05"), (ClockReading{2024, 2, 29, 13, 5}));
    for (const char* bad : {"2023-02-29T13:05", "2024-13-01T00:00", "2024-01-01T24:00", "2024-01-01T10:60",
                            "2024-1-01T10:00", "2024-01-01", "2024-01-01T10:00Z", ""})
        EXPECT_FALSE(ParseClockReading(bad)) << bad;
}

TEST(SensitivityScan, AscendantChangesSignOnBothSidesOfTheEnteredTime) {
    // Delhi, 1980-01-05 09:05: the ascendant stands in Capricorn and leaves it
    // within two hours either way (checked below against whole analyses).
    const FormInput form = FormAt(1980, 1, 5, 9, 5);
    const BirthAnalysis entered = Analyse(form);
    const SensitivityScan scan = ScanOf(entered, AnalysisOptions{});
    ExpectWellFormed(scan);
    EXPECT_EQ(scan.Runs.size(), 241u);
    EXPECT_EQ(scan.FirstOffset, -120);
    EXPECT_EQ(scan.LastOffset, 120);
    EXPECT_EQ(scan.Entered, (ClockReading{1980, 1, 5, 9, 5}));
    EXPECT_EQ(scan.ArudhaLagnaSign, entered.Chart.ArudhaLagnaSign);

    const int ascendant = entered.Chart.AscendantSign;
    ASSERT_NE(Analyse(Moved(form, -120)).Chart.AscendantSign, ascendant);
    ASSERT_NE(Analyse(Moved(form, 120)).Chart.AscendantSign, ascendant);
    EXPECT_NE(scan.Segments.front().AscendantSign, ascendant);
    EXPECT_NE(scan.Segments.back().AscendantSign, ascendant);

    // Every change of segment is a real change between two whole analyses a
    // minute apart, and the entered segment is the entered chart's.
    for (std::size_t i = 1; i < scan.Segments.size(); ++i) {
        const int at = scan.Segments[i].FromOffset;
        const BirthAnalysis before = Analyse(Moved(form, at - 1));
        const BirthAnalysis after = Analyse(Moved(form, at));
        EXPECT_EQ(before.Chart.AscendantSign, scan.Segments[i - 1].AscendantSign) << at;
        EXPECT_EQ(before.Chart.ArudhaLagnaSign, scan.Segments[i - 1].ArudhaLagnaSign) << at;
        EXPECT_EQ(after.Chart.AscendantSign, scan.Segments[i].AscendantSign) << at;
        EXPECT_EQ(after.Chart.ArudhaLagnaSign, scan.Segments[i].ArudhaLagnaSign) << at;
    }
    const SensitivitySegment& own = SegmentAt(scan, 0);
    EXPECT_EQ(own.AscendantSign, ascendant);
    EXPECT_EQ(own.ArudhaLagnaSign, entered.Chart.ArudhaLagnaSign);

    // The same chart ends where some sign changes: just outside it a sign
    // differs, just inside it none does.
    const auto sameSigns = [&](int offset) {
        const BirthAnalysis other = Analyse(Moved(form, offset));
        return other.Chart.BodySign == entered.Chart.BodySign &&
               other.Chart.ArudhaLagnaSign == entered.Chart.ArudhaLagnaSign;
    };
    ASSERT_GT(scan.SameChart.FromOffset, scan.FirstOffset);
    ASSERT_LT(scan.SameChart.ToOffset, scan.LastOffset);
    EXPECT_TRUE(sameSigns(scan.SameChart.FromOffset));
    EXPECT_TRUE(sameSigns(scan.SameChart.ToOffset));
    EXPECT_FALSE(sameSigns(scan.SameChart.FromOffset - 1));
    EXPECT_FALSE(sameSigns(scan.SameChart.ToOffset + 1));
    EXPECT_EQ(scan.SameChart.From, astro::AddMinutes(scan.Entered, scan.SameChart.FromOffset));
}

TEST(SensitivityScan, TheDateCarriesOverMidnightBothWays) {
    // New Year's Eve 23:30: the window runs into the next year.
    const FormInput late = FormAt(1999, 12, 31, 23, 30);
    const SensitivityScan forward = ScanOf(Analyse(late), AnalysisOptions{});
    ExpectWellFormed(forward);
    EXPECT_EQ(forward.Runs.front().Local, (ClockReading{1999, 12, 31, 21, 30}));
    EXPECT_EQ(forward.Runs.back().Local, (ClockReading{2000, 1, 1, 1, 30}));
    EXPECT_EQ(ClockReadingText(forward.Segments.back().To), "2000-01-01T01:30");
    // Minutes after midnight are the charts of the next day's births.
    for (int offset : {31, 45, 119}) {
        const ScanRun& run = forward.Runs[static_cast<std::size_t>(offset + 120)];
        EXPECT_EQ(run.Offset, offset);
        const BirthAnalysis whole = Analyse(Moved(late, offset));
        EXPECT_EQ(whole.Birth.Clock.Year, 2000);
        EXPECT_EQ(run.Chart, whole.Chart) << offset;
    }

    // Just after midnight on 1 March of a leap year, with an exact clock
    // offset: the window reaches back into 29 February.
    FormInput early = FormAt(2000, 3, 1, 0, 20);
    early.ExactUtcOffsetMinutes = 345;
    const SensitivityScan backward = ScanOf(Analyse(early), AnalysisOptions{});
    ExpectWellFormed(backward);
    EXPECT_EQ(backward.Runs.front().Local, (ClockReading{2000, 2, 29, 22, 20}));
    for (int offset : {-21, -100}) {
        const BirthAnalysis whole = Analyse(Moved(early, offset));
        EXPECT_EQ(whole.Birth.Clock.Day, 29);
        EXPECT_EQ(backward.Runs[static_cast<std::size_t>(offset + 120)].Chart, whole.Chart) << offset;
    }
}

TEST(SensitivityScan, MinutesOutsideTheEntryRangeAreLeftOut) {
    const SensitivityScan first = ScanOf(Analyse(FormAt(1901, 1, 1, 0, 30)), AnalysisOptions{});
    ExpectWellFormed(first);
    EXPECT_EQ(first.FirstOffset, -30);
    EXPECT_EQ(first.LastOffset, 120);
    EXPECT_EQ(first.Runs.size(), 151u);
    EXPECT_EQ(first.Runs.front().Local, kFirstClockMinute);
    EXPECT_EQ(ClockReadingText(first.Segments.front().From), "1901-01-01T00:00");
    EXPECT_EQ(first.Runs.front().Chart, Analyse(FormAt(1901, 1, 1, 0, 0)).Chart);

    const SensitivityScan last = ScanOf(Analyse(FormAt(2050, 12, 31, 23, 0)), AnalysisOptions{});
    ExpectWellFormed(last);
    EXPECT_EQ(last.FirstOffset, -120);
    EXPECT_EQ(last.LastOffset, 59);
    EXPECT_EQ(last.Runs.back().Local, kLastClockMinute);
}

TEST(SensitivityScan, SegmentsAgreeWithWholeAnalysesAtRandomMinutes) {
    std::mt19937 random(20240601);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    for (int birth = 0; birth < 12; ++birth) {
        FormInput form = FormAt(pick(1901, 2050), pick(1, 12), pick(1, 28), pick(0, 23), pick(0, 59));
        form.ZoneRow = pick(0, 70);
        form.DaylightSaving = pick(0, 1) == 1;
        form.LatitudeDegrees = std::to_string(pick(0, 66));
        form.South = pick(0, 1) == 1;
        form.LongitudeDegrees = std::to_string(pick(0, 179));
        form.East = pick(0, 1) == 1;
        const BirthAnalysis entered = Analyse(form);
        const SensitivityScan scan = ScanOf(entered, AnalysisOptions{});
        ExpectWellFormed(scan);
        for (int k = 0; k < 6; ++k) {
            const int offset = pick(scan.FirstOffset, scan.LastOffset);
            const BirthAnalysis whole = Analyse(Moved(form, offset));
            const SensitivitySegment& segment = SegmentAt(scan, offset);
            EXPECT_EQ(segment.AscendantSign, whole.Chart.AscendantSign)
                << ClockReadingText(scan.Entered) << " " << offset;
            EXPECT_EQ(segment.ArudhaLagnaSign, whole.Chart.ArudhaLagnaSign)
                << ClockReadingText(scan.Entered) << " " << offset;
            const bool same = whole.Chart.BodySign == entered.Chart.BodySign &&
                              whole.Chart.ArudhaLagnaSign == entered.Chart.ArudhaLagnaSign;
            if (offset >= scan.SameChart.FromOffset && offset <= scan.SameChart.ToOffset) {
                EXPECT_TRUE(same) << offset;
            }
        }
    }
}

TEST(SensitivityScan, RunsTheEngineTheOptionsName) {
    AnalysisOptions precise;
    precise.Settings.Mode = EphemerisMode::Precise;
    precise.CompareWithFormulas = false;
    const FormInput form = FormAt(1984, 7, 20, 9, 5);
    const BirthAnalysis entered = Analyse(form, precise);
    const SensitivityScan scan = ScanOf(entered);  // the engine the analysis ran
    ExpectWellFormed(scan);
    for (int offset : {-97, 0, 64}) {
        EXPECT_EQ(scan.Runs[static_cast<std::size_t>(offset + 120)].Chart, Analyse(Moved(form, offset), precise).Chart)
            << offset;
    }
    // A stand-in engine that holds every body still gives one segment.
    std::array<double, kBodyCount> still{};
    still.fill(100.0);
    FixedEngine fixed(still);
    AnalysisOptions stub;
    stub.Engine = &fixed;
    const SensitivityScan flat = ScanOf(entered, stub);
    ExpectWellFormed(flat);
    ASSERT_EQ(flat.Segments.size(), 1u);
    EXPECT_EQ(flat.SameChart.FromOffset, -120);
    EXPECT_EQ(flat.SameChart.ToOffset, 120);
}

TEST(Transits, HousesCountFromTheNatalSignsAcrossTheEndOfTheZodiac) {
    EXPECT_EQ(HouseCountedFrom(1, 12), 2);
    EXPECT_EQ(HouseCountedFrom(12, 1), 12);
    EXPECT_EQ(HouseCountedFrom(5, 5), 1);
    EXPECT_EQ(HouseCountedFrom(4, 10), 7);

    // A natal chart with the ascendant in Pisces: Mercury (lord Jupiter) is
    // irrelevant, Jupiter in Pisces too, so the Arudha Lagna falls in the
    // 10th from Pisces, Sagittarius.
    const FormInput form = FormAt(1990, 6, 15, 12, 0);
    astro::EnginePositions natal;
    natal.Longitudes.fill(200.0);
    natal.Longitudes[Ascendant] = 350.0;  // Pisces
    natal.Longitudes[Jupiter] = 345.0;    // Pisces: lord in the ascendant
    natal.Longitudes[Moon] = 10.0;
    const BirthAnalysis chart = AnalysedFrom(form, natal);
    ASSERT_EQ(chart.Chart.AscendantSign, 12);
    ASSERT_EQ(chart.Chart.ArudhaLagnaSign, 9);

    std::array<double, kBodyCount> sky{};
    sky.fill(200.0);      // Libra
    sky[Sun] = 5.0;       // Aries
    sky[Moon] = 355.0;    // Pisces
    sky[Saturn] = 255.0;  // Sagittarius
    sky[Rahu] = 225.0;    // Scorpio
    FixedEngine fixed(sky);
    const TransitSky t = TransitsOver(chart, {2025, 6, 1, 6, 30}, &fixed);
    ASSERT_TRUE(t.Ok);
    EXPECT_EQ(t.Bodies[Sun].Sign, 1);
    EXPECT_EQ(t.Bodies[Sun].HouseFromAscendant, 2);
    EXPECT_EQ(t.Bodies[Sun].HouseFromArudhaLagna, 5);
    EXPECT_EQ(t.Bodies[Moon].HouseFromAscendant, 1);
    EXPECT_EQ(t.Bodies[Moon].HouseFromArudhaLagna, 4);
    EXPECT_EQ(t.Bodies[Saturn].HouseFromArudhaLagna, 1);
    EXPECT_TRUE(t.Bodies[Saturn].Retrograde);
    EXPECT_FALSE(t.Bodies[Sun].Retrograde);
    EXPECT_EQ(t.Bodies[Rahu].HouseFromAscendant, 9);
    EXPECT_EQ(t.Bodies[Rahu].HouseFromArudhaLagna, 12);
    EXPECT_EQ(t.Bodies[Ketu].Which, Ketu);

    // The engine saw the universal moment at the birth place.
    EXPECT_EQ(fixed.seen.UtcOffsetSeconds, 0);
    EXPECT_DOUBLE_EQ(fixed.seen.UniversalTime, 6.5);
    EXPECT_EQ(fixed.seen.Clock.Year, 2025);
    EXPECT_DOUBLE_EQ(fixed.seen.Latitude, chart.Birth.Moment.Latitude);
    EXPECT_DOUBLE_EQ(fixed.seen.Longitude, chart.Birth.Moment.Longitude);

    // And the other way round: ascendant in Aries, a transit in Pisces.
    natal.Longitudes[Ascendant] = 3.0;  // Aries, lord Mars in Libra: the 7th
    const BirthAnalysis aries = AnalysedFrom(form, natal);
    ASSERT_EQ(aries.Chart.AscendantSign, 1);
    const TransitSky back = TransitsOver(aries, {2025, 6, 1, 6, 30}, &fixed);
    EXPECT_EQ(back.Bodies[Moon].HouseFromAscendant, 12);
    EXPECT_EQ(back.Bodies[Sun].HouseFromAscendant, 1);
    EXPECT_EQ(back.Bodies[Moon].HouseFromArudhaLagna, HouseCountedFrom(12, aries.Chart.ArudhaLagnaSign));
}

TEST(Transits, TheSkyIsTheChartOfABirthAtThatMomentInUniversalTime) {
    const BirthAnalysis natal = Analyse(FormAt(1980, 1, 5, 9, 5));
    for (const ClockReading moment : {ClockReading{2025, 6, 1, 6, 30}, ClockReading{2001, 11, 30, 23, 59}}) {
        const TransitSky sky = TransitsOver(natal, moment);
        ASSERT_TRUE(sky.Ok);
        // The same minute entered as a birth in the Greenwich row.
        FormInput greenwich = FormAt(moment.Year, moment.Month, moment.Day, moment.Hour, moment.Minute);
        greenwich.ZoneRow = 29;
        const BirthAnalysis then = Analyse(greenwich);
        for (std::size_t body = 0; body < kTransitBodyCount; ++body) {
            EXPECT_DOUBLE_EQ(sky.Bodies[body].Longitude, then.Positions.Longitudes[body]) << body;
            EXPECT_EQ(sky.Bodies[body].Sign, then.Chart.BodySign[body]) << body;
            EXPECT_EQ(sky.Bodies[body].Retrograde, then.Positions.Retrograde[body]) << body;
        }
        // The running dashas are the natal table's at that moment.
        ASSERT_TRUE(sky.Dasha);
        const analysis::MahaDasha& maha = natal.Dasha.Periods[sky.Dasha->Maha];
        EXPECT_EQ(sky.MahaLord, maha.LordName);
        EXPECT_EQ(sky.AntarLord, maha.Sub[sky.Dasha->Antar].LordName);
        EXPECT_LE(maha.Sub[sky.Dasha->Antar].Start, astro::UtMomentOf(moment));
        EXPECT_GT(maha.Sub[sky.Dasha->Antar].End, astro::UtMomentOf(moment));
    }
    // Before the birth no dasha runs.
    const TransitSky before = TransitsOver(natal, {1979, 1, 1, 0, 0});
    EXPECT_FALSE(before.Dasha);
    EXPECT_TRUE(before.MahaLord.empty());
}

TEST(TimeScanJson, ExtrasAreWrittenOnlyWhenAsked) {
    const BirthAnalysis natal = Analyse(FormAt(1980, 1, 5, 9, 5));
    const std::string plain = AnalysisJson(natal);
    EXPECT_EQ(plain.find("\"sensitivity\""), std::string::npos);
    EXPECT_EQ(plain.find("\"transits\""), std::string::npos);

    AnalysisOptions asked;
    asked.ScanBirthTime = true;
    asked.TransitsAt = ClockReading{2025, 6, 1, 6, 30};
    const BirthAnalysis whole = Analyse(FormAt(1980, 1, 5, 9, 5), asked);
    ASSERT_TRUE(whole.Scan && whole.Transits);
    const SensitivityScan& scan = *whole.Scan;
    const TransitSky& sky = *whole.Transits;
    const std::string json = AnalysisJson(whole, JsonLayout::Compact);
    // Everything the plain report has comes first, unchanged.
    EXPECT_EQ(json.substr(0, json.find(",\"sensitivity\"")),
              AnalysisJson(natal, JsonLayout::Compact).substr(0, json.find(",\"sensitivity\"")));
    EXPECT_NE(json.find("\"sensitivity\":{\"windowMinutes\":120,\"segments\":[{\"from\":\"" +
                        ClockReadingText(scan.Segments.front().From) + "\",\"to\":\"" +
                        ClockReadingText(scan.Segments.front().To) +
                        "\",\"ascendantSign\":" + std::to_string(scan.Segments.front().AscendantSign)),
              std::string::npos);
    EXPECT_NE(json.find("\"sameChart\":{\"from\":\"" + ClockReadingText(scan.SameChart.From) + "\",\"to\":\"" +
                        ClockReadingText(scan.SameChart.To) + "\"}"),
              std::string::npos);
    EXPECT_NE(json.find("\"transits\":{\"moment\":\"2025-06-01T06:30\",\"bodies\":[{\"name\":\"Sun\""),
              std::string::npos);
    EXPECT_NE(json.find("\"dasha\":{\"maha\":\"" + std::string(sky.MahaLord) + "\",\"antar\":\"" +
                        std::string(sky.AntarLord) + "\"}"),
              std::string::npos);
}

TEST(PeriodTexts, BalanceReadingDashasAndTheSensitivitySentence) {
    EXPECT_EQ(YearsAndMonthsText(9.999), "9 years 11 months");
    EXPECT_EQ(YearsAndMonthsText(1.0), "1 year 0 months");
    EXPECT_EQ(YearsAndMonthsText(1.0 / 12), "0 years 1 month");
    EXPECT_EQ(YearsAndMonthsText(-3), "0 years 0 months");

    const BirthAnalysis natal = Analyse(FormAt(1980, 1, 5, 9, 5));
    EXPECT_EQ(DashaBalanceText(natal.Dasha), "Moon in " + std::string(natal.Dasha.NakshatraName) + " (lord " +
                                                 std::string(natal.Dasha.LordName) + "); balance at birth " +
                                                 YearsAndMonthsText(natal.Dasha.BalanceYears));
    // One line per body with a reading, naming its own maha dasha.
    const std::vector<ReadingDasha> lines = ReadingDashas(natal);
    ASSERT_FALSE(lines.empty());
    for (const ReadingDasha& line : lines) {
        const analysis::MahaDasha& maha = natal.Dasha.Periods[line.Maha];
        EXPECT_EQ(maha.LordName, kBodyNames[line.Which]);
        EXPECT_TRUE(std::any_of(natal.Readings.begin(), natal.Readings.end(),
                                [&](const analysis::Reading& r) { return r.Subject == line.Which; }));
        EXPECT_EQ(line.Text, std::string(kBodyNames[line.Which]) + " has a reading: its maha dasha runs " +
                                 DateText(maha.StartDate) + " to " + DateText(maha.EndDate));
    }

    SensitivityScan scan;
    scan.Entered = {1999, 12, 31, 23, 30};
    scan.Runs.resize(1);
    scan.ArudhaLagnaSign = 5;
    scan.SameArudhaLagna = {-120, 40, astro::AddMinutes(scan.Entered, -120), astro::AddMinutes(scan.Entered, 40)};
    scan.SameChart = {-83, 15, astro::AddMinutes(scan.Entered, -83), astro::AddMinutes(scan.Entered, 15)};
    EXPECT_EQ(SensitivitySentence(scan),
              "Your Arudha Lagna stays Leo for births from 21:30 or earlier to 00:10 the next day; the whole chart "
              "(the signs of all ten bodies, the ascendant among them) is unchanged from 22:07 to 23:45.");
    scan.Entered = {2000, 1, 1, 0, 30};
    scan.SameChart = {-60, 120, astro::AddMinutes(scan.Entered, -60), astro::AddMinutes(scan.Entered, 120)};
    EXPECT_EQ(ScanTimeText(scan, scan.SameChart.From), "23:30 the day before");
    EXPECT_EQ(ScanTimeText(scan, astro::AddMinutes(scan.Entered, 3 * 24 * 60)), "2000-01-04T00:30");
    EXPECT_TRUE(
        SensitivitySentence(scan).ends_with("is unchanged from 23:30 the day before to "
                                            "02:30 or later."));
}
