// Test helper: claims the single-instance lock and holds the claim for the
// milliseconds given. Arguments: the lock path, --default for the lock the
// program itself uses, or --in TEMPORARY-ROOT RUNTIME-ROOT for the program's
// lock looked for in those two places; then the milliseconds. Prints two lines: "claimed"
// (lock held), "unguarded" (started without a lock) or "refused"; then the
// lock path. Exit status 1 for a refusal.

#include <QCoreApplication>
#include <QTextStream>
#include <QThread>

#include "app/single_instance.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const bool in = args.size() > 1 && args[1] == QStringLiteral("--in");
    if (args.size() < (in ? 5 : 3)) return 64;
    QString lockPath = args[1];
    if (args[1] == QStringLiteral("--default")) lockPath = velmora::LockFileInstanceGuard::DefaultLockPath();
    if (in) lockPath = velmora::LockFileInstanceGuard::LockPathIn({args[2], args[3]});
    velmora::LockFileInstanceGuard guard(lockPath);
    const bool started = guard.Claim();
    QTextStream(stdout) << (!started       ? "refused"
                            : guard.Held() ? "claimed"
                                           : "unguarded")
                        << '\n'
                        << guard.LockPath() << Qt::endl;
    if (started) QThread::msleep(args[in ? 4 : 2].toULong());
    return started ? 0 : 1;
}
