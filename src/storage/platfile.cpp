#include "platfile.h"

#include "folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace storage {

bool MakePlatFileName(std::string_view number, std::string_view payerInn, std::string_view yy,
                      ShortStr<28>& out) {
    if (!isDigits(number) || !isDigits(payerInn) || !isDigits(yy))
        return false;
    ShortStr<28> name;
    name.clear();
    name.append(number);
    name.append('_');
    name.append(payerInn);
    name.append('_');
    name.append(yy);
    name.append(".plat");
    out = name.view();
    return true;
}

std::string_view DateYearDigits(std::string_view date) {
    return date.size() > 8 ? date.substr(8, 2) : std::string_view();
}

bool isPlainFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..")
        return false;
    for (char c : name)
        if (c == '/' || c == '\\' || c == '\0')
            return false;
    return true;
}

namespace {

QString platPath(const Store& s) {
    return s.PlatDir + QString::fromLatin1(s.PlatFileName.bytes());
}

} // namespace

IoResult SaveFilePlat(const Store& s) {
    if (!isPlainFileName(s.PlatFileName.view()))
        return IoResult::failure(QStringLiteral("Недопустимое имя файла платежки"));
    return writeFileAtomic(platPath(s), recordBytes(s.Plat));
}

IoResult SaveFilePlatNew(const Store& s, bool& existed) {
    existed = false;
    if (!isPlainFileName(s.PlatFileName.view()))
        return IoResult::failure(QStringLiteral("Недопустимое имя файла платежки"));
    return writeFileNew(platPath(s), recordBytes(s.Plat), existed);
}

bool PlatFileExists(const Store& s) {
    if (!isPlainFileName(s.PlatFileName.view()))
        return false;
    const QFileInfo info(platPath(s));
    return info.exists() || info.isSymLink();
}

IoResult ReadPlatFile(const QString& path, TPlat& rec) {
    TPlat r;
    IoResult res = readExactly(path, &r, sizeof(TPlat));
    if (res)
        rec = r;
    return res;
}

IoResult OpenFilePlat(Store& s) {
    if (!isPlainFileName(s.PlatFileName.view()) || !QFileInfo::exists(platPath(s))) {
        s.PlatError = 1;
        return {};
    }
    return ReadPlatFile(platPath(s), s.Plat);
}

QString DeletedPlatName(std::string_view fileName) {
    const std::string_view stem = fileName.substr(0, fileName.size() > 5 ? fileName.size() - 5 : 0);
    return QString::fromLatin1(stem.data(), qsizetype(stem.size())) + QStringLiteral(".pdel");
}

IoResult MovePlatToDeleted(const Store& s, std::string_view fileName) {
    if (!isPlainFileName(fileName) || fileName.size() <= 5)
        return IoResult::failure(QStringLiteral("Недопустимое имя файла платежки"));
    const QString source =
        s.PlatDir + QString::fromLatin1(fileName.data(), qsizetype(fileName.size()));
    const QString target = s.PlatDelDir + DeletedPlatName(fileName);
    // A rename moves the order in one step; it never replaces an older deleted order and
    // fails across file systems.
    if (!QFileInfo::exists(target) && renameNoReplace(source, target))
        return {};
    // Otherwise the order is copied whole (a temporary file in PlatDelDir that replaces the
    // older one only once it is complete on disk) and the original is removed after that.
    QByteArray data;
    if (IoResult r = readFile(source, data, std::max<qint64>(fileSize(source), 0)); !r)
        return r;
    if (IoResult r = writeFileAtomic(target, data); !r)
        return r;
    QFile original(source);
    if (!original.remove())
        return IoResult::failure(
            fileMessage(QStringLiteral("Не могу удалить файл"), source, deviceReason(original)));
    return {};
}

} // namespace storage
