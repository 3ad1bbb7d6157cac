#include "folderlock.h"

#include <QDir>
#include <QSysInfo>
#include <cerrno>
#include <csignal>

namespace storage {

namespace {

// True while a process of that number runs on this computer.
bool processRuns(qint64 pid) {
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno != ESRCH);
}

} // namespace

QString FolderLock::fileName() {
    return QStringLiteral("Quenmara.lock");
}

FolderLock::FolderLock(const QString& programDir) : lock_(QDir(programDir).filePath(fileName())) {
    // The folder is held for as long as the program runs: a lock never goes stale by its
    // age, only when the program that took it is gone (which is known on its own computer).
    lock_.setStaleLockTime(0);
}

FolderLock::State FolderLock::acquire() {
    if (lock_.tryLock(0))
        return State::Taken;
    if (lock_.error() != QLockFile::LockFailedError)
        return State::Unavailable;
    // QLockFile takes over a lock of a process that is gone when the lock file names this
    // computer by its machine id; a lock file without it, or from this computer under
    // another id, is checked by the host name. A lock file that cannot be read (cut short
    // by a crash while it was written) is removed too: removal waits for the system lock
    // that a running holder keeps on it, so a live holder's file stays.
    qint64 pid = 0;
    QString host;
    bool known = lock_.getLockInfo(&pid, &host, nullptr);
    if (!known) { // perhaps being written this moment: a little time for that
        if (lock_.tryLock(300))
            return State::Taken;
        known = lock_.getLockInfo(&pid, &host, nullptr);
    }
    if (!known || (host == QSysInfo::machineHostName() && !processRuns(pid))) {
        lock_.removeStaleLockFile();
        if (lock_.tryLock(0))
            return State::Taken;
        if (lock_.error() != QLockFile::LockFailedError)
            return State::Unavailable;
    }
    return State::Held;
}

QString FolderLock::holder() const {
    qint64 pid = 0;
    QString host, app;
    if (!lock_.getLockInfo(&pid, &host, &app))
        return {};
    return QStringLiteral("компьютер %1, процесс %2 (%3)")
        .arg(host.isEmpty() ? QStringLiteral("неизвестен") : host)
        .arg(pid)
        .arg(app);
}

} // namespace storage
