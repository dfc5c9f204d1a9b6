// Command-line front end: runs one analysis from arguments and prints what
// the result window would show, as a readable report or as JSON.

#include <QCoreApplication>
#include <QSaveFile>
#include <QTextStream>
#include <cstdio>

#include "core/birth_file.h"
#include "core/json_report.h"
#include "core/pipeline.h"
#include "core/place_zone.h"
#include "core/validation.h"
#include "core/time_scan.h"
#include "cli/arguments.h"
#include "cli/batch_command.h"
#include "cli/report.h"
#include "model/version.h"

namespace {

constexpr int kExitInvalidInput = 2;
constexpr int kExitUsage = 64;
constexpr int kExitCannotWrite = 73;

// The analysis options the request asks for; --json, --pdf and --batch all
// use these.
velmora::AnalysisOptions OptionsOf(const velmora::cli::Request& request) {
    velmora::AnalysisOptions options;
    options.Settings = request.Settings;
    return options;
}

// --save-birth: the birth as the input window would save it, written whole
// or not at all (a failed write leaves an older file as it was).
int SaveBirth(const velmora::cli::Request& request, QTextStream& err) {
    std::optional<velmora::Notice> refused = velmora::ValidateInput(request.Form);
    if (!refused) {
        if (auto zone = velmora::PlaceZoneOf(request.Form); zone && zone->Refusal) refused = zone->Refusal;
    }
    if (refused) {
        err << QString::fromStdString(refused->Text) << "\n";
        return kExitInvalidInput;
    }
    const std::string text = velmora::BirthFileText(request.Form, request.BirthEphemeris);
    // Unbuffered, so a short write (a full disk, a size limit) shows in the
    // count: QSaveFile commits whatever reached the disk unless told.
    QSaveFile file(request.SaveBirthPath);
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
                         file.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size()) &&
                         file.commit();
    if (!written) file.cancelWriting();
    if (!written) {
        err << "velmora-arudha-lagna-cli: cannot write " << request.SaveBirthPath << ": " << file.errorString() << "\n";
        return kExitCannotWrite;
    }
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    const velmora::cli::ParsedArguments parsed = velmora::cli::ParseArguments(QCoreApplication::arguments());
    if (parsed.Usage) {
        err << "velmora-arudha-lagna-cli: " << parsed.Usage->Message << "\n" << velmora::cli::UsageText() << "\n";
        return kExitUsage;
    }
    if (parsed.Input) {
        err << QString::fromStdString(parsed.Input->Refusal.Text) << "\n";
        return kExitInvalidInput;
    }

    const velmora::cli::Request& request = *parsed.Ok;
    using Action = velmora::cli::Request::Action;
    switch (request.What) {
        case Action::Help:
            out << velmora::cli::HelpText();
            return 0;
        case Action::Version:
            out << "velmora-arudha-lagna-cli " << QString::fromUtf8(velmora::kProgramVersion.data(), qsizetype(velmora::kProgramVersion.size())) << "\n";
            return 0;
        case Action::ListZones:
            out << velmora::cli::ZoneListText();
            return 0;
        case Action::ListPlaces: {
            const QString places = velmora::cli::PlaceListText(request.PlacesQuery);
            if (places.isEmpty()) {
                err << QStringLiteral("No place in the atlas matches \u201C%1\u201D.").arg(request.PlacesQuery) << "\n";
                return kExitInvalidInput;
            }
            out << places;
            return 0;
        }
        case Action::SaveBirth:
            return SaveBirth(request, err);
        case Action::Batch:
            return velmora::cli::RunBatchCommand(request.BatchPath, request.Jobs, OptionsOf(request));
        case Action::Analyse:
            break;
    }

    const velmora::AnalysisOutcome outcome = velmora::RunAnalysis(request.Form, OptionsOf(request));
    if (outcome.Rejected) {
        err << QString::fromStdString(outcome.Rejected->Text) << "\n";
        return kExitInvalidInput;
    }
    // Asked-for extras: the birth-time scan and the sky at a moment.
    std::optional<velmora::SensitivityScan> scan;
    std::optional<velmora::TransitSky> sky;
    if (request.Sensitivity) scan = velmora::ScanBirthTime(outcome.Result);
    if (request.TransitsAt) sky = velmora::TransitsAt(outcome.Result, *request.TransitsAt);
    if (request.Json) {
        velmora::JsonExtras extras;
        if (scan) extras.Sensitivity = &*scan;
        if (sky) extras.Transits = &*sky;
        const std::string json = velmora::AnalysisJson(outcome.Result, extras) + "\n";
        out.flush();
        std::fwrite(json.data(), 1, json.size(), stdout);
    } else {
        out << velmora::cli::ResultText(outcome.Result);
        if (scan) out << velmora::cli::SensitivityText(*scan);
        if (sky) out << velmora::cli::TransitsText(*sky);
    }
    return 0;
}
