#include "app/single_instance.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

constexpr const char* kLockFileName = "velmora-arudha-lagna.lock";
constexpr const char* kLockFolderName = "velmora-arudha-lagna";
// Enough rounds for a broken entry to be removed and a rival copy's own
// repair to settle; each round either locks, refuses or removes something.
constexpr int kAttempts = 8;

void Say(const QString& text) { std::fprintf(stderr, "velmora-arudha-lagna: %s\n", text.toLocal8Bit().constData()); }

QString ErrorText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// Why the entry at `folder` is not a folder private to this user; empty
// when it is one. lstat: a symbolic link is never followed. A folder of ours
// with looser permissions is brought to 0700 when `tighten`.
QString NotPrivate(const QString& folder, bool tighten) {
    struct stat st {};
    const QByteArray native = QFile::encodeName(folder);
    if (::lstat(native.constData(), &st) != 0) return ErrorText(errno);
    if (S_ISLNK(st.st_mode)) return QStringLiteral("it is a symbolic link");
    if (!S_ISDIR(st.st_mode)) return QStringLiteral("it is not a folder");
    if (st.st_uid != ::geteuid()) return QStringLiteral("it belongs to another user");
    if ((st.st_mode & 077) == 0) return {};
    if (tighten && ::chmod(native.constData(), 0700) == 0) return {};
    return QStringLiteral("other users may use it");
}

// A root others may write to protects our entries only with the sticky bit
// (/tmp): without it anyone could move our folder away and put theirs.
bool IsSafeRoot(const QString& root) {
    struct stat st {};
    if (!QDir::isAbsolutePath(root) || ::stat(QFile::encodeName(root).constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    if (st.st_uid != 0 && st.st_uid != ::geteuid()) return false;
    return (st.st_mode & (S_IWGRP | S_IWOTH)) == 0 || (st.st_mode & S_ISVTX) != 0;
}

// Removes whatever stands at the lock path in place of a lock file we can
// use. True when it is gone.
bool RemoveEntry(const QByteArray& path, const struct stat& st, const QString& displayPath) {
    const bool folder = S_ISDIR(st.st_mode);
    const QString what = folder                ? QStringLiteral("a folder")
                         : S_ISLNK(st.st_mode) ? QStringLiteral("a symbolic link")
                         : S_ISREG(st.st_mode) ? QStringLiteral("a lock file it cannot open")
                                               : QStringLiteral("a file of another kind");
    if ((folder ? ::rmdir(path.constData()) : ::unlink(path.constData())) != 0 && errno != ENOENT) {
        Say(QStringLiteral("cannot remove %1 at the lock path %2: %3").arg(what, displayPath, ErrorText(errno)));
        return false;
    }
    Say(QStringLiteral("removed %1 found at the lock path %2").arg(what, displayPath));
    return true;
}

void StartingWithoutLock(const QString& reason) {
    Say(QStringLiteral("%1; starting without the single-instance lock, so a second copy will not be stopped")
            .arg(reason));
}

}  // namespace

QString LockFileInstanceGuard::LockDirectoryIn(const Places& places) {
    const QString uid = QString::number(static_cast<qulonglong>(::geteuid()));
    if (IsSafeRoot(places.TemporaryRoot)) {
        QString folder = QDir::cleanPath(
            QDir(places.TemporaryRoot).filePath(QString::fromLatin1(kLockFolderName) + QLatin1Char('-') + uid));
        ::mkdir(QFile::encodeName(folder).constData(), 0700);  // may exist already; checked next
        const QString why = NotPrivate(folder, true);
        if (why.isEmpty()) return folder;
        Say(QStringLiteral("not using %1 for the single-instance lock: %2").arg(folder, why));
    }
    if (IsSafeRoot(places.RuntimeRoot)) {
        QString folder = QDir::cleanPath(QDir(places.RuntimeRoot).filePath(uid));
        if (NotPrivate(folder, false).isEmpty()) return folder;
    }
    return {};
}

QString LockFileInstanceGuard::LockPathIn(const Places& places) {
    const QString folder = LockDirectoryIn(places);
    return folder.isEmpty() ? QString() : QDir(folder).filePath(QString::fromLatin1(kLockFileName));
}

LockFileInstanceGuard::LockFileInstanceGuard() : LockFileInstanceGuard(DefaultLockPath()) {}

LockFileInstanceGuard::LockFileInstanceGuard(QString lockPath) : path_(std::move(lockPath)) {}

LockFileInstanceGuard::~LockFileInstanceGuard() {
    // Closing releases the lock. The file itself stays: removing it would let
    // a copy that opened it a moment earlier lock a file no longer at the path
    // while the next copy creates and locks a new one.
    if (fd_ >= 0) ::close(fd_);
}

bool LockFileInstanceGuard::Claim() {
    if (Held()) return true;
    if (path_.isEmpty()) {
        StartingWithoutLock(
            QStringLiteral("no private folder for the lock (neither in the temporary folder nor the runtime folder)"));
        return true;
    }
    const QByteArray native = QFile::encodeName(path_);

    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        // O_NOFOLLOW: a symbolic link is never followed; O_NONBLOCK: a FIFO
        // at the path cannot hang the start; O_CLOEXEC: programs started from
        // here (the browser) do not inherit the lock.
        const int fd =
            ::open(native.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0600);
        if (fd < 0) {
            const int openError = errno;
            struct stat st {};
            if (::lstat(native.constData(), &st) != 0) {
                // Something that stood there was removed under us (a rival
                // copy's repair): try again.
                if (errno == ENOENT && (openError == ELOOP || openError == EISDIR || openError == ENXIO)) continue;
                // Nothing there and nothing may be created: a read-only or missing folder.
                StartingWithoutLock(QStringLiteral("cannot create the lock %1: %2").arg(path_, ErrorText(openError)));
                return true;
            }
            if (RemoveEntry(native, st, path_)) continue;
            StartingWithoutLock(QStringLiteral("cannot use the lock %1: %2").arg(path_, ErrorText(openError)));
            return true;
        }

        struct stat opened {};
        if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
            ::close(fd);
            struct stat st {};
            if (::lstat(native.constData(), &st) == 0 && RemoveEntry(native, st, path_)) continue;
            StartingWithoutLock(QStringLiteral("the lock %1 is not a regular file").arg(path_));
            return true;
        }

        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int lockError = errno;
            ::close(fd);
            if (lockError == EWOULDBLOCK) return false;  // a running copy holds it
            StartingWithoutLock(QStringLiteral("cannot lock %1: %2").arg(path_, ErrorText(lockError)));
            return true;
        }

        // Another copy may have removed and recreated the entry between our
        // open and our lock; a lock on a file no longer at the path guards
        // nothing, so go round again for the one that is.
        struct stat current {};
        if (::lstat(native.constData(), &current) != 0 || current.st_dev != opened.st_dev ||
            current.st_ino != opened.st_ino) {
            ::close(fd);
            continue;
        }

        // Who holds the lock, for a person looking at the file; nothing reads it.
        if ((opened.st_mode & 07777) != 0600) ::fchmod(fd, 0600);
        const QByteArray holder = QByteArray::number(static_cast<qint64>(::getpid())) + '\n';
        if (::ftruncate(fd, 0) == 0) {
            [[maybe_unused]] const ssize_t written =
                ::write(fd, holder.constData(), static_cast<size_t>(holder.size()));
        }
        fd_ = fd;
        return true;
    }
    StartingWithoutLock(QStringLiteral("the lock %1 kept changing while it was being taken").arg(path_));
    return true;
}

}  // namespace velmora
