#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace velmora {

// The previous-instance test: is another copy of this program running?
class InstanceGuard {
public:
    virtual ~InstanceGuard() = default;
    // Claims the program for this process; false when another copy holds it.
    virtual bool Claim() = 0;
};

// A lock file that names the process holding it. The lock is taken
// atomically, so of two copies started at the same instant exactly one wins;
// a lock left by a copy that died is recognised as stale (its process no
// longer runs) and taken over, so a crash never blocks later starts.
class LockFileInstanceGuard final : public InstanceGuard {
public:
    // The default lock lives in the temporary folder, one per user.
    LockFileInstanceGuard();
    explicit LockFileInstanceGuard(QString lockPath);
    bool Claim() override;

    static QString DefaultLockPath();

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace velmora
