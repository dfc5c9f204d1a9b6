#include "cli/karaka_option.h"

namespace velmora::cli {

QCommandLineOption KarakaOption() {
    return QCommandLineOption(QStringLiteral("karakas"),
                              QStringLiteral("The chara karaka scheme: 8 (default; Sun to Saturn and Rahu, with the "
                                             "Pitrikaraka) or 7 (Sun to Saturn, no Pitrikaraka)."),
                              QStringLiteral("7|8"), QStringLiteral("8"));
}

std::optional<int> ParseKarakaScheme(const QString& text) {
    if (text == QLatin1String("7")) return 7;
    if (text == QLatin1String("8")) return 8;
    return std::nullopt;
}

}  // namespace velmora::cli
