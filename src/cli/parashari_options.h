#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <optional>

#include "cli/arguments.h"

namespace velmora::cli {

// The options of the Parashari tables: the dasha year, and sunrise and
// sunset in batch lines.
struct ParashariOptions {
    QCommandLineOption dashaYear{"dasha-year",
                                 "Days in a year of the Vimshottari and Yogini dashas: 365.25 (Julian, the default), "
                                 "365.2422 (tropical), 365.25636 (sidereal) or 360 (savana).",
                                 "DAYS", "365.25"};
    QCommandLineOption sunrise{"sunrise",
                               "With --batch: also look up sunrise and sunset for the panchanga of each line (about "
                               "90 microseconds a birth); without it a line has them null. A single analysis always "
                               "has them."};

    void AddTo(QCommandLineParser& parser) const { parser.addOptions({dashaYear, sunrise}); }
};

// Reads the options into the request; the usage message when one is refused.
std::optional<QString> ReadParashariOptions(const QCommandLineParser& parser, const ParashariOptions& options,
                                            Request& request);

}  // namespace velmora::cli
