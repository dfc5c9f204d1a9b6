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

    // The lock's folder: the runtime folder ($XDG_RUNTIME_DIR) when it is set,
    // absolute and private to this user; otherwise velmora-arudha-lagna in
    // the user's cache folder, created with mode 0700. Empty when neither is
    // usable. Never relative, never a folder other users can write to.
    static QString DefaultLockDirectory();
    // DefaultLockDirectory() plus the lock's file name; empty without a folder.
    static QString DefaultLockPath();

private:
    QString path_;
    int fd_ = -1;
};

}  // namespace velmora
