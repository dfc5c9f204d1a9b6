#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <cstdlib>
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
