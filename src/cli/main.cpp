// Command-line front end: runs one analysis from arguments and prints what
// the result window would show, as a readable report or as JSON.

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "core/json_report.h"
#include "core/pipeline.h"
#include "core/time_scan.h"
#include "cli/arguments.h"
#include "cli/report.h"
#include "model/version.h"

namespace {

constexpr int kExitInvalidInput = 2;
constexpr int kExitUsage = 64;

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
            out << velmora::cli::UsageText() << "\n\n"
                << "Works out the Arudha Lagna of a birth and prints the chart, the positions, the readings\n"
                << "and the sign profile. Exit status: 0 done, 2 input refused, 64 usage error.\n";
            return 0;
        case Action::Version:
            out << "velmora-arudha-lagna-cli " << QString::fromUtf8(velmora::kProgramShortVersion.data(), qsizetype(velmora::kProgramShortVersion.size())) << "\n";
            return 0;
        case Action::ListZones:
            out << velmora::cli::ZoneListText();
            return 0;
        case Action::Analyse:
            break;
    }

    const velmora::AnalysisOutcome outcome = velmora::RunAnalysis(request.Form);
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
