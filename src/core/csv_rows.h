#pragma once

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
};

// RFC 4180 CSV read with libcsv, fed in pieces of any size: quoted fields
// may hold commas, quotes ("") and line breaks; CR LF and LF both end a
// row; a UTF-8 byte order mark at the very start is skipped; blank lines
// are skipped.
class CsvRowReader {
public:
    CsvRowReader();
    ~CsvRowReader();
    CsvRowReader(const CsvRowReader&) = delete;
    CsvRowReader& operator=(const CsvRowReader&) = delete;

    // Parses the bytes and appends every row they complete to rows.
    void Feed(std::string_view bytes, std::vector<CsvRow>& rows);
    // The end of the input: appends the last row when it lacks a line break.
    // False when the input ends inside a quoted field (that row is dropped).
    bool Finish(std::vector<CsvRow>& rows);

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace velmora::core
