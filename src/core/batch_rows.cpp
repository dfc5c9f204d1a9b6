#include "core/batch_rows.h"

#include <cctype>
#include <optional>

#include "core/atlas.h"
#include "core/input_filters.h"
#include "core/place_zone.h"
#include "core/text_formats.h"
#include "core/text_numbers.h"
#include "core/zones.h"

namespace velmora::core {

namespace {

std::string Folded(std::string_view text) {
    text = text.substr(0, text.find_last_not_of(" \t") + 1);
    text.remove_prefix(std::min(text.size(), text.find_first_not_of(" \t")));
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string_view Field(const CsvRow& row, int column) {
    if (column < 0 || static_cast<std::size_t>(column) >= row.Fields.size()) return {};
    return row.Fields[static_cast<std::size_t>(column)];
}

std::optional<bool> DstValue(std::string_view text) {
    const std::string folded = Folded(text);
    if (folded.empty() || folded == "0" || folded == "false" || folded == "no") return false;
    if (folded == "1" || folded == "true" || folded == "yes") return true;
    return std::nullopt;
}

}  // namespace

std::variant<BatchColumns, std::string> ColumnsOfHeader(const CsvRow& header) {
    if (!header.Refusal.empty()) return "the header row (line " + std::to_string(header.Line) + "): " + header.Refusal;
    BatchColumns c;
    const std::pair<std::string_view, int*> names[] = {
        {"name", &c.Name},   {"date", &c.Date},       {"time", &c.Time},   {"zone", &c.Zone},
        {"dst", &c.Dst},     {"lat", &c.Lat},         {"lon", &c.Lon},     {"city", &c.City},
        {"state", &c.State}, {"country", &c.Country}, {"place", &c.Place}, {"utc_offset", &c.UtcOffset}};
    for (std::size_t i = 0; i < header.Fields.size(); ++i) {
        const std::string name = Folded(header.Fields[i]);
        for (const auto& [known, column] : names) {
            if (name == known && *column == BatchColumns::kAbsent) *column = static_cast<int>(i);
        }
    }
    for (const auto& [known, column] : {std::pair{"name", c.Name}, {"date", c.Date}, {"time", c.Time}}) {
        if (column == BatchColumns::kAbsent)
            return "the header row has no \"" + std::string(known) +
                   "\" column (the first line must name the columns: " + std::string(kBatchColumnsHint) + ")";
    }
    return c;
}

std::variant<FormInput, std::string> FormOfRow(const CsvRow& row, const BatchColumns& columns) {
    if (!row.Refusal.empty()) return row.Refusal;
    FormInput form;
    const std::optional<std::string> name = FilterNameText(Field(row, columns.Name));
    if (!name) return std::string(kOnlyLettersMessage);
    form.Name = *name;
    if (auto failed = SetDateText(form, Field(row, columns.Date))) return "date: " + *failed;
    if (auto failed = SetTimeText(form, Field(row, columns.Time))) return "time: " + *failed;

    const std::string_view place = Field(row, columns.Place);
    if (!place.empty()) {
        const std::optional<Place> found = Atlas::Instance().Find(place);
        if (!found) return "place: the atlas holds no place " + Quoted(place);
        const PlaceZoneOutcome outcome = ApplyPlace(form, *found);
        if (outcome.Refusal) return outcome.Refusal->Text;
        return form;
    }

    const std::string_view zone = Field(row, columns.Zone);
    if (!zone.empty()) {
        int value = 0;
        bool digits = zone.size() <= 4;
        for (char c : zone) {
            digits = digits && c >= '0' && c <= '9';
            value = value * 10 + (c - '0');
        }
        if (!digits)
            return "zone: a row of the zone list, 0 to " + std::to_string(kZoneCount - 1) + ", not " + Quoted(zone);
        form.ZoneRow = value;
    }
    const std::optional<bool> dst = DstValue(Field(row, columns.Dst));
    if (!dst) return "dst: 1, 0, true, false, yes, no or empty, not " + Quoted(Field(row, columns.Dst));
    form.DaylightSaving = *dst;
    const std::string_view offset = Field(row, columns.UtcOffset);
    if (!offset.empty()) {
        const std::optional<int> minutes = ParseUtcOffset(offset);
        if (!minutes) return "utc_offset: like +05:45, within 18 hours, not " + Quoted(offset);
        form.ExactUtcOffsetMinutes = minutes;
        form.DaylightSaving = false;
    }
    // Empty coordinates stay empty: the window's checks name them.
    if (const std::string_view lat = Field(row, columns.Lat); !lat.empty()) {
        if (auto failed = SetLatitudeText(form, lat)) return "lat: " + *failed;
    }
    if (const std::string_view lon = Field(row, columns.Lon); !lon.empty()) {
        if (auto failed = SetLongitudeText(form, lon)) return "lon: " + *failed;
    }
    form.City = Field(row, columns.City);
    form.State = Field(row, columns.State);
    form.Country = Field(row, columns.Country);
    return form;
}

}  // namespace velmora::core
