#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <vector>

// The single-instance lock, exercised by real processes.

class SingleInstanceTest : public QObject {
    Q_OBJECT

    static std::unique_ptr<QProcess> Probe(const QString& lockPath, int holdMs) {
        auto process = std::make_unique<QProcess>();
        process->start(QStringLiteral(VELMORA_INSTANCE_PROBE), {lockPath, QString::number(holdMs)});
        return process;
    }

    static QString FirstLine(QProcess& process) {
        if (!process.canReadLine()) process.waitForReadyRead(10000);
        return QString::fromUtf8(process.readLine()).trimmed();
    }

private slots:
    void secondCopyIsRefusedWhileTheFirstRuns() {
        QTemporaryDir dir;
        const QString lock = dir.filePath(QStringLiteral("app.lock"));
        auto first = Probe(lock, 20000);
        QCOMPARE(FirstLine(*first), QStringLiteral("claimed"));
        auto second = Probe(lock, 0);
        QVERIFY(second->waitForFinished(10000));
        QCOMPARE(FirstLine(*second), QStringLiteral("refused"));
        QCOMPARE(second->exitCode(), 1);
        QCOMPARE(first->state(), QProcess::Running);  // the first copy is untouched
        first->kill();
        first->waitForFinished();
    }

    void aKilledCopyDoesNotBlockLaterStarts() {
        QTemporaryDir dir;
        const QString lock = dir.filePath(QStringLiteral("app.lock"));
        auto first = Probe(lock, 20000);
        QCOMPARE(FirstLine(*first), QStringLiteral("claimed"));
        first->kill();  // dies without cleaning up: the lock file stays behind
        first->waitForFinished();
        QVERIFY(QFile::exists(lock));
        auto next = Probe(lock, 0);
        QVERIFY(next->waitForFinished(10000));
        QCOMPARE(FirstLine(*next), QStringLiteral("claimed"));
    }

    void copiesStartedTogetherLeaveExactlyOneRunning() {
        QTemporaryDir dir;
        const QString lock = dir.filePath(QStringLiteral("app.lock"));
        std::vector<std::unique_ptr<QProcess>> copies;
        for (int i = 0; i < 4; ++i) copies.push_back(Probe(lock, 3000));
        int claimed = 0;
        int refused = 0;
        for (auto& copy : copies) {
            const QString line = FirstLine(*copy);
            claimed += line == QStringLiteral("claimed");
            refused += line == QStringLiteral("refused");
        }
        for (auto& copy : copies) copy->waitForFinished(10000);
        QCOMPARE(claimed, 1);
        QCOMPARE(refused, 3);
    }
};

QTEST_MAIN(SingleInstanceTest)
#include "single_instance_test.moc"
