// Batches on hostile input: every data row gives exactly one line, in
// order, and every line is JSON, whatever the quotes, line breaks, NUL
// bytes, long fields and broken UTF-8 of the file.

#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <random>
#include <string>
#include <vector>

#include "core/batch.h"
#include "core/csv_rows.h"

using namespace velmora;
using namespace velmora::core;

namespace {

constexpr std::string_view kHeader = "name,date,time,zone,dst,lat,lon,city,state,country\n";

// These files are about the rows, not the sky: each row is analysed without
// the toolkit and without sunrise and sunset (each of those look-ups reads
// the ephemeris files under one lock), which keeps thousands of rows quick
// under the sanitizers.
AnalysisOptions BatchOptions() {
    AnalysisOptions options;
    options.Toolkit = false;
    options.SunEvents = false;
    return options;
}

struct BatchRun {
    BatchSummary Summary;
    std::vector<std::string> Lines;
};

BatchRun RunText(const std::string& csv, int jobs = 1, std::size_t piece = 4096) {
    BatchIo io;
    std::size_t at = 0;
    io.Read = [&](char* buffer, std::size_t size) {
        const std::size_t n = std::min({size, piece, csv.size() - at});
        csv.copy(buffer, n, at);
        at += n;
        return n;
    };
    std::string out;
    io.Write = [&](std::string_view text) {
        out.append(text);
        return true;
    };
    BatchRun run;
    run.Summary = RunBatch(io, BatchOptions(), jobs);
    std::size_t start = 0;
    for (std::size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1)
        run.Lines.push_back(out.substr(start, end - start));
    EXPECT_EQ(start, out.size()) << "the output ends inside a line";
    return run;
}

rapidjson::Document ParsedLine(const std::string& line) {
    rapidjson::Document document;
    document.Parse<rapidjson::kParseValidateEncodingFlag>(line.data(), line.size());
    EXPECT_FALSE(document.HasParseError()) << line.substr(0, 200);
    EXPECT_TRUE(document.IsObject());
    return document;
}

std::string Row(std::mt19937& random) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    char text[160];
    std::snprintf(text, sizeof text, "ROW,%d-%02d-%02d,%02d:%02d,34,0,%02d:%02dN,%03d:%02dE,New Delhi,DL,India",
                  pick(1901, 2050), pick(1, 12), pick(1, 28), pick(0, 23), pick(0, 59), pick(0, 66), pick(0, 59),
                  pick(0, 179), pick(0, 59));
    return text;
}

// A quote no field can be closed by: not before a delimiter, blank or line
// end, so every quote the corruption adds is a fault the reader must catch.
bool NoQuoteCloses(const std::string& line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != '"') continue;
        const char next = i + 1 < line.size() ? line[i + 1] : '\n';
        if (next == ',' || next == ' ' || next == '\t' || next == '\r' || next == '\n') return false;
    }
    return true;
}

std::string Corrupted(std::string line, std::mt19937& random) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    for (int attempt = 0; attempt < 20; ++attempt) {
        std::string bad = line;
        const std::size_t at = static_cast<std::size_t>(pick(0, static_cast<int>(bad.size())));
        switch (pick(0, 6)) {
            case 0:
                bad.insert(at, 1, '"');
                break;
            case 1:
                bad.insert(at, "\"\"");
                break;
            case 2:
                bad.insert(at, 1, '\r');
                break;
            case 3:
                bad.insert(at, 1, '\0');
                break;
            case 4:
                bad.insert(at, pick(0, 1) ? "\xff" : "\xc3");
                break;
            case 5:
                bad.insert(at, std::string(static_cast<std::size_t>(pick(65, 90)) * 1024, 'x'));
                break;
            default:
                bad.insert(at, "\"" + std::string(70 * 1024, 'y'));
                break;
        }
        if (NoQuoteCloses(bad)) return bad;
    }
    return line;
}

// The data rows of a text whose quotes never close: its non-empty lines
// ("\r\n", "\r" and "\n" each end one) after the header.
std::size_t DataLines(const std::string& text) {
    std::size_t count = 0;
    bool content = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            count += content ? 1 : 0;
            content = false;
        } else {
            content = true;
        }
    }
    return count + (content ? 1 : 0) - 1;
}

}  // namespace

TEST(CsvResync, AStrayQuoteRefusesItsRowOnly) {
    const std::string csv = std::string(kHeader) +
                            "ASHA,1980-01-05,09:05,34,0,28:36N,077:12E,\"Delhi\"x,DL,India\n"
                            "MIRA,2000-02-29,12:00,29,1,51:30N,000:07W,London,,UK\n"
                            "RAVI,2000-02-29,12:00,29,1,51:30N,000:07W,Lon\"don,,UK\n"
                            "LENA,2000-02-29,12:00,29,1,51:30N,000:07W,\"London,,UK\n"
                            "OMAR,1990-06-01,07:00,34,0,27:42N,085:19E,\"Kath\nmandu\",B,Nepal\n"
                            "JUDE,2000-02-29,12:00,29,1,51:30N,000:07W,\"Lon";
    for (int jobs : {1, 3}) {
        const BatchRun run = RunText(csv, jobs, 7);
        ASSERT_EQ(run.Lines.size(), 6u);
        const rapidjson::Document first = ParsedLine(run.Lines[0]);
        EXPECT_EQ(first["line"].GetInt(), 2);
        EXPECT_NE(std::string(first["error"].GetString()).find("quote"), std::string::npos);
        EXPECT_STREQ(ParsedLine(run.Lines[1])["input"]["name"].GetString(), "MIRA");
        EXPECT_EQ(ParsedLine(run.Lines[2])["line"].GetInt(), 4);
        // An unclosed quote ran into the next lines: its row is refused and
        // they are read again, the quoted line break of a good row kept.
        EXPECT_EQ(ParsedLine(run.Lines[3])["line"].GetInt(), 5);
        EXPECT_STREQ(ParsedLine(run.Lines[4])["input"]["city"].GetString(), "Kath\nmandu");
        const rapidjson::Document last = ParsedLine(run.Lines[5]);
        EXPECT_EQ(last["line"].GetInt(), 8);
        EXPECT_NE(std::string(last["error"].GetString()).find("never closed"), std::string::npos);
        EXPECT_EQ(run.Summary.Rows, 6u);
        EXPECT_EQ(run.Summary.Refused, 4u);
        EXPECT_TRUE(run.Summary.Failure.empty());
    }
}

TEST(CsvResync, AnUnclosedQuoteEarlyInALongFileLosesNoOtherRow) {
    std::mt19937 random(11);
    std::string csv(kHeader);
    // The quote runs on to the longest row there may be; the file goes on
    // well past that, so the rows after the refused one are all read again.
    std::size_t rows = 0;
    for (; csv.size() < 3 * kMaxRowBytes; ++rows) csv += (rows == 10 ? "ASHA,\"1980-01-05,09:05" : Row(random)) + "\n";
    ASSERT_GT(rows, 2000u);
    const BatchRun run = RunText(csv, 2);
    ASSERT_EQ(run.Lines.size(), rows);
    EXPECT_EQ(run.Summary.Refused, 1u);
    EXPECT_EQ(ParsedLine(run.Lines[10])["line"].GetInt(), 12);
    EXPECT_TRUE(ParsedLine(run.Lines[11]).HasMember("input"));
}

TEST(CsvResync, HostileFilesGiveOneJsonLineForEveryRowInOrder) {
    std::mt19937 random(19);
    for (int file = 0; file < 12; ++file) {
        std::string csv(kHeader);
        for (int i = 0; i < 150; ++i) {
            const std::string row = Row(random);
            csv += (std::uniform_int_distribution<int>(0, 3)(random) == 0 ? Corrupted(row, random) : row) + "\n";
        }
        const std::size_t rows = DataLines(csv);
        const BatchRun run = RunText(csv, file % 3 + 1, static_cast<std::size_t>(file * 97 + 1));
        ASSERT_EQ(run.Lines.size(), rows) << file;
        EXPECT_EQ(run.Summary.Rows, rows);
        EXPECT_GT(run.Summary.Refused, 10u);  // the corruptions were caught
        long previous = 1;
        for (const std::string& line : run.Lines) {
            const rapidjson::Document document = ParsedLine(line);
            if (document.HasParseError()) continue;
            const long at = document.HasMember("line") ? document["line"].GetInt64() : previous + 1;
            EXPECT_GT(at, previous) << line.substr(0, 120);
            previous = at;
            // Messages quote at most about 80 characters of a bad value.
            if (document.HasMember("error")) {
                EXPECT_LT(std::string(document["error"].GetString()).size(), 400u);
            }
        }
    }
}

TEST(CsvResync, BrokenUtf8LongValuesAndAFailedWrite) {
    const std::string csv = std::string(kHeader) +
                            "ASHA,1980-01-05,09:05,34,0,28:36N,077:12E,Del\xe2\x82hi,DL,India\n" + "ASHA,1980-01-05," +
                            std::string(300, '9') + ",34,0,28:36N,077:12E,Delhi,DL,India\n";
    const BatchRun run = RunText(csv);
    ASSERT_EQ(run.Lines.size(), 2u);
    EXPECT_NE(std::string(ParsedLine(run.Lines[0])["error"].GetString()).find("UTF-8"), std::string::npos);
    const std::string message = ParsedLine(run.Lines[1])["error"].GetString();
    EXPECT_NE(message.find("\u2026\""), std::string::npos) << message;
    EXPECT_LT(message.size(), 140u) << message;

    // The first write that fails stops the batch; nothing after it is tried.
    std::string many(kHeader);
    std::mt19937 random(3);
    for (int i = 0; i < 3000; ++i) many += Row(random) + "\n";
    for (int jobs : {1, 4}) {
        BatchIo io;
        std::size_t at = 0;
        io.Read = [&](char* buffer, std::size_t size) {
            const std::size_t n = std::min(size, many.size() - at);
            many.copy(buffer, n, at);
            at += n;
            return n;
        };
        int writes = 0;
        io.Write = [&](std::string_view) { return ++writes < 2; };
        const BatchSummary summary = RunBatch(io, BatchOptions(), jobs);
        EXPECT_TRUE(summary.WriteFailed);
        EXPECT_EQ(writes, 2);
        EXPECT_LT(summary.Rows, 3000u);
    }
}
