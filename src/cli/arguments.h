#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "core/form_input.h"
#include "core/messages.h"
#include "core/time_scan.h"

namespace velmora::cli {

// What the command line asked for.
struct Request {
    enum class Action { Analyse, ListZones, Help, Version } What = Action::Analyse;
    FormInput Form;
    bool Json = false;
    bool Sensitivity = false;                // --sensitivity: the birth-time scan
    std::optional<ClockMinute> TransitsAt;   // --transits-at: the sky at this universal time
};

// A command line that cannot be understood: a usage line for stderr.
struct UsageError {
    QString Message;
};

// A command line whose values the checks of the input window refuse.
struct InputError {
    Notice Refusal;
};

struct ParsedArguments {
    std::optional<Request> Ok;
    std::optional<UsageError> Usage;
    std::optional<InputError> Input;
};

ParsedArguments ParseArguments(const QStringList& arguments);

QString UsageText();

}  // namespace velmora::cli
