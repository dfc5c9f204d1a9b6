// The command-line front end, run as its own process.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QRegularExpression>

#include "cli/tool_arguments.h"
#include "cli/tool_runner.h"

namespace {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

CliRun RunCli(const QStringList& arguments) {
    const velmora::testing::ToolRun run = velmora::testing::RunTool(arguments);
    return {run.exitCode, QString::fromUtf8(run.out), run.err};
}

// The sample birth, with seconds.
QStringList Sample() {
    velmora::testing::FormTexts birth = velmora::testing::DelhiBirth("asha rao");
    birth.Second = "30";
    return velmora::testing::ToolArguments(birth);
}

QJsonObject JsonOf(const QStringList& arguments) {
    const CliRun run = RunCli(arguments + QStringList{"--json"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    return QJsonDocument::fromJson(run.out.toUtf8()).object();
}

}  // namespace

TEST(Cli, JsonCarriesTheEngineResults) {
    const QJsonObject o = JsonOf(Sample());
    EXPECT_EQ(o["schema"].toInt(), 2);
    EXPECT_EQ(o["program"].toObject()["name"].toString(), QStringLiteral("Velmora Arudha Lagna"));
    EXPECT_EQ(o["program"].toObject()["version"].toString().count(QLatin1Char('.')), 2);
    EXPECT_EQ(o["zoneOffsetHours"].toInt(), -5);
    EXPECT_EQ(o["zoneOffsetMinutes"].toInt(), -30);
    EXPECT_NEAR(o["universalTime"].toDouble(), 9 + 5 / 60.0 - 5.5, 1e-12);
    EXPECT_NEAR(o["siderealCorrection"].toDouble(), -23.5, 0.1);
    const QJsonArray bodies = o["bodies"].toArray();
    ASSERT_EQ(bodies.size(), 10);
    const QStringList names{"Sun", "Moon", "Mercury", "Venus", "Mars", "Jupiter", "Saturn", "Rahu", "Ketu", "Asc"};
    const QString signs = QStringLiteral("AriTauGemCanLeoVirLibScoSagCapAquPis");
    for (int i = 0; i < 10; ++i) {
        const QJsonObject body = bodies[i].toObject();
        EXPECT_EQ(body["name"].toString(), names[i]);
        const QString position = body["position"].toString();
        EXPECT_EQ(position.size(), 9);
        // The sign in the position text is the one the longitude falls in.
        const int sign = static_cast<int>(body["longitude"].toDouble() / 30) % 12;
        EXPECT_EQ(body["sign"].toInt(), sign + 1) << i;
        EXPECT_EQ(position.mid(3, 3), signs.mid(3 * sign, 3)) << i;
        EXPECT_EQ(body["signName"].toString().left(3), signs.mid(3 * sign, 3)) << i;
        EXPECT_TRUE(body["arcText"].toString().endsWith(position.mid(3, 3)));
        EXPECT_EQ(o["longitudes"].toArray()[i].toDouble(), body["longitude"].toDouble());
    }
    const QJsonObject input = o["input"].toObject();
    EXPECT_EQ(input["name"].toString(), QStringLiteral("ASHA RAO"));
    EXPECT_EQ(input["date"].toString(), QStringLiteral("1980-01-05"));
    EXPECT_EQ(input["time"].toString(), QStringLiteral("09:05"));
    EXPECT_EQ(input["zoneRow"].toInt(), 34);
    EXPECT_TRUE(input["zone"].toString().startsWith(QStringLiteral("India")));
    EXPECT_FALSE(input["daylightSaving"].toBool());
    EXPECT_EQ(input["latitude"].toString(), QStringLiteral("28:36N"));
    EXPECT_EQ(input["longitude"].toString(), QStringLiteral("077:12E"));
    EXPECT_EQ(input["city"].toString(), QStringLiteral("New Delhi"));
}

TEST(Cli, ReadableReportShowsNameInCapitalsAndPositions) {
    const CliRun run = RunCli(Sample());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("ASHA RAO")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("Surya/Sun")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("Asc/Lagna")));
}

TEST(Cli, RefusedInputAndUsageErrors) {
    QStringList badName = Sample();
    badName[1] = QStringLiteral("Asha-Rao");
    CliRun run = RunCli(badName);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err.trimmed(), QStringLiteral("Please Enter only Letters"));

    QStringList blankName = Sample();
    blankName[1] = QStringLiteral("   ");
    run = RunCli(blankName);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err.trimmed(), QStringLiteral("Please Enter Name"));

    QStringList farLatitude = Sample();
    farLatitude[9] = QStringLiteral("90:00S");
    run = RunCli(farLatitude);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err.trimmed(), QStringLiteral("Please Enter Value Between 0 And 89 in the Degree of Latitude"));

    QStringList leapDay = Sample();
    leapDay[3] = QStringLiteral("1901-02-29");
    run = RunCli(leapDay);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err.trimmed(), QStringLiteral("Please Enter Correct Date Or Month!"));

    for (const QStringList& usage : {QStringList{"--name", "A"}, QStringList{"--bogus"},
                                     Sample() + QStringList{"--zone", "71"}, Sample() + QStringList{"extra"}}) {
        run = RunCli(usage);
        EXPECT_EQ(run.exitCode, 64) << usage.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("usage:")));
    }
    QStringList badDate = Sample();
    badDate[3] = QStringLiteral("1900-12-31");
    EXPECT_EQ(RunCli(badDate).exitCode, 2);  // outside the year list: refused input
}

TEST(Cli, ZoneListHelpAndVersion) {
    CliRun run = RunCli({"--list-zones"});
    EXPECT_EQ(run.exitCode, 0);
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 71);
    EXPECT_TRUE(lines[29].contains(QStringLiteral("Greenwich Mean Time,GMT,0.0")));
    EXPECT_EQ(RunCli({"--help"}).exitCode, 0);
    run = RunCli({"--version"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains(QStringLiteral("1.25")));
}

TEST(Cli, RetrogradeMarksInJsonAndText) {
    QStringList mercuryRetrograde = Sample();
    mercuryRetrograde[3] = QStringLiteral("1975-09-27");
    const QJsonObject o = JsonOf(mercuryRetrograde);
    const QJsonArray bodies = o["bodies"].toArray();
    ASSERT_EQ(bodies.size(), 10);
    // Names stay plain in JSON; the flag says what the window marks.
    EXPECT_EQ(bodies[2].toObject()["name"].toString(), QStringLiteral("Mercury"));
    EXPECT_TRUE(bodies[2].toObject()["retrograde"].toBool());
    for (int i : {0, 1, 7, 8, 9}) EXPECT_FALSE(bodies[i].toObject()["retrograde"].toBool()) << i;
    EXPECT_FALSE(QString::fromUtf8(QJsonDocument(o).toJson()).contains(QStringLiteral("(R)")));

    // The station day itself is not retrograde.
    mercuryRetrograde[3] = QStringLiteral("1975-09-26");
    EXPECT_FALSE(JsonOf(mercuryRetrograde)["bodies"].toArray()[2].toObject()["retrograde"].toBool());

    QStringList text = Sample();
    text[3] = QStringLiteral("1975-09-27");
    EXPECT_TRUE(RunCli(text).out.contains(QStringLiteral("Mercury (R)")));
}

TEST(Cli, JsonCarriesTheWholeAnalysis) {
    const QJsonObject o = JsonOf(Sample());
    const QJsonObject arudhaLagna = o["arudhaLagna"].toObject();
    const int arudha = arudhaLagna["sign"].toInt();
    ASSERT_GE(arudha, 1);
    ASSERT_LE(arudha, 12);
    const QJsonObject ascendant = o["ascendant"].toObject();
    EXPECT_FALSE(ascendant["lord"].toString().isEmpty());
    EXPECT_GE(ascendant["sign"].toInt(), 1);
    EXPECT_GE(ascendant["lordSign"].toInt(), 1);
    EXPECT_EQ(ascendant["sign"].toInt(), o["bodies"].toArray()[9].toObject()["sign"].toInt());

    // Each body is listed under its own sign, in body order, and the marked
    // sign is the Arudha Lagna.
    const QJsonArray chart = o["chart"].toArray();
    ASSERT_EQ(chart.size(), 12);
    const QJsonArray bodies = o["bodies"].toArray();
    int listed = 0;
    for (int k = 0; k < 12; ++k) {
        const QJsonObject box = chart[k].toObject();
        EXPECT_EQ(box["sign"].toInt(), k + 1);
        EXPECT_EQ(box["arudhaLagna"].toBool(), k + 1 == arudha);
        int previous = -1;
        for (const QJsonValue& name : box["bodies"].toArray()) {
            ++listed;
            int body = 0;
            while (body < 10 && bodies[body].toObject()["name"].toString() != name.toString()) ++body;
            ASSERT_LT(body, 10);
            EXPECT_GT(body, previous);
            previous = body;
            EXPECT_EQ(bodies[body].toObject()["sign"].toInt(), k + 1);
        }
    }
    EXPECT_EQ(listed, 10);

    for (const QJsonValue& run : o["readingRuns"].toArray()) {
        const QJsonObject r = run.toObject();
        EXPECT_TRUE(r["text"].toString().endsWith(QStringLiteral("\r\n")));
        EXPECT_TRUE(r["color"].toString() == QStringLiteral("#000000") ||
                    r["color"].toString() == QStringLiteral("#800000"));
        EXPECT_TRUE(r["bold"].isBool());
    }
    QString fromReadings;
    for (const QJsonValue& value : o["readings"].toArray()) {
        const QJsonObject r = value.toObject();
        EXPECT_GE(r["house"].toInt(), 1);
        fromReadings += r["heading"].toString();
        for (const QJsonValue& sentence : r["sentences"].toArray()) fromReadings += sentence.toString();
        EXPECT_FALSE(r["heading"].toString().contains(QLatin1Char('\r')));
    }
    QString fromRuns;
    for (const QJsonValue& run : o["readingRuns"].toArray()) fromRuns += run.toObject()["text"].toString();
    EXPECT_EQ(fromRuns.remove(QStringLiteral("\r\n")), fromReadings);

    const QJsonObject profile = o["profile"].toObject();
    EXPECT_EQ(profile.size(), 29);
    EXPECT_EQ(profile["englishName"].toString(), profile["arudhaLagnaPresentInSign"].toString());
    EXPECT_EQ(profile["yourArudhaLagnaIs"].toString(), arudhaLagna["signName"].toString());
    EXPECT_FALSE(profile["rulingPlanet"].toString().isEmpty());
    for (const char* key : {"looksText", "natureText", "careerAndFinanceText", "loveAndDomesticLifeText", "healthText"})
        EXPECT_GT(profile[QLatin1String(key)].toString().size(), 50) << key;
    const QJsonObject details = o["details"].toObject();
    EXPECT_EQ(details.size(), 8);
    EXPECT_EQ(details["name"].toString(), QStringLiteral("ASHA RAO"));
    EXPECT_EQ(details["dateOfBirth"].toString(), QStringLiteral("January/5/1980"));
    EXPECT_EQ(details["timeOfBirth"].toString(), QStringLiteral("9:5"));
    EXPECT_EQ(details["latitude"].toString(), QStringLiteral("28\u00b0 36'"));
    EXPECT_EQ(details["country"].toString(), QStringLiteral("India"));
    // No widget name leaks into the JSON.
    EXPECT_FALSE(QString::fromUtf8(QJsonDocument(o).toJson()).contains(QStringLiteral("\"lbl")));
}

TEST(Cli, TextReportShowsTheChartGridReadingsAndProfile) {
    const CliRun run = RunCli(Sample());
    ASSERT_EQ(run.exitCode, 0);
    // The four corners of the grid: Pisces top left, Gemini top right,
    // Sagittarius bottom left, Virgo bottom right.
    const QStringList lines = run.out.split('\n');
    int top = -1;
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].startsWith(QStringLiteral("| 12 Pisces"))) top = i;
    ASSERT_GE(top, 0);
    EXPECT_TRUE(lines[top].contains(QStringLiteral("| 3 Gemini")));
    bool bottom = false;
    for (const QString& line : lines)
        if (line.startsWith(QStringLiteral("| 9 Sagittarius")) && line.contains(QStringLiteral("| 6 Virgo")))
            bottom = true;
    EXPECT_TRUE(bottom);
    EXPECT_TRUE(run.out.contains(QStringLiteral("[Arudha Lagna]")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("More About Your Arudha Lagna")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("Your Arudha Lagna is")));
}

TEST(Cli, PlaceFromTheAtlasAndItsOverrides) {
    // Delhi: the atlas fills the place, coordinates and the Indian row.
    QStringList delhi{"--name", "asha", "--date", "1980-01-05", "--time", "09:05", "--place", "Delhi"};
    QJsonObject o = JsonOf(delhi);
    QJsonObject place = o["place"].toObject();
    EXPECT_EQ(place["timeZone"].toString(), QStringLiteral("Asia/Kolkata"));
    EXPECT_EQ(place["utcOffsetMinutes"].toInt(), 330);
    EXPECT_FALSE(place["daylightSaving"].toBool());
    EXPECT_EQ(place["zoneRow"].toInt(), o["input"].toObject()["zoneRow"].toInt());
    EXPECT_EQ(o["zoneOffsetHours"].toInt(), -5);
    EXPECT_EQ(o["zoneOffsetMinutes"].toInt(), -30);
    EXPECT_EQ(o["input"].toObject()["latitude"].toString(), QStringLiteral("28:39N"));
    EXPECT_EQ(o["input"].toObject()["city"].toString(), QStringLiteral("Delhi"));

    // Explicit options win over the place's values.
    o = JsonOf(delhi + QStringList{"--lat", "10:00S", "--city", "Elsewhere", "--zone", "29"});
    EXPECT_EQ(o["input"].toObject()["latitude"].toString(), QStringLiteral("10:00S"));
    EXPECT_EQ(o["input"].toObject()["city"].toString(), QStringLiteral("Elsewhere"));
    EXPECT_EQ(o["zoneOffsetHours"].toInt(), 0);

    // Kathmandu keeps UTC+05:45, which no row expresses.
    o = JsonOf({"--name", "asha", "--date", "1990-05-01", "--time", "12:00", "--place", "Kathmandu"});
    EXPECT_TRUE(o["place"].toObject()["zoneRow"].isNull());
    EXPECT_EQ(o["input"].toObject()["utcOffset"].toString(), QStringLiteral("+05:45"));
    EXPECT_DOUBLE_EQ(o["universalTime"].toDouble(), 6.25);

    // An unknown place and a clock time that never existed are refused.
    CliRun run = RunCli({"--name", "asha", "--date", "1990-05-01", "--time", "12:00", "--place", "Qwxyzville"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("No place in the atlas matches"))) << run.err.toStdString();
    run = RunCli({"--name", "asha", "--date", "1975-02-23", "--time", "02:30", "--place", "New York"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains(QStringLiteral("does not exist"))) << run.err.toStdString();

    // The listing: one place a line, six tab-separated fields.
    run = RunCli({"--places", "Springfield"});
    ASSERT_EQ(run.exitCode, 0);
    const QStringList lines = run.out.trimmed().split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 2);
    EXPECT_LE(lines.size(), 20);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Springfield\tMissouri"))) << lines[0].toStdString();
    EXPECT_EQ(lines[0].split(QLatin1Char('\t')).size(), 6);
}

TEST(Cli, ExactOffsetAndEngineChoices) {
    // An exact offset replaces the zone row: 12:00 at UTC+05:45 is 06:15 UT.
    QJsonObject o = JsonOf(Sample() + QStringList{"--utc-offset", "+05:45", "--dst"});
    EXPECT_DOUBLE_EQ(o["universalTime"].toDouble(), 9 + 5 / 60.0 - 5.75);
    EXPECT_EQ(RunCli(Sample() + QStringList{"--utc-offset", "5h"}).exitCode, 64);

    o = JsonOf(Sample());
    EXPECT_EQ(o["ephemeris"].toObject()["mode"].toString(), QStringLiteral("formulas"));
    EXPECT_EQ(o["ephemeris"].toObject()["ayanamsa"].toString(), QStringLiteral("formula"));
    EXPECT_EQ(o["ephemeris"].toObject()["node"].toString(), QStringLiteral("formula"));
    EXPECT_FALSE(o.contains(QStringLiteral("formulaComparison")));

    const QJsonObject precise =
        JsonOf(Sample() + QStringList{"--ephemeris", "precise", "--ayanamsa", "raman", "--node", "true"});
    EXPECT_EQ(precise["ephemeris"].toObject()["mode"].toString(), QStringLiteral("precise"));
    EXPECT_EQ(precise["ephemeris"].toObject()["ayanamsa"].toString(), QStringLiteral("raman"));
    EXPECT_EQ(precise["ephemeris"].toObject()["node"].toString(), QStringLiteral("true"));
    // Raman's ayanamsa is about 1.4 degrees smaller than the formulas' correction.
    EXPECT_NEAR(precise["siderealCorrection"].toDouble() - o["siderealCorrection"].toDouble(), 1.44, 0.1);
    const QJsonArray comparison = precise["formulaComparison"].toArray();
    ASSERT_EQ(comparison.size(), 10);
    EXPECT_EQ(comparison[0].toObject()["longitude"].toDouble(),
              o["bodies"].toArray()[0].toObject()["longitude"].toDouble());

    EXPECT_EQ(RunCli(Sample() + QStringList{"--ephemeris", "exact"}).exitCode, 64);
    EXPECT_EQ(RunCli(Sample() + QStringList{"--ayanamsa", "nonsense"}).exitCode, 64);
}

TEST(Cli, HelpDescribesEveryOption) {
    const CliRun run = RunCli({"--help"});
    ASSERT_EQ(run.exitCode, 0);
    const qsizetype options = run.out.indexOf(QStringLiteral("Options:"));
    ASSERT_GE(options, 0);
    for (const char* option :
         {"--name",     "--date",  "--time",    "--zone",       "--dst",        "--lat",    "--lon",
          "--city",     "--state", "--country", "--place",      "--utc-offset", "--places", "--ephemeris",
          "--ayanamsa", "--node",  "--json",    "--list-zones", "--help",       "--version"}) {
        const QString name = QString::fromLatin1(option);
        const qsizetype at =
            run.out.indexOf(QRegularExpression(QStringLiteral("[ ,]") + name + QStringLiteral("[ \n]")), options);
        ASSERT_GE(at, 0) << option;
        // Each option's line carries a description after its name.
        const QString line = run.out.mid(at, run.out.indexOf(QLatin1Char('\n'), at) - at);
        EXPECT_GT(line.simplified().size(), name.size() + 10) << option;
    }
}

TEST(Cli, SensitivityAndTransitsOnlyWhenAsked) {
    const QJsonObject plain = JsonOf(Sample());
    EXPECT_FALSE(plain.contains(QStringLiteral("sensitivity")));
    EXPECT_FALSE(plain.contains(QStringLiteral("transits")));

    const QJsonObject both = JsonOf(Sample() + QStringList{"--sensitivity", "--transits-at", "2025-06-01T06:30"});
    const QJsonObject scan = both[QStringLiteral("sensitivity")].toObject();
    EXPECT_EQ(scan[QStringLiteral("windowMinutes")].toInt(), 120);
    const QJsonArray segments = scan[QStringLiteral("segments")].toArray();
    ASSERT_FALSE(segments.isEmpty());
    EXPECT_EQ(segments.first()[QStringLiteral("from")].toString(), QStringLiteral("1980-01-05T07:05"));
    EXPECT_EQ(segments.last()[QStringLiteral("to")].toString(), QStringLiteral("1980-01-05T11:05"));
    // The segment holding the birth minute carries the chart's own signs.
    const int ascendant = both[QStringLiteral("ascendant")].toObject()[QStringLiteral("sign")].toInt();
    const int arudha = both[QStringLiteral("arudhaLagna")].toObject()[QStringLiteral("sign")].toInt();
    bool holds = false;
    for (const QJsonValue& s : segments) {
        const QJsonObject o = s.toObject();
        if (o[QStringLiteral("from")].toString() <= QStringLiteral("1980-01-05T09:05") &&
            o[QStringLiteral("to")].toString() >= QStringLiteral("1980-01-05T09:05")) {
            holds = true;
            EXPECT_EQ(o[QStringLiteral("ascendantSign")].toInt(), ascendant);
            EXPECT_EQ(o[QStringLiteral("arudhaLagnaSign")].toInt(), arudha);
        }
    }
    EXPECT_TRUE(holds);
    const QJsonObject same = scan[QStringLiteral("sameChart")].toObject();
    EXPECT_LE(same[QStringLiteral("from")].toString(), QStringLiteral("1980-01-05T09:05"));
    EXPECT_GE(same[QStringLiteral("to")].toString(), QStringLiteral("1980-01-05T09:05"));

    const QJsonObject transits = both[QStringLiteral("transits")].toObject();
    EXPECT_EQ(transits[QStringLiteral("moment")].toString(), QStringLiteral("2025-06-01T06:30"));
    const QJsonArray bodies = transits[QStringLiteral("bodies")].toArray();
    ASSERT_EQ(bodies.size(), 9);
    EXPECT_EQ(bodies[8].toObject()[QStringLiteral("name")].toString(), QStringLiteral("Ketu"));
    for (const QJsonValue& b : bodies) {
        const QJsonObject o = b.toObject();
        const int sign = o[QStringLiteral("sign")].toInt();
        EXPECT_EQ(o[QStringLiteral("houseFromAscendant")].toInt(), (sign - ascendant + 12) % 12 + 1);
        EXPECT_EQ(o[QStringLiteral("houseFromArudhaLagna")].toInt(), (sign - arudha + 12) % 12 + 1);
        EXPECT_TRUE(o[QStringLiteral("retrograde")].isBool());
    }
    const QJsonObject dasha = transits[QStringLiteral("dasha")].toObject();
    EXPECT_FALSE(dasha[QStringLiteral("maha")].toString().isEmpty());
    EXPECT_FALSE(dasha[QStringLiteral("antar")].toString().isEmpty());

    const CliRun text = RunCli(Sample() + QStringList{"--sensitivity", "--transits-at", "2025-06-01T06:30"});
    ASSERT_EQ(text.exitCode, 0);
    EXPECT_TRUE(text.out.contains(QStringLiteral("Birth-Time Sensitivity")));
    EXPECT_TRUE(text.out.contains(QStringLiteral("Transits at 2025-06-01T06:30 UT")));
    EXPECT_FALSE(RunCli(Sample()).out.contains(QStringLiteral("Birth-Time Sensitivity")));

    for (const char* bad : {"2025-06-01", "2025-02-30T10:00", "1900-12-31T23:59", "2025-06-01T25:00"}) {
        const CliRun refused = RunCli(Sample() + QStringList{"--transits-at", QString::fromLatin1(bad)});
        EXPECT_EQ(refused.exitCode, 64) << bad;
        EXPECT_TRUE(refused.err.contains(QStringLiteral("--transits-at"))) << bad;
    }
}

TEST(Cli, TextReportEndsWithThePadasNavamsaAndDashas) {
    const CliRun run = RunCli(Sample());
    ASSERT_EQ(run.exitCode, 0);
    const qsizetype padas = run.out.indexOf(QStringLiteral("\nArudha Padas\n"));
    const qsizetype navamsa = run.out.indexOf(QStringLiteral("\nNavamsa\n"));
    const qsizetype dasha = run.out.indexOf(QStringLiteral("\nVimshottari Dasha\n"));
    ASSERT_GT(padas, run.out.indexOf(QStringLiteral("Your Arudha Lagna is")));
    ASSERT_GT(navamsa, padas);
    ASSERT_GT(dasha, navamsa);
    const QJsonObject json = JsonOf(Sample());
    // Every pada line names its label and sign as the JSON does.
    for (const QJsonValue& p : json[QStringLiteral("arudhaPadas")].toArray()) {
        const QJsonObject o = p.toObject();
        const QRegularExpression line(
            QStringLiteral("\\n  %1 .* %2 +%3\\n")
                .arg(o[QStringLiteral("house")].toInt())
                .arg(o[QStringLiteral("label")].toString(), o[QStringLiteral("signName")].toString()));
        EXPECT_TRUE(line.match(run.out.mid(padas, navamsa - padas + 1)).hasMatch())
            << o[QStringLiteral("label")].toString().toStdString();
    }
    for (const QJsonValue& m : json[QStringLiteral("dasha")].toObject()[QStringLiteral("periods")].toArray()) {
        const QJsonObject o = m.toObject();
        EXPECT_TRUE(run.out.mid(dasha).contains(
            QStringLiteral("%1 to %2")
                .arg(o[QStringLiteral("start")].toString(), o[QStringLiteral("end")].toString())));
    }
    EXPECT_TRUE(
        run.out.contains(QStringLiteral("Moon in Ashlesha (lord Mercury); balance at birth 9 years 11 months")));
}

TEST(Cli, DashaYearOptionAndTheParashariTables) {
    // The default year, and each of the four; anything else is a usage error.
    EXPECT_DOUBLE_EQ(JsonOf(Sample())["dasha"].toObject()["yearDays"].toDouble(), 365.25);
    const QJsonObject savana = JsonOf(Sample() + QStringList{"--dasha-year", "360"});
    EXPECT_DOUBLE_EQ(savana["dasha"].toObject()["yearDays"].toDouble(), 360);
    const QJsonObject julian = JsonOf(Sample());
    // Periods after the first are shorter in the shorter year.
    const auto secondEnd = [](const QJsonObject& o, const char* system) {
        return o[QLatin1String(system)].toObject()["periods"].toArray()[1].toObject()["end"].toString();
    };
    EXPECT_LT(secondEnd(savana, "dasha"), secondEnd(julian, "dasha"));
    EXPECT_LT(secondEnd(savana, "yoginiDasha"), secondEnd(julian, "yoginiDasha"));
    for (const char* year : {"365.2422", "365.25636"})
        EXPECT_EQ(RunCli(Sample() + QStringList{"--dasha-year", year, "--json"}).exitCode, 0) << year;
    for (const char* year : {"365", "365.250", "", "julian"}) {
        const CliRun run = RunCli(Sample() + QStringList{"--dasha-year", year});
        EXPECT_EQ(run.exitCode, 64) << year;
        EXPECT_TRUE(run.err.contains(QStringLiteral("--dasha-year expects"))) << year;
    }
    EXPECT_EQ(RunCli(Sample() + QStringList{"--sunrise"}).exitCode, 64);
    EXPECT_TRUE(RunCli({"--help"}).out.contains(QStringLiteral("--dasha-year <DAYS>")));

    // The readable report states the year and shows the tables, and the
    // dashas running at the transits' moment.
    const CliRun run = RunCli(Sample() + QStringList{"--dasha-year", "360", "--transits-at", "2025-06-01T06:30"});
    ASSERT_EQ(run.exitCode, 0);
    for (const char* text : {"Dasha year: 360 days (savana)", "\nDegree Table\n", "\nPanchanga\n", "\nVargas\n",
                             "  Vara      7      Shanivara\n", "Today (2025-06-01T06:30Z):"})
        EXPECT_TRUE(run.out.contains(QLatin1String(text))) << text;
    const QJsonObject o = JsonOf(Sample());
    EXPECT_TRUE(run.out.contains(
        QStringLiteral("  Sunrise          %1\n").arg(o["panchanga"].toObject()["sunrise"].toString())));
}

TEST(Cli, BatchLinesHaveSunriseOnlyWithTheOption) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rows.csv"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "name,date,time,zone,dst,lat,lon,city,state,country\n"
        "ASHA,1980-01-05,09:05,34,0,28:36N,077:12E,New Delhi,Delhi,India\n");
    file.close();
    const auto line = [&](const QStringList& more) {
        const CliRun run = RunCli(QStringList{"--batch", path} + more);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return QJsonDocument::fromJson(run.out.toUtf8()).object()["panchanga"].toObject();
    };
    EXPECT_TRUE(line({})["sunrise"].isNull());
    EXPECT_EQ(line({"--sunrise"})["sunrise"].toString(),
              JsonOf(Sample())["panchanga"].toObject()["sunrise"].toString());
    EXPECT_EQ(line({"--sunrise", "--dasha-year", "365.2422"})["vara"].toObject()["number"].toInt(), 7);
}
