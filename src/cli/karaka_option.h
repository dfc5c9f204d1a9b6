#pragma once

#include <QCommandLineOption>
#include <QString>

#include <optional>

namespace velmora::cli {

// --karakas 7|8: the chara karaka scheme of the Jaimini tools (default 8).
QCommandLineOption KarakaOption();

// The scheme of the option's value: 7 or 8, nothing for any other text.
std::optional<int> ParseKarakaScheme(const QString& text);

}  // namespace velmora::cli
