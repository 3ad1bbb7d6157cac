#include "folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace storage {

bool forEachFolderFile(const QString& dir, QStringView extension, const FolderVisitor& f) {
    const QByteArray ext = extension.toLatin1();
    DIR* d = ::opendir(QFile::encodeName(dir).constData());
    if (!d)
        return false;
    const int fd = ::dirfd(d);
    while (const dirent* e = ::readdir(d)) {
        const QByteArrayView name(e->d_name);
        if (name.size() < ext.size() ||
            name.last(ext.size()).compare(ext, Qt::CaseInsensitive) != 0)
            continue;
        unsigned char type = e->d_type;
        struct stat st;
        if (type == DT_UNKNOWN) {
            if (::fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            type = S_ISREG(st.st_mode) ? DT_REG : S_ISLNK(st.st_mode) ? DT_LNK : DT_UNKNOWN;
        }
        if (type == DT_LNK) {
            // A link counts only when it leads to a regular file of this folder itself.
            if (!linkStaysInFolder(QDir(dir).filePath(QFile::decodeName(e->d_name))) ||
                ::fstatat(fd, e->d_name, &st, 0) != 0 || !S_ISREG(st.st_mode))
                continue;
            type = DT_REG;
        }
        if (type != DT_REG)
            continue;
        if (!f(e->d_name, fd))
            break;
    }
    ::closedir(d);
    return true;
}

namespace {

// Calls f(name) for every file of dir that listFileNames admits, until f returns false.
template <class F> void forEachFile(const QString& dir, QStringView extension, F f) {
    forEachFolderFile(dir, extension,
                      [&f](const char* name, int) { return f(QFile::decodeName(name)); });
}

QString capitals(const QString& name) {
    QString key = name;
    for (QChar& c : key) {
        const char16_t u = c.unicode();
        if (u >= u'a' && u <= u'z')
            c = QChar(char16_t(u - (u'a' - u'A')));
        else if (u >= 0x80)
            c = c.toUpper();
    }
    return key;
}

} // namespace

std::vector<QString> listFileNames(const QString& dir, QStringView extension) {
    struct Keyed {
        QString key;
        QString name;
    };
    std::vector<Keyed> found;
    forEachFile(dir, extension, [&](QString name) {
        QString key = capitals(name);
        found.push_back({std::move(key), std::move(name)});
        return true;
    });
    std::sort(found.begin(), found.end(), [](const Keyed& a, const Keyed& b) {
        if (const int order = QString::compare(a.key, b.key); order != 0)
            return order < 0;
        return a.name < b.name;
    });
    std::vector<QString> out;
    out.reserve(found.size());
    for (Keyed& k : found)
        out.push_back(std::move(k.name));
    return out;
}

qint64 fileSize(const QString& path) {
    const QFileInfo info(path);
    return info.exists() ? info.size() : -1;
}

std::vector<FolderEntry> listFiles(const QString& dir, QStringView extension) {
    std::vector<FolderEntry> out;
    const QString folder = dir.endsWith(u'/') ? dir : dir + u'/';
    for (QString& name : listFileNames(dir, extension)) {
        const qint64 size = fileSize(folder + name);
        if (size >= 0)
            out.push_back({std::move(name), size});
    }
    return out;
}

IoResult checkFolderReadable(const QString& dir) {
    DIR* d = ::opendir(QFile::encodeName(dir).constData());
    if (d) {
        ::closedir(d);
        return {};
    }
    if (errno == ENOENT || errno == ENOTDIR)
        return {};
    return IoResult::failure(
        fileMessage(QStringLiteral("Не могу прочитать папку"), dir, systemReason(errno)));
}

bool hasFiles(const QString& dir, QStringView extension) {
    bool any = false;
    forEachFile(dir, extension, [&](const QString&) {
        any = true;
        return false;
    });
    return any;
}

} // namespace storage
