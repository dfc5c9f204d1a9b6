#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <grp.h>
#include <memory>
#include <optional>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// The single-instance lock, exercised by real processes: the probe claims the
// lock exactly as the program does and reports "claimed", "unguarded" (it
// started without a lock) or "refused", then the lock path.

namespace {

struct ProbeRun {
    std::unique_ptr<QProcess> Process;
    QString Outcome;
    QString LockPath;
};

// Unprivileged user for the cases that permission bits decide; tests run as
// root, for whom the bits do not stop an open or a create.
struct Unprivileged {
    uid_t Uid = 0;
    gid_t Gid = 0;
};

std::optional<Unprivileged> Nobody() {
    const passwd* entry = ::getpwnam("nobody");
    if (!entry) return std::nullopt;
    return Unprivileged{entry->pw_uid, entry->pw_gid};
}

QProcessEnvironment CleanEnvironment() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"XDG_RUNTIME_DIR", "XDG_CACHE_HOME", "TMPDIR"}) env.remove(QString::fromLatin1(name));
    return env;
}

mode_t ModeOf(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) return 0;
    return st.st_mode;
}

}  // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT

    std::vector<std::unique_ptr<QProcess>> running_;

    static std::unique_ptr<QProcess> Start(const QString& lockPath, int holdMs,
                                           const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
                                           std::optional<Unprivileged> as = std::nullopt) {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(env);
        if (as) {
            process->setChildProcessModifier([user = *as] {
                // Drop root in the child only; a failure makes the probe run
                // as root, which the outcome checks would notice.
                if (::setgroups(0, nullptr) != 0 || ::setgid(user.Gid) != 0 || ::setuid(user.Uid) != 0) ::_exit(70);
            });
        }
        process->start(QStringLiteral(VELMORA_INSTANCE_PROBE), {lockPath, QString::number(holdMs)});
        return process;
    }

    static QString Line(QProcess& process) {
        while (!process.canReadLine() && process.waitForReadyRead(10000)) {
        }
        return QString::fromUtf8(process.readLine()).trimmed();
    }

    // Starts a probe and reads its report; a probe that claimed keeps running
    // (holding the lock) until the test ends.
    ProbeRun Probe(const QString& lockPath, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
                   std::optional<Unprivileged> as = std::nullopt) {
        ProbeRun run;
        run.Process = Start(lockPath, 30000, env, as);
        run.Outcome = Line(*run.Process);
        run.LockPath = Line(*run.Process);
        return run;
    }

    void Keep(ProbeRun& run) { running_.push_back(std::move(run.Process)); }

    // A second copy started against the same lock must be turned away: the
    // lock was really taken, not merely stepped around.
    static void ExpectRefused(const QString& lockPath,
                              const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
                              std::optional<Unprivileged> as = std::nullopt) {
        auto second = Start(lockPath, 0, env, as);
        QVERIFY(second->waitForFinished(10000));
        QCOMPARE(Line(*second), QStringLiteral("refused"));
        QCOMPARE(second->exitCode(), 1);
    }

    static QString StandardError(QProcess& process) {
        process.kill();
        process.waitForFinished(10000);
        return QString::fromLocal8Bit(process.readAllStandardError());
    }

private slots:
    void cleanup() {
        for (auto& process : running_) {
            process->kill();
            process->waitForFinished(10000);
        }
        running_.clear();
    }

    void secondCopyIsRefusedWhileTheFirstRuns() {
        QTemporaryDir dir;
        const QString lock = dir.filePath(QStringLiteral("app.lock"));
        ProbeRun first = Probe(lock);
        QCOMPARE(first.Outcome, QStringLiteral("claimed"));
        ExpectRefused(lock);
        QCOMPARE(first.Process->state(), QProcess::Running);  // the first copy is untouched
        Keep(first);
    }

    void aKilledCopyDoesNotBlockLaterStarts() {
        QTemporaryDir dir;
        const QString lock = dir.filePath(QStringLiteral("app.lock"));
        ProbeRun first = Probe(lock);
        QCOMPARE(first.Outcome, QStringLiteral("claimed"));
        first.Process->kill();  // dies without cleaning up: the lock file stays behind
        first.Process->waitForFinished();
        QVERIFY(QFile::exists(lock));
        ProbeRun next = Probe(lock);
        QCOMPARE(next.Outcome, QStringLiteral("claimed"));
        ExpectRefused(lock);
        Keep(next);
    }

    void copiesStartedTogetherLeaveExactlyOneRunning() {
        QTemporaryDir dir;
        const QString lock = dir.filePath(QStringLiteral("app.lock"));
        std::vector<std::unique_ptr<QProcess>> copies;
        for (int i = 0; i < 4; ++i) copies.push_back(Start(lock, 3000));
        int claimed = 0;
        int refused = 0;
        for (auto& copy : copies) {
            const QString line = Line(*copy);
            claimed += line == QStringLiteral("claimed");
            refused += line == QStringLiteral("refused");
        }
        for (auto& copy : copies) copy->waitForFinished(10000);
        QCOMPARE(claimed, 1);
        QCOMPARE(refused, 3);
    }

    // What a copy that died (or a power cut, or an older version) leaves in
    // the lock file does not matter: nobody holds the lock, so it is taken.
    void leftoverContentIsTakenOver_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty file after a power cut") << QByteArray();
        QTest::newRow("garbage") << QByteArray("\x01\xff not a number\n\n\n");
        // A child that has been waited for is gone; its number names no process.
        const pid_t child = ::fork();
        if (child == 0) ::_exit(0);
        ::waitpid(child, nullptr, 0);
        QTest::newRow("number of a process that is gone") << QByteArray::number(child) + '\n';
        QTest::newRow("older lock format: number, name, host")
            << QByteArray::number(child) + "\nvelmora-arudha-lagna\n" + QByteArray("somehost\n");
    }
    void leftoverContentIsTakenOver() {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString lock = dir.filePath(QStringLiteral("app.lock"));
        QFile file(lock);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();

        ProbeRun first = Probe(lock);
        QCOMPARE(first.Outcome, QStringLiteral("claimed"));
        ExpectRefused(lock);
        // The file now names the copy holding it.
        QFile written(lock);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll().trimmed().toLongLong(), first.Process->processId());
        Keep(first);
    }

    // Entries of the wrong type at the lock path are removed and a proper
    // lock file takes their place; a symbolic link is removed, never followed.
    void wrongEntriesAtTheLockPathAreReplaced_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("empty folder") << QStringLiteral("folder");
        QTest::newRow("symbolic link to a file") << QStringLiteral("link");
        QTest::newRow("dangling symbolic link") << QStringLiteral("dangling");
        QTest::newRow("FIFO") << QStringLiteral("fifo");
    }
    void wrongEntriesAtTheLockPathAreReplaced() {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString lock = dir.filePath(QStringLiteral("app.lock"));
        const QString target = dir.filePath(QStringLiteral("precious.txt"));
        {
            QFile precious(target);
            QVERIFY(precious.open(QIODevice::WriteOnly));
            precious.write("keep me\n");
        }
        const QByteArray native = QFile::encodeName(lock);
        if (kind == QStringLiteral("folder")) QVERIFY(QDir().mkdir(lock));
        if (kind == QStringLiteral("link")) QVERIFY(QFile::link(target, lock));
        if (kind == QStringLiteral("dangling")) QVERIFY(QFile::link(dir.filePath(QStringLiteral("gone")), lock));
        if (kind == QStringLiteral("fifo")) QCOMPARE(::mkfifo(native.constData(), 0600), 0);

        ProbeRun first = Probe(lock);
        QCOMPARE(first.Outcome, QStringLiteral("claimed"));
        QVERIFY(S_ISREG(ModeOf(lock)));
        ExpectRefused(lock);
        QFile precious(target);
        QVERIFY(precious.open(QIODevice::ReadOnly));
        QCOMPARE(precious.readAll(), QByteArray("keep me\n"));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("gone"))));
        QVERIFY(StandardError(*first.Process).contains(QStringLiteral("removed")));
    }

    // A folder with content is not deleted on a guess; the program starts
    // without the lock and says so.
    void aFolderThatCannotBeRemovedLetsTheProgramStartUnguarded() {
        QTemporaryDir dir;
        const QString lock = dir.filePath(QStringLiteral("app.lock"));
        QVERIFY(QDir().mkpath(QDir(lock).filePath(QStringLiteral("inside"))));
        ProbeRun run = Probe(lock);
        QCOMPARE(run.Outcome, QStringLiteral("unguarded"));
        QVERIFY(QFileInfo(QDir(lock).filePath(QStringLiteral("inside"))).isDir());
        QVERIFY(StandardError(*run.Process).contains(QStringLiteral("starting without the single-instance lock")));
    }

    // A lock file the user cannot open (mode 000) is removed and recreated.
    // Root opens it regardless of its mode, so as root the probe runs as
    // "nobody" in a folder of nobody's, where the bits apply.
    void anUnreadableLockFileIsReplaced() {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("private"));
        QVERIFY(QDir().mkdir(folder));
        std::optional<Unprivileged> as;
        if (::geteuid() == 0) {
            as = Nobody();
            if (!as) QSKIP("running as root and there is no user \"nobody\" for whom file modes apply");
            QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                          QFile::ExeGroup | QFile::ExeOther));
            QCOMPARE(::chown(QFile::encodeName(folder).constData(), as->Uid, as->Gid), 0);
        }
        const QString lock = QDir(folder).filePath(QStringLiteral("app.lock"));
        {
            QFile file(lock);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("12\n");
        }
        QCOMPARE(::chmod(QFile::encodeName(lock).constData(), 0), 0);

        ProbeRun first = Probe(lock, QProcessEnvironment::systemEnvironment(), as);
        QCOMPARE(first.Outcome, QStringLiteral("claimed"));
        QCOMPARE(ModeOf(lock) & 07777, mode_t(0600));
        ExpectRefused(lock, QProcessEnvironment::systemEnvironment(), as);
        QVERIFY(StandardError(*first.Process).contains(QStringLiteral("removed a lock file it cannot open")));
    }

    // No lock can be created in a read-only folder: the program starts
    // without one and says so. As root the probe runs as "nobody", for whom a
    // root-owned folder of mode 0755 is read-only.
    void aReadOnlyFolderLetsTheProgramStartUnguarded() {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("readonly"));
        QVERIFY(QDir().mkdir(folder));
        std::optional<Unprivileged> as;
        if (::geteuid() == 0) {
            as = Nobody();
            if (!as) QSKIP("running as root and there is no user \"nobody\" for whom file modes apply");
            QCOMPARE(::chmod(QFile::encodeName(dir.path()).constData(), 0711), 0);
            QCOMPARE(::chmod(QFile::encodeName(folder).constData(), 0755), 0);
        } else {
            QCOMPARE(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
        }
        const QString lock = QDir(folder).filePath(QStringLiteral("app.lock"));
        ProbeRun run = Probe(lock, QProcessEnvironment::systemEnvironment(), as);
        QCOMPARE(run.Outcome, QStringLiteral("unguarded"));
        QVERIFY(!QFileInfo::exists(lock));
        QVERIFY(StandardError(*run.Process).contains(QStringLiteral("starting without the single-instance lock")));
        ::chmod(QFile::encodeName(folder).constData(), 0700);  // so that the temporary folder can go
    }

    // The program's own lock: in the private runtime folder when there is one.
    void theDefaultLockLivesInThePrivateRuntimeFolder() {
        QTemporaryDir dir;
        const QString runtime = dir.filePath(QStringLiteral("run"));
        QVERIFY(QDir().mkdir(runtime));
        QVERIFY(QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QProcessEnvironment env = CleanEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        env.insert(QStringLiteral("XDG_CACHE_HOME"), dir.filePath(QStringLiteral("cache")));

        ProbeRun first = Probe(QStringLiteral("--default"), env);
        QCOMPARE(first.Outcome, QStringLiteral("claimed"));
        QCOMPARE(first.LockPath, QDir(runtime).filePath(QStringLiteral("velmora-arudha-lagna.lock")));
        ExpectRefused(QStringLiteral("--default"), env);
        Keep(first);
    }

    // Without a usable runtime folder the lock goes to a folder of the
    // user's own under the cache folder: always absolute, mode 0700, never
    // the temporary folder (which here does not even exist).
    void withoutARuntimeFolderTheLockGoesToAPrivateCacheFolder_data() {
        QTest::addColumn<QString>("runtime");  // "" for unset; "shared" for a folder of another user
        QTest::addColumn<QString>("cacheHome");
        QTest::addColumn<QString>("expectedFolder");  // relative to the temporary folder of the test
        QTest::newRow("no XDG_RUNTIME_DIR, TMPDIR missing")
            << QString() << QStringLiteral("@/cache") << QStringLiteral("cache/velmora-arudha-lagna");
        QTest::newRow("relative XDG_RUNTIME_DIR and XDG_CACHE_HOME")
            << QStringLiteral("run") << QStringLiteral("cache") << QStringLiteral("home/.cache/velmora-arudha-lagna");
        QTest::newRow("runtime folder of another user")
            << QStringLiteral("shared") << QStringLiteral("@/cache") << QStringLiteral("cache/velmora-arudha-lagna");
    }
    void withoutARuntimeFolderTheLockGoesToAPrivateCacheFolder() {
        QFETCH(QString, runtime);
        QFETCH(QString, cacheHome);
        QFETCH(QString, expectedFolder);
        QTemporaryDir dir;
        QProcessEnvironment env = CleanEnvironment();
        env.insert(QStringLiteral("TMPDIR"), dir.filePath(QStringLiteral("no/such/folder")));
        env.insert(QStringLiteral("HOME"), dir.filePath(QStringLiteral("home")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), QString(cacheHome).replace(QStringLiteral("@"), dir.path()));
        if (runtime == QStringLiteral("shared")) {
            const auto other = Nobody();
            if (::geteuid() != 0 || !other) QSKIP("needs root to make a folder of another user");
            const QString shared = dir.filePath(QStringLiteral("shared"));
            QVERIFY(QDir().mkdir(shared));
            QCOMPARE(::chown(QFile::encodeName(shared).constData(), other->Uid, other->Gid), 0);
            QCOMPARE(::chmod(QFile::encodeName(shared).constData(), 0777), 0);
            env.insert(QStringLiteral("XDG_RUNTIME_DIR"), shared);
            // Qt would make up a runtime folder under TMPDIR: keep that in here.
            QVERIFY(QDir().mkdir(dir.filePath(QStringLiteral("tmp"))));
            env.insert(QStringLiteral("TMPDIR"), dir.filePath(QStringLiteral("tmp")));
        } else if (!runtime.isEmpty()) {
            env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        }
        ProbeRun first = Probe(QStringLiteral("--default"), env);
        QCOMPARE(first.Outcome, QStringLiteral("claimed"));
        QVERIFY(QDir::isAbsolutePath(first.LockPath));
        const QString folder = dir.filePath(expectedFolder);
        QCOMPARE(first.LockPath, QDir(folder).filePath(QStringLiteral("velmora-arudha-lagna.lock")));
        QCOMPARE(ModeOf(folder) & 0777, mode_t(0700));
        QCOMPARE(QFileInfo(folder).ownerId(), ::geteuid());
        ExpectRefused(QStringLiteral("--default"), env);
        Keep(first);
    }

    // With no runtime folder and no home there is nowhere private to put the
    // lock: the program starts without one and says so.
    void withNowherePrivateTheProgramStartsUnguarded() {
        QProcessEnvironment env = CleanEnvironment();
        env.remove(QStringLiteral("HOME"));
        ProbeRun run = Probe(QStringLiteral("--default"), env);
        QCOMPARE(run.Outcome, QStringLiteral("unguarded"));
        QCOMPARE(run.LockPath, QString());
        QVERIFY(StandardError(*run.Process).contains(QStringLiteral("starting without the single-instance lock")));
    }
};

QTEST_MAIN(SingleInstanceTest)
#include "single_instance_test.moc"
