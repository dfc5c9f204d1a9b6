// What the tool writes and how it ends: every write checked, the same JSON
// in every locale, and the decisions on its small inconsistencies.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "cli/tool_arguments.h"
#include "cli/tool_runner.h"

namespace {

using ToolOutcome = velmora::testing::ToolRun;
// The tool with its standard output on `outputFile` (read back when empty).
ToolOutcome Tool(const QStringList& arguments, const QByteArray& input = {}, const QString& outputFile = {},
                 const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    return velmora::testing::RunTool(arguments, input, outputFile, environment);
}

// The sample birth without its place, on another date when one is given.
QStringList Delhi(const QString& date = {}) {
    QStringList arguments = velmora::testing::ToolArgumentsWithoutPlace(velmora::testing::DelhiBirth("asha"));
    if (!date.isEmpty()) arguments[arguments.indexOf(QStringLiteral("--date")) + 1] = date;
    return arguments;
}

QByteArray Batch(int rows) {
    QByteArray csv = "name,date,time,zone,dst,lat,lon\n";
    for (int i = 0; i < rows; ++i) csv += "asha,1980-01-05,09:05,34,0,28:36N,077:12E\n";
    return csv;
}

}  // namespace

TEST(CliOutput, AFullDiskIsExit73WithAMessageAtTheFirstFailedWrite) {
    const QString full = QStringLiteral("/dev/full");
    for (const QStringList& arguments :
         {Delhi() + QStringList{"--json"}, Delhi(), QStringList{"--list-zones"}, QStringList{"--help"},
          QStringList{"--version"}, QStringList{"--batch", "-"}, QStringList{"--batch", "-", "--jobs", "8"}}) {
        const ToolOutcome run = Tool(arguments, Batch(2000), full);
        EXPECT_EQ(run.exitCode, 73) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("No space left on device"))) << run.err.toStdString();
    }
    // The batch stops at that write: it does not analyse the other rows.
    const ToolOutcome batch = Tool({"--batch", "-"}, Batch(2000), full);
    EXPECT_TRUE(batch.err.contains(QStringLiteral("the batch stopped after 0 rows"))) << batch.err.toStdString();
    EXPECT_FALSE(batch.err.contains(QStringLiteral("2000 rows")));
}

TEST(CliOutput, JsonIsTheSameInEveryLocale) {
    // A Turkish locale of the test's own, compiled from Debian's sources
    // (the locales package) into a folder the C library is pointed at.
    const QString localedef = QStandardPaths::findExecutable(QStringLiteral("localedef"));
    if (localedef.isEmpty()) GTEST_SKIP() << "localedef is not installed (Debian's locales package)";
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QProcess compile;
    compile.start(localedef, {"-i", "tr_TR", "-f", "UTF-8", folder.filePath(QStringLiteral("tr_TR.UTF-8"))});
    ASSERT_TRUE(compile.waitForFinished(120000));
    // localedef may end 1 on mere warnings: the compiled folder tells.
    ASSERT_TRUE(QFileInfo::exists(folder.filePath(QStringLiteral("tr_TR.UTF-8/LC_TIME"))))
        << compile.readAllStandardError().toStdString();

    QProcessEnvironment turkish = QProcessEnvironment::systemEnvironment();
    turkish.insert(QStringLiteral("LOCPATH"), folder.path());
    turkish.insert(QStringLiteral("LC_ALL"), QStringLiteral("tr_TR.UTF-8"));
    turkish.insert(QStringLiteral("LANG"), QStringLiteral("tr_TR.UTF-8"));
    QProcessEnvironment plain = QProcessEnvironment::systemEnvironment();
    plain.remove(QStringLiteral("LOCPATH"));
    plain.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    plain.insert(QStringLiteral("LANG"), QStringLiteral("C"));

    // The locale took effect: the text report writes the date of birth with
    // the user's month names.
    const ToolOutcome turkishText = Tool(Delhi(), {}, {}, turkish);
    ASSERT_EQ(turkishText.exitCode, 0) << turkishText.err.toStdString();
    EXPECT_TRUE(turkishText.out.contains("Date of Birth  : Ocak/5/1980")) << turkishText.out.left(600).toStdString();
    EXPECT_TRUE(Tool(Delhi(), {}, {}, plain).out.contains("Date of Birth  : January/5/1980"));

    // The JSON does not: byte for byte the C locale's, the scan and a sky included.
    for (const QStringList& options :
         {QStringList{"--json"}, QStringList{"--json", "--sensitivity", "--transits-at", "2040-07-01T12:00"}}) {
        const ToolOutcome there = Tool(Delhi() + options, {}, {}, turkish);
        const ToolOutcome here = Tool(Delhi() + options, {}, {}, plain);
        ASSERT_EQ(there.exitCode, 0) << there.err.toStdString();
        ASSERT_EQ(here.exitCode, 0) << here.err.toStdString();
        EXPECT_EQ(there.out, here.out) << options.join(' ').toStdString();
        const QJsonObject details = QJsonDocument::fromJson(there.out).object()["details"].toObject();
        EXPECT_EQ(details["dateOfBirth"].toString(), QStringLiteral("January/5/1980"));
    }
}

TEST(CliOutput, FormulaPositionsAreCheckedAgainstThePreciseEphemeris) {
    // On 5 February 2002 the formula Rahu is still in Taurus, the precise
    // mean node already in Gemini.
    const QStringList birth = Delhi(QStringLiteral("2002-02-05"));
    const ToolOutcome text = Tool(birth);
    ASSERT_EQ(text.exitCode, 0);
    EXPECT_TRUE(text.out.contains("the precise ephemeris places Rahu in Gemini (the formulas: Taurus)"))
        << text.out.right(400).toStdString();

    const ToolOutcome plain = Tool(birth + QStringList{"--json"});
    EXPECT_FALSE(plain.out.contains("precisePlacement"));  // batches keep their rate
    const ToolOutcome checked = Tool(birth + QStringList{"--json", "--check-precise"});
    const QJsonObject precise = QJsonDocument::fromJson(checked.out).object()["precisePlacement"].toObject();
    EXPECT_TRUE(precise["checked"].toBool());
    const QJsonArray differing = precise["differing"].toArray();
    ASSERT_FALSE(differing.isEmpty());
    EXPECT_EQ(differing[0].toObject()["body"].toString(), QStringLiteral("Rahu"));
    EXPECT_EQ(differing[0].toObject()["preciseSign"].toInt(), 3);
    // A date whose signs agree carries an empty list.
    const ToolOutcome agreeing = Tool(Delhi() + QStringList{"--json", "--check-precise"});
    EXPECT_TRUE(agreeing.out.contains("\"differing\":[]") || agreeing.out.contains("\"differing\": []"));
}

TEST(CliOutput, TheSmallInconsistenciesAsDecided) {
    // Blanks and line breaks around a value are both taken off.
    QStringList padded = Delhi();
    padded[3] = QStringLiteral("1980-01-05 ");
    padded[5] = QStringLiteral("09:05\n");
    padded[7] = QStringLiteral(" 34");
    padded[9] = QStringLiteral("28:36N\n");
    padded[11] = QStringLiteral(" 77:12E ");
    const ToolOutcome trimmed = Tool(padded + QStringList{"--json"});
    EXPECT_EQ(trimmed.exitCode, 0) << trimmed.err.toStdString();
    EXPECT_EQ(trimmed.out, Tool(Delhi() + QStringList{"--json"}).out);

    // A year outside the list is refused input (2), as a 30 February is.
    EXPECT_EQ(Tool(Delhi(QStringLiteral("1900-12-31"))).exitCode, 2);
    EXPECT_EQ(Tool(Delhi(QStringLiteral("2051-01-01"))).exitCode, 2);

    // A leap second is taken, as birth files take it.
    QStringList leap = Delhi();
    leap[5] = QStringLiteral("23:59:60");
    EXPECT_EQ(Tool(leap).exitCode, 0);
    leap[5] = QStringLiteral("23:59:61");
    EXPECT_EQ(Tool(leap).exitCode, 2);

    // --ayanamsa and --node choose for the precise ephemeris only.
    const ToolOutcome formulas = Tool(Delhi() + QStringList{"--ayanamsa", "raman"});
    EXPECT_EQ(formulas.exitCode, 64);
    EXPECT_TRUE(formulas.err.contains(QStringLiteral("--ephemeris precise"))) << formulas.err.toStdString();
    EXPECT_EQ(Tool(Delhi() + QStringList{"--node", "true"}).exitCode, 64);
    EXPECT_EQ(Tool(Delhi() + QStringList{"--ephemeris", "precise", "--node", "true"}).exitCode, 0);

    // An empty batch and one without a header say so, exit 1; a header
    // alone is an empty batch done.
    const ToolOutcome empty = Tool({"--batch", "-"}, "\n\n");
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_TRUE(empty.err.contains(QStringLiteral("the input is empty"))) << empty.err.toStdString();
    const ToolOutcome headless = Tool({"--batch", "-"}, "asha,1980-01-05,09:05,34,0,28:36N,077:12E\n");
    EXPECT_EQ(headless.exitCode, 1);
    EXPECT_TRUE(headless.err.contains(QStringLiteral("the first line must name the columns")));
    EXPECT_EQ(Tool({"--batch", "-"}, "name,date,time\n").exitCode, 0);

    // --help lists every exit status.
    const ToolOutcome help = Tool({"--help"});
    for (const char* status : {"0 done", "1 a batch", "2 input refused", "64 usage", "73 the output"})
        EXPECT_TRUE(help.out.contains(status)) << status;
}
