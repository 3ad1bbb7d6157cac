#include "output.h"

#include "folderlock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>
#include <sys/stat.h>

namespace storage {

namespace {

struct Identity {
    dev_t device = 0;
    ino_t inode = 0;
    bool valid = false;
    bool operator==(const Identity& o) const {
        return valid && o.valid && device == o.device && inode == o.inode;
    }
};

Identity identity(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return {st.st_dev, st.st_ino, true};
}

// The names the program keeps directly in its folder.
bool programFileName(const QString& name) {
    static const QRegularExpression own(
        QStringLiteral("^(PathPlt|FormW|ArCol|Set|Firms1|Firms|FirmsDel|Firms_Old\\d*|"
                       "FirmsDel_Old\\d*|%1|.*\\.plat|.*\\.pdel)$")
            .arg(QRegularExpression::escape(FolderLock::fileName())),
        QRegularExpression::CaseInsensitiveOption);
    return own.match(name).hasMatch();
}

} // namespace

IoResult checkOutputFile(const FolderState& program, const QString& path) {
    const auto refused = [&path](const QString& reason) {
        return IoResult::failure(fileMessage(QStringLiteral("Не могу записать файл"), path, reason),
                                 reason);
    };
    // A link is judged by what it leads to.
    QString target = QFileInfo(path).absoluteFilePath();
    if (const QFileInfo info(path); info.isSymLink() && !info.canonicalFilePath().isEmpty())
        target = info.canonicalFilePath();
    if (struct stat st{}; ::stat(QFile::encodeName(target).constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return refused(systemReason(EISDIR));
        if (!S_ISREG(st.st_mode))
            return refused(notRegularReason());
    }
    const QString folder = QFileInfo(target).absolutePath();
    const QString data = QStringLiteral("это данные программы");
    // In or under Data, PP or PPDel: each folder up to the root is compared with them.
    const Identity own[] = {identity(program.dataDir), identity(program.ordersDir),
                            identity(program.deletedDir)};
    QString up = QFileInfo(folder).canonicalFilePath();
    while (!up.isEmpty()) {
        const Identity here = identity(up);
        for (const Identity& o : own)
            if (here == o)
                return refused(data);
        const QString parent = QFileInfo(up).path();
        if (parent == up)
            break;
        up = parent;
    }
    if (identity(folder) == identity(program.programDir) &&
        programFileName(QFileInfo(target).fileName()))
        return refused(data);
    return {};
}

} // namespace storage
