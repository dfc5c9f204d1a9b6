#pragma once

#include <QString>

namespace velmora {

// The previous-instance test: is another copy of this program running?
class InstanceGuard {
public:
    virtual ~InstanceGuard() = default;
    // Claims the program for this process; false when another copy holds it.
    virtual bool Claim() = 0;
};

// An advisory lock (flock) on a file in the user's private runtime folder.
// The kernel drops the lock when its process ends, however it ends, so only a
// copy that is still running can hold it: whatever a dead copy left behind
// (an empty file after a power cut, old text, the number of a process long
// gone) is simply locked again. Two copies started at the same instant
// compete for one lock and exactly one wins.
//
// Whatever sits at the lock path and cannot be locked (a directory, a
// symbolic link, a file this user cannot open) is removed and the lock taken
// afresh. When no lock can be had at all (no private folder, a read-only
// folder) the program starts without one and says so on standard error: a
// broken lock never keeps the program from starting.
class LockFileInstanceGuard final : public InstanceGuard {
public:
    // The default lock, in DefaultLockDirectory().
    LockFileInstanceGuard();
    // A lock at the path given; an empty path means no lock.
    explicit LockFileInstanceGuard(QString lockPath);
    ~LockFileInstanceGuard() override;
    LockFileInstanceGuard(const LockFileInstanceGuard&) = delete;
    LockFileInstanceGuard& operator=(const LockFileInstanceGuard&) = delete;

    // False only when a running copy holds the lock.
    bool Claim() override;

    // True once Claim has taken the lock; false after a refusal or when the
    // program runs without a lock.
    bool Held() const { return fd_ >= 0; }
    const QString& LockPath() const { return path_; }

    // Where the lock's folder is looked for. The program always uses the
    // system's own places; tests point both elsewhere.
    struct Places {
        QString TemporaryRoot = QStringLiteral("/tmp");
        QString RuntimeRoot = QStringLiteral("/run/user");
    };

    // The lock's folder, which depends on the user alone, never on the
    // environment (XDG_RUNTIME_DIR, HOME, TMPDIR), so every copy of one user
    // finds the same lock: velmora-arudha-lagna-UID in the temporary root,
    // created with mode 0700; when that name is taken by something that is
    // not a private folder of this user (another user's folder, a symbolic
    // link, a file, a folder open to others), the user's runtime folder
    // RuntimeRoot/UID when it is a private folder of this user. Empty when
    // neither is usable, and the refused entries are named on standard
    // error. Always absolute.
    static QString LockDirectoryIn(const Places& places);
    static QString DefaultLockDirectory() { return LockDirectoryIn(Places{}); }
    // The folder plus the lock's file name; empty without a folder.
    static QString LockPathIn(const Places& places);
    static QString DefaultLockPath() { return LockPathIn(Places{}); }

private:
    QString path_;
    int fd_ = -1;
};

}  // namespace velmora
