#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>

#include <memory>
#include <optional>
#include <variant>

#include "cli/arguments.h"
#include "core/birth_file.h"
#include "core/library.h"
#include "core/messages.h"
#include "core/pipeline.h"
#include "core/place_import.h"

namespace velmora::cli {

// The tool's chart-library options: --library, --import, --list, --find,
// --id, --import-places, --admin1, and the batch's --format and --columns.
struct LibraryArgumentOptions {
    QCommandLineOption library{"library",
                               "The chart library to use (default: $XDG_DATA_HOME/velmora-arudha-lagna/"
                               "library.sqlite, else ~/.local/share/velmora-arudha-lagna/library.sqlite).",
                               "FILE"};
    QCommandLineOption import{"import",
                              "Add the births of birth files and CSV files (the batch's columns, optionally tags and "
                              "notes) to the library in one transaction; more files may follow. Prints a summary; "
                              "refused rows are named by file and line (exit 1 when any).",
                              "FILE"};
    QCommandLineOption list{"list",
                            "Write one JSON line per birth of the library: id, name, date, time, place, tags, "
                            "notes, changed."};
    QCommandLineOption find{"find",
                            "With --list or --batch library: only the births whose name, place, tags or notes hold "
                            "every word of TEXT (letter case and accents ignored).",
                            "TEXT"};
    QCommandLineOption id{"id",
                          "Take the birth from the library, as --birth takes it from a file (--id 7 --json, --pdf, "
                          "--save-birth); other options given change its values.",
                          "N"};
    QCommandLineOption importPlaces{"import-places",
                                    "Read a GeoNames dump (cities500.txt, cities1000.txt, allCountries.txt) into the "
                                    "library; --place, --places and the windows' completer then find its places too.",
                                    "FILE"};
    QCommandLineOption admin1{"admin1", "With --import-places: admin1CodesASCII.txt, for the states' names.", "FILE"};
    QCommandLineOption format{"format",
                              "Output of --batch: json (one JSON line a birth, the default) or csv (a header and one "
                              "row a birth, docs/csv.md; refused rows go to standard error).",
                              "json|csv", "json"};
    QCommandLineOption columns{"columns", "With --format csv: only these columns, in this order.", "a,b,c"};

    void AddTo(QCommandLineParser& parser) const {
        parser.addOptions({library, import, list, find, id, importPlaces, admin1, format, columns});
    }
};

// Reads the library options into the request (the action too, for --import,
// --list and --import-places); a usage message when they do not fit
// together. A birth taken by --id is read by LoadLibraryBirth.
std::optional<QString> ReadLibraryArguments(const QCommandLineParser& parser, const LibraryArgumentOptions& options,
                                            Request& request);

// The birth of that id, or the notice that refuses it (no library, no
// such birth, the library busy or damaged).
std::variant<core::BirthFileContents, core::Notice> LoadLibraryBirth(const QString& libraryPath, qint64 id);

// The library to search places in: opened when its file exists (a search
// never creates one), else null.
std::unique_ptr<core::Library> OpenLibraryForPlaces(const QString& libraryPath);

// --places: the atlas's and the library's places, one a line: label (the
// alternate name matched in brackets), state, country, latitude, longitude,
// time zone.
QString PlaceMatchListText(const QString& query, const QString& libraryPath);

// --import, --list, --import-places. Exit status as the tool's: 0 done, 1
// some rows refused, 2 the library or the input refused, 73 the library
// could not be written (busy included).
int RunLibraryCommand(const Request& request);

// --batch: a CSV file or "library", JSON lines or CSV.
int RunBatchRequest(const Request& request, const core::AnalysisOptions& options);

}  // namespace velmora::cli
