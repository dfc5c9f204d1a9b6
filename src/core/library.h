#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/birth_file.h"

namespace velmora::core {

class SqlDatabase;
struct SqlError;

// The chart library: every birth the user keeps, with tags and notes, in one
// SQLite file (WAL mode, every change one transaction). A birth is stored as
// the text of its birth file (docs/birth-file.md), so it holds every field a
// file holds; name, date, time and place are copied into columns for the
// list, and a folded text of name, place, tags and notes serves the filter.
// The same file holds the places imported from GeoNames (place_import.h).

// The schema this program writes; older files are migrated on opening,
// newer ones refused.
inline constexpr int kLibrarySchemaVersion = 2;
inline constexpr std::string_view kLibraryFileName = "library.sqlite";

// Reads an environment variable; nothing when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(std::string_view name)>;
// The current moment in universal time.
using UtcClock = std::function<std::chrono::system_clock::time_point()>;

// `$XDG_DATA_HOME/velmora-arudha-lagna/library.sqlite`; when XDG_DATA_HOME
// is unset, empty or not an absolute path (the XDG base directory rules),
// `$HOME/.local/share/velmora-arudha-lagna/library.sqlite`. Nothing when
// neither gives an absolute folder.
std::optional<std::filesystem::path> DefaultLibraryPath(const EnvironmentLookup& environment);
// The process's real environment, for the front ends.
EnvironmentLookup ProcessEnvironment();
UtcClock SystemUtcClock();

// "2024-03-01T12:34:56Z".
std::string UtcMomentText(std::chrono::system_clock::time_point moment);

enum class LibraryFault {
    None,
    Busy,      // another program holds the library; try again
    NotFound,  // no birth of that id
    Refused,   // the birth or the file was refused; Message says why
    Failed,    // SQLite failed (disk full, damaged file, ...)
};

struct LibraryStatus {
    LibraryFault Fault = LibraryFault::None;
    std::string Message;  // one line for the user

    bool Ok() const { return Fault == LibraryFault::None; }
};

template <class T>
struct LibraryResult {
    T Value{};
    LibraryStatus Status;

    bool Ok() const { return Status.Ok(); }
};

// One birth as the list shows it.
struct LibraryRow {
    std::int64_t Id = 0;
    std::string Name;
    std::string Date;   // "1980-01-05"
    std::string Time;   // "09:05"
    std::string Place;  // "New Delhi, Delhi, India": city, state and country, the empty ones left out
    std::vector<std::string> Tags;
    std::string Notes;
    std::string Created;  // UtcMomentText
    std::string Changed;

    bool operator==(const LibraryRow&) const = default;
};

struct LibraryBirth {
    LibraryRow Row;
    BirthFileContents Birth;
    std::string BirthFile;  // the stored birth file text, as BirthFileText writes it
};

// Tells whether the library changed, by this connection or another process.
struct LibraryStamp {
    std::int64_t DataVersion = 0;  // PRAGMA data_version: others' commits
    std::uint64_t OwnChanges = 0;  // this connection's commits
    bool operator==(const LibraryStamp&) const = default;
};

// All the rows at one moment, with their folded search texts in memory, so
// a filter costs one pass over them and no query.
class LibraryListing {
public:
    LibraryListing(std::vector<LibraryRow> rows, const std::vector<std::string>& searchTexts, LibraryStamp stamp);

    const std::vector<LibraryRow>& Rows() const { return rows_; }
    LibraryStamp Stamp() const { return stamp_; }
    // The positions in Rows() of the births matching a filter text: folded
    // as the atlas folds, each word of it must occur in the name, the place,
    // a tag or the notes. An empty text matches every birth.
    std::vector<std::size_t> Filter(std::string_view text) const;

private:
    std::vector<LibraryRow> rows_;
    // The folded texts one after the other, in the order of rows_, so the
    // filter reads memory in one run; ends_[i] is where row i's text ends.
    std::string search_;
    std::vector<std::size_t> ends_;
    LibraryStamp stamp_;
};

struct ImportRefusal {
    std::string File;  // as given
    long Line = 0;     // the CSV row's line (the header is 1); 0 for a whole file
    std::string Message;
};
// "births.csv line 7: date: the date must be YYYY-MM-DD, not \"1980-13\"".
std::string ImportRefusalText(const ImportRefusal& refusal);

struct ImportProgress {
    std::size_t FilesDone = 0;
    std::uint64_t BytesRead = 0;  // over all files
    std::uint64_t BytesTotal = 0;
    std::uint64_t Added = 0;
};

struct LibraryImportOptions {
    std::vector<std::string> Tags;  // given to every imported birth as well
    // Called from time to time; returning false cancels: nothing is imported.
    std::function<bool(const ImportProgress&)> Progress;
};

struct LibraryImportSummary {
    LibraryStatus Status;  // not Ok: nothing was imported
    std::uint64_t Added = 0;
    std::vector<std::int64_t> Ids;  // the new births, in file and row order
    std::vector<ImportRefusal> Refused;
};

struct LibraryOptions {
    UtcClock Clock;  // SystemUtcClock() when empty
    // How long a change waits for another program's change to end before it
    // reports the library busy.
    std::chrono::milliseconds BusyTimeout{5000};
};

class Library {
public:
    // Opens the library file, creating it (and its folder) when missing and
    // migrating an older schema. Refused, with a message and the file left
    // as it was: a file of a newer version of this program, a file that is
    // not a library (not SQLite, or SQLite with other tables) and a damaged
    // file.
    struct Opening {
        std::unique_ptr<Library> Opened;  // null when refused
        std::string Error;
    };
    static Opening Open(const std::filesystem::path& file, const LibraryOptions& options = {});

    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    ~Library();

    const std::filesystem::path& File() const;

    // A birth that passed the input window's checks (anything its birth file
    // would not read back as is refused). Returns the new id.
    LibraryResult<std::int64_t> Add(const BirthFileContents& birth, const std::vector<std::string>& tags = {},
                                    std::string_view notes = {});
    // Replaces the birth, keeping its tags, notes and created moment.
    LibraryStatus Update(std::int64_t id, const BirthFileContents& birth);
    // Tags are trimmed; empty and repeated ones are dropped.
    LibraryStatus SetTags(std::int64_t id, const std::vector<std::string>& tags);
    LibraryStatus SetNotes(std::int64_t id, std::string_view notes);
    // Deletes every one of the births in one transaction; ids not there are
    // passed over.
    LibraryStatus Delete(const std::vector<std::int64_t>& ids);

    LibraryResult<LibraryBirth> Get(std::int64_t id);
    // Hands each birth of the list to `each`, in the list's order, from one
    // consistent reading of the library. Ids not there are passed over.
    LibraryStatus ForEach(const std::vector<std::int64_t>& ids, const std::function<void(const LibraryBirth&)>& each);

    // Every birth, by name, then date, time and id. The listing is kept and
    // handed out again until the library changes.
    LibraryResult<std::shared_ptr<const LibraryListing>> Listing();
    // The rows a filter text selects (LibraryListing::Filter), in that order.
    LibraryResult<std::vector<LibraryRow>> List(std::string_view filter = {});

    LibraryStamp Stamp();
    bool ChangedSince(const LibraryStamp& stamp) { return Stamp() != stamp; }

    // Reads birth files and CSV files (the batch's columns, docs in the
    // README; optional "tags" (separated by ";") and "notes" columns) into
    // the library in one transaction. A refused row or file is named in the
    // summary and left out; the rest go in. A file is CSV when its name ends
    // in ".csv" or its first character is not "{".
    LibraryImportSummary Import(const std::vector<std::filesystem::path>& files,
                                const LibraryImportOptions& options = {});

    // The stored birth file texts of the chosen births, in their order.
    LibraryResult<std::vector<std::string>> ExportBirthFiles(const std::vector<std::int64_t>& ids);
    // A header and one row per birth, in the batch's columns
    // (name,date,time,zone,dst,lat,lon,city,state,country,utc_offset) and
    // then tags and notes: the batch and Import read it back.
    LibraryResult<std::string> ExportCsv(const std::vector<std::int64_t>& ids);

    // The connection, for the place tables of the same file (place_import.h).
    SqlDatabase& Database();

private:
    friend struct LibraryImportRun;
    struct State;
    explicit Library(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};

// A fault of SQLite as the library reports it: Busy when another program
// holds the lock, else Failed with `failure` and SQLite's words.
LibraryStatus LibraryStatusOf(const SqlError& error, std::string_view failure);

// The tags as the library keeps them: trimmed, the empty and repeated ones
// dropped, in their order.
std::vector<std::string> CleanTags(const std::vector<std::string>& tags);

}  // namespace velmora::core
