// Births at an atlas place: universal time to the second of the place's
// clock, and the birth-time scan across a change of summer time, checked
// against single analyses of the same clock readings.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "astro/time_conversion.h"
#include "core/analysis_json.h"
#include "core/atlas.h"
#include "core/form_reading.h"
#include "core/period_texts.h"
#include "core/pipeline.h"
#include "core/place_clock.h"
#include "core/place_zone.h"
#include "core/text_formats.h"
#include "core/time_scan.h"

using namespace velmora;
using namespace velmora::core;

namespace {

constexpr std::string_view kAugusta = "Augusta, Georgia, United States of America";

FormInput FormAtPlace(std::string_view place, const ClockReading& clock) {
    FormInput form;
    form.Name = "CLOCK";
    form.Year = std::to_string(clock.Year);
    form.MonthIndex = clock.Month - 1;
    form.Day = std::to_string(clock.Day);
    form.Hour = std::to_string(clock.Hour);
    form.Minute = std::to_string(clock.Minute);
    const std::optional<Place> found = Atlas::Instance().Find(place);
    EXPECT_TRUE(found) << place;
    if (found) ApplyPlace(form, *found);
    return form;
}

Birth BirthAt(std::string_view place, const ClockReading& clock) {
    const FormReading reading = ReadForm(FormAtPlace(place, clock));
    EXPECT_TRUE(BirthOf(reading)) << (RefusalOf(reading) ? RefusalOf(reading)->Text : "");
    return BirthOf(reading) ? *BirthOf(reading) : Birth{};
}

// The signs a single analysis gives at a clock reading of the place.
analysis::ChartPlacement ChartAt(std::string_view place, const ClockReading& clock) {
    const Birth birth = BirthAt(place, clock);
    const astro::EngineOutcome computed = EngineFor(birth.Settings).Compute(birth.Moment);
    EXPECT_TRUE(computed.Ok);
    return analysis::PlaceBodies(computed.Positions.Longitudes);
}

AnalysisOptions ScanOptions() {
    AnalysisOptions options;
    options.ScanBirthTime = true;
    return options;
}

}  // namespace

TEST(PlaceClock, UniversalTimeFollowsTheSecondsOfALocalMeanTime) {
    // Casablanca kept local mean time, -0:30:20, until 1913; the form shows
    // the rounded -00:30, universal time is 12:30:20.
    const Birth casablanca = BirthAt("Casablanca, Morocco", {1906, 6, 1, 12, 0});
    ASSERT_TRUE(casablanca.PlaceClock);
    EXPECT_EQ(casablanca.PlaceClock->Zone.UtcOffsetMinutes, -30);
    EXPECT_TRUE(FollowsPlaceClock(casablanca));
    EXPECT_EQ(casablanca.Moment.UtcOffsetSeconds, -(30 * 60 + 20));
    EXPECT_NEAR(casablanca.Moment.UniversalTime, 12 + 30 / 60.0 + 20 / 3600.0, 1e-9);

    // An offset chosen by hand after the pick is the one the moment follows.
    Birth byHand = casablanca;
    byHand.ExactUtcOffsetMinutes = 60;
    EXPECT_FALSE(FollowsPlaceClock(byHand));
    EXPECT_EQ(MomentAt(byHand, byHand.Clock).UtcOffsetSeconds, 3600);

    // Whole-minute zones are unchanged by the seconds.
    const Birth augusta = BirthAt(kAugusta, {2021, 7, 1, 12, 0});
    EXPECT_EQ(augusta.Moment.UtcOffsetSeconds, -4 * 3600);
    EXPECT_NEAR(augusta.Moment.UniversalTime, 16, 1e-12);
}

TEST(PlaceClock, ScanSkipsTheClockTimesThatNeverCameAndMatchesSingleAnalyses) {
    // Clocks at Augusta went from 02:00 EST to 03:00 EDT on 14 March 2021.
    const Birth birth = BirthAt(kAugusta, {2021, 3, 14, 3, 30});
    const SensitivityScan scan = ScanBirthTime(birth, EngineFor(birth.Settings));
    ASSERT_TRUE(scan.Ok) << scan.Error;
    ASSERT_EQ(scan.Gaps.size(), 1u);
    EXPECT_EQ(scan.Gaps[0].From, (ClockReading{2021, 3, 14, 2, 0}));
    EXPECT_EQ(scan.Gaps[0].To, (ClockReading{2021, 3, 14, 2, 59}));
    EXPECT_EQ(scan.Runs.size(), 241u - 60u);
    for (const ScanRun& run : scan.Runs) {
        EXPECT_NE(run.Local.Hour, 2) << ClockReadingText(run.Local);
        EXPECT_EQ(run.UtcOffsetSeconds, run.Local.Hour < 2 ? -5 * 3600 : -4 * 3600);
        EXPECT_FALSE(run.Repeated);
    }
    // Universal time runs on without a break: the band is 181 minutes long.
    for (std::size_t i = 1; i < scan.Runs.size(); ++i) {
        const ClockReading a = astro::AddMinutes(scan.Runs[i - 1].Local, -scan.Runs[i - 1].UtcOffsetSeconds / 60);
        const ClockReading b = astro::AddMinutes(scan.Runs[i].Local, -scan.Runs[i].UtcOffsetSeconds / 60);
        EXPECT_EQ(astro::AddMinutes(a, 1), b);
    }

    // Every boundary between segments lies where single analyses a minute
    // apart differ, the gap between them included; no segment spans it.
    ASSERT_GE(scan.Segments.size(), 2u);
    bool ascendantChangeAt0141 = false;
    for (std::size_t i = 0; i < scan.Segments.size(); ++i) {
        const SensitivitySegment& s = scan.Segments[i];
        EXPECT_FALSE(s.From.Hour < 2 && s.To.Hour > 2) << ClockReadingText(s.From) << " " << ClockReadingText(s.To);
        const analysis::ChartPlacement first = ChartAt(kAugusta, s.From);
        const analysis::ChartPlacement last = ChartAt(kAugusta, s.To);
        EXPECT_EQ(first.AscendantSign, s.AscendantSign);
        EXPECT_EQ(last.AscendantSign, s.AscendantSign);
        EXPECT_EQ(first.ArudhaLagnaSign, s.ArudhaLagnaSign);
        EXPECT_EQ(last.ArudhaLagnaSign, s.ArudhaLagnaSign);
        if (i == 0) continue;
        const SensitivitySegment& before = scan.Segments[i - 1];
        const analysis::ChartPlacement previous = ChartAt(kAugusta, before.To);
        const bool acrossTheGap = before.To.Hour == 1 && s.From.Hour == 3;
        EXPECT_TRUE(acrossTheGap || previous.AscendantSign != first.AscendantSign ||
                    previous.ArudhaLagnaSign != first.ArudhaLagnaSign);
        if (s.From == ClockReading{2021, 3, 14, 1, 41} && previous.AscendantSign != first.AscendantSign)
            ascendantChangeAt0141 = true;
    }
    EXPECT_TRUE(ascendantChangeAt0141);

    // The birth's own minute is its moment.
    const auto entered =
        std::find_if(scan.Runs.begin(), scan.Runs.end(), [](const ScanRun& r) { return r.Offset == 0; });
    ASSERT_NE(entered, scan.Runs.end());
    EXPECT_EQ(entered->UtcOffsetSeconds, birth.Moment.UtcOffsetSeconds);

    const std::string sentence = SensitivitySentence(scan);
    EXPECT_NE(sentence.find("02:00 to 02:59 never came"), std::string::npos) << sentence;
    const std::string json =
        AnalysisJson(RunAnalysis(FormAtPlace(kAugusta, {2021, 3, 14, 3, 30}), ScanOptions()).Result);
    const std::size_t sensitivity = json.find("\"sensitivity\"");
    const std::size_t gaps = json.find("\"gaps\"");
    ASSERT_NE(sensitivity, std::string::npos);
    ASSERT_NE(gaps, std::string::npos);
    EXPECT_EQ(json.substr(sensitivity, gaps - sensitivity).find("T02:"), std::string::npos);  // the segments
    EXPECT_NE(json.find("T02:59", gaps), std::string::npos);
}

TEST(PlaceClock, ScanShowsARepeatedHourTwiceInTimeOrder) {
    // Clocks went back from 02:00 EDT to 01:00 EST on 7 November 2021.
    const Birth birth = BirthAt(kAugusta, {2021, 11, 7, 1, 30});
    const SensitivityScan scan = ScanBirthTime(birth, EngineFor(birth.Settings));
    ASSERT_TRUE(scan.Ok) << scan.Error;
    EXPECT_TRUE(scan.Gaps.empty());
    ASSERT_EQ(scan.Runs.size(), 241u + 60u);
    const auto repeated =
        std::count_if(scan.Runs.begin(), scan.Runs.end(), [](const ScanRun& r) { return r.Repeated; });
    EXPECT_EQ(repeated, 60);
    for (std::size_t i = 1; i < scan.Runs.size(); ++i) {
        const ScanRun& a = scan.Runs[i - 1];
        const ScanRun& b = scan.Runs[i];
        const ClockReading ua = astro::AddMinutes(a.Local, -a.UtcOffsetSeconds / 60);
        const ClockReading ub = astro::AddMinutes(b.Local, -b.UtcOffsetSeconds / 60);
        EXPECT_EQ(astro::AddMinutes(ua, 1), ub) << i;
        if (b.Repeated) {
            EXPECT_EQ(b.UtcOffsetSeconds, -5 * 3600);
        }
    }
    // The entered 01:30 is its first showing (EDT), as the form reads it.
    const auto entered =
        std::find_if(scan.Runs.begin(), scan.Runs.end(), [](const ScanRun& r) { return r.Offset == 0; });
    ASSERT_NE(entered, scan.Runs.end());
    EXPECT_FALSE(entered->Repeated);
    EXPECT_EQ(entered->UtcOffsetSeconds, -4 * 3600);
    // Segments hold one showing each, and the second ones are marked.
    bool marked = false;
    for (const SensitivitySegment& s : scan.Segments) {
        EXPECT_EQ(s.FromRepeated, s.ToRepeated);
        marked = marked || s.FromRepeated;
    }
    EXPECT_TRUE(marked);
    const std::string json =
        AnalysisJson(RunAnalysis(FormAtPlace(kAugusta, {2021, 11, 7, 1, 30}), ScanOptions()).Result);
    EXPECT_NE(json.find("\"fromRepeated\""), std::string::npos);
}
