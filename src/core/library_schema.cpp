#include "core/library_schema.h"

#include <array>
#include <fstream>
#include <system_error>

#include "core/library.h"

namespace velmora::core {

namespace {

// Version 1: the births. The birth file text is the birth; the other
// columns are copies for the list and the filter. Tags are one text, a tag
// a line.
SqlError CreateBirths(SqlDatabase& db) {
    return db.Execute(
        "CREATE TABLE births ("
        " id INTEGER PRIMARY KEY,"
        " birth_file TEXT NOT NULL,"
        " name TEXT NOT NULL,"
        " date TEXT NOT NULL,"
        " time TEXT NOT NULL,"
        " place TEXT NOT NULL,"
        " tags TEXT NOT NULL DEFAULT '',"
        " notes TEXT NOT NULL DEFAULT '',"
        " created TEXT NOT NULL,"
        " changed TEXT NOT NULL,"
        " search TEXT NOT NULL)");
}

// Version 2: places imported from GeoNames dumps, and every folded name and
// alternate name of them for the search.
SqlError AddPlaces(SqlDatabase& db) {
    return db.Execute(
        "CREATE TABLE places ("
        " geonameid INTEGER PRIMARY KEY,"
        " name TEXT NOT NULL,"
        " state TEXT NOT NULL,"
        " state_code TEXT NOT NULL,"
        " country TEXT NOT NULL,"
        " country_code TEXT NOT NULL,"
        " latitude REAL NOT NULL,"
        " longitude REAL NOT NULL,"
        " population INTEGER NOT NULL,"
        " time_zone TEXT NOT NULL,"
        " alternate_names TEXT NOT NULL,"
        " state_folded TEXT NOT NULL,"
        " country_folded TEXT NOT NULL);"
        "CREATE TABLE place_names ("
        " folded TEXT NOT NULL,"
        " geonameid INTEGER NOT NULL,"
        " name TEXT NOT NULL,"
        " PRIMARY KEY (folded, geonameid)) WITHOUT ROWID;"
        "CREATE INDEX place_names_by_place ON place_names (geonameid);");
}

using Migration = SqlError (*)(SqlDatabase&);
// kMigrations[v] takes a file from version v to v + 1.
constexpr std::array<Migration, kLibrarySchemaVersion> kMigrations = {CreateBirths, AddPlaces};

std::string NotALibrary(const std::filesystem::path& file) {
    return "Not a chart library: " + file.string() + " is another kind of file. Choose another file.";
}

std::string Damaged(const std::filesystem::path& file, const std::string& why) {
    return "The library " + file.string() + " is damaged (" + why + "); it was left as it is.";
}

std::optional<std::int64_t> Pragma(SqlDatabase& db, const char* sql, SqlError& error) {
    return db.QueryInt(sql, error);
}

// Checks an existing file without writing to it; the refusal, or nothing.
std::optional<std::string> CheckExisting(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return NotALibrary(file);
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec) return "The library " + file.string() + " cannot be read: " + ec.message() + ".";
    if (size == 0) return std::nullopt;  // an empty file is an empty database
    char header[16] = {};
    std::ifstream in(file, std::ios::binary);
    in.read(header, sizeof header);
    if (!in || std::string_view(header, sizeof header) != std::string_view("SQLite format 3\0", 16))
        return NotALibrary(file);

    SqlError error;
    std::optional<SqlDatabase> db = SqlDatabase::Open(file, SqlDatabase::Mode::ReadOnly, error);
    if (!db) return Damaged(file, error.Message);
    const std::optional<std::int64_t> application = Pragma(*db, "PRAGMA application_id", error);
    const std::optional<std::int64_t> version = application ? Pragma(*db, "PRAGMA user_version", error) : std::nullopt;
    const std::optional<std::int64_t> tables =
        version ? Pragma(*db, "SELECT count(*) FROM sqlite_schema", error) : std::nullopt;
    if (!tables) {
        if (error.Busy()) return "The library " + file.string() + " is busy: another program is changing it.";
        return Damaged(file, error.Message);
    }
    if (*application != kLibraryApplicationId && !(*application == 0 && *version == 0 && *tables == 0))
        return NotALibrary(file);
    if (*version > kLibrarySchemaVersion)
        return "The library " + file.string() + " was written by a newer version of this program (library version " +
               std::to_string(*version) + "; this one reads up to " + std::to_string(kLibrarySchemaVersion) +
               "). Update the program to open it.";
    SqlStatement check = db->Prepare("PRAGMA quick_check(1)", error);
    if (error) return Damaged(file, error.Message);
    if (!check.Step()) return Damaged(file, check.Error().Message);
    if (check.Text(0) != "ok") return Damaged(file, std::string(check.Text(0)));
    return std::nullopt;
}

}  // namespace

std::variant<SqlDatabase, std::string> OpenLibraryDatabase(const std::filesystem::path& file,
                                                           std::chrono::milliseconds busyTimeout, int version) {
    if (version < 0 || version > kLibrarySchemaVersion) version = kLibrarySchemaVersion;
    std::error_code ec;
    if (std::filesystem::exists(file, ec)) {
        if (std::optional<std::string> refusal = CheckExisting(file)) return *refusal;
    } else if (file.has_parent_path()) {
        std::filesystem::create_directories(file.parent_path(), ec);
        if (ec) return "The library's folder " + file.parent_path().string() + " cannot be made: " + ec.message() + ".";
    }

    SqlError error;
    std::optional<SqlDatabase> db = SqlDatabase::Open(file, SqlDatabase::Mode::ReadWriteCreate, error);
    if (!db) return "The library " + file.string() + " cannot be opened: " + error.Message + ".";
    db->SetBusyTimeout(busyTimeout);
    auto failed = [&file](const SqlError& why) {
        if (why.Busy()) return "The library " + file.string() + " is busy: another program is changing it.";
        return "The library " + file.string() + " cannot be prepared: " + why.Message + ".";
    };
    SqlStatement wal = db->Prepare("PRAGMA journal_mode = WAL", error);
    if (error || !wal.Step()) return failed(error ? error : wal.Error());
    wal = SqlStatement();

    // Another program may be creating or migrating the same file: the
    // version is read again inside the write transaction.
    SqlTransaction transaction(*db);
    if (transaction.BeginError()) return failed(transaction.BeginError());
    const std::optional<std::int64_t> application = Pragma(*db, "PRAGMA application_id", error);
    const std::optional<std::int64_t> current = application ? Pragma(*db, "PRAGMA user_version", error) : std::nullopt;
    if (!current) return failed(error);
    if (*current > kLibrarySchemaVersion || (*application != kLibraryApplicationId && *current != 0))
        return NotALibrary(file);
    for (std::int64_t v = *current; v < version; ++v) {
        if (SqlError migrationError = kMigrations[static_cast<std::size_t>(v)](*db)) return failed(migrationError);
    }
    if (*current < version) {
        const std::string stamp = "PRAGMA application_id = " + std::to_string(kLibraryApplicationId) +
                                  "; PRAGMA user_version = " + std::to_string(version);
        if (SqlError stampError = db->Execute(stamp.c_str())) return failed(stampError);
    }
    if (SqlError commitError = transaction.Commit()) return failed(commitError);
    return std::move(*db);
}

}  // namespace velmora::core
