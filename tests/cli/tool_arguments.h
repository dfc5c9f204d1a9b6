#pragma once

#include <QLatin1Char>
#include <QString>
#include <QStringList>

#include <string>

#include "support/sample_birth.h"

namespace velmora::testing {

// The tool's options for a birth the form holds, in this order: --name,
// --date as 1980-01-05, --time as 09:05 (09:05:30 when the seconds are not
// 0), --zone, --lat as 28:36N, --lon as 77:12E, then --city, --state and
// --country when there is a city, and --dst when it is ticked.
inline QStringList ToolArguments(const FormTexts& birth) {
    const auto text = [](const std::string& piece) { return QString::fromStdString(piece); };
    const auto twoDigits = [](int number) { return QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0')); };
    const auto twoDigitsOf = [&](const std::string& number) { return twoDigits(text(number).toInt()); };

    QString time = twoDigitsOf(birth.Hour) + QLatin1Char(':') + twoDigitsOf(birth.Minute);
    if (birth.Second != "0") time += QLatin1Char(':') + twoDigitsOf(birth.Second);
    QStringList arguments{QStringLiteral("--name"),
                          text(birth.Name),
                          QStringLiteral("--date"),
                          text(birth.Year) + QLatin1Char('-') + twoDigits(birth.MonthIndex + 1) + QLatin1Char('-') +
                              twoDigitsOf(birth.Day),
                          QStringLiteral("--time"),
                          time,
                          QStringLiteral("--zone"),
                          QString::number(birth.ZoneRow),
                          QStringLiteral("--lat"),
                          text(birth.LatitudeDegrees) + QLatin1Char(':') + twoDigitsOf(birth.LatitudeMinutes) +
                              QLatin1Char(birth.South ? 'S' : 'N'),
                          QStringLiteral("--lon"),
                          text(birth.LongitudeDegrees) + QLatin1Char(':') + twoDigitsOf(birth.LongitudeMinutes) +
                              QLatin1Char(birth.East ? 'E' : 'W')};
    if (!birth.City.empty())
        arguments << QStringLiteral("--city") << text(birth.City) << QStringLiteral("--state") << text(birth.State)
                  << QStringLiteral("--country") << text(birth.Country);
    if (birth.DaylightSaving) arguments << QStringLiteral("--dst");
    return arguments;
}

// A birth as the tool's options, its place left out.
inline QStringList ToolArgumentsWithoutPlace(FormTexts birth) {
    birth.City = birth.State = birth.Country = "";
    return ToolArguments(birth);
}

}  // namespace velmora::testing
