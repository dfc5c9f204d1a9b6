#include "cli/arguments.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include "core/atlas.h"
#include "core/input_filters.h"
#include "core/place_zone.h"
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
        "                               [--place TEXT] [--utc-offset +HH:MM] [--ephemeris formulas|precise]\n"
        "                               [--ayanamsa NAME] [--node mean|true] [--json]\n"
        "       velmora-arudha-lagna-cli --places TEXT | --list-zones | --help | --version");
}

namespace {

// Every option, described once: the parser, the help text and the checks
// all read this list.
struct Options {
    QCommandLineOption name{"name", "The person's name: letters and blanks (shown in capitals).", "NAME"};
    QCommandLineOption date{"date", "Date of birth, 1901-01-01 to 2050-12-31.", "YYYY-MM-DD"};
    QCommandLineOption time{"time", "Local clock time of birth; seconds are accepted and ignored.", "HH:MM[:SS]"};
    QCommandLineOption zone{"zone", "Row of the zone list, 0 to 70 (default 29, Greenwich Mean Time).", "ROW", "29"};
    QCommandLineOption dst{"dst", "Daylight-saving time was in force (one hour less to universal time)."};
    QCommandLineOption lat{"lat", "Latitude, degrees 0-89 and minutes 0-59, N or S, e.g. 28:36N.", "DD:MM{N|S}"};
    QCommandLineOption lon{"lon", "Longitude, degrees 0-179 and minutes 0-59, E or W, e.g. 077:12E.", "DDD:MM{E|W}"};
    QCommandLineOption city{"city", "City of birth.", "C"};
    QCommandLineOption state{"state", "State of birth.", "S"};
    QCommandLineOption country{"country", "Country of birth.", "K"};
    QCommandLineOption place{"place",
                             "Birth place from the built-in atlas: \"City\", \"City, Country\", \"City, State\" or "
                             "\"City, State, Country\". Fills city, state, country, coordinates, zone and daylight "
                             "saving for the birth moment; --lat, --lon, --zone, --dst, --city, --state and --country "
                             "given as well override its values.",
                             "TEXT"};
    QCommandLineOption utcOffset{"utc-offset",
                                 "An exact clock offset from universal time (east positive), overriding --zone and "
                                 "--dst, e.g. +05:45.",
                                 "+HH:MM"};
    QCommandLineOption places{"places", "List up to 20 atlas places matching TEXT, one a line: name, state, country, "
                                        "latitude, longitude, zone.",
                              "TEXT"};
    QCommandLineOption ephemeris{"ephemeris",
                                 "Positions from the program's own formulas (default) or from the Swiss Ephemeris "
                                 "(precise).",
                                 "formulas|precise", "formulas"};
    QCommandLineOption ayanamsa{"ayanamsa",
                                "Ayanamsa of the precise ephemeris: lahiri (default), raman, krishnamurti, "
                                "fagan-bradley, yukteshwar or true-chitra.",
                                "NAME", "lahiri"};
    QCommandLineOption node{"node", "Lunar node of the precise ephemeris: mean (default) or true.", "mean|true", "mean"};
    QCommandLineOption json{"json", "Print one JSON object (schema 2, docs/json.md) instead of the readable report."};
    QCommandLineOption listZones{"list-zones", "List the zone rows and their offsets."};
    QCommandLineOption help{QStringList{"h", "help"}, "Show this help."};
    QCommandLineOption version{"version", "Show the version."};

    void AddTo(QCommandLineParser& parser) const {
        parser.addOptions({name, date, time, zone, dst, lat, lon, city, state, country, place, utcOffset, places,
                           ephemeris, ayanamsa, node, json, listZones, help, version});
    }
};

}  // namespace

QString HelpText() {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Works out the Arudha Lagna of a birth and prints the chart, the positions, the readings and the sign "
        "profile.\n\nExit status: 0 done, 2 input refused (the message goes to standard error), 64 usage error."));
    const Options options;
    options.AddTo(parser);
    // The parser's own text, less its generic first line (our usage says more).
    QString text = parser.helpText();
    text.remove(0, text.indexOf(QLatin1Char('\n')) + 1);
    return UsageText() + QStringLiteral("\n\n") + text;
}

ParsedArguments ParseArguments(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const Options o;
    const auto& [name, date, time, zone, dst, lat, lon, city, state, country, place, utcOffset, places, ephemeris,
                 ayanamsa, node, json, listZones, help, version] = o;
    o.AddTo(parser);

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
    if (parser.isSet(places)) {
        request.What = Request::Action::ListPlaces;
        request.PlacesQuery = parser.value(places);
        return {request, std::nullopt, std::nullopt};
    }

    // The engine.
    const std::optional<EphemerisMode> mode = ParseEphemerisMode(Std(parser.value(ephemeris)));
    if (!mode) return Usage(QStringLiteral("--ephemeris expects formulas or precise"));
    const std::optional<astro::Ayanamsa> chosenAyanamsa = astro::ParseAyanamsa(Std(parser.value(ayanamsa)));
    if (!chosenAyanamsa)
        return Usage(QStringLiteral(
            "--ayanamsa expects lahiri, raman, krishnamurti, fagan-bradley, yukteshwar or true-chitra"));
    const std::optional<astro::NodeKind> chosenNode = astro::ParseNodeKind(Std(parser.value(node)));
    if (!chosenNode) return Usage(QStringLiteral("--node expects mean or true"));
    request.Settings = EngineSettings{*mode, *chosenAyanamsa, *chosenNode};

    const bool fromPlace = parser.isSet(place);
    for (const auto* required : {&name, &date, &time}) {
        if (!parser.isSet(*required))
            return Usage(QStringLiteral("missing --%1").arg(required->names().first()));
    }
    if (!fromPlace) {
        for (const auto* required : {&lat, &lon}) {
            if (!parser.isSet(*required))
                return Usage(QStringLiteral("missing --%1 (or --place)").arg(required->names().first()));
        }
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

    // A place from the atlas fills the rest; explicit options below win.
    if (fromPlace) {
        const QString text = parser.value(place);
        const std::optional<Place> found = Atlas::Instance().Find(Std(text));
        if (!found) {
            return Refused(Notice{Std(QStringLiteral("No place in the atlas matches \u201C%1\u201D.").arg(text)),
                                  MessageIcon::Information, FormField::City});
        }
        const PlaceZoneOutcome outcome = ApplyPlace(form, *found);
        if (outcome.Refusal) return Refused(*outcome.Refusal);
        request.PlaceNote = QString::fromStdString(outcome.Note);
    }

    if (parser.isSet(zone) || !fromPlace) {
        const int zoneRow = WholeNumber(parser.value(zone));
        if (zoneRow < 0 || zoneRow >= kZoneCount) return Usage(QStringLiteral("--zone expects a row from 0 to 70"));
        form.ZoneRow = zoneRow;
        form.ExactUtcOffsetMinutes.reset();
        if (!parser.isSet(dst)) form.DaylightSaving = false;
    }
    if (parser.isSet(dst)) {
        form.DaylightSaving = true;
        if (form.ExactUtcOffsetMinutes) {
            // Summer time on top of an exact offset: the offset already
            // says what the clock showed, so the box has no row to act on.
            return Usage(QStringLiteral("--dst needs a zone row; the place's exact offset already includes summer time"));
        }
    }
    if (parser.isSet(utcOffset)) {
        const std::optional<int> offset = ParseUtcOffset(Std(parser.value(utcOffset)));
        if (!offset) return Usage(QStringLiteral("--utc-offset expects +HH:MM or -HH:MM within 18 hours"));
        form.ExactUtcOffsetMinutes = *offset;
        form.DaylightSaving = false;
    }

    // Coordinates: the digits go into the boxes as typed (at most 2 or 3
    // digits for degrees, 2 for minutes); the checks judge their values.
    if (parser.isSet(lat)) {
        static const QRegularExpression latPattern(QStringLiteral("^(\\d{1,2}):(\\d{1,2})([NSns])$"));
        const auto latMatch = latPattern.match(parser.value(lat));
        if (!latMatch.hasMatch()) return Usage(QStringLiteral("--lat expects DD:MM followed by N or S, e.g. 28:36N"));
        form.LatitudeDegrees = Std(latMatch.captured(1));
        form.LatitudeMinutes = Std(latMatch.captured(2));
        form.South = latMatch.captured(3).toUpper() == QStringLiteral("S");
    }
    if (parser.isSet(lon)) {
        static const QRegularExpression lonPattern(QStringLiteral("^(\\d{1,3}):(\\d{1,2})([EWew])$"));
        const auto lonMatch = lonPattern.match(parser.value(lon));
        if (!lonMatch.hasMatch())
            return Usage(QStringLiteral("--lon expects DDD:MM followed by E or W, e.g. 77:12E"));
        form.LongitudeDegrees = Std(lonMatch.captured(1));
        form.LongitudeMinutes = Std(lonMatch.captured(2));
        form.East = lonMatch.captured(3).toUpper() == QStringLiteral("E");
    }

    if (parser.isSet(city) || !fromPlace) form.City = Std(parser.value(city));
    if (parser.isSet(state) || !fromPlace) form.State = Std(parser.value(state));
    if (parser.isSet(country) || !fromPlace) form.Country = Std(parser.value(country));
    return {request, std::nullopt, std::nullopt};
}

}  // namespace velmora::cli
