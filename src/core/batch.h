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

#include "core/batch_rows.h"
#include "core/csv_rows.h"
#include "core/form_input.h"
#include "core/analysis_json.h"
#include "core/pipeline.h"

namespace velmora::core {

// Many births at once: CSV in (a header row, then one birth a row), one
// compact JSON object a line out, in the order of the rows
// (docs/batch.md).

// `{"line": N, "error": "..."}`.
void AppendBatchError(std::string& out, long line, std::string_view message);

// One line of output for a prepared row: the analysis's compact JSON, or the
// error object; with the line break. True when the row was analysed.
bool AppendBatchLine(std::string& out, const CsvRow& row, const std::variant<FormInput, std::string>& form,
                     const AnalysisOptions& options);
// The same line written into a run of JSON lines.
bool AppendBatchLine(CompactJsonLines& out, const CsvRow& row, const std::variant<FormInput, std::string>& form,
                     const AnalysisOptions& options);

// Another shape of output than the JSON lines (AnalysisCsvWriter::BatchFormat).
struct BatchRowFormat {
    std::string Header;  // written once, when the input's header row has been read
    // Appends one row's output, or its refusal to `errors`; true when analysed.
    // Called on the batch's threads at once: it must not change shared state.
    std::function<bool(std::string& out, std::string& errors, const CsvRow& row,
                       const std::variant<FormInput, std::string>& form, const AnalysisOptions& options)>
        AppendRow;
};

struct BatchProgress {
    std::uint64_t Rows = 0;       // rows written so far
    std::uint64_t BytesRead = 0;  // of the input
};

struct BatchSummary {
    std::uint64_t Rows = 0;
    std::uint64_t Analysed = 0;
    std::uint64_t Refused = 0;
    std::string Failure;  // a header or CSV fault that stopped the batch
    // Write refused a chunk: the batch stopped there, and rows after the
    // last one written are neither counted nor written.
    bool WriteFailed = false;
};

// Runs a whole batch: `read` fills its buffer and returns the bytes it put
// there (0 at the end), `write` takes finished output in row order and
// returns false when it could not be written (the batch stops at once), and
// `progress` hears about rows written from time to time. With jobs > 1 the
// analyses run on that many threads; the atlas is consulted only on the
// calling thread.
//
// Memory stays bounded whatever the input's size and the number of jobs: at
// most kBatchRowsInFlight rows are read ahead of the output, in chunks of
// 256 rows or, with many jobs, fewer (two chunks a job, at least 8 rows).
inline constexpr std::size_t kBatchRowsInFlight = 2048;
struct BatchIo {
    std::function<std::size_t(char* buffer, std::size_t size)> Read;
    std::function<bool(std::string_view)> Write;
    std::function<void(const BatchProgress&)> Progress;
    // Rows in another shape than JSON lines (analysis_csv.h); null for the
    // JSON lines. Its refusals go to WriteErrors, in row order.
    const BatchRowFormat* Format = nullptr;
    std::function<void(std::string_view)> WriteErrors;
};
BatchSummary RunBatch(const BatchIo& io, const AnalysisOptions& options, int jobs);

}  // namespace velmora::core
