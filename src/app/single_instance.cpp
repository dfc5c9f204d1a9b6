#include "app/single_instance.h"

#include <QDir>
#include <QStandardPaths>

namespace velmora {

QString LockFileInstanceGuard::DefaultLockPath() {
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty()) user = qEnvironmentVariable("USERNAME");
    if (user.isEmpty()) user = QStringLiteral("user");
    return QDir(QStandardPaths::writableLocation(QStandardPaths::TempLocation))
        .filePath(QStringLiteral("velmora-arudha-lagna-%1.lock").arg(user));
}

LockFileInstanceGuard::LockFileInstanceGuard() : LockFileInstanceGuard(DefaultLockPath()) {}

LockFileInstanceGuard::LockFileInstanceGuard(QString lockPath) : path_(std::move(lockPath)) {}

bool LockFileInstanceGuard::Claim() {
    lock_ = std::make_unique<QLockFile>(path_);
    // A running copy's lock never goes stale by age, however long it runs;
    // only a lock whose process has gone is taken over.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) return true;
    lock_.reset();
    return false;
}

}  // namespace velmora
