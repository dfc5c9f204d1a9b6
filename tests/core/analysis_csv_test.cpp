#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <sstream>

#include "core/analysis_csv.h"
#include "core/batch.h"

using namespace velmora;
using namespace velmora::core;

namespace {

// Three births (one with an exact offset and a quoted city) and a refused row.
constexpr std::string_view kInput =
    "name,date,time,zone,dst,lat,lon,city,state,country,utc_offset\n"
    "asha rao,1980-01-05,09:05,34,0,28:36N,077:12E,New Delhi,Delhi,India,\n"
    "ben dale,1962-07-21,23:50,29,1,51:30N,000:07W,\"London, City\",England,UK,\n"
    "kiran,2001-11-30,04:10,0,0,27:42N,085:19E,Kathmandu,,Nepal,+05:45\n"
    "broken,1980-13-01,09:00,34,0,28:36N,077:12E,X,Y,Z,\n";

struct BatchRun {
    std::string Out;
    std::string Errors;
    BatchSummary Summary;
};

BatchRun RunRows(const BatchRowFormat* format) {
    BatchRun run;
    bool given = false;
    BatchIo io;
    io.Read = [&given](char* buffer, std::size_t size) -> std::size_t {
        if (given) return 0;
        given = true;
        EXPECT_GE(size, kInput.size());
        kInput.copy(buffer, kInput.size());
        return kInput.size();
    };
    io.Write = [&run](std::string_view text) {
        run.Out += text;
        return true;
    };
    io.Format = format;
    io.WriteErrors = [&run](std::string_view text) { run.Errors += text; };
    run.Summary = RunBatch(io, AnalysisOptions{}, 1);
    return run;
}

std::vector<CsvRow> CsvOf(const std::string& text) {
    CsvRowReader reader;
    std::vector<CsvRow> rows;
    reader.Feed(text, rows);
    EXPECT_TRUE(reader.Finish(rows));
    return rows;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

double Number(const std::string& field) { return std::strtod(field.c_str(), nullptr); }

// Many births drawn at random as batch rows: any date 1901-2050, time, zone
// row and summer time, place; every ninth with an exact offset instead, and
// cities that need quoting now and then.
std::string RandomBatch(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    std::string csv = "name,date,time,zone,dst,lat,lon,city,state,country,utc_offset\n";
    const char* const names[] = {"asha rao", "Ben Dale", "KIRAN", "mary ann"};
    const char* const cities[] = {"Pune", "\"London, City\"", "\"The \"\"Old\"\" Town\"", "Ho Chi Minh"};
    char line[256];
    for (std::size_t i = 0; i < count; ++i) {
        char offset[16] = "";
        if (i % 9 == 4) {
            const int minutes = pick(-48, 56) * 15;
            std::snprintf(offset, sizeof offset, "%c%02d:%02d", minutes < 0 ? '-' : '+', std::abs(minutes) / 60,
                          std::abs(minutes) % 60);
        }
        std::snprintf(line, sizeof line, "%s,%04d-%02d-%02d,%02d:%02d,%d,%d,%02d:%02d%c,%03d:%02d%c,%s,State,,%s\n",
                      names[i % 4], pick(1901, 2050), pick(1, 12), pick(1, 28), pick(0, 23), pick(0, 59), pick(0, 70),
                      pick(0, 1), pick(0, 66), pick(0, 59), pick(0, 1) ? 'N' : 'S', pick(0, 179), pick(0, 59),
                      pick(0, 1) ? 'E' : 'W', cities[pick(0, 3)], offset);
        csv += line;
    }
    return csv;
}

BatchRun RunText(const std::string& input, const BatchRowFormat* format, const AnalysisOptions& options, int jobs) {
    BatchRun run;
    std::size_t at = 0;
    BatchIo io;
    io.Read = [&](char* buffer, std::size_t size) {
        const std::size_t n = std::min<std::size_t>({size, input.size() - at, 1000});
        input.copy(buffer, n, at);
        at += n;
        return n;
    };
    io.Write = [&run](std::string_view text) {
        run.Out += text;
        return true;
    };
    io.Format = format;
    io.WriteErrors = [&run](std::string_view text) { run.Errors += text; };
    run.Summary = RunBatch(io, options, jobs);
    return run;
}

// A double as the JSON writes it.
std::string JsonDigits(double value) {
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> w(buffer);
    w.Double(value);
    return buffer.GetString();
}

std::string Member(const rapidjson::Value& object, const char* key) {
    return object.HasMember(key) ? object[key].GetString() : "";
}

// What a column should hold for a birth, read from its JSON line.
std::string ExpectedField(const std::string& column, const rapidjson::Value& o) {
    const rapidjson::Value& input = o["input"];
    const rapidjson::Value& dasha = o["dasha"];
    const rapidjson::Value& maha = dasha["periods"][0];
    auto mark = [](bool value) { return std::string(value ? "1" : "0"); };
    if (column == "name") return input["name"].GetString();
    if (column == "date") return input["date"].GetString();
    if (column == "time") return input["time"].GetString();
    if (column == "zone") return input["zoneRow"].IsNull() ? "" : std::to_string(input["zoneRow"].GetInt());
    if (column == "dst") return mark(input["daylightSaving"].GetBool());
    if (column == "utc_offset") return Member(input, "utcOffset");
    if (column == "lat") return input["latitude"].GetString();
    if (column == "lon") return input["longitude"].GetString();
    if (column == "city") return Member(input, "city");
    if (column == "state") return Member(input, "state");
    if (column == "country") return Member(input, "country");
    if (column == "ephemeris") return o["ephemeris"]["mode"].GetString();
    if (column == "ayanamsa") return o["ephemeris"]["ayanamsa"].GetString();
    if (column == "node") return o["ephemeris"]["node"].GetString();
    if (column == "universal_time") return JsonDigits(o["universalTime"].GetDouble());
    if (column == "ut_moment") {
        // The first maha dasha starts at birth, given to the minute.
        std::string start = maha["startMoment"].GetString();
        return start.insert(start.size() - 1, ":00");
    }
    if (column == "offset_minutes") {
        const std::string time = input["time"].GetString();
        const double local = std::stoi(time.substr(0, 2)) * 60 + std::stoi(time.substr(3, 2));
        return std::to_string(std::lround(local - o["universalTime"].GetDouble() * 60));
    }
    if (column == "arudha_lagna") return std::to_string(o["arudhaLagna"]["sign"].GetInt());
    if (column.rfind("pada_a", 0) == 0) {
        const auto house = static_cast<rapidjson::SizeType>(std::stoi(column.substr(6)) - 1);
        return std::to_string(o["arudhaPadas"][house]["sign"].GetInt());
    }
    if (column == "moon_nakshatra") return std::to_string(dasha["nakshatra"].GetInt());
    if (column == "moon_nakshatra_name") return dasha["nakshatraName"].GetString();
    if (column == "maha_dasha") return maha["lord"].GetString();
    if (column == "maha_dasha_end") return maha["end"].GetString();
    if (column == "dasha_balance_years") return JsonDigits(dasha["balanceYears"].GetDouble());
    const char* const bodies[] = {"sun",     "moon",   "mercury", "venus", "mars",
                                  "jupiter", "saturn", "rahu",    "ketu",  "asc"};
    for (rapidjson::SizeType b = 0; b < 10; ++b) {
        const std::string prefix = std::string(bodies[b]) + "_";
        if (column.rfind(prefix, 0) != 0) continue;
        const std::string what = column.substr(prefix.size());
        const rapidjson::Value& body = o["bodies"][b];
        if (what == "lon") return JsonDigits(body["longitude"].GetDouble());
        if (what == "sign") return std::to_string(body["sign"].GetInt());
        if (what == "navamsa") return std::to_string(o["navamsa"][b]["sign"].GetInt());
        if (what == "nakshatra") return std::to_string(body["nakshatra"].GetInt());
        if (what == "retro") return mark(body["retrograde"].GetBool());
    }
    ADD_FAILURE() << "no JSON value for the column " << column;
    return "";
}

// Every field of a CSV batch's rows (whatever its columns) against the JSON
// lines of the same rows.
void ExpectTheJsonValues(const std::string& csvOut, const std::string& jsonOut) {
    const std::vector<CsvRow> rows = CsvOf(csvOut);
    const std::vector<std::string> lines = Lines(jsonOut);
    ASSERT_EQ(rows.size(), lines.size() + 1);
    const std::vector<std::string>& header = rows[0].Fields;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        rapidjson::Document o;
        o.Parse<rapidjson::kParseFullPrecisionFlag>(lines[i].c_str());
        ASSERT_FALSE(o.HasParseError()) << lines[i];
        ASSERT_FALSE(o.HasMember("error")) << lines[i];
        const std::vector<std::string>& f = rows[i + 1].Fields;
        ASSERT_EQ(f.size(), header.size()) << "row " << i + 1;
        for (std::size_t c = 0; c < header.size(); ++c)
            EXPECT_EQ(f[c], ExpectedField(header[c], o)) << header[c] << " of row " << i + 1;
    }
}

}  // namespace

TEST(AnalysisCsv, EveryValueEqualsTheJsonOfTheSameRow) {
    const BatchRowFormat format = AnalysisCsvWriter().BatchFormat();
    const BatchRun csv = RunRows(&format);
    const BatchRun json = RunRows(nullptr);
    EXPECT_EQ(csv.Summary.Analysed, 3u);
    EXPECT_EQ(csv.Summary.Refused, 1u);
    // The refused row goes to the errors, named by its line; the rows hold the births alone.
    EXPECT_EQ(csv.Errors.rfind("line 5: ", 0), 0u) << csv.Errors;
    const std::vector<CsvRow> rows = CsvOf(csv.Out);
    ASSERT_EQ(rows.size(), 4u);
    const std::vector<std::string>& header = rows[0].Fields;
    EXPECT_EQ(header, AnalysisCsvColumnNames());
    auto column = [&header](const std::string& name) {
        const auto at = std::find(header.begin(), header.end(), name);
        EXPECT_NE(at, header.end()) << name;
        return static_cast<std::size_t>(at - header.begin());
    };

    const std::vector<std::string> jsonLines = Lines(json.Out);
    ASSERT_EQ(jsonLines.size(), 4u);
    const char* bodies[] = {"sun", "moon", "mercury", "venus", "mars", "jupiter", "saturn", "rahu", "ketu", "asc"};
    for (std::size_t i = 0; i < 3; ++i) {
        rapidjson::Document o;
        o.Parse<rapidjson::kParseFullPrecisionFlag>(jsonLines[i].c_str());
        ASSERT_FALSE(o.HasParseError());
        const std::vector<std::string>& f = rows[i + 1].Fields;
        EXPECT_EQ(f[column("name")], o["input"]["name"].GetString());
        EXPECT_EQ(f[column("date")], o["input"]["date"].GetString());
        EXPECT_EQ(f[column("lat")], o["input"]["latitude"].GetString());
        EXPECT_EQ(f[column("lon")], o["input"]["longitude"].GetString());
        EXPECT_EQ(f[column("city")], o["input"]["city"].GetString());
        EXPECT_EQ(f[column("zone")].empty(), o["input"]["zoneRow"].IsNull());
        EXPECT_EQ(f[column("utc_offset")].empty(), !o["input"].HasMember("utcOffset"));
        EXPECT_EQ(Number(f[column("universal_time")]), o["universalTime"].GetDouble());
        for (std::size_t b = 0; b < 10; ++b) {
            const std::string p = bodies[b];
            const auto& body = o["bodies"][static_cast<rapidjson::SizeType>(b)];
            // The very digits, so the very double.
            EXPECT_EQ(Number(f[column(p + "_lon")]), body["longitude"].GetDouble()) << p;
            EXPECT_EQ(std::atoi(f[column(p + "_sign")].c_str()), body["sign"].GetInt()) << p;
            EXPECT_EQ(f[column(p + "_retro")], body["retrograde"].GetBool() ? "1" : "0") << p;
            EXPECT_EQ(std::atoi(f[column(p + "_navamsa")].c_str()),
                      o["navamsa"][static_cast<rapidjson::SizeType>(b)]["sign"].GetInt())
                << p;
            // 13°20' a nakshatra, counted from 1.
            EXPECT_EQ(std::atoi(f[column(p + "_nakshatra")].c_str()),
                      static_cast<int>(body["longitude"].GetDouble() / (40.0 / 3)) + 1)
                << p;
        }
        EXPECT_EQ(std::atoi(f[column("arudha_lagna")].c_str()), o["arudhaLagna"]["sign"].GetInt());
        for (rapidjson::SizeType h = 0; h < 12; ++h)
            EXPECT_EQ(std::atoi(f[column("pada_a" + std::to_string(h + 1))].c_str()),
                      o["arudhaPadas"][h]["sign"].GetInt());
        const auto& dasha = o["dasha"];
        EXPECT_EQ(std::atoi(f[column("moon_nakshatra")].c_str()), dasha["nakshatra"].GetInt());
        EXPECT_EQ(f[column("moon_nakshatra_name")], dasha["nakshatraName"].GetString());
        EXPECT_EQ(f[column("maha_dasha")], dasha["periods"][0]["lord"].GetString());
        EXPECT_EQ(f[column("maha_dasha_end")], dasha["periods"][0]["end"].GetString());
        EXPECT_EQ(Number(f[column("dasha_balance_years")]), dasha["balanceYears"].GetDouble());
    }
    // The offset east of universal time, and the moment it gives.
    EXPECT_EQ(rows[1].Fields[column("offset_minutes")], "330");
    EXPECT_EQ(rows[1].Fields[column("ut_moment")], "1980-01-05T03:35:00Z");
    EXPECT_EQ(rows[3].Fields[column("offset_minutes")], "345");
    EXPECT_EQ(rows[3].Fields[column("utc_offset")], "+05:45");
}

TEST(AnalysisCsv, ChosenColumnsComeInTheirOrderAndUnknownNamesAreRefused) {
    auto chosen = AnalysisCsvWriter::Choose(" moon_sign , NAME,maha_dasha");
    ASSERT_TRUE(std::holds_alternative<AnalysisCsvWriter>(chosen));
    const BatchRowFormat format = std::get<AnalysisCsvWriter>(chosen).BatchFormat();
    const std::vector<CsvRow> rows = CsvOf(RunRows(&format).Out);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].Fields, (std::vector<std::string>{"moon_sign", "name", "maha_dasha"}));
    EXPECT_EQ(rows[2].Fields[1], "BEN DALE");
    for (const std::string_view wrong : {"sun_lon,planet_x", "", "sun_lon,,moon_lon"}) {
        const auto refused = AnalysisCsvWriter::Choose(wrong);
        ASSERT_TRUE(std::holds_alternative<std::string>(refused)) << wrong;
    }
    EXPECT_NE(std::get<std::string>(AnalysisCsvWriter::Choose("planet_x")).find("planet_x"), std::string::npos);
}

TEST(AnalysisCsv, FieldsWithCommasQuotesOrLineBreaksAreQuoted) {
    std::string out;
    for (const std::string_view field : {"plain", "London, City", "say \"hi\"", "two\nlines"}) {
        AppendCsvField(out, field);
        out.push_back(',');
    }
    out.back() = '\n';
    EXPECT_EQ(out, "plain,\"London, City\",\"say \"\"hi\"\"\",\"two\nlines\"\n");
    const std::vector<CsvRow> rows = CsvOf(out);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Fields, (std::vector<std::string>{"plain", "London, City", "say \"hi\"", "two\nlines"}));
}

TEST(AnalysisCsv, RandomBirthsGiveTheJsonValuesWithEveryEngineAndOnAnyThreads) {
    AnalysisOptions formulas;
    // The precise ephemeris with other choices, the dasha year and the
    // karakas among them: the rows follow whatever the batch was given.
    AnalysisOptions precise;
    precise.Settings = {EphemerisMode::Precise, astro::Ayanamsa::Raman, astro::NodeKind::True};
    precise.DashaYear = analysis::DashaYear::Savana;
    precise.KarakaScheme = 7;
    precise.SunEvents = true;
    const BatchRowFormat format = AnalysisCsvWriter().BatchFormat();
    for (const auto& [options, births] : {std::pair{formulas, 300}, std::pair{precise, 60}}) {
        const std::string input = RandomBatch(static_cast<std::size_t>(births), 20261207u + births);
        const BatchRun json = RunText(input, nullptr, options, 1);
        ASSERT_EQ(json.Summary.Analysed, static_cast<std::uint64_t>(births)) << json.Out.substr(0, 400);
        for (int jobs : {1, 2}) {
            const BatchRun csv = RunText(input, &format, options, jobs);
            EXPECT_EQ(csv.Summary.Analysed, static_cast<std::uint64_t>(births)) << csv.Errors;
            EXPECT_EQ(csv.Errors, "");
            ExpectTheJsonValues(csv.Out, json.Out);
        }
    }
}

TEST(AnalysisCsv, EachColumnAloneHoldsWhatItHoldsInTheWholeRow) {
    // A choice of columns asks the analysis for less; the values stay.
    const std::string input = RandomBatch(120, 7);
    const AnalysisOptions options;
    const BatchRowFormat all = AnalysisCsvWriter().BatchFormat();
    const std::vector<CsvRow> whole = CsvOf(RunText(input, &all, options, 1).Out);
    ASSERT_EQ(whole.size(), 121u);
    const std::vector<std::string>& names = AnalysisCsvColumnNames();
    for (std::size_t c = 0; c < names.size(); ++c) {
        const BatchRowFormat alone = std::get<AnalysisCsvWriter>(AnalysisCsvWriter::Choose(names[c])).BatchFormat();
        // Line by line: a lone empty field (the zone beside an exact offset)
        // is an empty line, which a reader of rows passes over.
        const std::vector<std::string> lines = Lines(RunText(input, &alone, options, 1).Out);
        ASSERT_EQ(lines.size(), whole.size()) << names[c];
        for (std::size_t r = 0; r < lines.size(); ++r) {
            std::string field;
            AppendCsvField(field, whole[r].Fields[c]);
            EXPECT_EQ(lines[r], field) << names[c] << " of row " << r;
        }
    }
    // And a few together, in another order, against the JSON.
    const BatchRowFormat some =
        std::get<AnalysisCsvWriter>(AnalysisCsvWriter::Choose("maha_dasha_end,name,moon_nakshatra,sun_lon,ut_moment"))
            .BatchFormat();
    ExpectTheJsonValues(RunText(input, &some, options, 2).Out, RunText(input, nullptr, options, 1).Out);
}

TEST(AnalysisCsv, TheJsonLinesOfTheSameOptionsKeepEverythingTheRowsLeaveOut) {
    const std::string input = RandomBatch(20, 3);
    const AnalysisOptions options;
    const BatchRowFormat format = AnalysisCsvWriter().BatchFormat();
    ASSERT_EQ(RunText(input, &format, options, 2).Summary.Analysed, 20u);
    const std::vector<std::string> lines = Lines(RunText(input, nullptr, options, 2).Out);
    ASSERT_EQ(lines.size(), 20u);
    for (const std::string& line : lines) {
        rapidjson::Document o;
        o.Parse(line.c_str());
        ASSERT_FALSE(o.HasParseError());
        // Texts, antar dashas, the Parashari tables and the Jaimini tools.
        EXPECT_GT(o["details"]["dateOfBirth"].GetStringLength(), 0u);
        EXPECT_GT(o["profile"]["vedicName"].GetStringLength(), 0u);
        EXPECT_GT(o["dasha"]["periods"][0]["sub"].Size(), 0u);
        EXPECT_NE(o["bodies"][1]["speed"].GetDouble(), 0.0);
        EXPECT_GT(o["yoginiDasha"]["periods"].Size(), 0u);
        EXPECT_TRUE(o["vargas"].HasMember("D60"));
        EXPECT_TRUE(o["panchanga"].HasMember("vara"));
        EXPECT_TRUE(o.HasMember("charaDasha"));
        EXPECT_TRUE(o.HasMember("explain"));
    }
}

TEST(AnalysisCsv, RowsOfVeryLongNamesAndPlacesAreWholeAndQuoted) {
    const AnalysisOutcome outcome = RunAnalysis(std::get<FormInput>(FormOfRow(
        CsvOf(std::string(kInput)).at(1), std::get<BatchColumns>(ColumnsOfHeader(CsvOf(std::string(kInput))[0])))));
    ASSERT_FALSE(outcome.Rejected);
    BirthAnalysis a = outcome.Result;
    const AnalysisCsvWriter writer;
    std::string plain;
    writer.AppendRow(plain, a);
    // Places from short to far longer than any row the batch reads, some
    // made all of quotes, which double.
    for (const std::size_t length : {1u, 100u, 3000u, 20000u}) {
        a.Birth.City = std::string(length, '"');
        a.Birth.Country = "x," + std::string(length, 'y');
        std::string out = "before\n";
        writer.AppendRow(out, a);
        const std::vector<CsvRow> rows = CsvOf(out);
        ASSERT_EQ(rows.size(), 2u) << length;
        const std::vector<CsvRow> expected = CsvOf(plain);
        ASSERT_EQ(rows[1].Fields.size(), expected[0].Fields.size());
        for (std::size_t c = 0; c < rows[1].Fields.size(); ++c) {
            const std::string& name = AnalysisCsvColumnNames()[c];
            if (name == "city") {
                EXPECT_EQ(rows[1].Fields[c], a.Birth.City);
            } else if (name == "country") {
                EXPECT_EQ(rows[1].Fields[c], a.Birth.Country);
            } else {
                EXPECT_EQ(rows[1].Fields[c], expected[0].Fields[c]) << name;
            }
        }
    }
}
