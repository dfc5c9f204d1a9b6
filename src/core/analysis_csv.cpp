#include "core/analysis_csv.h"

#include <csv.h>
#include <rapidjson/internal/dtoa.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cstring>
#include <stdexcept>

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

// A row is written at a pointer into room made for it once: kValueRoom for
// each value, twice its length and two quotes for a free text.
constexpr std::size_t kValueRoom = 48;  // the longest number is a double's 24 characters

bool IsFreeText(Field what) {
    return what == Field::Name || what == Field::City || what == Field::State || what == Field::Country;
}

char* Put(char* at, std::string_view text) {
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
}

// A name or key from the program's tables, which fit a value's room.
char* PutKey(char* at, std::string_view text) {
    if (text.size() > kValueRoom) throw std::length_error("a CSV value longer than its room");
    return Put(at, text);
}

char* PutInt(char* at, int value) { return std::to_chars(at, at + kValueRoom, value).ptr; }

// The JSON's own digits: rapidjson's shortest text that reads back as the
// same double.
char* PutDouble(char* at, double value) { return rapidjson::internal::dtoa(value, at); }

char* PutMark(char* at, bool value) {
    *at = value ? '1' : '0';
    return at + 1;
}

template <class Number>
char* PutTwoDigits(char* at, Number value) {
    at[0] = static_cast<char>('0' + value / 10);
    at[1] = static_cast<char>('0' + value % 10);
    return at + 2;
}

// As is, or quoted (RFC 4180, by libcsv) when it holds a comma, a quote or
// a line break; at most 2 * size + 2 characters.
char* PutCsvField(char* at, std::string_view text) {
    for (const char c : text) {
        if (c == ',' || c == '"' || c == '\r' || c == '\n')
            return at + csv_write(at, 2 * text.size() + 2, text.data(), text.size());
    }
    return Put(at, text);
}

// The universal moment of the birth, to the second: "1980-01-05T03:35:00Z".
char* PutUtMoment(char* at, const BirthMoment& moment) {
    using namespace std::chrono;
    const sys_seconds instant = round<seconds>(astro::UtMomentOf(moment));
    const sys_days day = floor<days>(instant);
    const hh_mm_ss<seconds> time(instant - day);
    at = Put(at, DateText(year_month_day(day)));
    *at++ = 'T';
    at = PutTwoDigits(at, time.hours().count());
    *at++ = ':';
    at = PutTwoDigits(at, time.minutes().count());
    *at++ = ':';
    at = PutTwoDigits(at, time.seconds().count());
    *at++ = 'Z';
    return at;
}

char* PutValue(char* at, const Column& column, const BirthAnalysis& a) {
    const Birth& b = a.Birth;
    switch (column.What) {
        case Field::Name:
            return PutCsvField(at, b.Name);
        case Field::Date:
            return Put(at, DateText(b.Clock));
        case Field::Time:
            return Put(at, ClockTimeText(b.Clock));
        case Field::ZoneRow:
            return b.ExactUtcOffsetMinutes ? at : PutInt(at, b.ZoneRow);
        case Field::Dst:
            return PutMark(at, b.DaylightSaving);
        case Field::UtcOffset:
            return b.ExactUtcOffsetMinutes ? Put(at, OffsetText(*b.ExactUtcOffsetMinutes)) : at;
        case Field::Latitude:
            return Put(at, LatitudeText(b.Latitude));
        case Field::Longitude:
            return Put(at, LongitudeText(b.Longitude));
        case Field::City:
            return PutCsvField(at, b.City);
        case Field::State:
            return PutCsvField(at, b.State);
        case Field::Country:
            return PutCsvField(at, b.Country);
        case Field::Ephemeris:
            return PutKey(at, EphemerisModeKey(b.Settings.Mode));
        case Field::Ayanamsa:
            return PutKey(at, AyanamsaKeyOf(b.Settings));
        case Field::Node:
            return PutKey(at, NodeKeyOf(b.Settings));
        case Field::UniversalTime:
            return PutDouble(at, a.Positions.UniversalTime);
        case Field::UtMoment:
            return PutUtMoment(at, b.Moment);
        case Field::OffsetMinutes:
            return PutInt(at, b.Moment.UtcOffsetSeconds / 60);
        case Field::BodyLongitude:
            return PutDouble(at, a.Positions.Longitudes[column.Index]);
        case Field::BodySign:
            return PutInt(at, a.Chart.BodySign[column.Index]);
        case Field::BodyNavamsa:
            return PutInt(at, a.Navamsa[column.Index]);
        case Field::BodyNakshatra:
            return PutInt(at, a.Nakshatras[column.Index].Nakshatra);
        case Field::BodyRetrograde:
            return PutMark(at, a.Positions.Retrograde[column.Index]);
        case Field::ArudhaLagna:
            return PutInt(at, a.Chart.ArudhaLagnaSign);
        case Field::Pada:
            return PutInt(at, a.Padas[column.Index].PadaSign);
        case Field::MoonNakshatra:
            return PutInt(at, a.Dasha.Nakshatra);
        case Field::MoonNakshatraName:
            return PutKey(at, a.Dasha.NakshatraName);
        case Field::MahaDasha:
            return a.Dasha.Periods.empty() ? at : PutKey(at, a.Dasha.Periods.front().LordName);
        case Field::MahaDashaEnd:
            return a.Dasha.Periods.empty() ? at : Put(at, DateText(a.Dasha.Periods.front().EndDate));
        case Field::DashaBalanceYears:
            return PutDouble(at, a.Dasha.BalanceYears);
    }
    return at;
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
    const std::size_t at = out.size();
    out.resize(at + 2 * text.size() + 2);
    out.resize(static_cast<std::size_t>(PutCsvField(out.data() + at, text) - out.data()));
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
    freeTexts_ = static_cast<std::size_t>(std::count_if(
        columns_.begin(), columns_.end(), [](std::size_t column) { return IsFreeText(Columns()[column].What); }));
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
    const Birth& b = analysis.Birth;
    const std::size_t longestText = std::max({b.Name.size(), b.City.size(), b.State.size(), b.Country.size()});
    // A comma or the line break after each value.
    const std::size_t room = columns_.size() * (kValueRoom + 1) + freeTexts_ * (2 * longestText + 2) + 1;
    // A row goes into a buffer on the stack, not cleared first, and from
    // there into the output at once; a row of very long names and places
    // straight into the output made larger.
    std::array<char, 8192> buffer;
    const bool onStack = room <= buffer.size();
    const std::size_t start = out.size();
    if (!onStack) out.resize(start + room);
    char* const first = onStack ? buffer.data() : out.data() + start;
    char* at = first;
    const std::vector<Column>& table = Columns();
    for (const std::size_t column : columns_) {
        at = PutValue(at, table[column], analysis);
        *at++ = ',';
    }
    if (columns_.empty()) ++at;
    at[-1] = '\n';
    const auto written = static_cast<std::size_t>(at - first);
    if (onStack) {
        out.append(first, written);
    } else {
        out.resize(start + written);
    }
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
