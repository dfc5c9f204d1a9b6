#include "cli/parashari_options.h"

namespace velmora::cli {

std::optional<QString> ReadParashariOptions(const QCommandLineParser& parser, const ParashariOptions& options,
                                            Request& request) {
    const std::optional<analysis::DashaYear> year =
        analysis::ParseDashaYear(parser.value(options.dashaYear).toStdString());
    if (!year) return QStringLiteral("--dasha-year expects 365.25, 365.2422, 365.25636 or 360");
    request.DashaYear = *year;
    request.SunEvents = parser.isSet(options.sunrise);
    if (request.SunEvents && !parser.isSet(QStringLiteral("batch")))
        return QStringLiteral("--sunrise goes with --batch");
    return std::nullopt;
}

}  // namespace velmora::cli
