#include "folderlock.h"

#include "fileio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace storage {

namespace {

// Why QLockFile could not make its file; it keeps no system error of its own, so the right
// to write the folder is asked for what it says.
QString lockErrorFor(const QLockFile& lock, const QString& path) {
    if (lock.error() == QLockFile::PermissionError)
        return systemReason(EACCES);
    const QString folder = QFileInfo(path).absolutePath();
    if (::faccessat(AT_FDCWD, QFile::encodeName(folder).constData(), W_OK | X_OK, AT_EACCESS) != 0)
        return systemReason(errno);
    return QStringLiteral("не могу создать файл");
}

// True while a process of that number runs on this computer.
bool processRuns(qint64 pid) {
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno != ESRCH);
}

} // namespace

QString FolderLock::fileName() {
    return QStringLiteral("Quenmara.lock");
}

FolderLock::FolderLock(const QString& programDir)
    : path_(QDir(programDir).filePath(fileName())), lock_(path_) {
    // The folder is held for as long as the program runs: a lock never goes stale by its
    // age, only when the program that took it is gone (which is known on its own computer).
    lock_.setStaleLockTime(0);
}

FolderLock::State FolderLock::unavailable(const QString& reason) {
    problem_ = fileMessage(QStringLiteral("файл блокировки"), path_, reason);
    return State::Unavailable;
}

FolderLock::State FolderLock::acquire() {
    // Only a regular file is a lock file: reading a FIFO would wait for ever, and a folder or
    // a device in its place would pass for a lock that nobody holds or can take.
    const QByteArray local = QFile::encodeName(path_);
    if (struct stat st{}; ::lstat(local.constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return unavailable(systemReason(EISDIR));
        if (!S_ISREG(st.st_mode))
            return unavailable(notRegularReason());
        // A lock file that cannot be read tells nothing of its holder, nor can it be taken over.
        const int fd = ::open(local.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0)
            return unavailable(systemReason(errno));
        ::close(fd);
    }
    if (lock_.tryLock(0))
        return State::Taken;
    if (lock_.error() != QLockFile::LockFailedError)
        return unavailable(lockErrorFor(lock_, path_));
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
            return unavailable(lockErrorFor(lock_, path_));
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
