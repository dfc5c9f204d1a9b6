// Command-line front end: runs one analysis from arguments and prints what
// the result window would show, as a readable report or as JSON.

#include <QCoreApplication>
#ifdef VELMORA_WITH_REPORT
#include <QGuiApplication>
#endif
#include <QFile>
#include <QTextStream>
#include <cstdio>
#include <cstring>
#include <chrono>
#include <memory>

#include "cli/arguments.h"
#include "cli/batch_command.h"
#include "cli/output.h"
#include "cli/library_command.h"
#include "cli/text_report.h"
#include "core/analysis_json.h"
#include "core/birth_file.h"
#include "core/form_reading.h"
#include "core/pipeline.h"
#include "core/whole_file.h"
#include "model/version.h"
#ifdef VELMORA_WITH_REPORT
#include "report/printable_report.h"
#endif

namespace {

constexpr int kExitInvalidInput = 2;
constexpr int kExitUsage = 64;
constexpr int kExitCannotWrite = 73;

// The engine the request asks for; --batch analyses every row with it.
velmora::core::AnalysisOptions EngineOptionsOf(const velmora::cli::Request& request) {
    velmora::core::AnalysisOptions options;
    options.Settings = request.Settings;
    options.DashaYear = request.DashaYear;
    options.SunEvents = request.What != velmora::cli::Request::Action::Batch || request.SunEvents;
    options.KarakaScheme = request.KarakaScheme;
    return options;
}

// One birth's analysis, with the birth-time scan and the sky at a moment
// when asked for (--json, --pdf and the readable report).
velmora::core::AnalysisOptions OptionsOf(const velmora::cli::Request& request) {
    velmora::core::AnalysisOptions options = EngineOptionsOf(request);
    options.ScanBirthTime = request.Sensitivity;
    options.TransitsAt = request.TransitsAt;
    // The readable report always checks the formulas against the precise
    // ephemeris; JSON when asked (--check-precise).
    options.CheckAgainstPrecise = !request.Json || request.CheckPrecise;
    // The dashas running "today" beside those at birth: at the transits'
    // moment when one was given, else now.
    if (!request.TransitsAt)
        options.DashasAt =
            std::chrono::time_point_cast<std::chrono::duration<double>>(std::chrono::system_clock::now());
    return options;
}

// --save-birth: the birth as the input window would save it, written whole
// or not at all (a failed write leaves an older file as it was; anything
// but a regular file at the path is refused and left alone).
int SaveBirth(const velmora::cli::Request& request, QTextStream& err) {
    const velmora::core::FormReading reading = velmora::core::ReadForm(request.Form);
    if (const velmora::core::Notice* refused = velmora::core::RefusalOf(reading)) {
        err << QString::fromStdString(refused->Text) << "\n";
        return kExitInvalidInput;
    }
    const std::string text = velmora::core::BirthFileText(*velmora::core::BirthOf(reading), request.BirthEphemeris);
    // Never over a device, FIFO or folder; through a link to its target.
    const velmora::core::WholeFileWrite written =
        velmora::core::WriteWholeFile(QFile::encodeName(request.SaveBirthPath).toStdString(), text);
    if (!written) {
        err << "velmora-arudha-lagna-cli: cannot write " << request.SaveBirthPath << ": "
            << QString::fromLocal8Bit(written.Error.c_str()) << "\n";
        return kExitCannotWrite;
    }
    return 0;
}

// Whether the command line asks for --pdf, looked at before Qt is started
// (the parser needs the application). A value that merely reads "--pdf"
// costs no more than a GUI application that paints nothing.
[[maybe_unused]] bool AsksForPdf(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        for (const char* option : {"--pdf", "-pdf"}) {
            const std::size_t length = std::strlen(option);
            if (std::strncmp(argv[i], option, length) == 0 && (argv[i][length] == '\0' || argv[i][length] == '='))
                return true;
        }
    }
    return false;
}

// The report needs fonts and painting, so a GUI application; without a
// display it draws on the offscreen platform.
std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char* argv[]) {
#ifdef VELMORA_WITH_REPORT
    if (!AsksForPdf(argc, argv)) return std::make_unique<QCoreApplication>(argc, argv);
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
#else
    return std::make_unique<QCoreApplication>(argc, argv);
#endif
}

// --pdf: the window's printable report, written whole or not at all.
int WritePdf(const velmora::core::BirthAnalysis& analysis, const QString& path, QTextStream& err) {
#ifdef VELMORA_WITH_REPORT
    QString error;
    if (!velmora::report::WriteReportPdf(analysis, velmora::report::ChartStyle::SouthIndian, path, &error)) {
        err << "velmora-arudha-lagna-cli: cannot write " << path << ": " << error << "\n";
        return kExitCannotWrite;
    }
    return 0;
#else
    // A build without the windows has no report to paint.
    (void)analysis;
    err << "velmora-arudha-lagna-cli: --pdf is not available in this build (it was made without the windows): " << path
        << " not written\n";
    return kExitUsage;
#endif
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::unique_ptr<QCoreApplication> app = MakeApplication(argc, argv);
    // Every write to standard output is checked (exit 73 at the first that
    // fails); messages go to standard error.
    velmora::cli::IgnoreBrokenPipes();
    velmora::cli::Output out;
    auto written = [&out](const QString& text) {
        out.Write(text);
        return out.Status();
    };
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
            return written(velmora::cli::HelpText());
        case Action::Version:
            return written(
                QStringLiteral("velmora-arudha-lagna-cli ") +
                QString::fromUtf8(velmora::kProgramVersion.data(), qsizetype(velmora::kProgramVersion.size())) +
                QStringLiteral("\n"));
        case Action::ListZones:
            return written(velmora::cli::ZoneListText());
        case Action::ListPlaces: {
            const QString places = velmora::cli::PlaceMatchListText(request.PlacesQuery, request.LibraryPath);
            if (places.isEmpty()) {
                err << QStringLiteral("No place in the atlas matches \u201C%1\u201D.").arg(request.PlacesQuery) << "\n";
                return kExitInvalidInput;
            }
            return written(places);
        }
        case Action::SaveBirth:
            return SaveBirth(request, err);
        case Action::Batch:
            return velmora::cli::RunBatchRequest(request, EngineOptionsOf(request));
        case Action::Import:
        case Action::ListLibrary:
        case Action::ImportPlaces:
            return velmora::cli::RunLibraryCommand(request);
        case Action::Analyse:
            break;
    }

    const velmora::core::AnalysisOutcome outcome = velmora::core::RunAnalysis(request.Form, OptionsOf(request));
    if (outcome.Rejected) {
        err << QString::fromStdString(outcome.Rejected->Text) << "\n";
        return kExitInvalidInput;
    }
    if (!request.PdfPath.isEmpty()) {
        // The PDF replaces the readable report; JSON asked for beside it is printed.
        if (const int failed = WritePdf(outcome.Result, request.PdfPath, err)) return failed;
        if (!request.Json) return 0;
    }
    if (request.Json) {
        out.Write(velmora::core::AnalysisJson(outcome.Result) + "\n");
    } else {
        QString text = velmora::cli::ResultText(outcome.Result);
        if (outcome.Result.Scan) text += velmora::cli::SensitivityText(*outcome.Result.Scan);
        if (outcome.Result.Transits) text += velmora::cli::TransitsText(*outcome.Result.Transits);
        if (outcome.Result.Precise) text += velmora::cli::PreciseCheckText(*outcome.Result.Precise);
        out.Write(text);
    }
    return out.Status();
}
