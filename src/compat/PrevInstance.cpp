// SPDX-License-Identifier: MIT
#include "compat/PrevInstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>
#include <QStringList>
#include <QThread>
#include <cstdio>
#include <memory>

namespace compat {

namespace {
enum class Lock { Taken, HeldByRunningClock, Unusable };

const char *describe(QLockFile::LockError error)
{
    switch (error) {
    case QLockFile::PermissionError:
        return "not writable";
    case QLockFile::LockFailedError:
        return "taken by something that is not a lock";
    default:
        return "cannot be created";
    }
}

// Tries the lock file in `dir`. Only a lock that names its owner counts as a
// running clock: a lock whose owner has died is taken over (staleness is
// decided by the owner's PID alone; a stale time would make a long-running
// clock's lock look abandoned), and a path that cannot hold a lock at all (a
// folder that is read-only or full, a directory or some other file at the
// lock's name) is reported as unusable, so that the caller tries elsewhere.
Lock lockIn(const QString &dir, std::unique_ptr<QLockFile> &held, QString *why)
{
    if (dir.isEmpty() || !QDir().mkpath(dir)) {
        *why = dir + QStringLiteral(": the folder cannot be created");
        return Lock::Unusable;
    }
    auto lock = std::make_unique<QLockFile>(dir + QStringLiteral("/tavisk.lock"));
    lock->setStaleLockTime(0);
    // A clock starting at this very moment has created its lock but may not
    // have written its PID into it yet: look again for a little while before
    // calling the path unusable.
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (lock->tryLock(0)) {
            held = std::move(lock);
            return Lock::Taken;
        }
        if (lock->error() != QLockFile::LockFailedError)
            break;
        qint64 pid = 0;
        QString host;
        QString application;
        if (lock->getLockInfo(&pid, &host, &application))
            return Lock::HeldByRunningClock;
        QThread::msleep(20);
    }
    *why = lock->fileName() + QStringLiteral(": ") + QLatin1String(describe(lock->error()));
    return Lock::Unusable;
}

bool anotherClockRuns()
{
    static std::unique_ptr<QLockFile> held; // kept until the process ends
    // The user's runtime folder first: another user can neither see nor block
    // it. The user's cache folder stands in when it cannot hold the lock.
    const QStringList places{
        QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation),
        QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/tavisk"),
    };
    QStringList problems;
    for (const QString &dir : places) {
        QString why;
        switch (lockIn(dir, held, &why)) {
        case Lock::Taken:
            return false;
        case Lock::HeldByRunningClock:
            return true;
        case Lock::Unusable:
            problems << why;
            break;
        }
    }
    // A clock that silently never starts is worse than a rare second one.
    std::fprintf(stderr, "tavisk: cannot take the lock that keeps to one clock per user (%s); starting anyway\n",
                 qPrintable(problems.join(QStringLiteral("; "))));
    return false;
}
} // namespace

bool previousInstance()
{
    static const bool running = anotherClockRuns();
    return running;
}

} // namespace compat
