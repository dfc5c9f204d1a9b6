// The batch's CSV reader on arbitrary bytes, fed in pieces of every size:
// it never crashes, numbers rows by their first line, and gives the same
// rows however the input is cut.

#include <vector>

#include "core/batch.h"
#include "fuzz_support.h"

using namespace velmora;
using namespace velmora::core;

namespace {

std::vector<CsvRow> ReadInPieces(std::string_view text, std::size_t piece, bool& complete) {
    CsvRowReader reader;
    std::vector<CsvRow> rows;
    for (std::size_t at = 0; at < text.size(); at += piece) reader.Feed(text.substr(at, piece), rows);
    complete = reader.Finish(rows);
    return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::TextOf(data, size);
    bool wholeComplete = false;
    const std::vector<CsvRow> whole = ReadInPieces(text, text.empty() ? 1 : text.size(), wholeComplete);
    long previous = 0;
    for (const CsvRow& row : whole) {
        VELMORA_FUZZ_CHECK(row.Line > previous);
        previous = row.Line;
    }
    const std::size_t piece = size == 0 ? 1 : 1 + data[0] % 7;
    bool piecesComplete = false;
    const std::vector<CsvRow> pieces = ReadInPieces(text, piece, piecesComplete);
    VELMORA_FUZZ_CHECK(piecesComplete == wholeComplete);
    VELMORA_FUZZ_CHECK(pieces.size() == whole.size());
    for (std::size_t i = 0; i < whole.size() && i < pieces.size(); ++i) {
        VELMORA_FUZZ_CHECK(pieces[i].Line == whole[i].Line);
        VELMORA_FUZZ_CHECK(pieces[i].Fields == whole[i].Fields);
    }
    return 0;
}
