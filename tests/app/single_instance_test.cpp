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

    static std::unique_ptr<QProcess> Start(const QStringList& where, int holdMs,
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
        process->start(QStringLiteral(VELMORA_INSTANCE_PROBE), QStringList(where) << QString::number(holdMs));
        return process;
    }

    static QString Line(QProcess& process) {
        while (!process.canReadLine() && process.waitForReadyRead(10000)) {
        }
        return QString::fromUtf8(process.readLine()).trimmed();
    }

    // Starts a probe and reads its report; a probe that claimed keeps running
    // (holding the lock) until the test ends.
    ProbeRun Probe(const QStringList& where, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
                   std::optional<Unprivileged> as = std::nullopt) {
        ProbeRun run;
        run.Process = Start(where, 30000, env, as);
        run.Outcome = Line(*run.Process);
        run.LockPath = Line(*run.Process);
        return run;
    }

    void Keep(ProbeRun& run) { running_.push_back(std::move(run.Process)); }

    // A second copy started against the same lock must be turned away: the
    // lock was really taken, not merely stepped around.
    static void ExpectRefused(const QStringList& where,
                              const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
                              std::optional<Unprivileged> as = std::nullopt) {
        auto second = Start(where, 0, env, as);
        QVERIFY(second->waitForFinished(10000));
        QCOMPARE(Line(*second), QStringLiteral("refused"));
        QCOMPARE(second->exitCode(), 1);
    }

    static QString StandardError(QProcess& process) {
        process.kill();
        process.waitForFinished(10000);
        return QString::fromLocal8Bit(process.readAllStandardError());
    }

    // The program's lock is looked for in two places the test makes inside
    // its own folder: a temporary root open to all with the sticky bit (as
    // /tmp is) and a runtime root (as /run/user is).
    struct Roots {
        QTemporaryDir Dir;
        QString Temporary;
        QString Runtime;

        QStringList Where() const { return {QStringLiteral("--in"), Temporary, Runtime}; }
        QString Folder(uid_t uid = ::geteuid()) const {
            return QDir(Temporary).filePath(QStringLiteral("velmora-arudha-lagna-%1").arg(uid));
        }
        QString RuntimeFolder(uid_t uid = ::geteuid()) const { return QDir(Runtime).filePath(QString::number(uid)); }
        static QString LockIn(const QString& folder) {
            return QDir(folder).filePath(QStringLiteral("velmora-arudha-lagna.lock"));
        }
    };

    static std::unique_ptr<Roots> MakeRoots() {
        auto roots = std::make_unique<Roots>();
        roots->Temporary = roots->Dir.filePath(QStringLiteral("tmp"));
        roots->Runtime = roots->Dir.filePath(QStringLiteral("run"));
        if (!QDir().mkdir(roots->Temporary) || !QDir().mkdir(roots->Runtime)) return nullptr;
        // Open enough for an unprivileged copy to reach and use the roots.
        ::chmod(QFile::encodeName(roots->Dir.path()).constData(), 0755);
        ::chmod(QFile::encodeName(roots->Temporary).constData(), 01777);
        ::chmod(QFile::encodeName(roots->Runtime).constData(), 0755);
        return roots;
    }

    // The environments a copy may start in: a login session's, a bare one,
    // one whose home cannot be written, one with no home at all.
    static QProcessEnvironment EnvironmentFor(const QString& kind, const QTemporaryDir& dir) {
        QProcessEnvironment env = CleanEnvironment();
        if (kind == QStringLiteral("session")) {
            const QString runtime = dir.filePath(QStringLiteral("session-run"));
            QDir().mkdir(runtime);
            ::chmod(QFile::encodeName(runtime).constData(), 0700);
            env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
            env.insert(QStringLiteral("HOME"), dir.filePath(QStringLiteral("home")));
        } else if (kind == QStringLiteral("bare")) {
            env.insert(QStringLiteral("HOME"), dir.filePath(QStringLiteral("home")));
        } else if (kind == QStringLiteral("read-only home")) {
            env.insert(QStringLiteral("HOME"), QStringLiteral("/nonexistent"));
        } else {
            env.remove(QStringLiteral("HOME"));
        }
        return env;
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
        ProbeRun first = Probe({lock});
        QCOMPARE(first.Outcome, QStringLiteral("claimed"));
        ExpectRefused({lock});
        QCOMPARE(first.Process->state(), QProcess::Running);  // the first copy is untouched
        Keep(first);
    }

    void aKilledCopyDoesNotBlockLaterStarts() {
        QTemporaryDir dir;
        const QString lock = dir.filePath(QStringLiteral("app.lock"));
        ProbeRun first = Probe({lock});
        QCOMPARE(first.Outcome, QStringLiteral("claimed"));
        first.Process->kill();  // dies without cleaning up: the lock file stays behind
        first.Process->waitForFinished();
        QVERIFY(QFile::exists(lock));
        ProbeRun next = Probe({lock});
        QCOMPARE(next.Outcome, QStringLiteral("claimed"));
        ExpectRefused({lock});
        Keep(next);
    }

    void copiesStartedTogetherLeaveExactlyOneRunning() {
        QTemporaryDir dir;
        const QString lock = dir.filePath(QStringLiteral("app.lock"));
        std::vector<std::unique_ptr<QProcess>> copies;
        for (int i = 0; i < 4; ++i) copies.push_back(Start({lock}, 3000));
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

        ProbeRun first = Probe({lock});
        QCOMPARE(first.Outcome, QStringLiteral("claimed"));
        ExpectRefused({lock});
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

        ProbeRun first = Probe({lock});
        QCOMPARE(first.Outcome, QStringLiteral("claimed"));
        QVERIFY(S_ISREG(ModeOf(lock)));
        ExpectRefused({lock});
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
        ProbeRun run = Probe({lock});
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

        ProbeRun first = Probe({lock}, QProcessEnvironment::systemEnvironment(), as);
        QCOMPARE(first.Outcome, QStringLiteral("claimed"));
        QCOMPARE(ModeOf(lock) & 07777, mode_t(0600));
        ExpectRefused({lock}, QProcessEnvironment::systemEnvironment(), as);
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
        ProbeRun run = Probe({lock}, QProcessEnvironment::systemEnvironment(), as);
        QCOMPARE(run.Outcome, QStringLiteral("unguarded"));
        QVERIFY(!QFileInfo::exists(lock));
        QVERIFY(StandardError(*run.Process).contains(QStringLiteral("starting without the single-instance lock")));
        ::chmod(QFile::encodeName(folder).constData(), 0700);  // so that the temporary folder can go
    }

    void everyCopyOfOneUserFindsTheSameLock_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("unprivileged");
        QTest::newRow("with, then without XDG_RUNTIME_DIR") << "session"
                                                            << "bare" << false;
        QTest::newRow("without, then with XDG_RUNTIME_DIR") << "bare"
                                                            << "session" << false;
        QTest::newRow("no writable home, no XDG_RUNTIME_DIR") << "read-only home"
                                                              << "no home" << false;
        QTest::newRow("a session, then no home") << "session"
                                                 << "no home" << false;
        QTest::newRow("an ordinary user without a writable home") << "read-only home"
                                                                  << "session" << true;
    }
    void everyCopyOfOneUserFindsTheSameLock() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, unprivileged);
        std::optional<Unprivileged> as;
        if (unprivileged) {
            as = Nobody();
            if (::geteuid() != 0 || !as) QSKIP("needs root to run the copies as another user");
        }
        const auto roots = MakeRoots();
        QVERIFY(roots);
        const uid_t uid = as ? as->Uid : ::geteuid();
        ProbeRun run = Probe(roots->Where(), EnvironmentFor(first, roots->Dir), as);
        QCOMPARE(run.Outcome, QStringLiteral("claimed"));
        QCOMPARE(run.LockPath, Roots::LockIn(roots->Folder(uid)));
        QCOMPARE(ModeOf(roots->Folder(uid)) & 07777, mode_t(0700));
        QCOMPARE(QFileInfo(roots->Folder(uid)).ownerId(), uid);
        ExpectRefused(roots->Where(), EnvironmentFor(second, roots->Dir), as);
        Keep(run);
    }

    // Whatever takes the lock folder's name (another user's folder, one open
    // to others, a symbolic link, a file) is left alone and never used: the
    // user's own runtime folder takes the lock then, and without one the
    // program starts unguarded and says why.
    void aHostileFolderAtTheLockPlaceIsNotUsed_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("runtime");  // "private", "foreign" (another user's) or "none"
        for (const char* entry : {"foreign folder", "foreign open folder", "symbolic link", "file"}) {
            for (const char* runtime : {"private", "foreign", "none"}) {
                QTest::newRow(QByteArray(entry) + ", runtime folder " + runtime)
                    << QString::fromLatin1(entry) << QString::fromLatin1(runtime);
            }
        }
    }
    void aHostileFolderAtTheLockPlaceIsNotUsed() {
        QFETCH(QString, entry);
        QFETCH(QString, runtime);
        const auto other = Nobody();
        const bool needsRoot = entry.startsWith(QStringLiteral("foreign")) || runtime == QStringLiteral("foreign");
        if (needsRoot && (::geteuid() != 0 || !other)) QSKIP("needs root to make entries of another user");
        const auto roots = MakeRoots();
        QVERIFY(roots);
        const QString folder = roots->Folder();
        const QByteArray native = QFile::encodeName(folder);
        const QString elsewhere = roots->Dir.filePath(QStringLiteral("elsewhere"));
        QVERIFY(QDir().mkdir(elsewhere));
        if (entry == QStringLiteral("symbolic link")) {
            QVERIFY(QFile::link(elsewhere, folder));
        } else if (entry == QStringLiteral("file")) {
            QFile file(folder);
            QVERIFY(file.open(QIODevice::WriteOnly));
        } else {
            QVERIFY(QDir().mkdir(folder));
            QCOMPARE(::chown(native.constData(), other->Uid, other->Gid), 0);
            QCOMPARE(::chmod(native.constData(), entry == QStringLiteral("foreign open folder") ? 0777 : 0700), 0);
        }
        struct stat before {};
        QCOMPARE(::lstat(native.constData(), &before), 0);
        if (runtime != QStringLiteral("none")) {
            const QByteArray run = QFile::encodeName(roots->RuntimeFolder());
            QCOMPARE(::mkdir(run.constData(), 0700), 0);
            if (runtime == QStringLiteral("foreign")) QCOMPARE(::chown(run.constData(), other->Uid, other->Gid), 0);
        }

        ProbeRun run = Probe(roots->Where(), CleanEnvironment());
        if (runtime == QStringLiteral("private")) {
            QCOMPARE(run.Outcome, QStringLiteral("claimed"));
            QCOMPARE(run.LockPath, Roots::LockIn(roots->RuntimeFolder()));
            ExpectRefused(roots->Where(), CleanEnvironment());
        } else {
            QCOMPARE(run.Outcome, QStringLiteral("unguarded"));
            QCOMPARE(run.LockPath, QString());
        }
        const QString said = StandardError(*run.Process);
        QVERIFY2(said.contains(QStringLiteral("not using ") + folder), qPrintable(said));
        if (runtime != QStringLiteral("private"))
            QVERIFY(said.contains(QStringLiteral("starting without the single-instance lock")));
        // Left exactly as it was, and nothing written through the link.
        struct stat after {};
        QCOMPARE(::lstat(native.constData(), &after), 0);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_uid, before.st_uid);
        QVERIFY(QDir(elsewhere).isEmpty());
    }

    // A folder of the user's own that others may enter is closed, then used.
    void aLooseFolderOfOursIsClosedAndUsed() {
        const auto roots = MakeRoots();
        QVERIFY(roots);
        QVERIFY(QDir().mkdir(roots->Folder()));
        QCOMPARE(::chmod(QFile::encodeName(roots->Folder()).constData(), 0777), 0);
        ProbeRun run = Probe(roots->Where(), CleanEnvironment());
        QCOMPARE(run.Outcome, QStringLiteral("claimed"));
        QCOMPARE(run.LockPath, Roots::LockIn(roots->Folder()));
        QCOMPARE(ModeOf(roots->Folder()) & 07777, mode_t(0700));
        Keep(run);
    }

    // The program's own places: the same lock whatever the environment,
    // always absolute, in the temporary folder or the user's runtime folder.
    void theProgramsOwnLockIgnoresTheEnvironment() {
        QTemporaryDir dir;
        QStringList paths;
        for (const char* kind : {"session", "bare", "read-only home", "no home"}) {
            auto probe = Start({QStringLiteral("--default")}, 0, EnvironmentFor(QString::fromLatin1(kind), dir));
            QVERIFY(probe->waitForFinished(10000));
            Line(*probe);  // claimed, or refused while a copy of this user runs
            paths << Line(*probe);
        }
        const QString uid = QString::number(::geteuid());
        QVERIFY2(paths.front() == QStringLiteral("/tmp/velmora-arudha-lagna-%1/velmora-arudha-lagna.lock").arg(uid) ||
                     paths.front() == QStringLiteral("/run/user/%1/velmora-arudha-lagna.lock").arg(uid),
                 qPrintable(paths.front()));
        for (const QString& path : paths) QCOMPARE(path, paths.front());
    }
};

QTEST_MAIN(SingleInstanceTest)
#include "single_instance_test.moc"
