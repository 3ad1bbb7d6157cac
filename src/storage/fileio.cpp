#include "fileio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace storage {

QString systemReason(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return QStringLiteral("Нет доступа");
    case ENOSPC:
        return QStringLiteral("Нет места на диске");
    case EDQUOT:
        return QStringLiteral("Превышена дисковая квота");
    case ENOTDIR:
        return QStringLiteral("Не папка");
    case EISDIR:
        return QStringLiteral("Это папка, а не файл");
    case EROFS:
        return QStringLiteral("Только для чтения");
    case EIO:
        return QStringLiteral("Ошибка ввода-вывода");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Слишком много открытых файлов");
    case ENOENT:
        return QStringLiteral("Нет такого файла или папки");
    case EEXIST:
        return QStringLiteral("Файл уже существует");
    case EFBIG:
        return QStringLiteral("Файл слишком велик");
    case ENAMETOOLONG:
        return QStringLiteral("Слишком длинное имя");
    case ELOOP:
        return QStringLiteral("Слишком много ссылок подряд");
    case EXDEV:
        return QStringLiteral("Файл на другом диске");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("Файл занят");
    case ENOTEMPTY:
        return QStringLiteral("Папка не пуста");
    case ENOMEM:
        return QStringLiteral("Недостаточно памяти");
    case ENXIO:
    case ENODEV:
        return QStringLiteral("Нет устройства");
    case ESTALE:
    case ENOTCONN:
    case ETIMEDOUT:
    case EHOSTUNREACH:
        return QStringLiteral("Сетевой диск недоступен");
    case EINTR:
        return QStringLiteral("Операция прервана");
    case EAGAIN:
        return QStringLiteral("Ресурс временно недоступен");
    case ENOSYS:
    case EOPNOTSUPP:
        return QStringLiteral("Операция не поддерживается");
    case EINVAL:
        return QStringLiteral("Недопустимая операция");
    case EBADF:
        return QStringLiteral("Файл не открыт");
    default:
        return QStringLiteral("Системная ошибка %1").arg(error);
    }
}

QString deviceReason(const QFileDevice& file) {
    // Qt words a system failure as the system's text for errno; that text leads back to the
    // number, so the table is built from Qt's own texts.
    static const QHash<QString, int> byText = [] {
        QHash<QString, int> t;
        for (int e = 1; e < 256; ++e)
            t.insert(qt_error_string(e), e);
        return t;
    }();
    if (const auto e = byText.constFind(file.errorString()); e != byText.cend())
        return systemReason(*e);
    switch (file.error()) {
    case QFileDevice::NoError:
        return QStringLiteral("Неизвестная ошибка");
    case QFileDevice::ReadError:
        return QStringLiteral("Ошибка чтения");
    case QFileDevice::WriteError:
        return QStringLiteral("Ошибка записи");
    case QFileDevice::FatalError:
        return QStringLiteral("Ошибка ввода-вывода");
    case QFileDevice::ResourceError:
        return QStringLiteral("Недостаточно системных ресурсов");
    case QFileDevice::OpenError:
        return QStringLiteral("Файл не открывается");
    case QFileDevice::AbortError:
        return QStringLiteral("Запись прервана");
    case QFileDevice::TimeOutError:
        return QStringLiteral("Время ожидания истекло");
    case QFileDevice::RemoveError:
        return QStringLiteral("Файл не удаляется");
    case QFileDevice::RenameError:
        return QStringLiteral("Файл не переименовывается");
    case QFileDevice::PositionError:
        return QStringLiteral("Ошибка позиционирования в файле");
    case QFileDevice::ResizeError:
        return QStringLiteral("Размер файла не меняется");
    case QFileDevice::PermissionsError:
        return QStringLiteral("Нет доступа");
    case QFileDevice::CopyError:
        return QStringLiteral("Файл не копируется");
    case QFileDevice::UnspecifiedError:
        break;
    }
    return QStringLiteral("Неизвестная ошибка");
}

QString fileMessage(const QString& action, const QString& path, const QString& reason) {
    return QStringLiteral("%1 %2: %3").arg(action, QDir::toNativeSeparators(path), reason);
}

QString wrongSizeReason(qint64 size, qint64 expected) {
    return QStringLiteral("%1 байт вместо %2").arg(size).arg(expected);
}

QString notRegularReason() {
    return QStringLiteral("Это не обычный файл");
}

bool linkStaysInFolder(const QString& path) {
    const QFileInfo link(path);
    const QString target = link.canonicalFilePath();
    return !target.isEmpty() &&
           QFileInfo(target).absolutePath() == QFileInfo(link.absolutePath()).canonicalFilePath();
}

namespace {

// Passes writes on to a file whole: a write that the file takes only in part is continued,
// and a write that fails marks the device failed for good. A producer that does not look at
// the results of its writes (a PDF writer) thus never ends with a cut file taken for whole.
class WholeWrites final : public QIODevice {
public:
    explicit WholeWrites(QFileDevice& file) : file_(file) {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    bool failed() const { return failed_; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 len) override {
        if (failed_)
            return -1;
        for (qint64 done = 0; done < len;) {
            const qint64 n = file_.write(data + done, len - done);
            if (n <= 0) {
                failed_ = true;
                return -1;
            }
            done += n;
        }
        return len;
    }

private:
    QFileDevice& file_;
    bool failed_ = false;
};

} // namespace

namespace {

// The write of a cache: the new content replaces the old file whole, by a rename, but neither
// the file nor its folder is synced.
IoResult writeCacheFile(const QString& path, const Producer& produce,
                        const std::function<IoResult(const QString&)>& failed) {
    QTemporaryFile file(path + QStringLiteral(".XXXXXX"));
    if (!file.open())
        return failed(deviceReason(file));
    WholeWrites out(file);
    IoResult r = produce(out);
    if (r && (out.failed() || !file.flush()))
        r = IoResult::failure(QString());
    if (!r)
        return r.error.isEmpty()
                   ? failed(file.error() != QFileDevice::NoError ? deviceReason(file)
                                                                 : QStringLiteral("Ошибка записи"))
                   : r;
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    if (::rename(QFile::encodeName(file.fileName()).constData(),
                 QFile::encodeName(path).constData()) != 0)
        return failed(systemReason(errno));
    file.setAutoRemove(false);
    return {};
}

} // namespace

IoResult writeFileAtomic(const QString& path, const Producer& produce, Durability durability) {
    const auto failed = [&path](const QString& reason) {
        return IoResult::failure(fileMessage(QStringLiteral("Не могу записать файл"), path, reason),
                                 reason);
    };
    // QSaveFile writes a link's target; a link may lead anywhere, so only one that leads to a
    // file of its own folder is written through.
    if (QFileInfo(path).isSymLink() && !linkStaysInFolder(path))
        return failed(QStringLiteral("это ссылка на файл за пределами папки"));
    // A folder, a device or a FIFO of that name is never replaced by a file.
    if (struct stat st{};
        ::stat(QFile::encodeName(path).constData(), &st) == 0 && !S_ISREG(st.st_mode))
        return failed(S_ISDIR(st.st_mode) ? systemReason(EISDIR) : notRegularReason());
    if (durability == Durability::Cache)
        return writeCacheFile(path, produce, failed);
    // Unbuffered, so that every write reaches the system here: a buffered write of a small
    // file succeeds into the buffer, and QSaveFile commits the file even when flushing that
    // buffer wrote only part of it (a full disk then left a truncated file behind).
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failed(deviceReason(file));
    WholeWrites out(file);
    IoResult r = produce(out);
    if (r && out.failed())
        r = IoResult::failure(QString());
    if (!r) {
        if (r.error.isEmpty())
            r = failed(file.error() != QFileDevice::NoError ? deviceReason(file)
                                                            : QStringLiteral("Ошибка записи"));
        file.cancelWriting();
        return r;
    }
    if (!file.commit())
        return failed(deviceReason(file));
    // The new name must outlive a power cut as the content does (QSaveFile synced the file).
    if (IoResult synced = syncFolderOf(path); !synced)
        return synced;
    return {};
}

IoResult writeFileAtomic(const QString& path, const QByteArray& data, Durability durability) {
    return writeFileAtomic(
        path,
        [&data](QIODevice& out) {
            return out.write(data) == data.size() ? IoResult{} : IoResult::failure(QString());
        },
        durability);
}

IoResult writeFileNew(const QString& path, const QByteArray& data, bool& existed) {
    existed = false;
    const auto failed = [&path](const QString& reason) {
        return IoResult::failure(fileMessage(QStringLiteral("Не могу записать файл"), path, reason),
                                 reason);
    };
    // The whole file is written under a name of its own first (one that no listing takes for
    // a data file); a leftover of an interrupted save under that name is not kept. A failure
    // names the file being saved, not that temporary one.
    const QString temp = path + QStringLiteral(".new");
    QFile::remove(temp);
    if (IoResult r = writeFileAtomic(temp, data); !r)
        return r.reason.isEmpty() ? r : failed(r.reason);
    if (renameNoReplace(temp, path))
        return syncFolderOf(path);
    const int error = errno;
    QFile::remove(temp);
    existed = error == EEXIST;
    return failed(existed ? QStringLiteral("файл с таким именем уже есть") : systemReason(error));
}

qint64 readUpTo(int fd, char* data, qint64 size, int& error, qint64 offset) {
    qint64 done = 0;
    error = 0;
    while (done < size) {
        const std::size_t want = std::size_t(size - done);
        const ssize_t n = offset < 0 ? ::read(fd, data + done, want)
                                     : ::pread(fd, data + done, want, off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            error = errno;
        if (n <= 0)
            break;
        done += n;
    }
    return done;
}

IoResult readFile(const QString& path, QByteArray& out, qint64 maxBytes) {
    // Straight system calls: the scan reads a thousand small files at every start, and
    // QFile's engine and buffering cost more than reading them.
    const auto failedWith = [&path](const QString& reason) {
        return IoResult::failure(
            fileMessage(QStringLiteral("Не могу прочитать файл"), path, reason), reason);
    };
    const auto failed = [&](int error) { return failedWith(systemReason(error)); };
    // Opened without waiting, so that a FIFO in a data file's place never holds the program
    // up, and looked at before the first read: only a regular file is read.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return failed(errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        return failed(error);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return S_ISDIR(st.st_mode) ? failed(EISDIR) : failedWith(notRegularReason());
    }
    // A small limit (an order file) is allocated at once; for a larger one the size the
    // system reports bounds the first allocation. A file that grows meanwhile is read on in
    // larger steps up to maxBytes.
    constexpr qint64 SmallLimit = 64 * 1024;
    maxBytes = std::max<qint64>(maxBytes, 0);
    qint64 first = maxBytes;
    if (maxBytes > SmallLimit)
        first = std::min<qint64>(maxBytes, std::max<qint64>(st.st_size, 0) + 1);
    out.resize(qsizetype(first));
    qint64 done = 0;
    int error = 0;
    for (;;) {
        if (done == out.size()) {
            if (done >= maxBytes)
                break;
            out.resize(qsizetype(std::min<qint64>(maxBytes, std::max<qint64>(done * 2, 4096))));
        }
        const qint64 n = readUpTo(fd, out.data() + done, out.size() - done, error);
        done += n;
        if (error != 0 || done < out.size())
            break;
    }
    ::close(fd);
    if (error != 0) {
        out.clear();
        return failed(error);
    }
    out.truncate(qsizetype(done));
    return {};
}

IoResult readChosenFile(const QString& path, QByteArray& out, qint64 maxBytes) {
    // readFile refuses anything but a regular file without waiting on it.
    if (IoResult r = readFile(path, out, maxBytes + 1); !r)
        return r;
    if (out.size() > maxBytes) {
        out.clear();
        return IoResult::failure(
            fileMessage(QStringLiteral("Не могу прочитать файл"), path, systemReason(EFBIG)));
    }
    return {};
}

IoResult readExactly(const QString& path, void* record, qint64 size) {
    QByteArray data;
    IoResult r = readFile(path, data, size);
    if (!r)
        return r;
    if (data.size() != size)
        return IoResult::failure(QStringLiteral("Файл %1 короче записи: %2 байт вместо %3")
                                     .arg(QDir::toNativeSeparators(path))
                                     .arg(data.size())
                                     .arg(size));
    std::memcpy(record, data.constData(), std::size_t(size));
    return {};
}

bool renameNoReplace(const QString& from, const QString& to) {
    const QByteArray src = QFile::encodeName(from);
    const QByteArray dst = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, src.constData(), AT_FDCWD, dst.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // The file system cannot rename without replacing: a hard link refuses an existing
    // target just the same, and the old name is removed only once the new one exists.
    if (::link(src.constData(), dst.constData()) != 0)
        return false;
    ::unlink(src.constData());
    return true;
}

IoResult moveFile(const QString& from, const QString& to, bool* existed) {
    if (existed)
        *existed = false;
    if (renameNoReplace(from, to))
        return syncFoldersOf(from, to);
    const int error = errno;
    const QString action = QStringLiteral("Не могу перенести файл");
    if (error == EEXIST) {
        if (existed)
            *existed = true;
        return IoResult::failure(fileMessage(
            action, from, QStringLiteral("файл %1 уже есть").arg(QDir::toNativeSeparators(to))));
    }
    if (error != EXDEV)
        return IoResult::failure(fileMessage(action, from, systemReason(error)));
    // Another file system: a complete copy first, then the original goes.
    QByteArray data;
    if (IoResult r = readFile(from, data, std::max<qint64>(QFileInfo(from).size(), 0)); !r)
        return r;
    bool there = false;
    if (IoResult r = writeFileNew(to, data, there); !r) {
        if (existed)
            *existed = there;
        return r;
    }
    if (::unlink(QFile::encodeName(from).constData()) != 0)
        return IoResult::failure(
            fileMessage(QStringLiteral("Не могу удалить файл"), from, systemReason(errno)));
    return syncFolderOf(from);
}

IoResult syncFolder(const QString& dir) {
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    int error = fd < 0 ? errno : 0;
    if (fd >= 0) {
        if (::fsync(fd) != 0)
            error = errno;
        ::close(fd);
    }
    // Some file systems (network ones among them) cannot sync a folder: they keep their
    // folders in step by themselves, and nothing more can be done there.
    if (error == 0 || error == EINVAL || error == EROFS || error == ENOTSUP)
        return {};
    return IoResult::failure(
        fileMessage(QStringLiteral("Не могу записать на диск папку"), dir, systemReason(error)),
        systemReason(error));
}

IoResult syncFolderOf(const QString& path) {
    return syncFolder(QFileInfo(path).absolutePath());
}

IoResult syncFoldersOf(const QString& from, const QString& to) {
    const QString a = QFileInfo(from).absolutePath();
    const QString b = QFileInfo(to).absolutePath();
    // The new name first: the order is then found under one name or the other.
    IoResult r = syncFolder(b);
    if (r && a != b)
        r = syncFolder(a);
    return r;
}

namespace {

// The first free name path + suffix, path + suffix + "1", ... for which taken(name) is false,
// calling tryName on each until it succeeds or fails for good.
template <class Try>
IoResult firstFreeName(const QString& path, const QString& suffix, Try tryName) {
    for (int n = 0; n < 1000; ++n) {
        const QString target = path + suffix + (n ? QString::number(n) : QString());
        bool taken = false;
        IoResult r = tryName(target, taken);
        if (!taken)
            return r;
    }
    return IoResult::failure(fileMessage(QStringLiteral("Не могу перенести файл"), path,
                                         QStringLiteral("нет свободного имени")));
}

bool sameContent(const QString& a, const QString& b) {
    struct stat x {
    }, y{};
    if (::stat(QFile::encodeName(a).constData(), &x) != 0 ||
        ::stat(QFile::encodeName(b).constData(), &y) != 0 || x.st_size != y.st_size)
        return false;
    if (x.st_dev == y.st_dev && x.st_ino == y.st_ino)
        return true;
    QByteArray one, two;
    return readFile(a, one, x.st_size) && readFile(b, two, y.st_size) && one == two;
}

} // namespace

IoResult moveAside(const QString& path, const QString& suffix, QString* movedTo) {
    return firstFreeName(path, suffix, [&](const QString& target, bool& taken) {
        IoResult r = moveFile(path, target, &taken);
        if (r && movedTo)
            *movedTo = target;
        return r;
    });
}

IoResult keepCopy(const QString& path, const QString& suffix, QString& keptAs) {
    return firstFreeName(path, suffix, [&](const QString& target, bool& taken) -> IoResult {
        const QByteArray from = QFile::encodeName(path);
        const QByteArray to = QFile::encodeName(target);
        if (::link(from.constData(), to.constData()) == 0) {
            keptAs = target;
            return syncFolderOf(target);
        }
        const int error = errno;
        if (error == EEXIST) {
            // Kept already by an earlier attempt that stopped before the file was replaced.
            taken = !sameContent(path, target);
            if (!taken)
                keptAs = target;
            return {};
        }
        if (error != EPERM && error != EOPNOTSUPP && error != EXDEV && error != EMLINK)
            return IoResult::failure(fileMessage(QStringLiteral("Не могу сохранить копию файла"),
                                                 path, systemReason(error)));
        // No second name on this file system: a complete copy instead.
        QByteArray data;
        if (IoResult r = readFile(path, data, std::max<qint64>(QFileInfo(path).size(), 0)); !r)
            return r;
        IoResult r = writeFileNew(target, data, taken);
        if (r)
            keptAs = target;
        return r;
    });
}

} // namespace storage
