#include "cli/library_command.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <filesystem>

#include "cli/batch_command.h"
#include "core/analysis_csv.h"
#include "core/atlas.h"
#include "core/library_json.h"
#include "core/place_lookup.h"

namespace velmora::cli {

namespace {

constexpr int kExitPartial = 1;
constexpr int kExitRefused = 2;
constexpr int kExitUsage = 64;
constexpr int kExitCannotWrite = 73;

std::filesystem::path PathOf(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

std::string Std(const QString& s) { return s.toStdString(); }

void Say(const std::string& line) { std::fprintf(stderr, "velmora-arudha-lagna-cli: %s\n", line.c_str()); }

std::string BusyText(const QString& libraryPath) {
    return "the library " + Std(libraryPath) + " is busy: another program is changing it; try again in a moment";
}

// The status's message for the user, the busy library said plainly.
std::string StatusText(const core::LibraryStatus& status, const QString& libraryPath) {
    if (status.Fault == core::LibraryFault::Busy) return BusyText(libraryPath);
    return Std(libraryPath) + ": " + status.Message;
}

// Exit status of a failed change: busy or failed writing is 73, a refusal 2.
int ExitOf(const core::LibraryStatus& status) {
    return status.Fault == core::LibraryFault::Refused || status.Fault == core::LibraryFault::NotFound
               ? kExitRefused
               : kExitCannotWrite;
}

// Opens (creating when missing) the library of the request; null, said, when refused.
std::unique_ptr<core::Library> OpenLibrary(const QString& libraryPath) {
    core::Library::Opening opening = core::Library::Open(PathOf(libraryPath));
    if (!opening.Opened) Say(Std(libraryPath) + ": " + opening.Error);
    return std::move(opening.Opened);
}

bool Exists(const QString& libraryPath) { return !libraryPath.isEmpty() && QFileInfo::exists(libraryPath); }

int Import(const Request& request) {
    const std::unique_ptr<core::Library> library = OpenLibrary(request.LibraryPath);
    if (!library) return kExitRefused;
    std::vector<std::filesystem::path> files;
    for (const QString& file : request.ImportFiles) files.push_back(PathOf(file));
    const core::LibraryImportSummary summary = library->Import(files);
    if (!summary.Status.Ok()) {
        Say(StatusText(summary.Status, request.LibraryPath) + "; nothing was imported");
        return ExitOf(summary.Status);
    }
    for (const core::ImportRefusal& refusal : summary.Refused) Say(core::ImportRefusalText(refusal));
    std::printf("%llu births added to %s, %zu refused\n", static_cast<unsigned long long>(summary.Added),
                QFile::encodeName(request.LibraryPath).constData(), summary.Refused.size());
    return summary.Refused.empty() ? 0 : kExitPartial;
}

// The library of the request, opened, and its rows --find selects; null, said, when refused.
struct Listed {
    std::unique_ptr<core::Library> Library;
    std::vector<core::LibraryRow> Rows;
};
std::optional<Listed> ListRows(const Request& request) {
    Listed listed{OpenLibrary(request.LibraryPath), {}};
    if (!listed.Library) return std::nullopt;
    core::LibraryResult<std::vector<core::LibraryRow>> rows = listed.Library->List(Std(request.Find));
    if (!rows.Ok()) {
        Say(StatusText(rows.Status, request.LibraryPath));
        return std::nullopt;
    }
    listed.Rows = std::move(rows.Value);
    return listed;
}

int List(const Request& request) {
    // Listing never creates a library: none yet lists nothing.
    if (!Exists(request.LibraryPath)) return 0;
    const std::optional<Listed> listed = ListRows(request);
    if (!listed) return kExitRefused;
    std::string out;
    for (const core::LibraryRow& row : listed->Rows) {
        out += core::LibraryRowJson(row);
        out.push_back('\n');
    }
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0) {
        Say("writing the list failed");
        return kExitCannotWrite;
    }
    return 0;
}

int ImportPlaces(const Request& request) {
    const std::unique_ptr<core::Library> library = OpenLibrary(request.LibraryPath);
    if (!library) return kExitRefused;
    core::PlaceImportOptions options;
    options.Admin1Codes = request.Admin1Codes.isEmpty() ? std::filesystem::path() : PathOf(request.Admin1Codes);
    options.CountryNames = &core::Atlas::Instance();
    const core::PlaceImportSummary summary = core::ImportGeoNames(*library, PathOf(request.PlacesDump), options);
    if (!summary.Status.Ok()) {
        Say(StatusText(summary.Status, request.LibraryPath) + "; no place was imported");
        return ExitOf(summary.Status);
    }
    for (const core::ImportRefusal& refusal : summary.Refused) Say(core::ImportRefusalText(refusal));
    std::printf("%llu places imported into %s, %llu not populated places passed over, %zu lines refused\n",
                static_cast<unsigned long long>(summary.Places), QFile::encodeName(request.LibraryPath).constData(),
                static_cast<unsigned long long>(summary.Skipped), summary.Refused.size());
    return summary.Refused.empty() ? 0 : kExitPartial;
}

}  // namespace

std::optional<QString> ReadLibraryArguments(const QCommandLineParser& parser, const LibraryArgumentOptions& o,
                                            Request& request) {
    if (parser.isSet(o.library)) {
        request.LibraryPath = parser.value(o.library);
        if (request.LibraryPath.isEmpty()) return QStringLiteral("--library expects a file");
    } else if (const auto path = core::DefaultLibraryPath(core::ProcessEnvironment())) {
        request.LibraryPath = QFile::decodeName(path->string().c_str());
    }
    const bool batch = parser.isSet(QStringLiteral("batch"));
    if (parser.isSet(o.find) && !parser.isSet(o.list) && !batch)
        return QStringLiteral("--find goes with --list or --batch library");
    request.Find = parser.value(o.find);

    if (parser.isSet(o.format) || parser.isSet(o.columns)) {
        if (!batch) return QStringLiteral("--format and --columns go with --batch");
        const QString format = parser.value(o.format);
        if (format != QStringLiteral("json") && format != QStringLiteral("csv"))
            return QStringLiteral("--format expects json or csv");
        request.Csv = format == QStringLiteral("csv");
        if (parser.isSet(o.columns)) {
            if (!request.Csv) return QStringLiteral("--columns goes with --format csv");
            request.Columns = parser.value(o.columns);
            auto chosen = core::AnalysisCsvWriter::Choose(Std(request.Columns));
            if (const auto* unknown = std::get_if<std::string>(&chosen))
                return QStringLiteral("--columns: %1 (docs/csv.md lists them)").arg(QString::fromStdString(*unknown));
        }
    }

    if (parser.isSet(o.id)) {
        if (parser.isSet(QStringLiteral("birth"))) return QStringLiteral("give --birth or --id, not both");
        bool ok = false;
        const qint64 id = parser.value(o.id).toLongLong(&ok);
        if (!ok || id < 1) return QStringLiteral("--id expects the number of a birth of the library");
        request.Id = id;
    }
    if (parser.isSet(o.admin1) && !parser.isSet(o.importPlaces))
        return QStringLiteral("--admin1 goes with --import-places");

    const int actions = int(parser.isSet(o.import)) + int(parser.isSet(o.list)) + int(parser.isSet(o.importPlaces));
    if (actions > 1) return QStringLiteral("give one of --import, --list and --import-places");
    if (actions == 1 && (batch || request.Id))
        return QStringLiteral("--import, --list and --import-places stand alone");
    if (parser.isSet(o.import)) {
        request.What = Request::Action::Import;
        request.ImportFiles = parser.values(o.import) + parser.positionalArguments();
    } else if (parser.isSet(o.list)) {
        request.What = Request::Action::ListLibrary;
    } else if (parser.isSet(o.importPlaces)) {
        request.What = Request::Action::ImportPlaces;
        request.PlacesDump = parser.value(o.importPlaces);
        request.Admin1Codes = parser.value(o.admin1);
    }
    if ((actions == 1 || request.Id || (batch && parser.value(QStringLiteral("batch")) == QStringLiteral("library"))) &&
        request.LibraryPath.isEmpty())
        return QStringLiteral("no folder for the library (HOME is not set): give --library FILE");
    return std::nullopt;
}

std::variant<core::BirthFileContents, core::Notice> LoadLibraryBirth(const QString& libraryPath, qint64 id) {
    auto refuse = [](std::string text) {
        return core::Notice{std::move(text), core::MessageIcon::Critical, core::FormField::None};
    };
    if (!Exists(libraryPath)) return refuse(Std(libraryPath) + ": there is no library there yet");
    core::Library::Opening opening = core::Library::Open(PathOf(libraryPath));
    if (!opening.Opened) return refuse(Std(libraryPath) + ": " + opening.Error);
    core::LibraryResult<core::LibraryBirth> birth = opening.Opened->Get(id);
    if (birth.Status.Fault == core::LibraryFault::NotFound)
        return refuse(Std(libraryPath) + ": no birth has the id " + std::to_string(id));
    if (!birth.Ok()) return refuse(StatusText(birth.Status, libraryPath));
    return std::move(birth.Value.Birth);
}

std::unique_ptr<core::Library> OpenLibraryForPlaces(const QString& libraryPath) {
    if (!Exists(libraryPath)) return nullptr;
    return std::move(core::Library::Open(PathOf(libraryPath)).Opened);
}

QString PlaceMatchListText(const QString& query, const QString& libraryPath) {
    const std::unique_ptr<core::Library> library = OpenLibraryForPlaces(libraryPath);
    QString out;
    for (const core::PlaceMatch& m : core::SearchPlaces(library.get(), Std(query), 20)) {
        const core::Place& p = m.Place;
        out += QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\n")
                   .arg(QString::fromStdString(core::PlaceMatchLabel(m)), QString::fromStdString(p.State),
                        QString::fromStdString(p.Country))
                   .arg(p.Latitude, 0, 'f', 4)
                   .arg(p.Longitude, 0, 'f', 4)
                   .arg(QString::fromStdString(p.TimeZone));
    }
    return out;
}

int RunLibraryCommand(const Request& request) {
    switch (request.What) {
        case Request::Action::Import:
            return Import(request);
        case Request::Action::ListLibrary:
            return List(request);
        case Request::Action::ImportPlaces:
            return ImportPlaces(request);
        default:
            return kExitUsage;
    }
}

int RunBatchRequest(const Request& request, const core::AnalysisOptions& options) {
    std::optional<core::BatchRowFormat> format;
    if (request.Csv) {
        auto chosen = request.Columns.isEmpty()
                          ? core::AnalysisCsvWriter()
                          : std::get<core::AnalysisCsvWriter>(core::AnalysisCsvWriter::Choose(Std(request.Columns)));
        format = chosen.BatchFormat();
    }
    const core::BatchRowFormat* shape = format ? &*format : nullptr;
    if (request.BatchPath != QStringLiteral("library")) {
        if (!request.Find.isEmpty()) {
            Say("--find goes with --batch library");
            return kExitUsage;
        }
        return RunBatchCommand(request.BatchPath, request.Jobs, options, shape);
    }
    // The library's births, in the list's order, through the batch's CSV:
    // a refused row's line is its place in that order plus one.
    if (!Exists(request.LibraryPath)) {
        Say(Std(request.LibraryPath) + ": there is no library there yet");
        return kExitRefused;
    }
    const std::optional<Listed> listed = ListRows(request);
    if (!listed) return kExitRefused;
    std::vector<std::int64_t> ids;
    ids.reserve(listed->Rows.size());
    for (const core::LibraryRow& row : listed->Rows) ids.push_back(row.Id);
    const core::LibraryResult<std::string> csv = listed->Library->ExportCsv(ids);
    if (!csv.Ok()) {
        Say(StatusText(csv.Status, request.LibraryPath));
        return kExitRefused;
    }
    return RunBatchOnText(csv.Value, request.Jobs, options, shape);
}

}  // namespace velmora::cli
