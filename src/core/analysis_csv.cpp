#include "core/analysis_csv.h"

#include <csv.h>
#include <rapidjson/internal/dtoa.h>
#include <rapidjson/internal/itoa.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>

#include "astro/time_conversion.h"
#include "core/place_zone.h"
#include "core/text_formats.h"
#include "core/zones.h"

namespace velmora::core {

namespace {

// What a column holds; the body columns carry their body, the pada columns
// their house.
enum class Field {
    Name,
    Date,
    Time,
    ZoneRow,
    Dst,
    UtcOffset,
    Latitude,
    Longitude,
    City,
    State,
    Country,
    Ephemeris,
    Ayanamsa,
    Node,
    UniversalTime,
    UtMoment,
    OffsetMinutes,
    BodyLongitude,
    BodySign,
    BodyNavamsa,
    BodyNakshatra,
    BodyRetrograde,
    ArudhaLagna,
    Pada,
    MoonNakshatra,
    MoonNakshatraName,
    MahaDasha,
    MahaDashaEnd,
    DashaBalanceYears,
};

struct Column {
    std::string Name;
    Field What;
    std::size_t Index = 0;  // the body, or the pada's house - 1
};

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return lower;
}

std::vector<Column> MakeColumns() {
    std::vector<Column> columns = {
        {"name", Field::Name},
        {"date", Field::Date},
        {"time", Field::Time},
        {"zone", Field::ZoneRow},
        {"dst", Field::Dst},
        {"utc_offset", Field::UtcOffset},
        {"lat", Field::Latitude},
        {"lon", Field::Longitude},
        {"city", Field::City},
        {"state", Field::State},
        {"country", Field::Country},
        {"ephemeris", Field::Ephemeris},
        {"ayanamsa", Field::Ayanamsa},
        {"node", Field::Node},
        {"universal_time", Field::UniversalTime},
        {"ut_moment", Field::UtMoment},
        {"offset_minutes", Field::OffsetMinutes},
    };
    for (std::size_t body = 0; body < kBodyCount; ++body) {
        const std::string prefix = Lower(kBodyNames[body]) + "_";
        columns.push_back({prefix + "lon", Field::BodyLongitude, body});
        columns.push_back({prefix + "sign", Field::BodySign, body});
        columns.push_back({prefix + "navamsa", Field::BodyNavamsa, body});
        columns.push_back({prefix + "nakshatra", Field::BodyNakshatra, body});
        columns.push_back({prefix + "retro", Field::BodyRetrograde, body});
    }
    columns.push_back({"arudha_lagna", Field::ArudhaLagna});
    for (std::size_t house = 0; house < 12; ++house)
        columns.push_back({"pada_a" + std::to_string(house + 1), Field::Pada, house});
    columns.push_back({"moon_nakshatra", Field::MoonNakshatra});
    columns.push_back({"moon_nakshatra_name", Field::MoonNakshatraName});
    columns.push_back({"maha_dasha", Field::MahaDasha});
    columns.push_back({"maha_dasha_end", Field::MahaDashaEnd});
    columns.push_back({"dasha_balance_years", Field::DashaBalanceYears});
    return columns;
}

const std::vector<Column>& Columns() {
    static const std::vector<Column> columns = MakeColumns();
    return columns;
}

void AppendInt(std::string& out, int value) {
    char text[16];
    out.append(text, rapidjson::internal::i32toa(value, text));
}

// The JSON's own digits: rapidjson's shortest text that reads back as the
// same double.
void AppendDouble(std::string& out, double value) {
    char text[32];
    out.append(text, rapidjson::internal::dtoa(value, text));
}

void AppendBool(std::string& out, bool value) { out.push_back(value ? '1' : '0'); }

// The universal moment of the birth, to the second: "1980-01-05T03:35:00Z".
void AppendUtMoment(std::string& out, const BirthMoment& moment) {
    using namespace std::chrono;
    const sys_seconds at = round<seconds>(astro::UtMomentOf(moment));
    const sys_days day = floor<days>(at);
    const hh_mm_ss<seconds> time(at - day);
    out += DateText(year_month_day(day));
    char text[16];
    std::snprintf(text, sizeof text, "T%02d:%02d:%02dZ", static_cast<int>(time.hours().count()),
                  static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count()));
    out += text;
}

void AppendValue(std::string& out, const Column& column, const BirthAnalysis& a) {
    const Birth& b = a.Birth;
    switch (column.What) {
        case Field::Name:
            AppendCsvField(out, b.Name);
            return;
        case Field::Date:
            out += DateText(b.Clock);
            return;
        case Field::Time:
            out += ClockTimeText(b.Clock);
            return;
        case Field::ZoneRow:
            if (!b.ExactUtcOffsetMinutes) AppendInt(out, b.ZoneRow);
            return;
        case Field::Dst:
            AppendBool(out, b.DaylightSaving);
            return;
        case Field::UtcOffset:
            if (b.ExactUtcOffsetMinutes) out += OffsetText(*b.ExactUtcOffsetMinutes);
            return;
        case Field::Latitude:
            out += LatitudeText(b.Latitude);
            return;
        case Field::Longitude:
            out += LongitudeText(b.Longitude);
            return;
        case Field::City:
            AppendCsvField(out, b.City);
            return;
        case Field::State:
            AppendCsvField(out, b.State);
            return;
        case Field::Country:
            AppendCsvField(out, b.Country);
            return;
        case Field::Ephemeris:
            out += EphemerisModeKey(b.Settings.Mode);
            return;
        case Field::Ayanamsa:
            out += AyanamsaKeyOf(b.Settings);
            return;
        case Field::Node:
            out += NodeKeyOf(b.Settings);
            return;
        case Field::UniversalTime:
            AppendDouble(out, a.Positions.UniversalTime);
            return;
        case Field::UtMoment:
            AppendUtMoment(out, b.Moment);
            return;
        case Field::OffsetMinutes:
            AppendInt(out, b.Moment.UtcOffsetSeconds / 60);
            return;
        case Field::BodyLongitude:
            AppendDouble(out, a.Positions.Longitudes[column.Index]);
            return;
        case Field::BodySign:
            AppendInt(out, a.Chart.BodySign[column.Index]);
            return;
        case Field::BodyNavamsa:
            AppendInt(out, a.Navamsa[column.Index]);
            return;
        case Field::BodyNakshatra:
            AppendInt(out, a.Nakshatras[column.Index].Nakshatra);
            return;
        case Field::BodyRetrograde:
            AppendBool(out, a.Positions.Retrograde[column.Index]);
            return;
        case Field::ArudhaLagna:
            AppendInt(out, a.Chart.ArudhaLagnaSign);
            return;
        case Field::Pada:
            AppendInt(out, a.Padas[column.Index].PadaSign);
            return;
        case Field::MoonNakshatra:
            AppendInt(out, a.Dasha.Nakshatra);
            return;
        case Field::MoonNakshatraName:
            out += a.Dasha.NakshatraName;
            return;
        case Field::MahaDasha:
            if (!a.Dasha.Periods.empty()) out += a.Dasha.Periods.front().LordName;
            return;
        case Field::MahaDashaEnd:
            if (!a.Dasha.Periods.empty()) out += DateText(a.Dasha.Periods.front().EndDate);
            return;
        case Field::DashaBalanceYears:
            AppendDouble(out, a.Dasha.BalanceYears);
            return;
    }
}

// Whether a column's value comes from the toolkit rather than the chart.
bool ReadsToolkit(Field what) {
    switch (what) {
        case Field::BodyNavamsa:
        case Field::BodyNakshatra:
        case Field::Pada:
        case Field::MoonNakshatra:
        case Field::MoonNakshatraName:
        case Field::MahaDasha:
        case Field::MahaDashaEnd:
        case Field::DashaBalanceYears:
            return true;
        default:
            return false;
    }
}

std::vector<std::size_t> AllColumns() {
    std::vector<std::size_t> all(Columns().size());
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
    return all;
}

}  // namespace

void AppendCsvField(std::string& out, std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += text;
        return;
    }
    const std::size_t size = csv_write(nullptr, 0, text.data(), text.size());
    const std::size_t at = out.size();
    out.resize(at + size);
    csv_write(out.data() + at, size, text.data(), text.size());
}

const std::vector<std::string>& AnalysisCsvColumnNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all;
        for (const Column& column : Columns()) all.push_back(column.Name);
        return all;
    }();
    return names;
}

AnalysisCsvWriter::AnalysisCsvWriter() : AnalysisCsvWriter(AllColumns()) {}

AnalysisCsvWriter::AnalysisCsvWriter(std::vector<std::size_t> columns) : columns_(std::move(columns)) {
    toolkit_ = std::any_of(columns_.begin(), columns_.end(),
                           [](std::size_t column) { return ReadsToolkit(Columns()[column].What); });
}

AnalysisOptions AnalysisCsvWriter::OptionsFor(const AnalysisOptions& options) const {
    AnalysisOptions needed = options;
    needed.CompareWithFormulas = false;
    needed.Toolkit = toolkit_;
    needed.ScanBirthTime = false;
    needed.TransitsAt.reset();
    needed.CheckAgainstPrecise = false;
    needed.SunEvents = false;
    needed.DashasAt.reset();
    needed.JaiminiTools = false;
    needed.Derivations = false;
    needed.Texts = false;
    needed.AntarDashas = false;
    needed.ParashariTables = false;
    return needed;
}

std::variant<AnalysisCsvWriter, std::string> AnalysisCsvWriter::Choose(std::string_view list) {
    std::vector<std::size_t> chosen;
    const std::vector<std::string>& names = AnalysisCsvColumnNames();
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        std::string_view name = list.substr(start, comma - start);
        while (!name.empty() && (name.front() == ' ' || name.front() == '\t')) name.remove_prefix(1);
        while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
        const auto found = std::find(names.begin(), names.end(), Lower(name));
        if (found == names.end())
            return name.empty() ? std::string("an empty column name")
                                : "no column is named \"" + std::string(name) + "\"";
        chosen.push_back(static_cast<std::size_t>(found - names.begin()));
        start = comma + 1;
    }
    return AnalysisCsvWriter(std::move(chosen));
}

std::string AnalysisCsvWriter::Header() const {
    std::string header;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (i > 0) header.push_back(',');
        header += Columns()[columns_[i]].Name;
    }
    header.push_back('\n');
    return header;
}

void AnalysisCsvWriter::AppendRow(std::string& out, const BirthAnalysis& analysis) const {
    const std::vector<Column>& table = Columns();
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (i > 0) out.push_back(',');
        AppendValue(out, table[columns_[i]], analysis);
    }
    out.push_back('\n');
}

BatchRowFormat AnalysisCsvWriter::BatchFormat() const {
    BatchRowFormat format;
    format.Header = Header();
    format.AppendRow = [writer = *this](std::string& out, std::string& errors, const CsvRow& row,
                                        const std::variant<FormInput, std::string>& form,
                                        const AnalysisOptions& options) {
        auto refuse = [&](std::string_view message) {
            errors += "line ";
            errors += std::to_string(row.Line);
            errors += ": ";
            errors += message;
            errors.push_back('\n');
            return false;
        };
        if (const auto* message = std::get_if<std::string>(&form)) return refuse(*message);
        const AnalysisOutcome outcome = RunAnalysis(std::get<FormInput>(form), writer.OptionsFor(options));
        if (outcome.Rejected) return refuse(outcome.Rejected->Text);
        writer.AppendRow(out, outcome.Result);
        return true;
    };
    return format;
}

}  // namespace velmora::core
