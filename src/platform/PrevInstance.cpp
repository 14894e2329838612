#include "platform/PrevInstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>
#include <memory>

namespace platform {

namespace {
// The lock lives in the user's runtime directory, so another user can neither
// see nor block it. Staleness is decided by the owner's PID alone (a stale
// time would make a long-running clock's lock look abandoned), so a lock left
// by a killed process is taken over.
bool takeLock()
{
    static std::unique_ptr<QLockFile> lock; // held until the process ends
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    QDir().mkpath(dir);
    lock = std::make_unique<QLockFile>(dir + QStringLiteral("/tavisk.lock"));
    lock->setStaleLockTime(0);
    return lock->tryLock(0);
}
} // namespace

bool previousInstance()
{
    static const bool held = takeLock();
    return !held;
}

} // namespace platform
