// Command-line front end: runs one analysis from arguments and prints what
// the result window would show, as a readable report or as JSON.

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "core/json_report.h"
#include "core/pipeline.h"
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
        case Action::Analyse:
            break;
    }

    velmora::AnalysisOptions options;
    options.Settings = request.Settings;
    const velmora::AnalysisOutcome outcome = velmora::RunAnalysis(request.Form, options);
    if (outcome.Rejected) {
        err << QString::fromStdString(outcome.Rejected->Text) << "\n";
        return kExitInvalidInput;
    }
    if (request.Json) {
        const std::string json = velmora::AnalysisJson(outcome.Result) + "\n";
        out.flush();
        std::fwrite(json.data(), 1, json.size(), stdout);
    } else {
        out << velmora::cli::ResultText(outcome.Result);
    }
    return 0;
}
