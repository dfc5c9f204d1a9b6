#include <gtest/gtest.h>

#include "core/batch.h"

using namespace velmora;
using namespace velmora::core;

namespace {

std::vector<CsvRow> Read(std::string_view text, std::size_t piece) {
    CsvRowReader reader;
    std::vector<CsvRow> rows;
    for (std::size_t at = 0; at < text.size(); at += piece) reader.Feed(text.substr(at, piece), rows);
    EXPECT_TRUE(reader.Finish(rows));
    return rows;
}

}  // namespace

TEST(CsvRows, LineNumbersFollowEveryKindOfLineBreakHoweverTheInputIsCut) {
    // "\n", "\r\n" and a lone "\r" all end a line; a quoted line break runs
    // on; a blank line is skipped; the row is numbered by its first line.
    const std::string_view text = "h1,h2\r\na,\"b\nc\"\rd,e\n\nf,g\r\n";
    for (std::size_t piece : {1u, 2u, 3u, 5u, 64u}) {
        const std::vector<CsvRow> rows = Read(text, piece);
        ASSERT_EQ(rows.size(), 4u) << piece;
        EXPECT_EQ(rows[0].Line, 1) << piece;
        EXPECT_EQ(rows[1].Line, 2) << piece;
        EXPECT_EQ(rows[1].Fields, (std::vector<std::string>{"a", "b\nc"})) << piece;
        EXPECT_EQ(rows[2].Line, 4) << piece;
        EXPECT_EQ(rows[3].Line, 6) << piece;
        EXPECT_EQ(rows[3].Fields, (std::vector<std::string>{"f", "g"})) << piece;
    }
}
