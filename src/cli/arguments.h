#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "analysis/dasha_year.h"
#include "core/engine_settings.h"
#include "core/form_input.h"
#include "core/messages.h"
#include "core/time_scan.h"

namespace velmora::cli {

// What the command line asked for.
struct Request {
    enum class Action {
        Analyse,
        ListZones,
        ListPlaces,
        Help,
        Version,
        SaveBirth,
        Batch,
        Import,        // --import: births into the library
        ListLibrary,   // --list: the library's births as JSON lines
        ImportPlaces,  // --import-places: a GeoNames dump into the library
    } What = Action::Analyse;
    core::FormInput Form;
    bool Json = false;
    core::EngineSettings Settings;  // the engine: a birth file's, changed by the options given
    // The engine to write into a saved birth: set when a birth file named
    // one or an engine option was given.
    std::optional<core::EngineSettings> BirthEphemeris;
    QString PlacesQuery;                                          // --places
    QString PlaceNote;                                            // what --place resolved, for the text report
    QString SaveBirthPath;                                        // --save-birth: write the birth there and stop
    QString PdfPath;                                              // --pdf: the printable report, written there
    QString BatchPath;                                            // --batch: CSV rows, "-" for standard input
    int Jobs = 1;                                                 // --jobs: threads for --batch
    bool Sensitivity = false;                                     // --sensitivity: the birth-time scan
    std::optional<ClockReading> TransitsAt;                       // --transits-at: the sky at this universal time
    bool CheckPrecise = false;                                    // --check-precise: the precise check in --json too
    analysis::DashaYear DashaYear = analysis::DashaYear::Julian;  // --dasha-year
    bool SunEvents = false;                                       // --sunrise: in --batch lines
    int KarakaScheme = 8;                                         // --karakas: the chara karaka scheme, 7 or 8

    // The chart library (cli/library_command.h).
    QString LibraryPath;       // --library, else the default file; empty when there is none
    QStringList ImportFiles;   // --import
    QString Find;              // --find: the filter of --list and --batch library
    std::optional<qint64> Id;  // --id: the birth came from the library
    QString PlacesDump;        // --import-places
    QString Admin1Codes;       // --admin1
    bool Csv = false;          // --format csv: --batch writes CSV rows
    QString Columns;           // --columns: the CSV's columns, comma-separated
};

// A command line that cannot be understood: a usage line for stderr.
struct UsageError {
    QString Message;
};

// A command line whose values the checks of the input window refuse.
struct InputError {
    core::Notice Refusal;
};

struct ParsedArguments {
    std::optional<Request> Ok;
    std::optional<UsageError> Usage;
    std::optional<InputError> Input;
};

ParsedArguments ParseArguments(const QStringList& arguments);

QString UsageText();

// The full help: usage, every option with its description, exit codes.
QString HelpText();

}  // namespace velmora::cli
