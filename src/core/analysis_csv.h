#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/batch.h"
#include "core/pipeline.h"

namespace velmora::core {

// One analysis as one CSV row, for research runs that want numbers rather
// than the JSON's texts (docs/csv.md lists the columns). Every value is the
// one the JSON output holds for the same birth: longitudes with the same
// digits (the shortest text that reads back as the same double), signs,
// navamsa signs and nakshatras as numbers, marks as 0 or 1.

// Every column's name, in the default order.
const std::vector<std::string>& AnalysisCsvColumnNames();

class AnalysisCsvWriter {
public:
    // Every column.
    AnalysisCsvWriter();
    // The columns named in `list` ("sun_lon,moon_sign"), in that order;
    // blanks around a name are ignored. An unknown name (or an empty list)
    // comes back as the message.
    static std::variant<AnalysisCsvWriter, std::string> Choose(std::string_view list);

    // The header row, with its line break.
    std::string Header() const;
    // One birth's row, with its line break.
    void AppendRow(std::string& out, const BirthAnalysis& analysis) const;

    // The caller's options (engine, dasha year, karaka scheme) asking only
    // for what these columns print: no texts, antar dashas, Jaimini tools,
    // Parashari tables beyond the nakshatras or comparisons, and no toolkit
    // when no column reads it. An analysis run with them gives every column
    // the value a whole analysis gives.
    AnalysisOptions OptionsFor(const AnalysisOptions& options) const;

    // The batch's output in this shape: the header first, one row per
    // analysed birth, and "line N: message" to the errors for a refused row.
    BatchRowFormat BatchFormat() const;

private:
    explicit AnalysisCsvWriter(std::vector<std::size_t> columns);
    std::vector<std::size_t> columns_;  // indexes into the column table
    bool toolkit_ = false;              // some column reads the padas, navamsa, nakshatras or dasha
    std::size_t freeTexts_ = 0;         // columns of the name and the place, which may need quoting
};

// A CSV field: as is, or quoted (RFC 4180, by libcsv) when it holds a
// comma, a quote or a line break.
void AppendCsvField(std::string& out, std::string_view text);

}  // namespace velmora::core
