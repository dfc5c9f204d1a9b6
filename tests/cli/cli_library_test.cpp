// The tool's chart-library commands, run as their own processes on a
// library in a fresh folder.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "cli/tool_runner.h"

namespace {

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
};

ToolRun RunCli(const QStringList& arguments) {
    const velmora::testing::ToolRun run = velmora::testing::RunTool(arguments);
    return {run.exitCode, QString::fromUtf8(run.out), run.err};
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class CliLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        Write(File("births.csv"),
              "name,date,time,zone,dst,lat,lon,city,state,country,tags\n"
              "asha rao,1980-01-05,09:05,34,0,28:36N,077:12E,New Delhi,Delhi,India,client;family\n"
              "bad month,1980-13-05,09:05,34,0,28:36N,077:12E,New Delhi,Delhi,India,\n"
              "ben dale,1962-07-21,23:50,29,1,51:30N,000:07W,London,England,United Kingdom,famous\n");
    }
    QString File(const QString& name) const { return folder_.filePath(name); }
    QStringList Library() const { return {"--library", File("library.sqlite")}; }
    ToolRun Import() { return RunCli(Library() + QStringList{"--import", File("births.csv")}); }

    QTemporaryDir folder_;
};

std::vector<QJsonObject> JsonLines(const QString& text) {
    std::vector<QJsonObject> lines;
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        lines.push_back(QJsonDocument::fromJson(line.toUtf8()).object());
    return lines;
}

}  // namespace

TEST_F(CliLibrary, ImportsNamesRefusedLinesAndListsWithFind) {
    const ToolRun imported = Import();
    EXPECT_EQ(imported.exitCode, 1) << imported.err.toStdString();  // one row refused
    EXPECT_TRUE(imported.err.contains(QStringLiteral("births.csv line 3"))) << imported.err.toStdString();
    EXPECT_TRUE(imported.out.startsWith(QStringLiteral("2 births added"))) << imported.out.toStdString();

    const ToolRun listed = RunCli(Library() + QStringList{"--list"});
    ASSERT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    const std::vector<QJsonObject> rows = JsonLines(listed.out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].keys().size(), 8);
    EXPECT_EQ(rows[0]["name"].toString(), QStringLiteral("ASHA RAO"));
    EXPECT_EQ(rows[0]["date"].toString(), QStringLiteral("1980-01-05"));
    EXPECT_EQ(rows[0]["time"].toString(), QStringLiteral("09:05"));
    EXPECT_EQ(rows[0]["place"].toString(), QStringLiteral("New Delhi, Delhi, India"));
    EXPECT_EQ(rows[0]["tags"].toArray().size(), 2);
    EXPECT_TRUE(rows[0]["changed"].toString().endsWith(QLatin1Char('Z')));

    const ToolRun found = RunCli(Library() + QStringList{"--list", "--find", "FAMOUS"});
    const std::vector<QJsonObject> famous = JsonLines(found.out);
    ASSERT_EQ(famous.size(), 1u);
    EXPECT_EQ(famous[0]["name"].toString(), QStringLiteral("BEN DALE"));
}

TEST_F(CliLibrary, IdTakesABirthWhereverABirthFileDoes) {
    Import();
    const qint64 id =
        JsonLines(RunCli(Library() + QStringList{"--list", "--find", "asha"}).out).at(0)["id"].toInteger();
    const QString idText = QString::number(id);
    const ToolRun json = RunCli(Library() + QStringList{"--id", idText, "--json"});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QJsonObject input = QJsonDocument::fromJson(json.out.toUtf8()).object()["input"].toObject();
    EXPECT_EQ(input["name"].toString(), QStringLiteral("ASHA RAO"));
    EXPECT_EQ(input["zoneRow"].toInt(), 34);

    // An option given changes the library's value, as with --birth.
    const ToolRun changed = RunCli(Library() + QStringList{"--id", idText, "--time", "10:00", "--json"});
    EXPECT_EQ(QJsonDocument::fromJson(changed.out.toUtf8()).object()["input"].toObject()["time"].toString(),
              QStringLiteral("10:00"));

    const ToolRun saved = RunCli(Library() + QStringList{"--id", idText, "--save-birth", File("asha.vbirth")});
    ASSERT_EQ(saved.exitCode, 0) << saved.err.toStdString();
    const ToolRun fromFile = RunCli({"--birth", File("asha.vbirth"), "--json"});
    EXPECT_EQ(fromFile.out, json.out);

    const ToolRun missing = RunCli(Library() + QStringList{"--id", "9999", "--json"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("no birth has the id 9999"))) << missing.err.toStdString();
    EXPECT_EQ(RunCli(Library() + QStringList{"--id", "seven"}).exitCode, 64);
    EXPECT_EQ(RunCli({"--library", File("none.sqlite"), "--id", "1", "--json"}).exitCode, 2);
}

TEST_F(CliLibrary, BatchOfTheLibraryAsCsvWithChosenColumns) {
    Import();
    const ToolRun all = RunCli(Library() + QStringList{"--batch", "library", "--format", "csv"});
    ASSERT_EQ(all.exitCode, 0) << all.err.toStdString();
    QStringList lines = all.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("name,date,time,zone,dst,utc_offset,lat,lon,")));

    const ToolRun some = RunCli(Library() + QStringList{"--batch", "library", "--find", "famous", "--format", "csv",
                                                        "--columns", "name,moon_sign"});
    lines = some.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("name,moon_sign"));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("BEN DALE,")));

    const ToolRun json = RunCli(Library() + QStringList{"--batch", "library"});
    EXPECT_EQ(JsonLines(json.out).size(), 2u);

    EXPECT_EQ(RunCli(Library() + QStringList{"--batch", "library", "--format", "csv", "--columns", "nope"}).exitCode,
              64);
    EXPECT_EQ(RunCli(Library() + QStringList{"--batch", "library", "--format", "xml"}).exitCode, 64);
    EXPECT_EQ(RunCli(Library() + QStringList{"--list", "--columns", "name"}).exitCode, 64);
}

TEST_F(CliLibrary, CsvBatchSendsRefusedRowsToStandardErrorByLine) {
    const ToolRun run = RunCli({"--batch", File("births.csv"), "--format", "csv", "--columns", "name"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, QStringLiteral("name\nASHA RAO\nBEN DALE\n"));
    EXPECT_TRUE(run.err.contains(QStringLiteral("line 3: "))) << run.err.toStdString();
}

TEST_F(CliLibrary, ImportedPlacesAnswerPlacesAndPlaceByTheirOtherNames) {
    Write(File("cities500.txt"),
          "1275339\tMumbai\tMumbai\tBambai,Bombay\t19.07283\t72.88261\tP\tPPLA\tIN\t\t16\t\t\t\t12691836\t\t14\t"
          "Asia/Kolkata\t2023-01-01\n"
          "9999001\tVelmora Nagar\tVelmora Nagar\t\t20.5\t74.5\tP\tPPL\tIN\t\t16\t\t\t\t900\t\t14\tAsia/Kolkata\t"
          "2023-01-01\n");
    Write(File("admin1CodesASCII.txt"), "IN.16\tMaharashtra\tMaharashtra\t1264418\n");
    const ToolRun imported = RunCli(
        Library() + QStringList{"--import-places", File("cities500.txt"), "--admin1", File("admin1CodesASCII.txt")});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_TRUE(imported.out.startsWith(QStringLiteral("2 places imported"))) << imported.out.toStdString();

    const ToolRun places = RunCli(Library() + QStringList{"--places", "Bombay"});
    ASSERT_EQ(places.exitCode, 0) << places.err.toStdString();
    EXPECT_TRUE(places.out.startsWith(QStringLiteral("Mumbai (Bombay)\tMaharashtra\tIndia\t")))
        << places.out.toStdString();

    // A place only the dump has fills the birth, with its zone's offset at the date.
    const ToolRun birth = RunCli(Library() + QStringList{"--name", "x", "--date", "1990-02-03", "--time", "10:00",
                                                         "--place", "Velmora Nagar", "--json"});
    ASSERT_EQ(birth.exitCode, 0) << birth.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(birth.out.toUtf8()).object();
    EXPECT_EQ(o["input"].toObject()["city"].toString(), QStringLiteral("Velmora Nagar"));
    EXPECT_EQ(o["input"].toObject()["state"].toString(), QStringLiteral("Maharashtra"));
    EXPECT_EQ(o["place"].toObject()["utcOffsetMinutes"].toInt(), 330);

    // Without the library the atlas alone answers.
    EXPECT_EQ(RunCli({"--library", File("other.sqlite"), "--places", "Velmora Nagar"}).exitCode, 2);
    EXPECT_FALSE(QFile::exists(File("other.sqlite")));
}

TEST_F(CliLibrary, ARefusedLibraryFileIsNamedAndLeftAsItWas) {
    Write(File("notes.txt"), "not a library at all, just some words that SQLite will not take\n");
    const ToolRun run = RunCli({"--library", File("notes.txt"), "--import", File("births.csv")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains(File("notes.txt"))) << run.err.toStdString();
    QFile file(File("notes.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("not a library at all, just some words that SQLite will not take\n"));
}
