// Test helper: claims the single-instance lock at the path given, prints
// "claimed" or "refused", and holds the claim for the milliseconds given.

#include <QCoreApplication>
#include <QTextStream>
#include <QThread>

#include "app/single_instance.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3) return 64;
    velmora::LockFileInstanceGuard guard(args[1]);
    const bool claimed = guard.Claim();
    QTextStream(stdout) << (claimed ? "claimed" : "refused") << Qt::endl;
    if (claimed) QThread::msleep(args[2].toULong());
    return claimed ? 0 : 1;
}
