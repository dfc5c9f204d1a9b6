#include "cli/arguments.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include "core/input_filters.h"
#include "core/zones.h"

namespace velmora::cli {

namespace {

ParsedArguments Usage(const QString& message) { return {std::nullopt, UsageError{message}, std::nullopt}; }

ParsedArguments Refused(Notice notice) { return {std::nullopt, std::nullopt, InputError{std::move(notice)}}; }

std::string Std(const QString& s) { return s.toStdString(); }

// A whole number of the text, or -1.
int WholeNumber(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : -1;
}

}  // namespace

QString UsageText() {
    return QStringLiteral(
        "usage: velmora-arudha-lagna-cli --name NAME --date YYYY-MM-DD --time HH:MM[:SS] [--zone ROW] [--dst]\n"
        "                               --lat DD:MM{N|S} --lon DDD:MM{E|W} [--city C] [--state S] [--country K]\n"
        "                               [--json] [--sensitivity] [--transits-at YYYY-MM-DDTHH:MM]\n"
        "       velmora-arudha-lagna-cli --list-zones | --help | --version");
}

ParsedArguments ParseArguments(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption name("name", "The person's name: letters and blanks.", "NAME");
    const QCommandLineOption date("date", "Date of birth, 1901-01-01 to 2050-12-31.", "YYYY-MM-DD");
    const QCommandLineOption time("time", "Local clock time of birth; seconds are ignored.", "HH:MM[:SS]");
    const QCommandLineOption zone("zone", "Row of the zone list, 0 to 70 (default 29, Greenwich).", "ROW", "29");
    const QCommandLineOption dst("dst", "Daylight-saving time was in force.");
    const QCommandLineOption lat("lat", "Latitude, degrees 0-89 and minutes 0-59, N or S.", "DD:MM{N|S}");
    const QCommandLineOption lon("lon", "Longitude, degrees 0-179 and minutes 0-59, E or W.", "DDD:MM{E|W}");
    const QCommandLineOption city("city", "City of birth.", "C");
    const QCommandLineOption state("state", "State of birth.", "S");
    const QCommandLineOption country("country", "Country of birth.", "K");
    const QCommandLineOption json("json", "Print one JSON object instead of the readable report.");
    const QCommandLineOption listZones("list-zones", "List the zone rows and their offsets.");
    const QCommandLineOption help("help", "Show this help.");
    const QCommandLineOption version("version", "Show the version.");
    parser.addOptions({name, date, time, zone, dst, lat, lon, city, state, country, json, listZones, help, version});
    const QCommandLineOption sensitivity(
        "sensitivity", "Also work the chart out for every minute from two hours before to two hours after the birth.");
    const QCommandLineOption transitsAt("transits-at", "Also show the sky at this universal time against the chart.",
                                        "YYYY-MM-DDTHH:MM");
    parser.addOptions({sensitivity, transitsAt});

    if (!parser.parse(arguments)) return Usage(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return Usage(QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments().first()));

    Request request;
    if (parser.isSet(help)) {
        request.What = Request::Action::Help;
        return {request, std::nullopt, std::nullopt};
    }
    if (parser.isSet(version)) {
        request.What = Request::Action::Version;
        return {request, std::nullopt, std::nullopt};
    }
    if (parser.isSet(listZones)) {
        request.What = Request::Action::ListZones;
        return {request, std::nullopt, std::nullopt};
    }
    for (const auto* required : {&name, &date, &time, &lat, &lon}) {
        if (!parser.isSet(*required))
            return Usage(QStringLiteral("missing --%1").arg(required->names().first()));
    }

    FormInput& form = request.Form;
    request.Json = parser.isSet(json);

    // The name obeys the name box's rule: letters and blanks, in capitals.
    const std::optional<std::string> filteredName = FilterNameText(Std(parser.value(name)));
    if (!filteredName) return Refused(OnlyLettersNotice());
    form.Name = *filteredName;

    static const QRegularExpression datePattern(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
    const auto dateMatch = datePattern.match(parser.value(date));
    if (!dateMatch.hasMatch()) return Usage(QStringLiteral("--date expects YYYY-MM-DD"));
    const int year = WholeNumber(dateMatch.captured(1));
    const int month = WholeNumber(dateMatch.captured(2));
    const int day = WholeNumber(dateMatch.captured(3));
    if (year < 1901 || year > 2050) return Usage(QStringLiteral("--date: the year must lie from 1901 to 2050"));
    if (month < 1 || month > 12) return Usage(QStringLiteral("--date: the month must lie from 1 to 12"));
    if (day < 1 || day > 31) return Usage(QStringLiteral("--date: the day must lie from 1 to 31"));
    form.Year = std::to_string(year);
    form.MonthIndex = month - 1;
    form.Day = std::to_string(day);

    static const QRegularExpression timePattern(QStringLiteral("^(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?$"));
    const auto timeMatch = timePattern.match(parser.value(time));
    if (!timeMatch.hasMatch()) return Usage(QStringLiteral("--time expects HH:MM or HH:MM:SS"));
    const int hour = WholeNumber(timeMatch.captured(1));
    const int minute = WholeNumber(timeMatch.captured(2));
    const int second = timeMatch.captured(3).isEmpty() ? 0 : WholeNumber(timeMatch.captured(3));
    if (hour > 23 || minute > 59 || second > 59)
        return Usage(QStringLiteral("--time: hours run 0-23, minutes and seconds 0-59"));
    form.Hour = std::to_string(hour);
    form.Minute = std::to_string(minute);
    form.Second = std::to_string(second);

    const int zoneRow = WholeNumber(parser.value(zone));
    if (zoneRow < 0 || zoneRow >= kZoneCount) return Usage(QStringLiteral("--zone expects a row from 0 to 70"));
    form.ZoneRow = zoneRow;
    form.DaylightSaving = parser.isSet(dst);

    // Coordinates: the digits go into the boxes as typed (at most 2 or 3
    // digits for degrees, 2 for minutes); the checks judge their values.
    static const QRegularExpression latPattern(QStringLiteral("^(\\d{1,2}):(\\d{1,2})([NSns])$"));
    const auto latMatch = latPattern.match(parser.value(lat));
    if (!latMatch.hasMatch()) return Usage(QStringLiteral("--lat expects DD:MM followed by N or S, e.g. 28:36N"));
    form.LatitudeDegrees = Std(latMatch.captured(1));
    form.LatitudeMinutes = Std(latMatch.captured(2));
    form.South = latMatch.captured(3).toUpper() == QStringLiteral("S");

    static const QRegularExpression lonPattern(QStringLiteral("^(\\d{1,3}):(\\d{1,2})([EWew])$"));
    const auto lonMatch = lonPattern.match(parser.value(lon));
    if (!lonMatch.hasMatch()) return Usage(QStringLiteral("--lon expects DDD:MM followed by E or W, e.g. 77:12E"));
    form.LongitudeDegrees = Std(lonMatch.captured(1));
    form.LongitudeMinutes = Std(lonMatch.captured(2));
    form.East = lonMatch.captured(3).toUpper() == QStringLiteral("E");

    request.Sensitivity = parser.isSet(sensitivity);
    if (parser.isSet(transitsAt)) {
        request.TransitsAt = ParseClockMinute(Std(parser.value(transitsAt)));
        if (!request.TransitsAt) return Usage(QStringLiteral("--transits-at expects YYYY-MM-DDTHH:MM"));
        if (*request.TransitsAt < kFirstClockMinute || *request.TransitsAt > kLastClockMinute)
            return Usage(QStringLiteral("--transits-at: the moment must lie from 1901-01-01T00:00 to 2050-12-31T23:59"));
    }

    form.City = Std(parser.value(city));
    form.State = Std(parser.value(state));
    form.Country = Std(parser.value(country));
    return {request, std::nullopt, std::nullopt};
}

}  // namespace velmora::cli
