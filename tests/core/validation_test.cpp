#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "core/form_builders.h"
#include "core/input_filters.h"
#include "core/text_numbers.h"
#include "core/validation.h"

using namespace velmora;
using namespace velmora::core;

namespace {

// The sample birth: a form every check passes.
FormInput Valid() { return velmora::testing::DelhiForm(); }

std::string MessageOf(const FormInput& f) {
    const auto notice = ValidateInput(f);
    return notice ? notice->Text : std::string("ok");
}

}  // namespace

TEST(Validation, UntouchedFormAsksForTheNameFirst) {
    FormInput untouched;
    const auto notice = ValidateInput(untouched);
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->Text, "Please Enter Name");
    EXPECT_EQ(notice->Icon, MessageIcon::Critical);
    EXPECT_EQ(notice->Focus, FormField::Name);

    FormInput blanks = Valid();
    blanks.Name = "   ";
    EXPECT_EQ(MessageOf(blanks), "Please Enter Name");

    // The name check comes before bad coordinates.
    FormInput both = Valid();
    both.Name = "";
    both.LongitudeDegrees = "500";
    EXPECT_EQ(MessageOf(both), "Please Enter Name");
}

TEST(Validation, CoordinateChecksInOrderWithTheirFocus) {
    struct Case {
        const char* lonD;
        const char* lonM;
        const char* latD;
        const char* latM;
        const char* message;
        FormField focus;
    };
    const Case cases[] = {
        {"", "0", "0", "0", "Please Enter Value Between 0 And 179 in the Degree of Longitude",
         FormField::LongitudeDegrees},
        {"180", "0", "0", "0", "Please Enter Value Between 0 And 179 in the Degree of Longitude",
         FormField::LongitudeDegrees},
        {"179", "", "0", "0", "Please Enter Value Between 0 And 59 in the  Minute of Longitude",
         FormField::LongitudeMinutes},
        {"179", "60", "0", "0", "Please Enter Value Between 0 And 59 in the  Minute of Longitude",
         FormField::LongitudeMinutes},
        {"179", "59", "90", "0", "Please Enter Value Between 0 And 89 in the Degree of Latitude",
         FormField::LatitudeDegrees},
        {"179", "59", "  ", "0", "Please Enter Value Between 0 And 89 in the Degree of Latitude",
         FormField::LatitudeDegrees},
        {"179", "59", "89", "", "Please Enter Value Between 0 And 59 in the  Minute of Latitude",
         FormField::LatitudeMinutes},
        {"179", "59", "89", "60", "Please Enter Value Between 0 And 59 in the  Minute of Latitude",
         FormField::LatitudeMinutes},
        {"2x", "x", "0", "0", "Please Enter Value Between 0 And 59 in the  Minute of Longitude",
         FormField::LongitudeMinutes},
    };
    for (const Case& c : cases) {
        FormInput f = Valid();
        f.LongitudeDegrees = c.lonD;
        f.LongitudeMinutes = c.lonM;
        f.LatitudeDegrees = c.latD;
        f.LatitudeMinutes = c.latM;
        const auto notice = ValidateInput(f);
        ASSERT_TRUE(notice) << c.message;
        EXPECT_EQ(notice->Text, c.message);
        EXPECT_EQ(notice->Icon, MessageIcon::Critical);
        EXPECT_EQ(notice->Focus, c.focus);
    }
    FormInput edges = Valid();
    edges.LongitudeDegrees = "179";
    edges.LongitudeMinutes = "59";
    edges.LatitudeDegrees = "89";
    edges.LatitudeMinutes = "59";
    EXPECT_EQ(MessageOf(edges), "ok");
    FormInput zeros = Valid();
    zeros.LongitudeDegrees = zeros.LongitudeMinutes = zeros.LatitudeDegrees = zeros.LatitudeMinutes = "0";
    EXPECT_EQ(MessageOf(zeros), "ok");
}

TEST(Validation, CalendarChecks) {
    auto check = [](int monthIndex, const char* day, const char* year) {
        FormInput f = Valid();
        f.MonthIndex = monthIndex;
        f.Day = day;
        f.Year = year;
        return ValidateInput(f);
    };
    EXPECT_FALSE(check(1, "29", "2000"));
    EXPECT_FALSE(check(1, "29", "2048"));
    const auto feb1901 = check(1, "29", "1901");
    ASSERT_TRUE(feb1901);
    EXPECT_EQ(feb1901->Text, "Please Enter Correct Date Or Month!");
    EXPECT_EQ(feb1901->Icon, MessageIcon::Information);
    EXPECT_EQ(feb1901->Focus, FormField::None);
    for (const char* year : {"1904", "1999", "2050"}) {
        ASSERT_TRUE(check(1, "30", year));
        ASSERT_TRUE(check(1, "31", year));
    }
    for (int thirtyDayMonth : {3, 5, 8, 10}) {
        const auto notice = check(thirtyDayMonth, "31", "1980");
        ASSERT_TRUE(notice);
        EXPECT_EQ(notice->Text, "Please Enter Correct Date Or Month !");
        EXPECT_EQ(notice->Focus, FormField::None);
        EXPECT_FALSE(check(thirtyDayMonth, "30", "1980"));
    }
    EXPECT_FALSE(check(4, "31", "1980"));  // 31 May
    EXPECT_FALSE(check(11, "31", "1980"));
}

TEST(Validation, CoordinateLookUpChecks) {
    FormInput f = Valid();
    f.City = "   ";  // blanks count as text
    f.State = "";
    f.Country = "India";
    auto notice = ValidateLookup(f);
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->Text, "Please Enter State");
    EXPECT_EQ(notice->Focus, FormField::State);
    EXPECT_EQ(notice->Icon, MessageIcon::Information);

    f.City = "";
    EXPECT_EQ(ValidateLookup(f)->Text, "Please Enter City");
    f.City = "Pune";
    f.State = "Maharashtra";
    f.Country = "";
    EXPECT_EQ(ValidateLookup(f)->Focus, FormField::Country);
    f.Country = " India";
    EXPECT_FALSE(ValidateLookup(f));
    EXPECT_EQ(LookupSearchText(f), "Pune Maharashtra  India Latitude Longitude");
}

TEST(TextNumbers, WholeNumbersFromText) {
    EXPECT_EQ(ParseInt16(" 42 "), 42);
    EXPECT_EQ(ParseInt16("2.5"), 2);  // halves go to the even neighbour
    EXPECT_EQ(ParseInt16("3.5"), 4);
    EXPECT_EQ(ParseInt16("-7"), -7);
    EXPECT_EQ(ParseInt16("32767"), 32767);
    EXPECT_FALSE(ParseInt16("32768"));
    EXPECT_FALSE(ParseInt16("1e9"));
    EXPECT_FALSE(ParseInt16("1e999"));
    EXPECT_FALSE(ParseInt16(""));
    EXPECT_FALSE(ParseInt16("12abc"));
    EXPECT_DOUBLE_EQ(LeadingNumber("12abc"), 12);
    EXPECT_DOUBLE_EQ(LeadingNumber("abc"), 0);
    EXPECT_DOUBLE_EQ(LeadingNumber("  7.5x"), 7.5);
}

// The number a text starts with, over many shapes of text: whole numbers of
// every length up to and beyond the short ones read digit by digit, with
// and without a sign, followed by a fraction, an exponent, an unfinished
// exponent, letters or blanks. The expected value is the numeric part as
// the C library reads it.
TEST(TextNumbers, LeadingNumberOfEveryShape) {
    const std::vector<std::string> digits{"0", "7", "28", "0009", "123456789", "1234567890", "98765432109876"};
    const std::vector<std::string> signs{"", "-", "+"};
    // Each tail: the part that still belongs to the number, then the rest.
    const std::vector<std::pair<std::string, std::string>> tails{{"", ""},     {"", "x"},  {"", " 5"},   {".5", ""},
                                                                 {".25", "x"}, {"e2", ""}, {"E-1", "."}, {"", "e"},
                                                                 {"", "e+"},   {"", "ex"}, {"", "\t"},   {"5", ""}};
    for (const std::string& sign : signs)
        for (const std::string& whole : digits)
            for (const auto& [numeric, rest] : tails)
                for (const std::string& lead : {std::string(), std::string("  "), std::string("\t")}) {
                    const std::string text = lead + sign + whole + numeric + rest;
                    const double expected = std::stod(sign + whole + numeric);
                    EXPECT_EQ(LeadingNumber(text), expected) << '"' << text << '"';
                    EXPECT_EQ(EntryNumber(text), std::fabs(expected) <= 32767 ? std::nearbyint(expected) : 0)
                        << '"' << text << '"';
                }
}

// A number too large or too small for a double: which of the two it is
// follows from where its first significant digit stands, not from the sign
// of its exponent alone.
TEST(TextNumbers, NumbersBeyondTheRangeOfADouble) {
    const std::string hugeWithNegativeExponent = "1" + std::string(400, '0') + "e-5";    // 1e395
    const std::string tinyWithPositiveExponent = "0." + std::string(400, '0') + "1e+5";  // 1e-396
    ASSERT_TRUE(ParseNumber(hugeWithNegativeExponent));
    EXPECT_TRUE(std::isinf(*ParseNumber(hugeWithNegativeExponent)));
    EXPECT_GT(*ParseNumber(hugeWithNegativeExponent), 0);
    EXPECT_LT(*ParseNumber("-" + hugeWithNegativeExponent), 0);
    EXPECT_TRUE(std::isinf(LeadingNumber(hugeWithNegativeExponent + "x")));
    EXPECT_FALSE(ParseInt16(hugeWithNegativeExponent));
    EXPECT_EQ(ParseNumber(tinyWithPositiveExponent), 0.0);
    EXPECT_EQ(ParseInt16(tinyWithPositiveExponent), 0);
    EXPECT_EQ(LeadingNumber(tinyWithPositiveExponent), 0.0);
    EXPECT_TRUE(std::isinf(*ParseNumber("1e999")));
    EXPECT_EQ(ParseNumber("1e-999"), 0.0);
    EXPECT_EQ(ParseNumber("0e99999"), 0.0);
    EXPECT_TRUE(std::isinf(*ParseNumber("0.0001e99999999999999999999")));
    EXPECT_EQ(ParseNumber("1000e-99999999999999999999"), 0.0);

    // So a huge degree value is refused, not read as 0 degrees.
    FormInput f = Valid();
    f.LongitudeDegrees = hugeWithNegativeExponent;
    EXPECT_EQ(MessageOf(f), "Please Enter Value Between 0 And 179 in the Degree of Longitude");
    f = Valid();
    f.LatitudeMinutes = hugeWithNegativeExponent;
    EXPECT_EQ(MessageOf(f), "Please Enter Value Between 0 And 59 in the  Minute of Latitude");
}

TEST(InputFilters, KeystrokesAndWholeTexts) {
    EXPECT_EQ(FilterDigitKey(U'7'), U'7');
    EXPECT_EQ(FilterDigitKey(8), 8u);
    EXPECT_FALSE(FilterDigitKey(22));  // Ctrl+V
    EXPECT_FALSE(FilterDigitKey(U'a'));
    EXPECT_EQ(FilterNameKey(U'q'), U'Q');
    EXPECT_EQ(FilterNameKey(U' '), U' ');
    EXPECT_EQ(FilterNameKey(13), 13u);
    EXPECT_FALSE(FilterNameKey(U'-'));
    EXPECT_FALSE(FilterNameKey(U'3'));
    EXPECT_FALSE(FilterNameKey(U'\u00e9'));

    EXPECT_EQ(FilterNameText("ravi Kumar"), "RAVI KUMAR");
    EXPECT_FALSE(FilterNameText("O'Brien"));
    EXPECT_FALSE(FilterNameText("Jos\xC3\xA9"));
    EXPECT_EQ(FilterDigitText("077"), "077");
    EXPECT_FALSE(FilterDigitText("7 7"));
    EXPECT_EQ(OnlyNumbersNotice().Icon, MessageIcon::Critical);
    EXPECT_EQ(OnlyLettersNotice().Text, "Please Enter only Letters");
    EXPECT_EQ(OnlyLettersNotice().Icon, MessageIcon::Information);
}

// Entries the lists never offer, from callers other than the window: each
// is refused with the message of its field, never cast with undefined
// behaviour or analysed as something else.
TEST(Validation, EntriesTheListsNeverOfferAreRefused) {
    FormInput f = Valid();
    f.MonthIndex = INT_MAX;
    EXPECT_EQ(MessageOf(f), "Please Enter Correct Date Or Month!");
    f.MonthIndex = -1;
    EXPECT_EQ(MessageOf(f), "Please Enter Correct Date Or Month!");
    for (const char* year : {"2051e9", "abc", "", "1900", "2051", "1980.5", "1e-400"}) {
        f = Valid();
        f.Year = year;
        EXPECT_EQ(MessageOf(f), "Please Enter Correct Date Or Month!") << year;
    }
    for (const char* day : {"0", "32", "x", "1e9"}) {
        f = Valid();
        f.Day = day;
        EXPECT_EQ(MessageOf(f), "Please Enter Correct Date Or Month!") << day;
    }
    for (const char* hour : {"24", "-1", "nine"}) {
        f = Valid();
        f.Hour = hour;
        EXPECT_EQ(MessageOf(f), kBadTimeMessage) << hour;
    }
    f = Valid();
    f.Minute = "60";
    EXPECT_EQ(MessageOf(f), kBadTimeMessage);
    for (int row : {-1, 71, INT_MAX, INT_MIN}) {
        f = Valid();
        f.ZoneRow = row;
        EXPECT_EQ(MessageOf(f), kBadZoneMessage) << row;
    }
    // An exact offset takes the place of the row; beyond 18 hours it is refused.
    f = Valid();
    f.ZoneRow = 999;
    f.ExactUtcOffsetMinutes = 345;
    EXPECT_EQ(MessageOf(f), "ok");
    f.ExactUtcOffsetMinutes = 19 * 60;
    EXPECT_EQ(MessageOf(f), kBadZoneMessage);
    // Tiny exponents read as zero, not as infinity.
    EXPECT_EQ(ParseNumber("1e-400"), 0.0);
    EXPECT_EQ(LeadingNumber("1e-400"), 0.0);
    f = Valid();
    f.LatitudeMinutes = "1e-400";
    EXPECT_EQ(MessageOf(f), "ok");
}

// The numbers the checks hand on are the ones EntryNumber reads from each
// text, over texts of every shape that passes (signs, blanks, fractions that
// round either way or to the even neighbour, exponents, trailing letters on
// the degrees), and nothing is handed on from a form that fails.
TEST(Validation, NumbersHandedOnAreTheEntryReadings) {
    const std::vector<std::string> degrees{"0",   "28",    " 28x", "+7",    "28.5",   "29.5", "1e1",
                                           "0.4", "178.9", "89",   "\t12 ", "7.5e0x", "0009"};
    const std::vector<std::string> minutes{"0", "59", " 36 ", "+5", "2.5", "3.5", "58.7", "5e1", "0.49"};
    int passed = 0;
    for (const std::string& d : degrees)
        for (const std::string& m : minutes) {
            FormInput f = Valid();
            f.LongitudeDegrees = d;
            f.LongitudeMinutes = m;
            f.LatitudeDegrees = d;
            f.LatitudeMinutes = m;
            f.Year = " 1984 ";
            f.Day = "+7";
            f.Hour = "23.0";
            f.Minute = "5e1";
            FormNumbers n;
            n.LatitudeDegrees = -1;
            const std::optional<Notice> refused = ValidateInput(f, n);
            ASSERT_EQ(refused.has_value(), ValidateInput(f).has_value()) << d << " / " << m;
            if (refused) {
                EXPECT_EQ(n.LatitudeDegrees, -1) << "a failed form hands on nothing: " << d;
                continue;
            }
            ++passed;
            EXPECT_EQ(n.LongitudeDegrees, EntryNumber(d)) << d;
            EXPECT_EQ(n.LatitudeDegrees, EntryNumber(d)) << d;
            EXPECT_EQ(n.LongitudeMinutes, EntryNumber(m)) << m;
            EXPECT_EQ(n.LatitudeMinutes, EntryNumber(m)) << m;
            EXPECT_EQ(n.Year, 1984);
            EXPECT_EQ(n.Day, 7);
            EXPECT_EQ(n.Hour, 23);
            EXPECT_EQ(n.Minute, 50);
        }
    // 178.9 passes the longitude check only; every other degree text passes
    // both, every minute text passes.
    EXPECT_EQ(passed, (static_cast<int>(degrees.size()) - 1) * static_cast<int>(minutes.size()));

    // A form refused at its last check, after every angle was read, hands on
    // nothing either.
    FormInput late = Valid();
    late.Minute = "60";
    FormNumbers untouched;
    untouched.LongitudeDegrees = -1;
    ASSERT_TRUE(ValidateInput(late, untouched));
    EXPECT_EQ(untouched.LongitudeDegrees, -1);
    EXPECT_EQ(untouched.LatitudeDegrees, 0);
}
