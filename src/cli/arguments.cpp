#include "cli/arguments.h"

#include <QCommandLineParser>
#include <QFile>
#include <QRegularExpression>

#include <variant>

#include "cli/parashari_options.h"
#include "cli/karaka_option.h"
#include "cli/library_command.h"
#include "core/atlas.h"
#include "core/birth_file.h"
#include "core/input_filters.h"
#include "core/place_lookup.h"
#include "core/place_zone.h"
#include "core/text_formats.h"
#include "core/zones.h"

namespace velmora::cli {

namespace {

ParsedArguments Usage(const QString& message) { return {std::nullopt, UsageError{message}, std::nullopt}; }

ParsedArguments Refused(core::Notice notice) { return {std::nullopt, std::nullopt, InputError{std::move(notice)}}; }

std::string Std(const QString& s) { return s.toStdString(); }

// A value with surrounding blanks and line breaks taken off: "09:05 " and
// "09:05\n" (a value read with $(cat file)) both read as "09:05".
QString Trimmed(const QString& value) { return value.trimmed(); }

// A value in range for its form field but outside the lists (a year before
// 1901, an hour 24): refused as input, exit 2, as the form would refuse it.
ParsedArguments OutOfRange(const QString& message) {
    return Refused(core::Notice{message.toStdString(), core::MessageIcon::Information, core::FormField::None});
}

// A whole number of the text, or -1.
int WholeNumber(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : -1;
}

// Reads a birth file for --birth: the form and engine, or the refusal.
std::variant<core::BirthFileContents, core::Notice> LoadBirth(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return core::Notice{Std(QStringLiteral("%1: %2").arg(path, file.errorString())), core::MessageIcon::Critical,
                            core::FormField::None};
    // One byte more than a birth file may hold tells a long file from a full one.
    const QByteArray bytes = file.read(static_cast<qint64>(core::kBirthFileMaxBytes) + 1);
    core::BirthFileReading reading =
        core::ReadBirthFile(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!reading.Birth) {
        core::Notice refusal = reading.Check.value_or(core::Notice{});
        refusal.Text = Std(path) + ": " + reading.Error;
        return refusal;
    }
    return std::move(*reading.Birth);
}

}  // namespace

QString UsageText() {
    return QStringLiteral(
        "usage: velmora-arudha-lagna-cli --name NAME --date YYYY-MM-DD --time HH:MM[:SS] [--zone ROW] [--dst]\n"
        "                               --lat DD:MM{N|S} --lon DDD:MM{E|W} [--city C] [--state S] [--country K]\n"
        "                               [--place TEXT] [--utc-offset +HH:MM] [--ephemeris formulas|precise]\n"
        "                               [--ayanamsa NAME] [--node mean|true] [--json] [--pdf FILE]\n"
        "                               [--sensitivity] [--transits-at YYYY-MM-DDTHH:MM] [--check-precise]\n"
        "                               [--karakas 7|8]\n"
        "       velmora-arudha-lagna-cli --birth FILE [any option above, to change that value] [--json] [--pdf FILE]\n"
        "       velmora-arudha-lagna-cli [--birth FILE] [options above] --save-birth FILE\n"
        "       velmora-arudha-lagna-cli --batch FILE|- [--jobs N] [--ephemeris ...] [--ayanamsa ...] [--node ...]\n"
        "       velmora-arudha-lagna-cli --places TEXT | --list-zones | --help | --version\n"
        "       (any analysis: [--dasha-year 365.25|365.2422|365.25636|360]; --batch also: [--sunrise])\n"
        "       velmora-arudha-lagna-cli [--library FILE] --import FILE... | --list [--find TEXT]\n"
        "       velmora-arudha-lagna-cli [--library FILE] --id N [options above] [--json] [--pdf FILE] "
        "[--save-birth FILE]\n"
        "       velmora-arudha-lagna-cli [--library FILE] --batch library [--find TEXT] [--format json|csv] "
        "[--columns a,b]\n"
        "       velmora-arudha-lagna-cli [--library FILE] --import-places FILE [--admin1 FILE]");
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
    QCommandLineOption places{"places",
                              "List up to 20 atlas places matching TEXT, one a line: name, state, country, "
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
    QCommandLineOption node{"node", "Lunar node of the precise ephemeris: mean (default) or true.", "mean|true",
                            "mean"};
    QCommandLineOption json{"json", "Print one JSON object (schema 2, docs/json.md) instead of the readable report."};
    QCommandLineOption birth{"birth",
                             "Read the birth from a birth file (docs/birth-file.md); other options given "
                             "change its values.",
                             "FILE"};
    QCommandLineOption saveBirth{"save-birth", "Write the birth given by the other options to a birth file and stop.",
                                 "FILE"};
    QCommandLineOption pdf{
        "pdf", "Write the printable report as PDF (no display needed) instead of printing the readable report.",
        "FILE"};
    QCommandLineOption batch{"batch",
                             "Analyse every row of a CSV file (- for standard input) with the columns name, date, "
                             "time, zone, dst, lat, lon, city, state, country and optionally place and utc_offset; "
                             "one JSON line each, in input order.",
                             "FILE"};
    QCommandLineOption jobs{"jobs", "Threads for --batch (default 1); the output keeps the input order.", "N", "1"};
    QCommandLineOption sensitivity{"sensitivity",
                                   "Also work the chart out for every minute from two hours before to two hours "
                                   "after the birth: where the ascendant's and the Arudha Lagna's signs change."};
    QCommandLineOption transitsAt{"transits-at",
                                  "Also show the sky at this universal time against the chart, with the dasha "
                                  "running then.",
                                  "YYYY-MM-DDTHH:MM"};
    QCommandLineOption listZones{"list-zones", "List the zone rows and their offsets."};
    QCommandLineOption help{QStringList{"h", "help"}, "Show this help."};
    QCommandLineOption version{"version", "Show the version."};
    QCommandLineOption checkPrecise{"check-precise",
                                    "With --json in formula mode: also mark the bodies the precise ephemeris places "
                                    "in another sign (\"precisePlacement\"). The readable report always does."};

    void AddTo(QCommandLineParser& parser) const {
        parser.addOptions({name,      date,  time,      zone,   dst,         lat,        lon,       city, state,
                           country,   place, utcOffset, places, ephemeris,   ayanamsa,   node,      json, birth,
                           saveBirth, pdf,   batch,     jobs,   sensitivity, transitsAt, listZones, help, version});
        parser.addOption(checkPrecise);
    }
};

}  // namespace

QString HelpText() {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Works out the Arudha Lagna of a birth and prints the chart, the positions, the readings and the sign "
        "profile.\n\nExit status: 0 done; 1 a batch or an import with a refused row, a batch that could not be read, "
        "or one "
        "whose input is empty or lacks its header row; 2 input refused (the message goes to standard error); 64 "
        "usage error; 73 the output or a file could not be written (a full disk, a closed pipe: the tool stops "
        "at the first write that fails; the library busy included)."));
    const Options options;
    options.AddTo(parser);
    ParashariOptions{}.AddTo(parser);
    parser.addOption(KarakaOption());
    const LibraryArgumentOptions libraryOptions;
    libraryOptions.AddTo(parser);
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
                 ayanamsa, node, json, birth, saveBirth, pdf, batch, jobs, sensitivity, transitsAt, listZones, help,
                 version, checkPrecise] = o;
    o.AddTo(parser);
    const ParashariOptions parashari;
    parashari.AddTo(parser);
    const QCommandLineOption karakas = KarakaOption();
    parser.addOption(karakas);
    const LibraryArgumentOptions libraryOptions;
    libraryOptions.AddTo(parser);

    if (!parser.parse(arguments)) return Usage(parser.errorText());
    // --import takes more files after its first.
    if (!parser.positionalArguments().isEmpty() && !parser.isSet(libraryOptions.import))
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
    if (const std::optional<QString> wrong = ReadLibraryArguments(parser, libraryOptions, request))
        return Usage(*wrong);
    if (request.What != Request::Action::Analyse) return {request, std::nullopt, std::nullopt};
    if (parser.isSet(listZones)) {
        request.What = Request::Action::ListZones;
        return {request, std::nullopt, std::nullopt};
    }
    if (parser.isSet(places)) {
        request.What = Request::Action::ListPlaces;
        request.PlacesQuery = parser.value(places);
        return {request, std::nullopt, std::nullopt};
    }

    // With a birth file, the options given change its values; without one,
    // the birth must be given whole.
    const bool fromFile = parser.isSet(birth) || request.Id;
    if (fromFile) {
        auto loaded = request.Id ? LoadLibraryBirth(request.LibraryPath, *request.Id) : LoadBirth(parser.value(birth));
        if (auto* refusal = std::get_if<core::Notice>(&loaded)) return Refused(std::move(*refusal));
        core::BirthFileContents& contents = std::get<core::BirthFileContents>(loaded);
        request.Form = std::move(contents.Form);
        request.BirthEphemeris = contents.Ephemeris;
        if (contents.Ephemeris) request.Settings = *contents.Ephemeris;
    }

    // The engine: the file's, changed by the options given.
    if (!fromFile || parser.isSet(ephemeris)) {
        const std::optional<core::EphemerisMode> mode = core::ParseEphemerisMode(Std(parser.value(ephemeris)));
        if (!mode) return Usage(QStringLiteral("--ephemeris expects formulas or precise"));
        request.Settings.Mode = *mode;
    }
    if (!fromFile || parser.isSet(ayanamsa)) {
        const std::optional<astro::Ayanamsa> chosen = astro::ParseAyanamsa(Std(parser.value(ayanamsa)));
        if (!chosen)
            return Usage(QStringLiteral(
                "--ayanamsa expects lahiri, raman, krishnamurti, fagan-bradley, yukteshwar or true-chitra"));
        request.Settings.Ayanamsa = *chosen;
    }
    if (!fromFile || parser.isSet(node)) {
        const std::optional<astro::NodeKind> chosen = astro::ParseNodeKind(Std(parser.value(node)));
        if (!chosen) return Usage(QStringLiteral("--node expects mean or true"));
        request.Settings.Node = *chosen;
    }
    if (parser.isSet(ephemeris) || parser.isSet(ayanamsa) || parser.isSet(node))
        request.BirthEphemeris = request.Settings;
    // The formulas have their own correction and node: choosing either for
    // them would be ignored, so it is refused.
    if ((parser.isSet(ayanamsa) || parser.isSet(node)) && request.Settings.Mode != core::EphemerisMode::Precise)
        return Usage(QStringLiteral("--ayanamsa and --node choose for the precise ephemeris: add --ephemeris precise"));

    if (const std::optional<QString> refused = ReadParashariOptions(parser, parashari, request)) return Usage(*refused);
    if (const std::optional<int> scheme = ParseKarakaScheme(parser.value(karakas)))
        request.KarakaScheme = *scheme;
    else
        return Usage(QStringLiteral("--karakas expects 7 or 8"));

    if (parser.isSet(batch)) {
        request.What = Request::Action::Batch;
        request.BatchPath = parser.value(batch);
        request.Jobs = WholeNumber(parser.value(jobs));
        if (request.Jobs < 1 || request.Jobs > 256)
            return Usage(QStringLiteral("--jobs expects a number from 1 to 256"));
        return {request, std::nullopt, std::nullopt};
    }
    if (parser.isSet(jobs)) return Usage(QStringLiteral("--jobs goes with --batch"));

    const bool fromPlace = parser.isSet(place);
    for (const auto* required : {&name, &date, &time}) {
        if (!fromFile && !parser.isSet(*required))
            return Usage(QStringLiteral("missing --%1").arg(required->names().first()));
    }
    if (!fromFile && !fromPlace) {
        for (const auto* required : {&lat, &lon}) {
            if (!parser.isSet(*required))
                return Usage(QStringLiteral("missing --%1 (or --place)").arg(required->names().first()));
        }
    }
    if (parser.isSet(saveBirth)) {
        request.What = Request::Action::SaveBirth;
        request.SaveBirthPath = parser.value(saveBirth);
    }
    request.PdfPath = parser.value(pdf);
    // An option counts when it was given, or when there is no file or place
    // to take its value from (its default then).
    const bool base = fromFile || fromPlace;
    auto given = [&](const QCommandLineOption& option) { return parser.isSet(option) || !base; };

    core::FormInput& form = request.Form;
    request.Json = parser.isSet(json);

    // A remembered atlas place lasts while its coordinates, texts and zone
    // stay as they were.
    if (form.Place && !fromPlace) {
        for (const auto* byHand : {&lat, &lon, &zone, &dst, &city, &state, &country}) {
            if (parser.isSet(*byHand)) form.Place.reset();
        }
    }
    if (form.ExactUtcOffsetMinutes && (parser.isSet(zone) || parser.isSet(dst))) form.ExactUtcOffsetMinutes.reset();

    // The name obeys the name box's rule: letters and blanks, in capitals.
    if (given(name) || !fromFile) {
        const std::optional<std::string> filteredName = core::FilterNameText(Std(parser.value(name)));
        if (!filteredName) return Refused(core::OnlyLettersNotice());
        form.Name = *filteredName;
    }

    if (given(date) || !fromFile) {
        static const QRegularExpression datePattern(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
        const auto dateMatch = datePattern.match(Trimmed(parser.value(date)));
        if (!dateMatch.hasMatch()) return Usage(QStringLiteral("--date expects YYYY-MM-DD"));
        const int year = WholeNumber(dateMatch.captured(1));
        const int month = WholeNumber(dateMatch.captured(2));
        const int day = WholeNumber(dateMatch.captured(3));
        if (year < 1901 || year > 2050)
            return OutOfRange(QStringLiteral("--date: the year must lie from 1901 to 2050"));
        if (month < 1 || month > 12) return OutOfRange(QStringLiteral("--date: the month must lie from 1 to 12"));
        if (day < 1 || day > 31) return OutOfRange(QStringLiteral("--date: the day must lie from 1 to 31"));
        form.Year = std::to_string(year);
        form.MonthIndex = month - 1;
        form.Day = std::to_string(day);
    }

    if (given(time) || !fromFile) {
        static const QRegularExpression timePattern(QStringLiteral("^(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?$"));
        const auto timeMatch = timePattern.match(Trimmed(parser.value(time)));
        if (!timeMatch.hasMatch()) return Usage(QStringLiteral("--time expects HH:MM or HH:MM:SS"));
        const int hour = WholeNumber(timeMatch.captured(1));
        const int minute = WholeNumber(timeMatch.captured(2));
        const int second = timeMatch.captured(3).isEmpty() ? 0 : WholeNumber(timeMatch.captured(3));
        // Second 60 is a leap second, as birth files take it (seconds are
        // ignored).
        if (hour > 23 || minute > 59 || second > 60)
            return OutOfRange(QStringLiteral("--time: hours run 0-23, minutes 0-59 and seconds 0-60"));
        form.Hour = std::to_string(hour);
        form.Minute = std::to_string(minute);
        form.Second = std::to_string(second);
    }

    // A place from the atlas fills the rest; explicit options below win.
    if (fromPlace) {
        const QString text = parser.value(place);
        const std::optional<core::PlaceMatch> match =
            core::FindPlace(OpenLibraryForPlaces(request.LibraryPath).get(), Std(text));
        const std::optional<core::Place> found = match ? std::optional(match->Place) : std::nullopt;
        if (!found) {
            return Refused(core::Notice{Std(QStringLiteral("No place in the atlas matches \u201C%1\u201D.").arg(text)),
                                        core::MessageIcon::Information, core::FormField::City});
        }
        const core::PlaceZoneOutcome outcome = ApplyPlace(form, *found);
        if (outcome.Refusal) return Refused(*outcome.Refusal);
        request.PlaceNote = QString::fromStdString(outcome.Note);
    } else if (form.Place && (parser.isSet(date) || parser.isSet(time))) {
        // A new date or time moves the remembered place's clock with it, as
        // in the input window.
        const core::PlaceZoneOutcome outcome = ApplyPlaceZone(form);
        if (outcome.Refusal) return Refused(*outcome.Refusal);
    }

    if (given(zone)) {
        const int zoneRow = WholeNumber(Trimmed(parser.value(zone)));
        if (zoneRow < 0 || zoneRow >= core::kZoneCount)
            return Usage(QStringLiteral("--zone expects a row from 0 to 70"));
        form.ZoneRow = zoneRow;
        form.ExactUtcOffsetMinutes.reset();
        if (!parser.isSet(dst)) form.DaylightSaving = false;
    }
    if (parser.isSet(dst)) {
        if (form.ExactUtcOffsetMinutes) {
            // The exact offset already says what the clock showed, summer
            // time included, so the box has no row to act on.
            return Usage(
                QStringLiteral("--dst needs a zone row; the place's exact offset already includes summer time"));
        }
        form.DaylightSaving = true;
    }
    if (parser.isSet(utcOffset)) {
        const std::optional<int> offset = core::ParseUtcOffset(Std(parser.value(utcOffset)));
        if (!offset) return Usage(QStringLiteral("--utc-offset expects +HH:MM or -HH:MM within 18 hours"));
        form.ExactUtcOffsetMinutes = *offset;
        form.DaylightSaving = false;
    }

    // Coordinates: the digits go into the boxes as typed (at most 2 or 3
    // digits for degrees, 2 for minutes); the checks judge their values.
    if (parser.isSet(lat)) {
        static const QRegularExpression latPattern(QStringLiteral("^(\\d{1,2}):(\\d{1,2})([NSns])$"));
        const auto latMatch = latPattern.match(Trimmed(parser.value(lat)));
        if (!latMatch.hasMatch()) return Usage(QStringLiteral("--lat expects DD:MM followed by N or S, e.g. 28:36N"));
        form.LatitudeDegrees = Std(latMatch.captured(1));
        form.LatitudeMinutes = Std(latMatch.captured(2));
        form.South = latMatch.captured(3).toUpper() == QStringLiteral("S");
    }
    if (parser.isSet(lon)) {
        static const QRegularExpression lonPattern(QStringLiteral("^(\\d{1,3}):(\\d{1,2})([EWew])$"));
        const auto lonMatch = lonPattern.match(Trimmed(parser.value(lon)));
        if (!lonMatch.hasMatch()) return Usage(QStringLiteral("--lon expects DDD:MM followed by E or W, e.g. 77:12E"));
        form.LongitudeDegrees = Std(lonMatch.captured(1));
        form.LongitudeMinutes = Std(lonMatch.captured(2));
        form.East = lonMatch.captured(3).toUpper() == QStringLiteral("E");
    }

    if (given(city)) form.City = Std(parser.value(city));
    if (given(state)) form.State = Std(parser.value(state));
    if (given(country)) form.Country = Std(parser.value(country));

    request.Sensitivity = parser.isSet(sensitivity);
    request.CheckPrecise = parser.isSet(checkPrecise);
    if (parser.isSet(transitsAt)) {
        request.TransitsAt = core::ParseClockReading(Std(parser.value(transitsAt)));
        if (!request.TransitsAt) return Usage(QStringLiteral("--transits-at expects YYYY-MM-DDTHH:MM"));
        if (*request.TransitsAt < core::kFirstClockMinute || *request.TransitsAt > core::kLastClockMinute)
            return Usage(
                QStringLiteral("--transits-at: the moment must lie from 1901-01-01T00:00 to 2050-12-31T23:59"));
    }
    return {request, std::nullopt, std::nullopt};
}

}  // namespace velmora::cli
