#include <QProcess>
#include <QtTest>

// The window program's own options, run as a separate process with no
// display at all: --help and --version answer before Qt looks for one.

class CommandLineTest : public QObject {
    Q_OBJECT

    struct Outcome {
        int ExitCode = -1;
        QString Out;
        QString Err;
    };

    static Outcome Run(const QStringList& arguments) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(VELMORA_PROGRAM_PATH), arguments);
        Outcome outcome;
        if (!process.waitForFinished(30000)) {
            process.kill();
            process.waitForFinished();
            return outcome;
        }
        if (process.exitStatus() == QProcess::NormalExit) outcome.ExitCode = process.exitCode();
        outcome.Out = QString::fromUtf8(process.readAllStandardOutput());
        outcome.Err = QString::fromUtf8(process.readAllStandardError());
        return outcome;
    }

private slots:
    void versionPrintsTheProjectVersion_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("alone") << QStringList{QStringLiteral("--version")};
        QTest::newRow("after a Qt option")
            << QStringList{QStringLiteral("-style"), QStringLiteral("fusion"), QStringLiteral("--version")};
    }
    void versionPrintsTheProjectVersion() {
        QFETCH(QStringList, arguments);
        const Outcome outcome = Run(arguments);
        QCOMPARE(outcome.ExitCode, 0);
        QCOMPARE(outcome.Out, QStringLiteral("velmora-arudha-lagna " VELMORA_PROJECT_VERSION "\n"));
        QCOMPARE(outcome.Err, QString());
    }

    void helpDescribesTheOptions_data() {
        QTest::addColumn<QString>("option");
        QTest::newRow("long") << QStringLiteral("--help");
        QTest::newRow("short") << QStringLiteral("-h");
    }
    void helpDescribesTheOptions() {
        QFETCH(QString, option);
        const Outcome outcome = Run({option});
        QCOMPARE(outcome.ExitCode, 0);
        QVERIFY(outcome.Out.startsWith(QStringLiteral("usage: velmora-arudha-lagna ")));
        QVERIFY(outcome.Out.contains(QStringLiteral("--version")));
        QVERIFY(outcome.Out.contains(QStringLiteral("velmora-arudha-lagna-cli")));
        QCOMPARE(outcome.Err, QString());
    }

    // After "--" nothing is an option of ours; without a display the program
    // then cannot start its windows and must not claim success.
    void optionsAfterTheEndMarkerAreNotOurs() {
        const Outcome outcome = Run({QStringLiteral("--"), QStringLiteral("--version")});
        QVERIFY(!outcome.Out.contains(QStringLiteral("velmora-arudha-lagna " VELMORA_PROJECT_VERSION)));
        QVERIFY(outcome.ExitCode != 0);
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "command_line_test.moc"
