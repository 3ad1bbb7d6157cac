#include "platfile.h"

#include "datafiles.h"
#include "folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace storage {

bool makeOrderFileName(std::string_view number, std::string_view payerInn, std::string_view yy,
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

std::string_view dateYearDigits(std::string_view date) {
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

QString platPath(const FolderState& folder, std::string_view fileName) {
    return folder.ordersDir + QString::fromLatin1(fileName.data(), qsizetype(fileName.size()));
}

IoResult badName() {
    return IoResult::failure(QStringLiteral("Недопустимое имя файла платежки"));
}

} // namespace

IoResult saveOrderFile(const FolderState& folder, std::string_view fileName,
                       const OrderRecord& rec) {
    if (IoResult r = checkWritable(folder); !r)
        return r;
    if (!isPlainFileName(fileName))
        return badName();
    return writeFileAtomic(platPath(folder, fileName), recordBytes(rec));
}

IoResult saveNewOrderFile(const FolderState& folder, std::string_view fileName,
                          const OrderRecord& rec, bool& existed) {
    existed = false;
    if (IoResult r = checkWritable(folder); !r)
        return r;
    if (!isPlainFileName(fileName))
        return badName();
    return writeFileNew(platPath(folder, fileName), recordBytes(rec), existed);
}

bool orderFileExists(const FolderState& folder, std::string_view fileName) {
    if (!isPlainFileName(fileName))
        return false;
    const QFileInfo info(platPath(folder, fileName));
    return info.exists() || info.isSymLink();
}

IoResult readOrderFile(const QString& path, OrderRecord& rec) {
    OrderRecord r;
    IoResult res = readExactly(path, &r, sizeof(OrderRecord));
    if (res)
        rec = r;
    return res;
}

IoResult openOrderFile(const FolderState& folder, std::string_view fileName, OrderRecord& rec) {
    if (!isPlainFileName(fileName) || !QFileInfo::exists(platPath(folder, fileName)))
        return IoResult::failure(QStringLiteral("Нет файла платежки %1")
                                     .arg(QDir::toNativeSeparators(platPath(folder, fileName))));
    return readOrderFile(platPath(folder, fileName), rec);
}

QString deletedOrderName(std::string_view fileName) {
    const std::string_view stem = fileName.substr(0, fileName.size() > 5 ? fileName.size() - 5 : 0);
    return QString::fromLatin1(stem.data(), qsizetype(stem.size())) + QStringLiteral(".pdel");
}

IoResult moveOrderToDeleted(const FolderState& folder, std::string_view fileName) {
    if (IoResult r = checkWritable(folder); !r)
        return r;
    if (!isPlainFileName(fileName) || fileName.size() <= 5)
        return IoResult::failure(QStringLiteral("Недопустимое имя файла платежки"));
    const QString source =
        folder.ordersDir + QString::fromLatin1(fileName.data(), qsizetype(fileName.size()));
    const QString deleted = deletedOrderName(fileName);
    const QString stem = folder.deletedDir + deleted.left(deleted.size() - 5);
    // An older deleted order of the same name stays: this one takes the first free name
    // (NAME.pdel, NAME(1).pdel, ...).
    for (int n = 0; n < 1000; ++n) {
        bool existed = false;
        const QString target =
            stem + (n ? QStringLiteral("(%1)").arg(n) : QString()) + QStringLiteral(".pdel");
        IoResult r = moveFile(source, target, &existed);
        if (r || !existed)
            return r;
    }
    return IoResult::failure(fileMessage(QStringLiteral("Не могу перенести файл"), source,
                                         QStringLiteral("нет свободного имени в папке PPDel")));
}

QString restoredOrderName(std::string_view deletedName) {
    std::string_view stem =
        deletedName.substr(0, deletedName.size() - std::min<std::size_t>(5, deletedName.size()));
    if (const std::size_t open = stem.rfind('(');
        open != std::string_view::npos && stem.ends_with(')') &&
        isDigits(stem.substr(open + 1, stem.size() - open - 2)))
        stem = stem.substr(0, open);
    return QFile::decodeName(QByteArray(stem.data(), qsizetype(stem.size()))) +
           QStringLiteral(".plat");
}

IoResult restoreDeletedOrder(const FolderState& folder, std::string_view deletedName, bool& taken) {
    taken = false;
    if (IoResult r = checkWritable(folder); !r)
        return r;
    if (!isPlainFileName(deletedName) || deletedName.size() <= 5)
        return IoResult::failure(QStringLiteral("Недопустимое имя файла платежки"));
    const QString source =
        folder.deletedDir +
        QFile::decodeName(QByteArray(deletedName.data(), qsizetype(deletedName.size())));
    return moveFile(source, folder.ordersDir + restoredOrderName(deletedName), &taken);
}

} // namespace storage
