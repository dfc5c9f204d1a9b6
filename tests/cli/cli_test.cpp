// The command-line front end, run as its own process.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

CliRun RunCli(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(VELMORA_CLI_PATH), arguments);
    process.waitForFinished(30000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QStringList Sample() {
    return {"--name", "asha rao", "--date", "1980-01-05", "--time", "09:05:30", "--zone", "34",
            "--lat",  "28:36N",   "--lon",  "77:12E",     "--city", "New Delhi", "--state", "Delhi",
            "--country", "India"};
}

QJsonObject JsonOf(const QStringList& arguments) {
    const CliRun run = RunCli(arguments + QStringList{"--json"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    return QJsonDocument::fromJson(run.out.toUtf8()).object();
}

}  // namespace

TEST(Cli, JsonCarriesTheEngineResults) {
    const QJsonObject o = JsonOf(Sample());
    EXPECT_EQ(o["zoneOffsetHours"].toInt(), -5);
    EXPECT_EQ(o["zoneOffsetMinutes"].toInt(), -30);
    EXPECT_NEAR(o["universalTime"].toDouble(), 9 + 5 / 60.0 - 5.5, 1e-12);
    EXPECT_NEAR(o["siderealCorrection"].toDouble(), -23.5, 0.1);
    const QJsonArray positions = o["positions"].toArray();
    const QJsonArray arcTexts = o["arcTexts"].toArray();
    const QJsonArray longitudes = o["longitudes"].toArray();
    ASSERT_EQ(positions.size(), 10);
    ASSERT_EQ(arcTexts.size(), 10);
    ASSERT_EQ(longitudes.size(), 10);
    for (int i = 0; i < 10; ++i) {
        const QString position = positions[i].toString();
        EXPECT_EQ(position.size(), 9);
        // The sign in the position text is the one the longitude falls in.
        const QString signs = QStringLiteral("AriTauGemCanLeoVirLibScoSagCapAquPis");
        const int sign = static_cast<int>(longitudes[i].toDouble() / 30) % 12;
        EXPECT_EQ(position.mid(3, 3), signs.mid(3 * sign, 3)) << i;
        EXPECT_TRUE(arcTexts[i].toString().endsWith(position.mid(3, 3)));
    }
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
    EXPECT_EQ(RunCli(badDate).exitCode, 64);
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
    const QJsonArray names = o["bodyDisplayNames"].toArray();
    ASSERT_EQ(names.size(), 10);
    EXPECT_EQ(names[2].toString(), QStringLiteral("Mercury (R) "));
    EXPECT_EQ(names[0].toString(), QStringLiteral("Sun"));
    EXPECT_EQ(names[9].toString(), QStringLiteral("Asc"));
    const QJsonObject retrograde = o["retrograde"].toObject();
    EXPECT_EQ(retrograde.keys(), (QStringList{"Jupiter", "Mars", "Mercury", "Saturn", "Venus"}));
    EXPECT_TRUE(retrograde["Mercury"].toBool());

    // The station day itself is not retrograde.
    mercuryRetrograde[3] = QStringLiteral("1975-09-26");
    EXPECT_FALSE(JsonOf(mercuryRetrograde)["retrograde"].toObject()["Mercury"].toBool());

    QStringList text = Sample();
    text[3] = QStringLiteral("1975-09-27");
    EXPECT_TRUE(RunCli(text).out.contains(QStringLiteral("Mercury (R)")));
}

TEST(Cli, JsonCarriesTheWholeAnalysis) {
    const QJsonObject o = JsonOf(Sample());
    const int arudha = o["arudhaLagnaSign"].toInt();
    ASSERT_GE(arudha, 1);
    ASSERT_LE(arudha, 12);
    EXPECT_FALSE(o["ascendantLord"].toString().isEmpty());
    EXPECT_GE(o["ascendantSign"].toInt(), 1);
    EXPECT_GE(o["lordSign"].toInt(), 1);
    const QJsonArray bodySign = o["bodySign"].toArray();
    ASSERT_EQ(bodySign.size(), 10);

    const QJsonObject chart = o["chart"].toObject();
    const QStringList boxes{"lblAries", "lblTaurus", "lblGemini",      "lblCancer",    "lblLeo",      "lblVirgo",
                            "lblLibra", "lblScorpio", "lblSagattarius", "lblCapricorn", "lblAquarius", "lblPisces"};
    ASSERT_EQ(chart.size(), 12);
    const QJsonArray names = o["bodyDisplayNames"].toArray();
    for (int body = 0; body < 10; ++body) {
        const QString box = chart[boxes[bodySign[body].toInt()]].toString();
        EXPECT_TRUE(box.contains(QStringLiteral("\r\n") + names[body].toString())) << body;
    }
    const QJsonArray markers = o["arudhaMarkers"].toArray();
    ASSERT_EQ(markers.size(), 12);
    for (int k = 0; k < 12; ++k)
        EXPECT_EQ(markers[k].toString(), k == arudha - 1 ? QStringLiteral("Arudha Lagna") : QString());

    for (const QJsonValue& run : o["readings"].toArray()) {
        const QJsonObject r = run.toObject();
        EXPECT_TRUE(r["text"].toString().endsWith(QStringLiteral("\r\n")));
        EXPECT_TRUE(r["color"].toString() == QStringLiteral("#000000") || r["color"].toString() == QStringLiteral("#800000"));
        EXPECT_TRUE(r["bold"].isBool());
    }
    const QJsonObject profile = o["profile"].toObject();
    EXPECT_EQ(profile.size(), 29);
    EXPECT_EQ(profile["lblEnglishName"].toString(), profile["lblArudhaLagnaPresentInSign"].toString());
    EXPECT_EQ(profile["lblYourArudhaLagnais"].toString(), profile["lblEnglishName"].toString());
    const QJsonObject details = o["details"].toObject();
    EXPECT_EQ(details.size(), 8);
    EXPECT_EQ(details["lblName"].toString(), QStringLiteral("ASHA RAO"));
    EXPECT_EQ(details["lblDOB"].toString(), QStringLiteral("January/5/1980"));
    EXPECT_EQ(details["lblTOB"].toString(), QStringLiteral("9:5"));
    EXPECT_EQ(details["lblLatitude"].toString(), QStringLiteral("28\u00b0 36'"));
    EXPECT_EQ(details["lblCountry"].toString(), QStringLiteral("India"));
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
        if (line.startsWith(QStringLiteral("| 9 Sagittarius")) && line.contains(QStringLiteral("| 6 Virgo"))) bottom = true;
    EXPECT_TRUE(bottom);
    EXPECT_TRUE(run.out.contains(QStringLiteral("[Arudha Lagna]")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("More About Your Arudha Lagna")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("Your Arudha Lagna is")));
}
