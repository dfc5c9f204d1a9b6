#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "core/atlas.h"
#include "core/birth_file.h"
#include "core/form_builders.h"
#include "core/library.h"
#include "core/library_files.h"
#include "core/library_schema.h"
#include "core/place_zone.h"
#include "core/sqlite_db.h"
#include "core/text_formats.h"

using namespace velmora;
using namespace velmora::core;
using namespace velmora::core;
using velmora::testing::OpenOrFail;
using velmora::testing::ReadFile;
using velmora::testing::TempFolder;
using velmora::testing::WriteFile;

namespace {

BirthFileContents Delhi(std::string name = "ASHA RAO") { return {velmora::testing::DelhiForm(std::move(name)), {}}; }

std::int64_t AddOrFail(Library& library, const BirthFileContents& birth, const std::vector<std::string>& tags = {},
                       std::string_view notes = {}) {
    const LibraryResult<std::int64_t> added = library.Add(birth, tags, notes);
    EXPECT_TRUE(added.Ok()) << added.Status.Message;
    return added.Value;
}

std::int64_t QueryInt(const std::filesystem::path& file, const char* sql) {
    SqlError error;
    std::optional<SqlDatabase> db = SqlDatabase::Open(file, SqlDatabase::Mode::ReadOnly, error);
    EXPECT_TRUE(db) << error.Message;
    if (!db) return -1;
    const std::optional<std::int64_t> value = db->QueryInt(sql, error);
    EXPECT_TRUE(value) << sql << ": " << error.Message;
    return value.value_or(-1);
}

std::vector<std::string> Names(const std::vector<LibraryRow>& rows) {
    std::vector<std::string> names;
    for (const LibraryRow& row : rows) names.push_back(row.Name);
    return names;
}

const char* kCsvHeader = "name,date,time,zone,dst,lat,lon,city,state,country\n";

std::string CsvRows(int count, std::string_view name = "BULK") {
    std::string csv = kCsvHeader;
    for (int i = 0; i < count; ++i)
        csv += std::string(name) + ",1980-01-05,09:" + std::to_string(10 + i % 50) +
               ",34,0,28:36N,077:12E,New Delhi,Delhi,India\n";
    return csv;
}

}  // namespace

TEST(LibraryPath, FollowsTheXdgDataFolderRules) {
    auto environment = [](std::map<std::string, std::string> values) -> EnvironmentLookup {
        return [values](std::string_view name) -> std::optional<std::string> {
            const auto found = values.find(std::string(name));
            if (found == values.end()) return std::nullopt;
            return found->second;
        };
    };
    EXPECT_EQ(DefaultLibraryPath(environment({{"XDG_DATA_HOME", "/data"}, {"HOME", "/home/u"}})),
              std::filesystem::path("/data/velmora-arudha-lagna/library.sqlite"));
    // Unset, empty or relative: the fallback under the home folder.
    for (const char* data : {"", "relative/data"}) {
        EXPECT_EQ(DefaultLibraryPath(environment({{"XDG_DATA_HOME", data}, {"HOME", "/home/u"}})),
                  std::filesystem::path("/home/u/.local/share/velmora-arudha-lagna/library.sqlite"))
            << data;
    }
    EXPECT_EQ(DefaultLibraryPath(environment({{"HOME", "/home/u"}})),
              std::filesystem::path("/home/u/.local/share/velmora-arudha-lagna/library.sqlite"));
    EXPECT_FALSE(DefaultLibraryPath(environment({})));
    EXPECT_FALSE(DefaultLibraryPath(environment({{"HOME", "home"}})));
}

TEST(Library, CreatesItsFolderAndTheCurrentSchemaInWalMode) {
    TempFolder folder;
    const std::filesystem::path file = folder / "a/b/library.sqlite";
    ASSERT_TRUE(OpenOrFail(file));
    EXPECT_EQ(QueryInt(file, "PRAGMA user_version"), kLibrarySchemaVersion);
    EXPECT_EQ(QueryInt(file, "PRAGMA application_id"), kLibraryApplicationId);
    EXPECT_EQ(QueryInt(file, "SELECT count(*) FROM sqlite_schema WHERE name IN ('births', 'places', 'place_names')"),
              3);
    SqlError error;
    std::optional<SqlDatabase> db = SqlDatabase::Open(file, SqlDatabase::Mode::ReadOnly, error);
    ASSERT_TRUE(db);
    SqlStatement mode = db->Prepare("PRAGMA journal_mode", error);
    ASSERT_TRUE(mode.Step());
    EXPECT_EQ(mode.Text(0), "wal");
    // Opening again changes nothing and keeps the births.
    {
        auto library = OpenOrFail(file);
        AddOrFail(*library, Delhi());
    }
    auto again = OpenOrFail(file);
    EXPECT_EQ(again->List().Value.size(), 1u);
}

TEST(Library, KeepsEveryFieldOfTheBirthAndGivesBackTheSameBirthFile) {
    TempFolder folder;
    velmora::testing::StoppedClock clock;
    auto library = OpenOrFail(folder / "library.sqlite", {clock.Clock()});

    // An atlas place with an exact offset, and the precise engine.
    BirthFileContents kathmandu = Delhi("MAYA");
    kathmandu.Form.Year = "1990";
    const std::optional<Place> place = Atlas::Instance().Find("Kathmandu");
    ASSERT_TRUE(place);
    ApplyPlace(kathmandu.Form, *place);
    ASSERT_TRUE(kathmandu.Form.ExactUtcOffsetMinutes);
    kathmandu.Ephemeris = EngineSettings{EphemerisMode::Precise, astro::Ayanamsa::Raman, astro::NodeKind::True};
    // Typed coordinates south and west, with summer time and no atlas place.
    BirthFileContents typed = Delhi("LEE");
    typed.Form.South = true;
    typed.Form.East = false;
    typed.Form.DaylightSaving = true;
    typed.Form.LongitudeDegrees = "5";
    typed.Form.City = "";

    for (const BirthFileContents& birth : {kathmandu, typed}) {
        const std::int64_t id = AddOrFail(*library, birth, {" family ", "client", "family"}, "line one\nline two");
        const LibraryResult<LibraryBirth> got = library->Get(id);
        ASSERT_TRUE(got.Ok()) << got.Status.Message;
        const std::string original = velmora::testing::FileTextOf(birth.Form, birth.Ephemeris);
        EXPECT_EQ(got.Value.BirthFile, original);
        EXPECT_EQ(velmora::testing::FileTextOf(got.Value.Birth.Form, got.Value.Birth.Ephemeris), original);
        EXPECT_EQ(got.Value.Birth.Form.Place, birth.Form.Place);
        EXPECT_EQ(got.Value.Birth.Form.ExactUtcOffsetMinutes, birth.Form.ExactUtcOffsetMinutes);
        EXPECT_EQ(got.Value.Birth.Ephemeris, birth.Ephemeris);
        const LibraryRow& row = got.Value.Row;
        EXPECT_EQ(row.Id, id);
        EXPECT_EQ(row.Name, birth.Form.Name);
        const FormReading typed = ReadForm(birth.Form);
        ASSERT_TRUE(BirthOf(typed));
        EXPECT_EQ(row.Date, DateText(BirthOf(typed)->Clock));
        EXPECT_EQ(row.Time, ClockTimeText(BirthOf(typed)->Clock));
        EXPECT_EQ(row.Tags, (std::vector<std::string>{"family", "client"}));
        EXPECT_EQ(row.Notes, "line one\nline two");
        EXPECT_EQ(row.Created, "2024-03-01T12:00:00Z");
        EXPECT_EQ(row.Changed, row.Created);
    }
    const std::vector<LibraryRow> rows = library->List().Value;
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].Name, "LEE");  // by name
    EXPECT_EQ(rows[0].Place, "Delhi, India");
    EXPECT_EQ(rows[1].Place, place->Name + ", " + place->State + ", " + place->Country);

    // An update replaces the birth and its columns, keeps tags, notes and
    // the created moment, and moves the changed one.
    clock.Now += std::chrono::minutes(90);
    BirthFileContents moved = Delhi("LEE KIM");
    moved.Form.Hour = "23";
    ASSERT_TRUE(library->Update(rows[0].Id, moved).Ok());
    const LibraryBirth updated = library->Get(rows[0].Id).Value;
    EXPECT_EQ(updated.BirthFile, velmora::testing::FileTextOf(moved.Form));
    EXPECT_EQ(updated.Row.Name, "LEE KIM");
    EXPECT_EQ(updated.Row.Time, "23:05");
    EXPECT_EQ(updated.Row.Tags, rows[0].Tags);
    EXPECT_EQ(updated.Row.Created, "2024-03-01T12:00:00Z");
    EXPECT_EQ(updated.Row.Changed, "2024-03-01T13:30:00Z");
}

TEST(Library, RefusesABirthItsFileWouldNotReadBack) {
    TempFolder folder;
    auto library = OpenOrFail(folder / "library.sqlite");
    BirthFileContents bad = Delhi();
    bad.Form.LatitudeDegrees = "95";
    const LibraryResult<std::int64_t> added = library->Add(bad);
    EXPECT_EQ(added.Status.Fault, LibraryFault::Refused);
    EXPECT_FALSE(added.Status.Message.empty());
    EXPECT_EQ(library->Update(1, bad).Fault, LibraryFault::Refused);
    EXPECT_TRUE(library->List().Value.empty());
}

TEST(Library, FiltersFoldedOverNamePlaceTagsAndNotes) {
    TempFolder folder;
    auto library = OpenOrFail(folder / "library.sqlite");
    BirthFileContents paulo = Delhi("JOAO");
    paulo.Form.City = "São Paulo";
    paulo.Form.State = "São Paulo";
    paulo.Form.Country = "Brazil";
    AddOrFail(*library, paulo, {"Família"});
    AddOrFail(*library, Delhi("ASHA"), {"client"}, "Met at the Zürich conference");
    AddOrFail(*library, Delhi("RAVI"));

    auto find = [&](std::string_view text) { return Names(library->List(text).Value); };
    EXPECT_EQ(find("sao"), (std::vector<std::string>{"JOAO"}));
    EXPECT_EQ(find("  PAULO "), (std::vector<std::string>{"JOAO"}));
    EXPECT_EQ(find("familia"), (std::vector<std::string>{"JOAO"}));
    EXPECT_EQ(find("zurich"), (std::vector<std::string>{"ASHA"}));
    EXPECT_EQ(find("Asha"), (std::vector<std::string>{"ASHA"}));
    EXPECT_EQ(find("delhi"), (std::vector<std::string>{"ASHA", "RAVI"}));
    EXPECT_EQ(find("delhi client"), (std::vector<std::string>{"ASHA"}));  // every word
    EXPECT_EQ(find(""), (std::vector<std::string>{"ASHA", "JOAO", "RAVI"}));
    EXPECT_TRUE(find("bombay").empty());
    // Words do not run from one field into the next.
    EXPECT_TRUE(find("ravi delhi india x").empty());
    EXPECT_TRUE(find("joao sao").size() == 1);
}

TEST(Library, EditsTagsAndNotesAndDeletes) {
    TempFolder folder;
    velmora::testing::StoppedClock clock;
    auto library = OpenOrFail(folder / "library.sqlite", {clock.Clock()});
    const std::int64_t a = AddOrFail(*library, Delhi("ASHA"));
    const std::int64_t b = AddOrFail(*library, Delhi("RAVI"));

    clock.Now += std::chrono::seconds(5);
    ASSERT_TRUE(library->SetTags(a, {"research  set\nA", "", "Research set A", "research set A"}).Ok());
    ASSERT_TRUE(library->SetNotes(a, "Rectified from events").Ok());
    LibraryRow row = library->Get(a).Value.Row;
    EXPECT_EQ(row.Tags, (std::vector<std::string>{"research set A", "Research set A"}));
    EXPECT_EQ(row.Notes, "Rectified from events");
    EXPECT_EQ(row.Changed, "2024-03-01T12:00:05Z");
    EXPECT_EQ(Names(library->List("rectified").Value), (std::vector<std::string>{"ASHA"}));
    ASSERT_TRUE(library->SetTags(a, {}).Ok());
    EXPECT_TRUE(library->Get(a).Value.Row.Tags.empty());
    EXPECT_TRUE(library->List("research").Value.empty());

    EXPECT_EQ(library->SetNotes(99, "x").Fault, LibraryFault::NotFound);
    EXPECT_EQ(library->SetTags(99, {"x"}).Fault, LibraryFault::NotFound);
    EXPECT_EQ(library->Update(99, Delhi()).Fault, LibraryFault::NotFound);
    EXPECT_EQ(library->Get(99).Status.Fault, LibraryFault::NotFound);

    ASSERT_TRUE(library->Delete({a, 99}).Ok());
    EXPECT_EQ(library->Get(a).Status.Fault, LibraryFault::NotFound);
    EXPECT_EQ(Names(library->List().Value), (std::vector<std::string>{"RAVI"}));
    EXPECT_TRUE(library->Get(b).Ok());
}

TEST(Library, ListingIsKeptUntilThisOrAnotherConnectionChangesTheLibrary) {
    TempFolder folder;
    auto first = OpenOrFail(folder / "library.sqlite");
    auto second = OpenOrFail(folder / "library.sqlite");
    AddOrFail(*first, Delhi("ASHA"));
    const auto listing = first->Listing().Value;
    const LibraryStamp stamp = first->Stamp();
    EXPECT_EQ(first->Listing().Value, listing);  // the same snapshot
    EXPECT_FALSE(first->ChangedSince(stamp));

    AddOrFail(*second, Delhi("RAVI"));  // another connection, as another process would
    EXPECT_TRUE(first->ChangedSince(stamp));
    const auto fresh = first->Listing().Value;
    EXPECT_NE(fresh, listing);
    EXPECT_EQ(fresh->Rows().size(), 2u);
    EXPECT_EQ(listing->Rows().size(), 1u);  // a snapshot handed out stays as it was

    ASSERT_TRUE(first->SetNotes(fresh->Rows()[0].Id, "own change").Ok());
    EXPECT_NE(first->Listing().Value, fresh);
}

// ------------------------------------------------------------------ refusals

namespace {

// Opens the file expecting a refusal that mentions `words`, and checks the
// file's bytes are as they were.
void ExpectRefusedUnchanged(const std::filesystem::path& file, std::string_view words) {
    const std::string before = ReadFile(file);
    const Library::Opening opening = Library::Open(file);
    EXPECT_FALSE(opening.Opened);
    EXPECT_NE(opening.Error.find(words), std::string::npos) << opening.Error;
    EXPECT_TRUE(ReadFile(file) == before) << file << " was changed";
}

}  // namespace

TEST(Library, RefusesNewerAlienAndDamagedFilesWithoutChangingThem) {
    TempFolder folder;

    const std::filesystem::path newer = folder / "newer.sqlite";
    {
        auto library = OpenOrFail(newer);
        AddOrFail(*library, Delhi());
        ASSERT_FALSE(library->Database().Execute("PRAGMA user_version = 99"));
    }
    ExpectRefusedUnchanged(newer, "newer version");

    const std::filesystem::path text = folder / "notes.txt";
    WriteFile(text, "This is not a database, just some notes that happen to be long enough.\n");
    ExpectRefusedUnchanged(text, "Not a chart library");
    const std::filesystem::path birth = folder / "asha.vbirth";
    WriteFile(birth, velmora::testing::FileTextOf(Delhi().Form));
    ExpectRefusedUnchanged(birth, "Not a chart library");

    const std::filesystem::path other = folder / "other.sqlite";
    {
        SqlError error;
        std::optional<SqlDatabase> db = SqlDatabase::Open(other, SqlDatabase::Mode::ReadWriteCreate, error);
        ASSERT_TRUE(db);
        ASSERT_FALSE(db->Execute("CREATE TABLE recipes (name TEXT); INSERT INTO recipes VALUES ('dal')"));
    }
    ExpectRefusedUnchanged(other, "Not a chart library");

    // A library whose pages were overwritten.
    const std::filesystem::path damaged = folder / "damaged.sqlite";
    {
        auto library = OpenOrFail(damaged);
        for (int i = 0; i < 300; ++i) AddOrFail(*library, Delhi("ASHA"), {}, std::string(200, 'n'));
    }  // the last connection closing writes the WAL back into the file
    std::string bytes = ReadFile(damaged);
    ASSERT_GT(bytes.size(), 8u * 4096u);
    for (std::size_t i = 4096 + 100; i < 4096 * 6; i += 7) bytes[i] = '\x5A';
    WriteFile(damaged, bytes);
    ExpectRefusedUnchanged(damaged, "damaged");
}

TEST(Library, MigratesAVersionOneFileToTheCurrentVersion) {
    TempFolder folder;
    const std::filesystem::path file = folder / "old.sqlite";
    const std::string birthFile = velmora::testing::FileTextOf(Delhi("OLD TIMER").Form);
    {
        std::variant<SqlDatabase, std::string> opened = OpenLibraryDatabase(file, std::chrono::milliseconds(100), 1);
        ASSERT_TRUE(std::holds_alternative<SqlDatabase>(opened)) << std::get<std::string>(opened);
        SqlDatabase& db = std::get<SqlDatabase>(opened);
        SqlError error;
        SqlStatement insert = db.Prepare(
            "INSERT INTO births (birth_file, name, date, time, place, tags, notes, created, changed, search) "
            "VALUES (?, 'OLD TIMER', '1980-01-05', '09:05', 'New Delhi, Delhi, India', 'kept', 'from v1', "
            "'2020-01-01T00:00:00Z', '2020-01-01T00:00:00Z', 'old timer')",
            error);
        ASSERT_FALSE(error) << error.Message;
        insert.Bind(1, birthFile);
        ASSERT_FALSE(insert.Run());
    }
    EXPECT_EQ(QueryInt(file, "PRAGMA user_version"), 1);
    EXPECT_EQ(QueryInt(file, "SELECT count(*) FROM sqlite_schema WHERE name = 'places'"), 0);

    auto library = OpenOrFail(file);
    EXPECT_EQ(QueryInt(file, "PRAGMA user_version"), kLibrarySchemaVersion);
    EXPECT_EQ(QueryInt(file, "SELECT count(*) FROM sqlite_schema WHERE name = 'places'"), 1);
    const LibraryResult<LibraryBirth> old = library->Get(1);
    ASSERT_TRUE(old.Ok()) << old.Status.Message;
    EXPECT_EQ(old.Value.BirthFile, birthFile);
    EXPECT_EQ(old.Value.Row.Tags, (std::vector<std::string>{"kept"}));
    EXPECT_EQ(old.Value.Row.Notes, "from v1");
}

// -------------------------------------------------------------------- import

TEST(LibraryImport, ReadsBirthFilesAndCsvNamingRefusedRowsByLine) {
    TempFolder folder;
    auto library = OpenOrFail(folder / "library.sqlite");
    WriteFile(folder / "asha.vbirth", velmora::testing::FileTextOf(Delhi("ASHA").Form));
    WriteFile(folder / "broken.vbirth", "{\"format\": \"velmora-birth\"}");
    WriteFile(folder / "births.csv", std::string(kCsvHeader) +
                                         "RAVI,1975-09-27,23:40,34,0,28:36N,077:12E,New Delhi,Delhi,India\n"
                                         "BAD DATE,1975-13-27,23:40,34,0,28:36N,077:12E,New Delhi,Delhi,India\n"
                                         "\n"
                                         "\"MULTI\nLINE\",1975-09-27,23:40,34,0,28:36N,077:12E,A,B,C\n"
                                         "FAR NORTH,1975-09-27,23:40,34,0,95:00N,077:12E,New Delhi,Delhi,India\n"
                                         "MEERA,1980-02-01,06:00,34,0,28:36N,077:12E,New Delhi,Delhi,India\n");
    WriteFile(folder / "wrong.csv", "who,when\nx,y\n");

    const LibraryImportSummary summary =
        library->Import({folder / "asha.vbirth", folder / "broken.vbirth", folder / "births.csv", folder / "wrong.csv",
                         folder / "missing.csv"},
                        {{"imported"}, {}});
    ASSERT_TRUE(summary.Status.Ok()) << summary.Status.Message;
    EXPECT_EQ(summary.Added, 3u);
    EXPECT_EQ(summary.Ids.size(), 3u);
    std::vector<std::pair<std::string, long>> refused;
    for (const ImportRefusal& r : summary.Refused)
        refused.emplace_back(std::filesystem::path(r.File).filename().string(), r.Line);
    const std::vector<std::pair<std::string, long>> expected = {{"broken.vbirth", 0}, {"births.csv", 3},
                                                                {"births.csv", 5},    {"births.csv", 7},
                                                                {"wrong.csv", 1},     {"missing.csv", 0}};
    EXPECT_EQ(refused, expected);
    ASSERT_GE(summary.Refused.size(), 2u);
    EXPECT_NE(ImportRefusalText(summary.Refused[1]).find("births.csv line 3: Please Enter Correct Date"),
              std::string::npos)
        << ImportRefusalText(summary.Refused[1]);

    EXPECT_EQ(Names(library->List().Value), (std::vector<std::string>{"ASHA", "MEERA", "RAVI"}));
    EXPECT_EQ(library->List("imported").Value.size(), 3u);
    EXPECT_EQ(library->Get(summary.Ids[1]).Value.Row.Date, "1975-09-27");
}

TEST(LibraryImport, ACancelledImportLeavesNothing) {
    TempFolder folder;
    auto library = OpenOrFail(folder / "library.sqlite");
    AddOrFail(*library, Delhi("KEPT"));
    WriteFile(folder / "many.csv", CsvRows(5000));
    LibraryImportOptions options;
    int calls = 0;
    options.Progress = [&calls](const ImportProgress& progress) {
        EXPECT_LE(progress.BytesRead, progress.BytesTotal);
        return ++calls < 3;
    };
    const LibraryImportSummary summary = library->Import({folder / "many.csv"}, options);
    EXPECT_EQ(summary.Status.Fault, LibraryFault::Refused);
    EXPECT_EQ(summary.Added, 0u);
    EXPECT_TRUE(summary.Ids.empty());
    EXPECT_EQ(Names(library->List().Value), (std::vector<std::string>{"KEPT"}));

    const LibraryImportSummary whole = library->Import({folder / "many.csv"});
    EXPECT_EQ(whole.Added, 5000u);
    EXPECT_EQ(library->List().Value.size(), 5001u);
}

TEST(LibraryExport, WritesBirthFilesAndCsvThatImportBackTheSame) {
    TempFolder folder;
    auto library = OpenOrFail(folder / "library.sqlite");
    BirthFileContents exact = Delhi("NIMA");
    exact.Form.ExactUtcOffsetMinutes = 345;
    exact.Form.City = "Kathmandu, \"old town\"";
    BirthFileContents west = Delhi("LEE");
    west.Form.East = false;
    west.Form.South = true;
    west.Form.DaylightSaving = true;
    const std::int64_t a = AddOrFail(*library, exact, {"family", "nepal"}, "notes, with a comma\nand a line");
    const std::int64_t b = AddOrFail(*library, west);

    const auto files = library->ExportBirthFiles({b, a, 77});
    ASSERT_TRUE(files.Ok());
    ASSERT_EQ(files.Value.size(), 2u);
    EXPECT_EQ(files.Value[0], velmora::testing::FileTextOf(west.Form));
    EXPECT_EQ(files.Value[1], velmora::testing::FileTextOf(exact.Form));

    const auto csv = library->ExportCsv({a, b});
    ASSERT_TRUE(csv.Ok());
    EXPECT_TRUE(csv.Value.starts_with("name,date,time,zone,dst,lat,lon,city,state,country,utc_offset,tags,notes\r\n"))
        << csv.Value;
    WriteFile(folder / "out.csv", csv.Value);
    auto other = OpenOrFail(folder / "other.sqlite");
    const LibraryImportSummary summary = other->Import({folder / "out.csv"});
    ASSERT_TRUE(summary.Status.Ok()) << summary.Status.Message;
    ASSERT_EQ(summary.Ids.size(), 2u) << (summary.Refused.empty() ? "" : ImportRefusalText(summary.Refused[0]));
    const LibraryBirth back = other->Get(summary.Ids[0]).Value;
    EXPECT_EQ(back.BirthFile, velmora::testing::FileTextOf(exact.Form));
    EXPECT_EQ(back.Row.Tags, (std::vector<std::string>{"family", "nepal"}));
    EXPECT_EQ(back.Row.Notes, "notes, with a comma\nand a line");
    EXPECT_EQ(other->Get(summary.Ids[1]).Value.BirthFile, velmora::testing::FileTextOf(west.Form));
}
