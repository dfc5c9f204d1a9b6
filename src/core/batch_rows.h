#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "core/csv_rows.h"
#include "core/form_input.h"

namespace velmora::core {

// The rows of a batch: a header row naming the columns, then one birth a
// row (the columns are listed in docs/csv.md).

// Which field of a row holds what, from the header row. Names are compared
// without letter case and surrounding blanks; unknown columns are ignored.
struct BatchColumns {
    static constexpr int kAbsent = -1;
    int Name = kAbsent, Date = kAbsent, Time = kAbsent, Zone = kAbsent, Dst = kAbsent, Lat = kAbsent, Lon = kAbsent,
        City = kAbsent, State = kAbsent, Country = kAbsent, Place = kAbsent, UtcOffset = kAbsent;
};

// The columns a header row names, as messages suggest them.
inline constexpr std::string_view kBatchColumnsHint = "name,date,time,zone,dst,lat,lon,city,state,country";

// The columns of a header row, or why it cannot be one (name, date and time
// must be there; a missing other column reads as empty).
std::variant<BatchColumns, std::string> ColumnsOfHeader(const CsvRow& header);

// The form a row describes, or the message that refuses it. A `place`
// fills the coordinates, the city, state and country and the zone from the
// atlas, as choosing it in the input window does. The window's checks are
// left to the analysis.
std::variant<FormInput, std::string> FormOfRow(const CsvRow& row, const BatchColumns& columns);

}  // namespace velmora::core
