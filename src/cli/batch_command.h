#pragma once

#include <QString>

#include <string>

#include "core/batch.h"
#include "core/pipeline.h"

namespace velmora::cli {

// --batch: reads CSV from the file (or standard input for "-"), writes one
// JSON line per row to standard output, a progress bar to a terminal's
// standard error and a one-line summary at the end. 0 when every row was
// analysed, 1 otherwise; 73 when the output could not be written (the batch
// stops at that write).
// With a format (analysis_csv.h), its rows instead of JSON lines, and its
// refusals on standard error.
int RunBatchCommand(const QString& path, int jobs, const core::AnalysisOptions& options,
                    const core::BatchRowFormat* format = nullptr);

// The same on CSV text already in memory (the library's births).
int RunBatchOnText(const std::string& csv, int jobs, const core::AnalysisOptions& options,
                   const core::BatchRowFormat* format = nullptr);

}  // namespace velmora::cli
