#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::core {

// One row of the CSV: its fields and the line of the file it starts on
// (the header is line 1).
struct CsvRow {
    long Line = 0;
    std::vector<std::string> Fields;
    // Why the row was refused as it was read (no fields then): a quote that
    // opens or closes a field wrongly, a quote never closed, a row longer
    // than kMaxRowBytes, a field that is not UTF-8.
    std::string Refusal;
};

// The longest row read, in bytes; a longer one is refused.
inline constexpr std::size_t kMaxRowBytes = 64 * 1024;

// RFC 4180 CSV read with libcsv, fed in pieces of any size: quoted fields
// may hold commas, quotes ("") and line breaks; CR LF, LF and a lone CR end
// a row; a UTF-8 byte order mark at the very start is skipped; blank lines
// are skipped.
//
// No row is lost to a bad one: a quote that opens or closes a field wrongly
// (libcsv's strict mode), a row longer than kMaxRowBytes and, at the end, a
// quote never closed each give one refused row at the line the row began,
// and reading goes on at the next line: the rest of a one-line row is
// passed over, a row that ran over several lines is read again from its
// second line. A row with a field that is not UTF-8 is refused whole.
class CsvRowReader {
public:
    CsvRowReader();
    ~CsvRowReader();
    CsvRowReader(const CsvRowReader&) = delete;
    CsvRowReader& operator=(const CsvRowReader&) = delete;

    // Parses the bytes and appends every row they complete to rows.
    void Feed(std::string_view bytes, std::vector<CsvRow>& rows);
    // The end of the input: appends the last row when it lacks a line break.
    // False when the input ended inside a quoted field (that row is refused,
    // the lines after its first read again).
    bool Finish(std::vector<CsvRow>& rows);

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace velmora::core
