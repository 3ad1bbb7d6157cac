#include "programfolder.h"

#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <unistd.h>

namespace app {

namespace {

// Asked with the effective rights, with which the program writes its files (access() and
// QFileInfo::isWritable ask for the real user's).
bool writable(const QString& dir) {
    return ::faccessat(AT_FDCWD, QFile::encodeName(dir).constData(), W_OK | X_OK, AT_EACCESS) == 0;
}

} // namespace

QString chooseProgramFolder(const QString& dirOption, const QString& executableDir,
                            const QString& dataLocation) {
    if (!dirOption.isEmpty())
        return dirOption;
    if (writable(executableDir))
        return executableDir;
    QDir().mkpath(dataLocation);
    return dataLocation;
}

} // namespace app
