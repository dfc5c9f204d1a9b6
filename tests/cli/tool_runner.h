#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace velmora::testing {

// What one run of the command-line tool left behind.
struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

// Runs the tool (VELMORA_CLI_PATH) with the arguments and the input on its
// standard input; its standard output goes to `outputFile` when one is
// given (and is then empty here).
inline ToolRun RunTool(const QStringList& arguments, const QByteArray& input = {}, const QString& outputFile = {},
                       const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    if (!outputFile.isEmpty()) process.setStandardOutputFile(outputFile);
    process.start(QStringLiteral(VELMORA_CLI_PATH), arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(120000);
    return {process.exitCode(), process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
}

}  // namespace velmora::testing
