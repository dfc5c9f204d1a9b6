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
