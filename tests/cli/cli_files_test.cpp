// The tool's birth files and batches, run as their own processes.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSize>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "cli/tool_arguments.h"
#include "cli/tool_runner.h"

namespace {

using velmora::testing::ToolRun;

ToolRun Cli(const QStringList& arguments, const QByteArray& input = {}) {
    return velmora::testing::RunTool(arguments, input);
}

QStringList Birth() { return velmora::testing::ToolArguments(velmora::testing::DelhiBirth("asha rao")); }

QJsonObject Parsed(const QByteArray& json) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << json.left(200).toStdString();
    return document.object();
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QList<QByteArray> Lines(const QByteArray& out) {
    QList<QByteArray> lines = out.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

}  // namespace

TEST(CliBirthFile, SavedBirthReadsBackToTheSameAnalysisAndOptionsChangeIt) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("asha.vbirth"));
    ToolRun run = Cli(Birth() + QStringList{"--save-birth", path});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
    const QJsonObject file = Parsed(ReadAll(path));
    EXPECT_EQ(file["format"].toString(), QStringLiteral("velmora-birth"));
    EXPECT_EQ(file["name"].toString(), QStringLiteral("ASHA RAO"));
    EXPECT_EQ(file["longitude"].toString(), QStringLiteral("077:12E"));

    const ToolRun direct = Cli(Birth() + QStringList{"--json"});
    const ToolRun fromFile = Cli({"--birth", path, "--json"});
    ASSERT_EQ(fromFile.exitCode, 0) << fromFile.err.toStdString();
    EXPECT_EQ(fromFile.out, direct.out);

    // An option given beside the file wins over the file's value.
    const ToolRun later = Cli({"--birth", path, "--time", "21:40", "--json"});
    ASSERT_EQ(later.exitCode, 0) << later.err.toStdString();
    const QJsonObject input = Parsed(later.out)["input"].toObject();
    EXPECT_EQ(input["time"].toString(), QStringLiteral("21:40"));
    EXPECT_EQ(input["name"].toString(), QStringLiteral("ASHA RAO"));
    EXPECT_EQ(input["city"].toString(), QStringLiteral("New Delhi"));

    // File to file keeps every value.
    const QString copy = dir.filePath(QStringLiteral("copy.vbirth"));
    ASSERT_EQ(Cli({"--birth", path, "--save-birth", copy}).exitCode, 0);
    EXPECT_EQ(ReadAll(copy), ReadAll(path));
}

TEST(CliBirthFile, RefusedFilesSayWhichFileAndWhatIsWrong) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad.vbirth"));
    ASSERT_EQ(Cli(Birth() + QStringList{"--save-birth", path}).exitCode, 0);
    const QByteArray good = ReadAll(path);

    WriteAll(path, QByteArray(good).replace("\"latitude\": \"28:36N\"", "\"latitude\": \"95:00N\""));
    ToolRun run = Cli({"--birth", path, "--json"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains(path)) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("Please Enter Value Between 0 And 89 in the Degree of Latitude")));
    EXPECT_TRUE(run.out.isEmpty());

    WriteAll(path, QByteArray(good).replace("\"zoneRow\": 34", "\"zoneRow\": \"34\""));
    run = Cli({"--birth", path});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains(QStringLiteral("\"zoneRow\" must be a whole number"))) << run.err.toStdString();

    WriteAll(path, good + QByteArray(70 * 1024, ' '));
    run = Cli({"--birth", path});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains(QStringLiteral("64 KiB"))) << run.err.toStdString();

    run = Cli({"--birth", dir.filePath(QStringLiteral("missing.vbirth"))});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains(QStringLiteral("missing.vbirth")));
}

TEST(CliBirthFile, AFailedSaveLeavesTheOldFileAsItWas) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kept.vbirth"));
    ASSERT_EQ(Cli(Birth() + QStringList{"--save-birth", path}).exitCode, 0);
    const QByteArray old = ReadAll(path);

    // The new file is larger than the 512 bytes the process may write, so
    // the write fails part way (EFBIG; the signal for it is ignored).
    QStringList arguments = Birth();
    arguments[arguments.indexOf(QStringLiteral("New Delhi"))] = QString(3000, QLatin1Char('x'));
    QStringList quoted;
    for (const QString& a : arguments + QStringList{"--save-birth", path}) quoted << QStringLiteral("'%1'").arg(a);
    QProcess shell;
    shell.start(QStringLiteral("/bin/sh"), {"-c", QStringLiteral("trap '' XFSZ; ulimit -f 1; exec '%1' %2")
                                                      .arg(QStringLiteral(VELMORA_CLI_PATH), quoted.join(' '))});
    ASSERT_TRUE(shell.waitForFinished(30000));
    EXPECT_EQ(shell.exitCode(), 73) << shell.readAllStandardError().toStdString();
    EXPECT_EQ(ReadAll(path), old);
    // No temporary file is left behind either.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("kept.vbirth")});
}

// Saving never turns a device or a FIFO into a file: root may replace
// /dev/null, and the tool refuses to. A symbolic link is written through.
TEST(CliBirthFile, SavesReplaceOnlyRegularFilesAndKeepLinks) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ToolRun run = Cli(Birth() + QStringList{"--save-birth", fifo});
    EXPECT_EQ(run.exitCode, 73) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("cannot write %1: it is a FIFO, not a regular file").arg(fifo)))
        << run.err.toStdString();
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));

    const QString target = dir.filePath(QStringLiteral("asha.vbirth"));
    const QString link = dir.filePath(QStringLiteral("latest.vbirth"));
    WriteAll(target, "old");
    ASSERT_TRUE(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner));
    ASSERT_TRUE(QFile::link(target, link));
    ASSERT_EQ(Cli(Birth() + QStringList{"--save-birth", link}).exitCode, 0);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(ReadAll(target).contains("\"velmora-birth\""));
    EXPECT_EQ(QFile::permissions(target), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
              (QStringList{"asha.vbirth", "fifo", "latest.vbirth"}));
}

TEST(CliBirthFile, RootCannotTurnDevNullIntoAFile) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root may replace /dev/null";
    const ToolRun run = Cli(Birth() + QStringList{"--save-birth", "/dev/null"});
    EXPECT_EQ(run.exitCode, 73);
    EXPECT_TRUE(run.err.contains(QStringLiteral("cannot write /dev/null: it is a character device")))
        << run.err.toStdString();
    struct stat st {};
    ASSERT_EQ(::lstat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

TEST(CliBatch, RowsComeOutInOrderOnTwoThreadsEachAsItsOwnJson) {
    // More rows than one piece of work, so the threads really share them.
    std::mt19937 random(11);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    QByteArray csv = "name,date,time,zone,dst,lat,lon,city,state,country\n";
    QStringList dates;
    for (int i = 0; i < 700; ++i) {
        const QString date = QStringLiteral("%1-%2-%3")
                                 .arg(pick(1901, 2050))
                                 .arg(pick(1, 12), 2, 10, QLatin1Char('0'))
                                 .arg(pick(1, 28), 2, 10, QLatin1Char('0'));
        dates << date;
        csv += QStringLiteral("row,%1,%2:%3,%4,%5,%6:%7N,%8:%9W,City %10,S,C\n")
                   .arg(date)
                   .arg(pick(0, 23))
                   .arg(pick(0, 59), 2, 10, QLatin1Char('0'))
                   .arg(pick(0, 70))
                   .arg(pick(0, 1))
                   .arg(pick(0, 89))
                   .arg(pick(0, 59))
                   .arg(pick(0, 179))
                   .arg(pick(0, 59))
                   .arg(i)
                   .toUtf8();
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("births.csv"));
    WriteAll(path, csv);
    // With sunrise and sunset, which a single --json always has.
    const ToolRun one = Cli({"--batch", path, "--sunrise"});
    const ToolRun two = Cli({"--batch", path, "--jobs", "2", "--sunrise"});
    ASSERT_EQ(two.exitCode, 0) << two.err.toStdString();
    EXPECT_EQ(two.out, one.out);
    const QList<QByteArray> lines = Lines(two.out);
    ASSERT_EQ(lines.size(), 700);
    for (int i = 0; i < lines.size(); ++i) {
        const QJsonObject input = Parsed(lines[i])["input"].toObject();
        ASSERT_EQ(input["city"].toString(), QStringLiteral("City %1").arg(i));
        ASSERT_EQ(input["date"].toString(), dates[i]);
    }
    EXPECT_TRUE(two.err.contains(QStringLiteral("700 rows, 700 analysed, 0 refused"))) << two.err.toStdString();
    EXPECT_EQ(two.err.count(QLatin1Char('\n')), 1);  // the summary only: no bar off a terminal

    // A sample of lines against single --json runs (indented there, so
    // compared as parsed JSON).
    const QStringList rows = QString::fromUtf8(csv).split(QLatin1Char('\n'));
    for (int i : {0, 255, 256, 699}) {
        const QStringList f = rows[i + 1].split(QLatin1Char(','));
        const QStringList time = f[2].split(QLatin1Char(':'));
        QStringList single{"--name", f[0], "--date", f[1], "--time",  f[2], "--zone",    f[3], "--lat", f[5],
                           "--lon",  f[6], "--city", f[7], "--state", f[8], "--country", f[9], "--json"};
        if (f[4] == QStringLiteral("1")) single << "--dst";
        const ToolRun alone = Cli(single);
        ASSERT_EQ(alone.exitCode, 0) << alone.err.toStdString();
        EXPECT_EQ(Parsed(lines[i]), Parsed(alone.out)) << i;
    }
}

TEST(CliBatch, QuotedFieldsAByteOrderMarkAndBadRowsInTheMiddle) {
    const QByteArray csv =
        "\xEF\xBB\xBF"
        "name,date,time,zone,dst,lat,lon,city,state,country,utc_offset\r\n"
        "asha,1980-01-05,09:05,34,false,28:36N,77:12E,\"New Delhi, \"\"NCT\"\"\",Delhi,India,\r\n"
        "bad,1981-02-29,09:05,34,,28:36N,77:12E,x,y,z,\r\n"
        "\r\n"
        "ravi,1990-06-01,23:59,,YES,27:42N,85:19E,\"two\r\nlines\",Bagmati,Nepal,+05:45\r\n"
        "odd,1990-06-01,07:00,34,maybe,27:42N,85:19E,a,b,c,\r\n"
        "last,2000-01-01,00:00,29,0,00:00N,000:00E,g,h,i,";  // no line break at the end
    const ToolRun run = Cli({"--batch", "-", "--jobs", "2"}, csv);
    EXPECT_EQ(run.exitCode, 1);
    const QList<QByteArray> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 5) << run.out.toStdString();
    EXPECT_EQ(Parsed(lines[0])["input"].toObject()["city"].toString(), QStringLiteral("New Delhi, \"NCT\""));
    EXPECT_EQ(Parsed(lines[1]), (QJsonObject{{"line", 3}, {"error", "Please Enter Correct Date Or Month!"}}));
    const QJsonObject ravi = Parsed(lines[2])["input"].toObject();
    EXPECT_EQ(ravi["city"].toString(), QStringLiteral("two\r\nlines"));
    EXPECT_EQ(ravi["utcOffset"].toString(), QStringLiteral("+05:45"));
    EXPECT_FALSE(ravi["daylightSaving"].toBool());   // an exact offset replaces the zone and the box
    EXPECT_EQ(Parsed(lines[3])["line"].toInt(), 7);  // after a blank line and a two-line row
    EXPECT_TRUE(Parsed(lines[3])["error"].toString().startsWith(QStringLiteral("dst:")));
    EXPECT_EQ(Parsed(lines[4])["input"].toObject()["name"].toString(), QStringLiteral("LAST"));
    EXPECT_TRUE(run.err.contains(QStringLiteral("5 rows, 3 analysed, 2 refused"))) << run.err.toStdString();
}

TEST(CliBatch, PlacesComeFromTheAtlasAndAMissingColumnStopsTheBatch) {
    const QByteArray csv =
        "name,date,time,place\nasha,1990-01-05,09:05,\"Kathmandu, Nepal\"\nravi,1990-01-05,09:05,Nowhereville Qqq\n";
    const ToolRun run = Cli({"--batch", "-"}, csv);
    const QList<QByteArray> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 2);
    const QJsonObject first = Parsed(lines[0]);
    EXPECT_EQ(first["place"].toObject()["timeZone"].toString(), QStringLiteral("Asia/Kathmandu"));
    EXPECT_EQ(first["input"].toObject()["utcOffset"].toString(), QStringLiteral("+05:45"));
    EXPECT_EQ(Parsed(lines[1])["line"].toInt(), 3);

    const ToolRun headless = Cli({"--batch", "-"}, "who,when\nasha,1990-01-05\n");
    EXPECT_EQ(headless.exitCode, 1);
    EXPECT_TRUE(headless.out.isEmpty());
    EXPECT_TRUE(headless.err.contains(QStringLiteral("\"name\" column"))) << headless.err.toStdString();
}

namespace {

// The tool as run where there is no display at all: no X, no Wayland, no
// platform chosen; the locale as given.
ToolRun CliWithoutDisplay(const QStringList& arguments, const QString& locale = QStringLiteral("C")) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LANG", "LC_MEASUREMENT", "LC_PAPER"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("LC_ALL"), locale);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VELMORA_CLI_PATH), arguments);
    process.closeWriteChannel();
    process.waitForFinished(120000);
    return {process.exitCode(), process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
}

// The page size the PDF's first page declares, in points.
QSize MediaBox(const QByteArray& pdf) {
    const QRegularExpressionMatch box =
        QRegularExpression(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]")).match(QString::fromLatin1(pdf));
    if (!box.hasMatch()) return {};
    return {qRound(box.captured(1).toDouble()), qRound(box.captured(2).toDouble())};
}

}  // namespace

TEST(CliPdf, WritesTheReportWithoutADisplay) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("asha.pdf"));
    const ToolRun run = CliWithoutDisplay(Birth() + QStringList{"--pdf", path});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    // The PDF takes the readable report's place.
    EXPECT_TRUE(run.out.isEmpty());
    const QByteArray pdf = ReadAll(path);
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_GT(pdf.size(), 20000);
    EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF"));

    // Asked for beside it, the JSON is printed as without it.
    const ToolRun json =
        CliWithoutDisplay(Birth() + QStringList{"--json", "--pdf", dir.filePath(QStringLiteral("again.pdf"))});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    EXPECT_EQ(json.out, Cli(Birth() + QStringList{"--json"}).out);
    EXPECT_TRUE(ReadAll(dir.filePath(QStringLiteral("again.pdf"))).startsWith("%PDF-"));

    // The text of the PDF, where poppler's pdftotext is installed
    // (scripts/install-deps.sh installs it).
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty()) GTEST_SKIP() << "pdftotext is not installed";
    QProcess extract;
    extract.start(pdftotext, {path, QStringLiteral("-")});
    ASSERT_TRUE(extract.waitForFinished(30000));
    const QString text = QString::fromUtf8(extract.readAllStandardOutput());
    EXPECT_TRUE(text.contains(QStringLiteral("ASHA RAO"))) << text.left(400).toStdString();
    const QJsonObject analysis = Parsed(json.out);
    const QJsonArray bodies = analysis[QStringLiteral("bodies")].toArray();
    ASSERT_EQ(bodies.size(), 10);
    for (const QJsonValue body : bodies) {
        const QString position = body[QStringLiteral("position")].toString();
        EXPECT_TRUE(text.contains(position)) << position.toStdString();
    }
    EXPECT_TRUE(text.contains(QStringLiteral("Jupiter (R)")));
    EXPECT_TRUE(text.contains(QStringLiteral("Your Arudha Lagna is")));
}

TEST(CliPdf, ThePaperFollowsTheLocale) {
    QTemporaryDir dir;
    const struct {
        const char* Locale;
        QSize Points;
    } cases[] = {{"en_US.UTF-8", {612, 792}}, {"de_DE.UTF-8", {595, 842}}, {"C", {595, 842}}};
    for (const auto& c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.Locale) + QStringLiteral(".pdf"));
        const ToolRun run = CliWithoutDisplay(Birth() + QStringList{"--pdf", path}, QString::fromLatin1(c.Locale));
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(MediaBox(ReadAll(path)), c.Points) << c.Locale;
    }
}

TEST(CliPdf, AFailedWriteLeavesTheOldFileAsItWas) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kept.pdf"));
    ASSERT_EQ(CliWithoutDisplay(Birth() + QStringList{"--pdf", path}).exitCode, 0);
    const QByteArray old = ReadAll(path);

    // The process may write 8 KiB; the report is larger (EFBIG; the signal
    // for it is ignored).
    QStringList quoted;
    for (const QString& a : Birth() + QStringList{"--name", "ravi", "--pdf", path})
        quoted << QStringLiteral("'%1'").arg(a);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    QProcess shell;
    shell.setProcessEnvironment(environment);
    shell.start(QStringLiteral("/bin/sh"), {"-c", QStringLiteral("trap '' XFSZ; ulimit -f 16; exec '%1' %2")
                                                      .arg(QStringLiteral(VELMORA_CLI_PATH), quoted.join(' '))});
    ASSERT_TRUE(shell.waitForFinished(60000));
    EXPECT_EQ(shell.exitCode(), 73) << shell.readAllStandardError().toStdString();
    EXPECT_EQ(ReadAll(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("kept.pdf")});

    // Into a folder that is not there.
    const ToolRun missing =
        CliWithoutDisplay(Birth() + QStringList{"--pdf", dir.filePath(QStringLiteral("gone/a.pdf"))});
    EXPECT_EQ(missing.exitCode, 73);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("cannot write"))) << missing.err.toStdString();
}
