#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/form_input.h"
#include "core/json_report.h"
#include "core/pipeline.h"

namespace velmora {

// Many births at once: CSV in (a header row, then one birth a row), one
// compact JSON object a line out, in the order of the rows
// (docs/batch.md).

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

// Which field of a row holds what, from the header row. Names are compared
// without letter case and surrounding blanks; unknown columns are ignored.
struct BatchColumns {
    static constexpr int kAbsent = -1;
    int Name = kAbsent, Date = kAbsent, Time = kAbsent, Zone = kAbsent, Dst = kAbsent, Lat = kAbsent, Lon = kAbsent,
        City = kAbsent, State = kAbsent, Country = kAbsent, Place = kAbsent, UtcOffset = kAbsent;
};

// The columns of a header row, or why it cannot be one (name, date and time
// must be there; a missing other column reads as empty).
std::variant<BatchColumns, std::string> ColumnsOfHeader(const CsvRow& header);

// The form a row describes, or the message that refuses it. A `place`
// fills the coordinates, the city, state and country and the zone from the
// atlas, as choosing it in the input window does. The window's checks are
// left to the analysis.
std::variant<FormInput, std::string> FormOfRow(const CsvRow& row, const BatchColumns& columns);

// `{"line": N, "error": "..."}`.
void AppendBatchError(std::string& out, long line, std::string_view message);

// One line of output for a prepared row: the analysis's compact JSON, or the
// error object; with the line break. True when the row was analysed.
bool AppendBatchLine(std::string& out, const CsvRow& row, const std::variant<FormInput, std::string>& form,
                     const AnalysisOptions& options);
// The same line written into a run of JSON lines.
bool AppendBatchLine(CompactJsonLines& out, const CsvRow& row, const std::variant<FormInput, std::string>& form,
                     const AnalysisOptions& options);

struct BatchProgress {
    std::uint64_t Rows = 0;       // rows written so far
    std::uint64_t BytesRead = 0;  // of the input
};

struct BatchSummary {
    std::uint64_t Rows = 0;
    std::uint64_t Analysed = 0;
    std::uint64_t Refused = 0;
    std::string Failure;  // a header or CSV fault that stopped the batch
};

// Runs a whole batch: `read` fills its buffer and returns the bytes it put
// there (0 at the end), `write` takes finished output in row order, and
// `progress` hears about rows written from time to time. With jobs > 1 the
// analyses run on that many threads; the atlas is consulted only on the
// calling thread.
struct BatchIo {
    std::function<std::size_t(char* buffer, std::size_t size)> Read;
    std::function<void(std::string_view)> Write;
    std::function<void(const BatchProgress&)> Progress;
};
BatchSummary RunBatch(const BatchIo& io, const AnalysisOptions& options, int jobs);

}  // namespace velmora
