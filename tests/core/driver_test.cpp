#include <gtest/gtest.h>

#include "core/driver.h"

using namespace velmora;

namespace {

FormInput Sample() {
    FormInput f;
    f.Name = "ASHA";
    f.MonthIndex = 0;
    f.Day = "5";
    f.Year = "1980";
    f.Hour = "9";
    f.Minute = "5";
    f.ZoneRow = 34;  // Indian Time
    f.LatitudeDegrees = "28";
    f.LatitudeMinutes = "36";
    f.LongitudeDegrees = "77";
    f.LongitudeMinutes = "12";
    f.City = "New Delhi";
    f.State = "Delhi";
    f.Country = "India";
    return f;
}

std::string English(int month) {
    static const char* names[] = {"January", "February", "March",     "April",   "May",      "June",
                                  "July",    "August",   "September", "October", "November", "December"};
    return names[month - 1];
}

}  // namespace

TEST(Driver, RejectedFormChangesNothing) {
    AnalysisState state;
    state.Birth.Name = "EARLIER";
    FormInput untouched;
    const AnalysisOutcome outcome = RunAnalysis(untouched, state, English);
    ASSERT_TRUE(outcome.Rejected);
    EXPECT_EQ(outcome.Rejected->Text, "Please Enter Name");
    EXPECT_EQ(state.Birth.Name, "EARLIER");
    EXPECT_TRUE(state.Engine.PlanetPositions[0].empty());
}

TEST(Driver, FillsTheBirthRecordAndEveryPosition) {
    AnalysisState state;
    FormInput form = Sample();
    form.DaylightSaving = true;
    form.South = true;
    form.East = false;
    const AnalysisOutcome outcome = RunAnalysis(form, state, English);
    ASSERT_FALSE(outcome.Rejected);
    const BirthData& b = state.Birth;
    EXPECT_EQ(b.Name, "ASHA");
    EXPECT_EQ(b.Month, 1);  // January is 1, never 0
    EXPECT_EQ(b.Day, 5);
    EXPECT_EQ(b.Year, 1980);
    EXPECT_EQ(b.Hour, 9);
    EXPECT_EQ(b.Minute, 5);
    EXPECT_EQ(b.ZoneHours, 5);  // magnitudes of -5 h -30 min
    EXPECT_EQ(b.ZoneMinutes, 30);
    EXPECT_EQ(state.Zone.Hours, -5);
    EXPECT_EQ(state.Zone.Minutes, -30);
    EXPECT_FALSE(b.IsEast);
    EXPECT_TRUE(b.IsSouth);
    EXPECT_TRUE(b.DaylightSaving);
    EXPECT_EQ(b.LatitudeDegrees, 28);
    EXPECT_EQ(b.LongitudeMinutes, 12);
    EXPECT_DOUBLE_EQ(state.Engine.UniversalTime, 9 + 5 / 60.0 - 5.5 - 1);
    for (const std::string& position : outcome.Result.Positions) EXPECT_EQ(position.size(), 9u);
    EXPECT_EQ(outcome.Result.Positions, state.Engine.PlanetPositions);
}

TEST(Driver, SecondsAreNeverRead) {
    AnalysisState a, b;
    FormInput f = Sample();
    const AnalysisOutcome first = RunAnalysis(f, a, English);
    f.Second = "30";
    const AnalysisOutcome second = RunAnalysis(f, b, English);
    EXPECT_EQ(first.Result.Positions, second.Result.Positions);
    EXPECT_EQ(a.Engine.SiderealLongitudes, b.Engine.SiderealLongitudes);
}

TEST(Driver, AFieldThatDoesNotReadKeepsItsValueAndTheAnalysisGoesOn) {
    AnalysisState state;
    RunAnalysis(Sample(), state, English);
    FormInput f = Sample();
    f.Day = "not a day";
    f.Hour = "99999";  // beyond a 16-bit whole number
    const AnalysisOutcome outcome = RunAnalysis(f, state, English);
    ASSERT_FALSE(outcome.Rejected);
    EXPECT_EQ(state.Birth.Day, 5);
    EXPECT_EQ(state.Birth.Hour, 9);
    for (const std::string& position : outcome.Result.Positions) EXPECT_EQ(position.size(), 9u);
}

TEST(Driver, ASecondAnalysisOverwritesTheFirst) {
    AnalysisState state;
    const AnalysisOutcome first = RunAnalysis(Sample(), state, English);
    FormInput f = Sample();
    f.Year = "2011";
    f.MonthIndex = 6;
    const AnalysisOutcome second = RunAnalysis(f, state, English);
    AnalysisState fresh;
    const AnalysisOutcome alone = RunAnalysis(f, fresh, English);
    EXPECT_NE(first.Result.Positions, second.Result.Positions);
    EXPECT_EQ(second.Result.Positions, alone.Result.Positions);
    EXPECT_EQ(state.Birth.Year, 2011);
    EXPECT_EQ(state.Birth.Month, 7);
}
