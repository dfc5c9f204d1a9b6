// Test helper: claims the single-instance lock and holds the claim for the
// milliseconds given. Arguments: the lock path, or --default for the lock the
// program itself uses, then the milliseconds. Prints two lines: "claimed"
// (lock held), "unguarded" (started without a lock) or "refused"; then the
// lock path. Exit status 1 for a refusal.

#include <QCoreApplication>
#include <QTextStream>
#include <QThread>

#include "app/single_instance.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3) return 64;
    const QString lockPath =
        args[1] == QStringLiteral("--default") ? velmora::LockFileInstanceGuard::DefaultLockPath() : args[1];
    velmora::LockFileInstanceGuard guard(lockPath);
    const bool started = guard.Claim();
    QTextStream(stdout) << (!started       ? "refused"
                            : guard.Held() ? "claimed"
                                           : "unguarded")
                        << '\n'
                        << guard.LockPath() << Qt::endl;
    if (started) QThread::msleep(args[2].toULong());
    return started ? 0 : 1;
}
