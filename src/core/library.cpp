#include "core/library.h"

#include <csv.h>
#include <date/date.h>
#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <system_error>
#include <tuple>
#include <utility>

#include "core/atlas.h"
#include "core/batch.h"
#include "core/form_reading.h"
#include "core/library_schema.h"
#include "core/place_zone.h"
#include "core/sqlite_db.h"
#include "core/text_formats.h"
#include "core/text_numbers.h"

namespace velmora::core {

namespace {

constexpr std::string_view kFolder = "velmora-arudha-lagna";
constexpr char kTagSeparator = '\n';
constexpr char kFieldSeparator = '\x1f';  // between the folded fields of the search text

std::optional<std::filesystem::path> AbsoluteFolder(const EnvironmentLookup& environment, std::string_view name) {
    if (!environment) return std::nullopt;
    const std::optional<std::string> value = environment(name);
    if (!value || value->empty()) return std::nullopt;
    std::filesystem::path folder(*value);
    if (!folder.is_absolute()) return std::nullopt;
    return folder;
}

// Runs of blanks and line breaks as one space, so a tag fits on one line.
std::string OneLine(std::string_view text) {
    std::string out;
    for (char c : text) {
        const bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n';
        if (!blank) {
            out.push_back(c);
        } else if (!out.empty() && out.back() != ' ') {
            out.push_back(' ');
        }
    }
    if (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

std::string JoinTags(const std::vector<std::string>& tags, std::string_view separator) {
    std::string out;
    for (const std::string& tag : tags) {
        if (!out.empty()) out += separator;
        out += tag;
    }
    return out;
}

std::vector<std::string> SplitTags(std::string_view text, char separator) {
    std::vector<std::string> tags;
    while (!text.empty()) {
        const std::size_t at = text.find(separator);
        tags.emplace_back(text.substr(0, at));
        if (at == std::string_view::npos) break;
        text.remove_prefix(at + 1);
    }
    return tags;
}

std::string PlaceTextOf(const FormInput& form) {
    std::string out;
    for (const std::string* part : {&form.City, &form.State, &form.Country}) {
        if (part->empty()) continue;
        if (!out.empty()) out += ", ";
        out += *part;
    }
    return out;
}

std::string SearchTextOf(const LibraryRow& row) {
    std::string out = FoldForMatching(row.Name);
    out += kFieldSeparator;
    out += FoldForMatching(row.Place);
    for (const std::string& tag : row.Tags) {
        out += kFieldSeparator;
        out += FoldForMatching(tag);
    }
    out += kFieldSeparator;
    out += FoldForMatching(row.Notes);
    return out;
}

LibraryStatus StatusOf(const SqlError& error) { return LibraryStatusOf(error, "The library could not be changed"); }

LibraryStatus Refused(std::string message) { return {LibraryFault::Refused, std::move(message)}; }

LibraryStatus NoBirth(std::int64_t id) {
    return {LibraryFault::NotFound, "The library holds no birth " + std::to_string(id) + "."};
}

// A birth as it will be stored: its file text and that text read back, so
// what the library hands out is exactly what a birth file would give.
struct StoredBirth {
    std::string Text;
    BirthFileContents Contents;
    Birth Typed;  // the form read once
};

std::variant<StoredBirth, std::string> StoredBirthOf(const BirthFileContents& birth) {
    StoredBirth stored;
    FormReading typed = ReadForm(birth.Form, birth.Ephemeris.value_or(EngineSettings{}));
    if (const Notice* refused = RefusalOf(typed)) return refused->Text;
    stored.Typed = std::get<Birth>(std::move(typed));
    stored.Text = BirthFileText(stored.Typed, birth.Ephemeris);
    BirthFileReading reading = ReadBirthFile(stored.Text);
    if (!reading.Birth) return reading.Error;
    stored.Contents = std::move(*reading.Birth);
    return stored;
}

constexpr const char* kRowColumns = "id, name, date, time, place, tags, notes, created, changed";

LibraryRow RowOf(const SqlStatement& s) {
    LibraryRow row;
    row.Id = s.Int(0);
    row.Name = s.Text(1);
    row.Date = s.Text(2);
    row.Time = s.Text(3);
    row.Place = s.Text(4);
    row.Tags = SplitTags(s.Text(5), kTagSeparator);
    row.Notes = s.Text(6);
    row.Created = s.Text(7);
    row.Changed = s.Text(8);
    return row;
}

// A ready statement of the connection, prepared once.
class Statements {
public:
    SqlStatement& Get(SqlDatabase& db, std::string_view sql, SqlError& error) {
        for (auto& [text, statement] : statements_) {
            if (text == sql) {
                error = {};
                statement.Reset();
                return statement;
            }
        }
        SqlStatement statement = db.Prepare(sql, error);
        statements_.emplace_back(std::string(sql), std::move(statement));
        return statements_.back().second;
    }

private:
    std::vector<std::pair<std::string, SqlStatement>> statements_;
};

}  // namespace

std::optional<std::filesystem::path> DefaultLibraryPath(const EnvironmentLookup& environment) {
    std::optional<std::filesystem::path> data = AbsoluteFolder(environment, "XDG_DATA_HOME");
    if (!data) {
        const std::optional<std::filesystem::path> home = AbsoluteFolder(environment, "HOME");
        if (!home) return std::nullopt;
        data = *home / ".local" / "share";
    }
    return *data / kFolder / kLibraryFileName;
}

EnvironmentLookup ProcessEnvironment() {
    return [](std::string_view name) -> std::optional<std::string> {
        const char* value = std::getenv(std::string(name).c_str());
        if (value == nullptr) return std::nullopt;
        return std::string(value);
    };
}

UtcClock SystemUtcClock() {
    return [] { return std::chrono::system_clock::now(); };
}

std::string UtcMomentText(std::chrono::system_clock::time_point moment) {
    return date::format("%FT%TZ", std::chrono::floor<std::chrono::seconds>(moment));
}

std::vector<std::string> CleanTags(const std::vector<std::string>& tags) {
    std::vector<std::string> clean;
    for (const std::string& tag : tags) {
        std::string text = OneLine(tag);
        if (!text.empty() && std::find(clean.begin(), clean.end(), text) == clean.end()) clean.push_back(text);
    }
    return clean;
}

LibraryStatus LibraryStatusOf(const SqlError& error, std::string_view failure) {
    if (!error) return {};
    if (error.Busy())
        return {LibraryFault::Busy, "The library is busy: another program is changing it. Try again in a moment."};
    return {LibraryFault::Failed, std::string(failure) + ": " + error.Message};
}

std::string ImportRefusalText(const ImportRefusal& refusal) {
    if (refusal.Line <= 0) return refusal.File + ": " + refusal.Message;
    return refusal.File + " line " + std::to_string(refusal.Line) + ": " + refusal.Message;
}

// ------------------------------------------------------------------ listing

LibraryListing::LibraryListing(std::vector<LibraryRow> rows, const std::vector<std::string>& searchTexts,
                               LibraryStamp stamp)
    : rows_(std::move(rows)), stamp_(stamp) {
    std::size_t size = 0;
    for (const std::string& text : searchTexts) size += text.size();
    search_.reserve(size);
    ends_.reserve(searchTexts.size());
    for (const std::string& text : searchTexts) {
        search_ += text;
        ends_.push_back(search_.size());
    }
}

std::vector<std::size_t> LibraryListing::Filter(std::string_view text) const {
    const std::string folded = FoldForMatching(text);
    std::vector<std::string_view> words;
    for (std::string_view rest = folded; !rest.empty();) {
        const std::size_t space = rest.find(' ');
        if (space != 0) words.push_back(rest.substr(0, space));
        if (space == std::string_view::npos) break;
        rest.remove_prefix(space + 1);
    }
    std::vector<std::size_t> matches;
    matches.reserve(words.empty() ? rows_.size() : 64);
    const std::string_view all = search_;
    for (std::size_t i = 0, start = 0; i < ends_.size(); start = ends_[i], ++i) {
        const std::string_view haystack = all.substr(start, ends_[i] - start);
        const bool every = std::all_of(words.begin(), words.end(),
                                       [haystack](std::string_view w) { return haystack.find(w) != haystack.npos; });
        if (every) matches.push_back(i);
    }
    return matches;
}

// ------------------------------------------------------------------ library

struct Library::State {
    std::filesystem::path File;
    SqlDatabase Db;
    UtcClock Clock;
    Statements Cache;
    std::uint64_t OwnChanges = 0;
    std::shared_ptr<const LibraryListing> Listed;

    std::string Now() const { return UtcMomentText(Clock()); }

    SqlStatement& Statement(std::string_view sql, SqlError& error) { return Cache.Get(Db, sql, error); }

    // Commits and counts the change; the status to report.
    LibraryStatus Commit(SqlTransaction& transaction) {
        const SqlError error = transaction.Commit();
        if (!error) ++OwnChanges;
        return StatusOf(error);
    }

    // Inserts one stored birth inside the open transaction.
    SqlError Insert(const StoredBirth& stored, const std::vector<std::string>& tags, std::string_view notes,
                    const std::string& now) {
        SqlError error;
        SqlStatement& s = Statement(
            "INSERT INTO births (birth_file, name, date, time, place, tags, notes, created, changed, search) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
            error);
        if (error) return error;
        LibraryRow row;
        const FormInput& form = stored.Contents.Form;
        row.Name = form.Name;
        row.Date = DateText(stored.Typed.Clock);
        row.Time = ClockTimeText(stored.Typed.Clock);
        row.Place = PlaceTextOf(form);
        row.Tags = CleanTags(tags);
        row.Notes = notes;
        s.Bind(1, stored.Text);
        s.Bind(2, row.Name);
        s.Bind(3, row.Date);
        s.Bind(4, row.Time);
        s.Bind(5, row.Place);
        s.Bind(6, JoinTags(row.Tags, std::string_view(&kTagSeparator, 1)));
        s.Bind(7, row.Notes);
        s.Bind(8, now);
        s.Bind(9, now);
        s.Bind(10, SearchTextOf(row));
        return s.Run();
    }

    // The row of an id, inside a transaction or not; nothing when absent.
    std::optional<LibraryRow> Row(std::int64_t id, SqlError& error) {
        SqlStatement& s = Statement(std::string("SELECT ") + kRowColumns + " FROM births WHERE id = ?", error);
        if (error) return std::nullopt;
        s.Bind(1, id);
        if (!s.Step()) {
            error = s.Error();
            return std::nullopt;
        }
        LibraryRow row = RowOf(s);
        s.Reset();
        return row;
    }

    // Writes the row's tags, notes and search text back, with a new changed moment.
    LibraryStatus WriteAnnotations(std::int64_t id, const std::optional<std::vector<std::string>>& tags,
                                   const std::optional<std::string_view>& notes) {
        SqlTransaction transaction(Db);
        if (transaction.BeginError()) return StatusOf(transaction.BeginError());
        SqlError error;
        std::optional<LibraryRow> row = Row(id, error);
        if (error) return StatusOf(error);
        if (!row) return NoBirth(id);
        if (tags) row->Tags = CleanTags(*tags);
        if (notes) row->Notes = *notes;
        SqlStatement& s =
            Statement("UPDATE births SET tags = ?, notes = ?, search = ?, changed = ? WHERE id = ?", error);
        if (error) return StatusOf(error);
        s.Bind(1, JoinTags(row->Tags, std::string_view(&kTagSeparator, 1)));
        s.Bind(2, row->Notes);
        s.Bind(3, SearchTextOf(*row));
        s.Bind(4, Now());
        s.Bind(5, id);
        if (SqlError failed = s.Run()) return StatusOf(failed);
        return Commit(transaction);
    }
};

Library::Library(std::unique_ptr<State> state) : state_(std::move(state)) {}

Library::~Library() = default;

const std::filesystem::path& Library::File() const { return state_->File; }

SqlDatabase& Library::Database() { return state_->Db; }

Library::Opening Library::Open(const std::filesystem::path& file, const LibraryOptions& options) {
    Opening opening;
    std::variant<SqlDatabase, std::string> opened = OpenLibraryDatabase(file, options.BusyTimeout);
    if (auto* error = std::get_if<std::string>(&opened)) {
        opening.Error = std::move(*error);
        return opening;
    }
    auto state = std::make_unique<State>(State{file,
                                               std::move(std::get<SqlDatabase>(opened)),
                                               options.Clock ? options.Clock : SystemUtcClock(),
                                               {},
                                               0,
                                               nullptr});
    opening.Opened.reset(new Library(std::move(state)));
    return opening;
}

LibraryResult<std::int64_t> Library::Add(const BirthFileContents& birth, const std::vector<std::string>& tags,
                                         std::string_view notes) {
    LibraryResult<std::int64_t> result;
    std::variant<StoredBirth, std::string> stored = StoredBirthOf(birth);
    if (auto* why = std::get_if<std::string>(&stored)) {
        result.Status = Refused(*why);
        return result;
    }
    SqlTransaction transaction(state_->Db);
    if (transaction.BeginError()) {
        result.Status = StatusOf(transaction.BeginError());
        return result;
    }
    if (SqlError error = state_->Insert(std::get<StoredBirth>(stored), tags, notes, state_->Now())) {
        result.Status = StatusOf(error);
        return result;
    }
    const std::int64_t id = state_->Db.LastInsertId();
    result.Status = state_->Commit(transaction);
    if (result.Ok()) result.Value = id;
    return result;
}

LibraryStatus Library::Update(std::int64_t id, const BirthFileContents& birth) {
    std::variant<StoredBirth, std::string> prepared = StoredBirthOf(birth);
    if (auto* why = std::get_if<std::string>(&prepared)) return Refused(*why);
    const StoredBirth& stored = std::get<StoredBirth>(prepared);
    SqlTransaction transaction(state_->Db);
    if (transaction.BeginError()) return StatusOf(transaction.BeginError());
    SqlError error;
    std::optional<LibraryRow> row = state_->Row(id, error);
    if (error) return StatusOf(error);
    if (!row) return NoBirth(id);
    const FormInput& form = stored.Contents.Form;
    row->Name = form.Name;
    row->Date = DateText(stored.Typed.Clock);
    row->Time = ClockTimeText(stored.Typed.Clock);
    row->Place = PlaceTextOf(form);
    SqlStatement& s = state_->Statement(
        "UPDATE births SET birth_file = ?, name = ?, date = ?, time = ?, place = ?, search = ?, changed = ? "
        "WHERE id = ?",
        error);
    if (error) return StatusOf(error);
    s.Bind(1, stored.Text);
    s.Bind(2, row->Name);
    s.Bind(3, row->Date);
    s.Bind(4, row->Time);
    s.Bind(5, row->Place);
    s.Bind(6, SearchTextOf(*row));
    s.Bind(7, state_->Now());
    s.Bind(8, id);
    if (SqlError failed = s.Run()) return StatusOf(failed);
    return state_->Commit(transaction);
}

LibraryStatus Library::SetTags(std::int64_t id, const std::vector<std::string>& tags) {
    return state_->WriteAnnotations(id, tags, std::nullopt);
}

LibraryStatus Library::SetNotes(std::int64_t id, std::string_view notes) {
    return state_->WriteAnnotations(id, std::nullopt, notes);
}

LibraryStatus Library::Delete(const std::vector<std::int64_t>& ids) {
    SqlTransaction transaction(state_->Db);
    if (transaction.BeginError()) return StatusOf(transaction.BeginError());
    SqlError error;
    SqlStatement& s = state_->Statement("DELETE FROM births WHERE id = ?", error);
    if (error) return StatusOf(error);
    for (const std::int64_t id : ids) {
        s.Bind(1, id);
        if (SqlError failed = s.Run()) return StatusOf(failed);
    }
    return state_->Commit(transaction);
}

LibraryStatus Library::ForEach(const std::vector<std::int64_t>& ids,
                               const std::function<void(const LibraryBirth&)>& each) {
    // One read transaction: every birth from the same state of the file.
    if (SqlError error = state_->Db.Execute("BEGIN")) return StatusOf(error);
    struct EndRead {
        SqlDatabase& Db;
        ~EndRead() { Db.Execute("COMMIT"); }
    } end{state_->Db};
    SqlError error;
    SqlStatement& s =
        state_->Statement(std::string("SELECT ") + kRowColumns + ", birth_file FROM births WHERE id = ?", error);
    if (error) return StatusOf(error);
    for (const std::int64_t id : ids) {
        s.Bind(1, id);
        if (!s.Step()) {
            if (s.Error()) return StatusOf(s.Error());
            continue;
        }
        LibraryBirth birth;
        birth.Row = RowOf(s);
        birth.BirthFile = s.Text(9);
        s.Reset();
        BirthFileReading reading = ReadBirthFile(birth.BirthFile);
        if (!reading.Birth)
            return {LibraryFault::Failed,
                    "Birth " + std::to_string(id) + " of the library does not read back: " + reading.Error};
        birth.Birth = std::move(*reading.Birth);
        each(birth);
    }
    return {};
}

LibraryResult<LibraryBirth> Library::Get(std::int64_t id) {
    LibraryResult<LibraryBirth> result;
    bool found = false;
    result.Status = ForEach({id}, [&](const LibraryBirth& birth) {
        result.Value = birth;
        found = true;
    });
    if (result.Ok() && !found) result.Status = NoBirth(id);
    return result;
}

LibraryStamp Library::Stamp() {
    SqlError error;
    SqlStatement& s = state_->Statement("PRAGMA data_version", error);
    LibraryStamp stamp;
    stamp.OwnChanges = state_->OwnChanges;
    if (!error && s.Step()) stamp.DataVersion = s.Int(0);
    s.Reset();
    return stamp;
}

LibraryResult<std::shared_ptr<const LibraryListing>> Library::Listing() {
    LibraryResult<std::shared_ptr<const LibraryListing>> result;
    const LibraryStamp stamp = Stamp();
    if (state_->Listed && state_->Listed->Stamp() == stamp) {
        result.Value = state_->Listed;
        return result;
    }
    SqlError error;
    SqlStatement& s = state_->Statement(std::string("SELECT ") + kRowColumns + ", search FROM births", error);
    if (error) {
        result.Status = StatusOf(error);
        return result;
    }
    std::vector<LibraryRow> rows;
    std::vector<std::string> search;
    while (s.Step()) {
        rows.push_back(RowOf(s));
        search.emplace_back(s.Text(9));
    }
    if (s.Error()) {
        result.Status = StatusOf(s.Error());
        s.Reset();
        return result;
    }
    s.Reset();
    // Sorted here rather than by SQLite, whose sorter would copy every
    // column of every row.
    std::vector<std::size_t> order(rows.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&rows](std::size_t a, std::size_t b) {
        const LibraryRow& x = rows[a];
        const LibraryRow& y = rows[b];
        return std::tie(x.Name, x.Date, x.Time, x.Id) < std::tie(y.Name, y.Date, y.Time, y.Id);
    });
    std::vector<LibraryRow> sortedRows;
    std::vector<std::string> sortedSearch;
    sortedRows.reserve(rows.size());
    sortedSearch.reserve(rows.size());
    for (const std::size_t i : order) {
        sortedRows.push_back(std::move(rows[i]));
        sortedSearch.push_back(std::move(search[i]));
    }
    state_->Listed = std::make_shared<const LibraryListing>(std::move(sortedRows), std::move(sortedSearch), stamp);
    result.Value = state_->Listed;
    return result;
}

LibraryResult<std::vector<LibraryRow>> Library::List(std::string_view filter) {
    LibraryResult<std::vector<LibraryRow>> result;
    LibraryResult<std::shared_ptr<const LibraryListing>> listing = Listing();
    result.Status = listing.Status;
    if (!listing.Ok()) return result;
    for (const std::size_t i : listing.Value->Filter(filter)) result.Value.push_back(listing.Value->Rows()[i]);
    return result;
}

// ----------------------------------------------------------- import, export

namespace {

constexpr std::size_t kReadSize = 1 << 16;

bool EndsWithCsv(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return extension == ".csv";
}

// Whether the first bytes look like a birth file: a JSON object.
bool StartsLikeBirthFile(std::string_view head) {
    if (head.starts_with("\xEF\xBB\xBF")) head.remove_prefix(3);
    const std::size_t first = head.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && head[first] == '{';
}

int ColumnNamed(const CsvRow& header, std::string_view wanted) {
    for (std::size_t i = 0; i < header.Fields.size(); ++i) {
        std::string name(TrimBlanks(header.Fields[i]));
        for (char& c : name) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if (name == wanted) return static_cast<int>(i);
    }
    return BatchColumns::kAbsent;
}

std::string_view FieldAt(const CsvRow& row, int column) {
    if (column < 0 || static_cast<std::size_t>(column) >= row.Fields.size()) return {};
    return row.Fields[static_cast<std::size_t>(column)];
}

// One CSV field, quoted (by libcsv) when it must be.
void AppendCsvField(std::string& out, std::string_view field) {
    const bool plain = field.find_first_of(",\"\r\n") == std::string_view::npos &&
                       (field.empty() || (field.front() != ' ' && field.back() != ' '));
    if (plain) {
        out += field;
        return;
    }
    std::string quoted(field.size() * 2 + 2, '\0');
    quoted.resize(csv_write(quoted.data(), quoted.size(), field.data(), field.size()));
    out += quoted;
}

constexpr std::string_view kCsvHeader = "name,date,time,zone,dst,lat,lon,city,state,country,utc_offset,tags,notes";

}  // namespace

// Everything an import does inside its one transaction.
struct LibraryImportRun {
    Library::State& State;
    const LibraryImportOptions& Options;
    LibraryImportSummary& Summary;
    ImportProgress Progress;
    std::string Now;
    bool Stopped = false;  // cancelled, or SQLite failed

    bool Report() {
        if (Options.Progress && !Options.Progress(Progress)) {
            Summary.Status = Refused("The import was cancelled; nothing was imported.");
            Stopped = true;
        }
        return !Stopped;
    }

    void Add(const BirthFileContents& birth, std::vector<std::string> tags, std::string_view notes,
             const std::string& file, long line) {
        std::variant<StoredBirth, std::string> stored = StoredBirthOf(birth);
        if (auto* why = std::get_if<std::string>(&stored)) {
            Summary.Refused.push_back({file, line, std::move(*why)});
            return;
        }
        tags.insert(tags.begin(), Options.Tags.begin(), Options.Tags.end());
        if (SqlError error = State.Insert(std::get<StoredBirth>(stored), tags, notes, Now)) {
            Summary.Status = StatusOf(error);
            Stopped = true;
            return;
        }
        Summary.Ids.push_back(State.Db.LastInsertId());
        ++Progress.Added;
    }

    void BirthFile(std::ifstream& in, std::string head, const std::string& file) {
        std::string bytes = std::move(head);
        char buffer[kReadSize];
        while (bytes.size() <= kBirthFileMaxBytes && in.read(buffer, sizeof buffer).gcount() > 0) {
            bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
        }
        Progress.BytesRead += bytes.size();
        BirthFileReading reading = ReadBirthFile(bytes);
        if (!reading.Birth) {
            Summary.Refused.push_back({file, 0, reading.Error});
            return;
        }
        Add(*reading.Birth, {}, {}, file, 0);
    }

    void Csv(std::ifstream& in, const std::string& head, const std::string& file) {
        CsvRowReader reader;
        std::vector<CsvRow> rows;
        std::optional<BatchColumns> columns;
        int tagsColumn = BatchColumns::kAbsent;
        int notesColumn = BatchColumns::kAbsent;
        bool headerRefused = false;
        long lastLine = 0;
        auto take = [&] {
            for (CsvRow& row : rows) {
                lastLine = row.Line;
                if (headerRefused || Stopped) break;
                if (!columns) {
                    std::variant<BatchColumns, std::string> header = ColumnsOfHeader(row);
                    if (auto* why = std::get_if<std::string>(&header)) {
                        Summary.Refused.push_back({file, row.Line, *why});
                        headerRefused = true;
                        break;
                    }
                    columns = std::get<BatchColumns>(header);
                    tagsColumn = ColumnNamed(row, "tags");
                    notesColumn = ColumnNamed(row, "notes");
                    continue;
                }
                std::variant<FormInput, std::string> form = FormOfRow(row, *columns);
                if (auto* why = std::get_if<std::string>(&form)) {
                    Summary.Refused.push_back({file, row.Line, std::move(*why)});
                    continue;
                }
                BirthFileContents birth;
                birth.Form = std::move(std::get<FormInput>(form));
                Add(birth, SplitTags(FieldAt(row, tagsColumn), ';'), FieldAt(row, notesColumn), file, row.Line);
            }
            rows.clear();
        };
        Progress.BytesRead += head.size();
        reader.Feed(head, rows);
        take();
        char buffer[kReadSize];
        while (!headerRefused && !Stopped && in.read(buffer, sizeof buffer).gcount() > 0) {
            const auto got = static_cast<std::size_t>(in.gcount());
            Progress.BytesRead += got;
            reader.Feed(std::string_view(buffer, got), rows);
            take();
            if (!Report()) return;
        }
        if (headerRefused || Stopped) return;
        const bool complete = reader.Finish(rows);
        take();
        if (!complete)
            Summary.Refused.push_back(
                {file, lastLine + 1, "the file ends inside a quoted field; that row is left out"});
        if (!columns && !headerRefused) Summary.Refused.push_back({file, 0, "the file holds no header row"});
    }
};

LibraryImportSummary Library::Import(const std::vector<std::filesystem::path>& files,
                                     const LibraryImportOptions& options) {
    LibraryImportSummary summary;
    LibraryImportRun run{*state_, options, summary, {}, state_->Now()};
    for (const std::filesystem::path& file : files) {
        std::error_code ec;
        const std::uintmax_t size = std::filesystem::file_size(file, ec);
        if (!ec) run.Progress.BytesTotal += size;
    }
    SqlTransaction transaction(state_->Db);
    if (transaction.BeginError()) {
        summary.Status = StatusOf(transaction.BeginError());
        return summary;
    }
    for (const std::filesystem::path& path : files) {
        const std::string file = path.string();
        std::ifstream in(path, std::ios::binary);
        std::string head(kReadSize, '\0');
        if (in) head.resize(static_cast<std::size_t>(in.read(head.data(), kReadSize).gcount()));
        if (!in && !in.eof()) {
            summary.Refused.push_back({file, 0, "the file cannot be read"});
        } else if (!EndsWithCsv(path) && StartsLikeBirthFile(head)) {
            run.BirthFile(in, std::move(head), file);
        } else {
            run.Csv(in, head, file);
        }
        ++run.Progress.FilesDone;
        if (run.Stopped || !run.Report()) break;
    }
    if (!run.Stopped) summary.Status = state_->Commit(transaction);
    if (summary.Status.Ok()) {
        summary.Added = summary.Ids.size();
    } else {
        summary.Ids.clear();
    }
    return summary;
}

LibraryResult<std::vector<std::string>> Library::ExportBirthFiles(const std::vector<std::int64_t>& ids) {
    LibraryResult<std::vector<std::string>> result;
    result.Status = ForEach(ids, [&result](const LibraryBirth& birth) { result.Value.push_back(birth.BirthFile); });
    return result;
}

LibraryResult<std::string> Library::ExportCsv(const std::vector<std::int64_t>& ids) {
    LibraryResult<std::string> result;
    std::string& out = result.Value;
    out = kCsvHeader;
    out += "\r\n";
    result.Status = ForEach(ids, [&out](const LibraryBirth& birth) {
        // Every stored birth was read from its form when it was stored.
        const FormReading reading = ReadForm(birth.Birth.Form);
        const Birth* typed = BirthOf(reading);
        if (!typed) return;
        const Birth& f = *typed;
        const std::string fields[] = {
            f.Name,
            DateText(f.Clock),
            ClockTimeText(f.Clock),
            std::to_string(f.ZoneRow),
            f.DaylightSaving ? "1" : "0",
            LatitudeText(f.Latitude),
            LongitudeText(f.Longitude),
            f.City,
            f.State,
            f.Country,
            f.ExactUtcOffsetMinutes ? OffsetText(*f.ExactUtcOffsetMinutes) : std::string(),
            JoinTags(birth.Row.Tags, ";"),
            birth.Row.Notes,
        };
        for (std::size_t i = 0; i < std::size(fields); ++i) {
            if (i > 0) out += ',';
            AppendCsvField(out, fields[i]);
        }
        out += "\r\n";
    });
    if (!result.Ok()) out.clear();
    return result;
}

}  // namespace velmora::core
