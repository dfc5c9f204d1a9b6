#include <gtest/gtest.h>
#include <pthread.h>

#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "core/form_builders.h"
#include "core/text_formats.h"
#include "core/atlas.h"
#include "core/birth_file.h"
#include "core/analysis_json.h"
#include "core/pipeline.h"
#include "core/validation.h"

using namespace velmora;
using namespace velmora::core;

namespace {

FormInput Sample() { return velmora::testing::DelhiForm("ASHA RAO"); }

std::string Json(const FormInput& form, const EngineSettings& settings = {}) {
    AnalysisOptions options;
    options.Settings = settings;
    options.MonthNames = &EnglishMonthNames();
    const AnalysisOutcome outcome = RunAnalysis(form, options);
    EXPECT_FALSE(outcome.Rejected) << outcome.Rejected->Text;
    return AnalysisJson(outcome.Result, JsonLayout::Compact);
}

// The sample file with one key replaced (or removed, for a null value).
std::string Edited(std::string_view key, const char* valueJson) {
    rapidjson::Document d;
    const std::string text = velmora::testing::FileTextOf(Sample());
    d.Parse(text.c_str());
    d.RemoveMember(rapidjson::StringRef(key.data(), key.size()));
    if (valueJson) {
        rapidjson::Document v(&d.GetAllocator());
        v.Parse(valueJson);
        EXPECT_FALSE(v.HasParseError()) << valueJson;
        d.AddMember(rapidjson::Value(key.data(), static_cast<rapidjson::SizeType>(key.size()), d.GetAllocator()),
                    rapidjson::Value(v, d.GetAllocator()), d.GetAllocator());
    }
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> w(buffer);
    d.Accept(w);
    return buffer.GetString();
}

std::string ErrorOf(std::string_view bytes) {
    const BirthFileReading reading = ReadBirthFile(bytes);
    EXPECT_FALSE(reading.Birth) << bytes;
    return reading.Error;
}

}  // namespace

TEST(BirthFile, RoundTripGivesTheSameFormAndAnalysis) {
    FormInput form = Sample();
    form.DaylightSaving = true;
    form.South = true;
    form.East = false;
    form.LongitudeDegrees = "5";  // written "005:12W", read back as the box holds it
    const std::string text = velmora::testing::FileTextOf(form);
    EXPECT_NE(text.find("\"longitude\": \"005:12W\""), std::string::npos) << text;
    EXPECT_NE(text.find("\"date\": \"1980-01-05\""), std::string::npos) << text;
    EXPECT_NE(text.find("\"time\": \"09:05\""), std::string::npos) << text;

    const BirthFileReading reading = ReadBirthFile(text);
    ASSERT_TRUE(reading.Birth) << reading.Error;
    EXPECT_EQ(reading.Birth->Form.Name, form.Name);
    EXPECT_EQ(reading.Birth->Form.Day, "5");
    EXPECT_EQ(reading.Birth->Form.Hour, "9");
    EXPECT_EQ(reading.Birth->Form.LongitudeDegrees, "5");
    EXPECT_TRUE(reading.Birth->Form.South);
    EXPECT_FALSE(reading.Birth->Form.East);
    EXPECT_TRUE(reading.Birth->Form.DaylightSaving);
    EXPECT_FALSE(reading.Birth->Ephemeris);
    EXPECT_TRUE(Json(reading.Birth->Form) == Json(form));
}

TEST(BirthFile, RoundTripKeepsTheAtlasPlaceTheExactOffsetAndTheEngine) {
    FormInput form = Sample();
    form.Year = "1990";
    const std::optional<Place> kathmandu = Atlas::Instance().Find("Kathmandu");
    ASSERT_TRUE(kathmandu);
    ApplyPlace(form, *kathmandu);
    ASSERT_TRUE(form.ExactUtcOffsetMinutes);
    EXPECT_EQ(*form.ExactUtcOffsetMinutes, 345);
    const EngineSettings precise{EphemerisMode::Precise, astro::Ayanamsa::Raman, astro::NodeKind::True};

    const std::string text = velmora::testing::FileTextOf(form, precise);
    EXPECT_NE(text.find("\"utcOffset\": \"+05:45\""), std::string::npos) << text;
    EXPECT_NE(text.find("\"zoneRow\": 34"), std::string::npos) << text;
    EXPECT_NE(text.find("\"utcOffsetMinutes\": 345"), std::string::npos) << text;
    EXPECT_NE(text.find("\"timeZone\": \"Asia/Kathmandu\""), std::string::npos) << text;

    const BirthFileReading reading = ReadBirthFile(text);
    ASSERT_TRUE(reading.Birth) << reading.Error;
    ASSERT_TRUE(reading.Birth->Form.Place);
    EXPECT_EQ(*reading.Birth->Form.Place, *form.Place);
    EXPECT_EQ(reading.Birth->Form.ExactUtcOffsetMinutes, form.ExactUtcOffsetMinutes);
    ASSERT_TRUE(reading.Birth->Ephemeris);
    EXPECT_EQ(*reading.Birth->Ephemeris, precise);
    EXPECT_TRUE(Json(reading.Birth->Form, precise) == Json(form, precise));

    // A file written by hand may leave the row out beside an exact offset.
    std::string byHand = text;
    byHand.replace(byHand.find("\"zoneRow\": 34"), 13, "\"zoneRow\": null");
    const BirthFileReading handReading = ReadBirthFile(byHand);
    ASSERT_TRUE(handReading.Birth) << handReading.Error;
    EXPECT_EQ(handReading.Birth->Form.ExactUtcOffsetMinutes, 345);
}

TEST(BirthFile, IgnoresUnknownKeysAndAcceptsTheJsonReportsFormulaKeys) {
    std::string text = Edited("comment", "\"written by hand\"");
    text =
        text.substr(0, text.size() - 1) + R"(,"ephemeris":{"mode":"formulas","ayanamsa":"formula","node":"formula"}})";
    const BirthFileReading reading = ReadBirthFile(text);
    ASSERT_TRUE(reading.Birth) << reading.Error;
    EXPECT_EQ(reading.Birth->Ephemeris, EngineSettings{});
}

TEST(BirthFile, RefusesAMissingKeyNamingIt) {
    for (const char* key : {"format", "version", "name", "date", "time", "zoneRow", "daylightSaving", "latitude",
                            "longitude", "city", "state", "country"}) {
        const std::string error = ErrorOf(Edited(key, nullptr));
        EXPECT_NE(error.find(std::string("\"") + key + "\" is missing"), std::string::npos) << key << ": " << error;
    }
    const std::string withPlace =
        Edited("place", R"({"name":"Delhi","state":"Delhi","country":"India","latitude":28.6,"longitude":77.2})");
    EXPECT_NE(ErrorOf(withPlace).find("\"place.timeZone\" is missing"), std::string::npos) << ErrorOf(withPlace);
}

TEST(BirthFile, RefusesAWrongTypeNamingTheKey) {
    const std::pair<const char*, const char*> cases[] = {
        {"name", "42"},       {"date", "19800105"}, {"time", "[9,5]"},       {"zoneRow", "\"34\""},
        {"zoneRow", "34.5"},  {"zoneRow", "null"},  {"daylightSaving", "1"}, {"latitude", "28.6"},
        {"city", "null"},     {"version", "\"1\""}, {"place", "\"Delhi\""},  {"ephemeris", "true"},
        {"utcOffset", "345"},
    };
    for (const auto& [key, value] : cases) {
        const std::string error = ErrorOf(Edited(key, value));
        EXPECT_NE(error.find(std::string("\"") + key + "\""), std::string::npos)
            << key << "=" << value << ": " << error;
    }
    // Texts of the wrong shape say what they should look like.
    EXPECT_NE(ErrorOf(Edited("date", "\"05/01/1980\"")).find("YYYY-MM-DD"), std::string::npos);
    EXPECT_NE(ErrorOf(Edited("time", "\"9.05\"")).find("HH:MM"), std::string::npos);
    EXPECT_NE(ErrorOf(Edited("latitude", "\"28:36X\"")).find("28:36N"), std::string::npos);
    EXPECT_NE(ErrorOf(Edited("longitude", "\"1077:12E\"")).find("077:12E"), std::string::npos);
    EXPECT_NE(ErrorOf(Edited("utcOffset", "\"+19:00\"")).find("utcOffset"), std::string::npos);
    EXPECT_NE(ErrorOf(Edited("ephemeris", R"({"mode":"guess"})")).find("ephemeris.mode"), std::string::npos);
    EXPECT_NE(ErrorOf(Edited("format", "\"something-else\"")).find("format"), std::string::npos);
    EXPECT_NE(ErrorOf(Edited("version", "2")).find("version 2"), std::string::npos);
}

TEST(BirthFile, RefusesWhatTheInputWindowRefusesWithItsMessage) {
    const std::pair<const char*, const char*> cases[] = {
        {"latitude", "\"95:00N\""}, {"latitude", "\"28:60N\""}, {"longitude", "\"180:00E\""},
        {"date", "\"2051-01-01\""}, {"date", "\"1981-02-29\""}, {"date", "\"1980-13-01\""},
        {"date", "\"1980-04-31\""}, {"time", "\"24:00\""},      {"zoneRow", "71"},
        {"name", "\"   \""},
    };
    for (const auto& [key, value] : cases) {
        const std::string file = Edited(key, value);
        const BirthFileReading reading = ReadBirthFile(file);
        ASSERT_FALSE(reading.Birth) << key << "=" << value;
        ASSERT_TRUE(reading.Check) << key << "=" << value << ": " << reading.Error;
        EXPECT_EQ(reading.Error, reading.Check->Text);
    }
    const BirthFileReading latitude = ReadBirthFile(Edited("latitude", "\"95:00N\""));
    EXPECT_EQ(latitude.Error, "Please Enter Value Between 0 And 89 in the Degree of Latitude");
    EXPECT_EQ(latitude.Check->Focus, FormField::LatitudeDegrees);
    EXPECT_EQ(ReadBirthFile(Edited("zoneRow", "71")).Error, kBadZoneMessage);
    EXPECT_NE(ReadBirthFile(Edited("name", "\"Asha 2\"")).Error.find("Please Enter only Letters"), std::string::npos);
}

TEST(BirthFile, RefusesAFileOverSixtyFourKibibytes) {
    std::string text = velmora::testing::FileTextOf(Sample());
    text.resize(kBirthFileMaxBytes, ' ');  // trailing blanks are still JSON
    EXPECT_TRUE(ReadBirthFile(text).Birth) << ReadBirthFile(text).Error;
    text.push_back(' ');
    EXPECT_NE(ErrorOf(text).find("64 KiB"), std::string::npos);
}

TEST(BirthFile, RefusesTextThatIsNotUtf8Json) {
    std::string latin1 = Edited("name", "\"x\"");
    latin1.replace(latin1.find("\"x\""), 3, "\"RA\xD6\"");  // Latin-1, not UTF-8
    EXPECT_NE(ErrorOf(latin1).find("UTF-8"), std::string::npos) << ErrorOf(latin1);
    for (const std::string& text :
         {std::string(), std::string("hello"), std::string("[1, 2]"), velmora::testing::FileTextOf(Sample()) + "}",
          velmora::testing::FileTextOf(Sample()).substr(0, 40)}) {
        const std::string error = ErrorOf(text);
        EXPECT_NE(error.find("Not a birth file"), std::string::npos) << text << ": " << error;
    }
}

TEST(BirthFile, TextSettersLeaveRangeChecksToTheWindowsChecks) {
    FormInput form;
    EXPECT_FALSE(SetDateText(form, "2050-12-31"));
    EXPECT_EQ(form.Year, "2050");
    EXPECT_EQ(form.MonthIndex, 11);
    EXPECT_EQ(form.Day, "31");
    EXPECT_FALSE(SetTimeText(form, "23:59:30"));
    EXPECT_EQ(form.Second, "30");
    EXPECT_FALSE(SetLatitudeText(form, "5:7s"));
    EXPECT_TRUE(form.South);
    EXPECT_EQ(form.LatitudeDegrees, "5");
    EXPECT_FALSE(SetLongitudeText(form, "179:59w"));
    EXPECT_FALSE(form.East);
    for (const char* bad : {"1980-1-", "80-01-05", "1980-01-05x", "1980-001-05", ""})
        EXPECT_TRUE(SetDateText(form, bad)) << bad;
    for (const char* bad : {"9", "9:", "09:05:", "123:00", "9:5 "}) EXPECT_TRUE(SetTimeText(form, bad)) << bad;
    for (const char* bad : {"28N", "28:36", "28:36NS", "128:00N"}) EXPECT_TRUE(SetLatitudeText(form, bad)) << bad;
}

TEST(BirthFile, NumbersReadExactlyAndTextsMustBeValidUnicode) {
    // A place's coordinates come back digit for digit, however many digits
    // the file gives and whatever rapidjson's own reading would round to.
    const std::string written = velmora::testing::FileTextOf(Sample());
    std::string file = written;
    const std::string place =
        "\"place\": {\"name\": \"New Delhi\", \"state\": \"Delhi\", \"country\": \"India\", \"timeZone\": "
        "\"Asia/Kolkata\", \"latitude\": 28.613939999999999, \"longitude\": 77.209021000000007, "
        "\"utcOffsetMinutes\": 330},\n  \"name\"";
    file.replace(file.find("\"name\""), 6, place);
    const BirthFileReading first = ReadBirthFile(file);
    ASSERT_TRUE(first.Birth) << first.Error;
    ASSERT_TRUE(first.Birth->Form.Place);
    EXPECT_EQ(first.Birth->Form.Place->Latitude, 28.613939999999999);
    EXPECT_EQ(first.Birth->Form.Place->Longitude, 77.209021000000007);
    const std::string again = velmora::testing::FileTextOf(first.Birth->Form, first.Birth->Ephemeris);
    const BirthFileReading second = ReadBirthFile(again);
    ASSERT_TRUE(second.Birth);
    EXPECT_EQ(velmora::testing::FileTextOf(second.Birth->Form, second.Birth->Ephemeris), again);

    // A lone surrogate escape would give a text that is not UTF-8.
    std::string surrogate = written;
    surrogate.replace(surrogate.find("New Delhi"), 9, "New \\udddd Delhi");
    const BirthFileReading refused = ReadBirthFile(surrogate);
    EXPECT_FALSE(refused.Birth);
    EXPECT_NE(refused.Error.find("Unicode"), std::string::npos) << refused.Error;
    // A proper pair is fine.
    std::string pair = written;
    pair.replace(pair.find("New Delhi"), 9, "New \\ud83d\\ude00 Delhi");
    const BirthFileReading accepted = ReadBirthFile(pair);
    ASSERT_TRUE(accepted.Birth) << accepted.Error;
    EXPECT_EQ(accepted.Birth->Form.City, "New \xF0\x9F\x98\x80 Delhi");
}

namespace {

// The sample file with `member` ("\"key\": value") added first in the object.
std::string WithMember(const std::string& member) {
    std::string text = velmora::testing::FileTextOf(Sample());
    text.insert(text.find('{') + 1, member + ",");
    return text;
}

std::string Nested(std::size_t depth) { return std::string(depth, '[') + std::string(depth, ']'); }

// Reads on a thread with a small stack (256 KiB, less than many threads
// get): a reader that recursed once per level would overflow it long before
// 32,000 levels.
BirthFileReading ReadOnASmallStack(const std::string& text) {
    struct Job {
        const std::string* Text;
        BirthFileReading Reading;
    } job{&text, {}};
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 256 * 1024);
    pthread_t thread;
    const auto run = [](void* data) -> void* {
        Job& j = *static_cast<Job*>(data);
        j.Reading = ReadBirthFile(*j.Text);
        return nullptr;
    };
    EXPECT_EQ(pthread_create(&thread, &attributes, run, &job), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
    return job.Reading;
}

}  // namespace

TEST(BirthFile, RefusesNestingDeeperThanTheLimitNamingIt) {
    // 32,000 levels under an unknown key, closed and unclosed: refused, on
    // a small stack, naming the limit.
    for (const std::string& deep :
         {WithMember("\"x\": " + Nested(32000)), WithMember("\"x\": " + std::string(32000, '['))}) {
        ASSERT_LE(deep.size(), kBirthFileMaxBytes);
        const BirthFileReading reading = ReadOnASmallStack(deep);
        EXPECT_FALSE(reading.Birth);
        EXPECT_NE(reading.Error.find("nest more than 64 deep"), std::string::npos) << reading.Error;
    }
    // The object itself is one level: 63 more are read, 64 more are not.
    const BirthFileReading deepest = ReadBirthFile(WithMember("\"x\": " + Nested(kBirthFileMaxDepth - 1)));
    EXPECT_TRUE(deepest.Birth) << deepest.Error;
    EXPECT_NE(ErrorOf(WithMember("\"x\": " + Nested(kBirthFileMaxDepth))).find("64"), std::string::npos);
    EXPECT_NE(ErrorOf(WithMember("\"x\": [{\"y\": " + Nested(kBirthFileMaxDepth - 2) + "}]")).find("nest"),
              std::string::npos);
}

TEST(BirthFile, RefusesAKeyGivenTwiceAtAnyLevelNamingIt) {
    // The first would have won silently.
    EXPECT_EQ(ErrorOf(WithMember("\"name\": \"MIRA\"")),
              "Not a birth file: the key \"name\" appears twice; each key may be given once.");
    EXPECT_EQ(ErrorOf(WithMember("\"extra\": 1, \"extra\": 2")),
              "Not a birth file: the key \"extra\" appears twice; each key may be given once.");
    EXPECT_NE(ErrorOf(WithMember("\"ephemeris\": {\"engine\": \"formula\", \"engine\": \"precise\"}"))
                  .find("the key \"engine\" appears twice in \"ephemeris\""),
              std::string::npos);
    EXPECT_NE(ErrorOf(WithMember("\"notes\": [1, {\"a\": 1, \"a\": 1}]")).find("the key \"a\" appears twice"),
              std::string::npos);
    // One key in several objects, and in objects side by side in an array, is fine.
    const BirthFileReading siblings = ReadBirthFile(WithMember("\"notes\": [{\"name\": 1}, {\"name\": 2}]"));
    EXPECT_TRUE(siblings.Birth) << siblings.Error;
}
