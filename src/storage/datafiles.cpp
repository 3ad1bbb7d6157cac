#include "datafiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <utility>

namespace storage {

LoadOutcome loadFixedFile(const QString& path, void* dest, qint64 size, qint64 unit,
                          bool emptyIsMissing, bool keepInPlace) {
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    // One byte more than the record tells a longer file from a whole one.
    QByteArray data;
    const IoResult read = readFile(path, data, size + 1);
    const QString shown = QDir::toNativeSeparators(path);
    if (!read)
        return {LoadStatus::Unreadable,
                read.error + QStringLiteral("\nФайл оставлен как есть; до выхода из программы "
                                            "изменения в нем не сохраняются.")};
    if (data.size() == size) {
        std::memcpy(dest, data.constData(), std::size_t(size));
        return {LoadStatus::Loaded, {}};
    }
    if (data.isEmpty() && emptyIsMissing)
        return {};

    // What fits of the whole units is used; a longer file's extra bytes would be cut by the
    // next save, so it is set aside as well as a shorter one.
    const qint64 whole = std::min(qint64(data.size()), size) / unit * unit;
    std::memcpy(dest, data.constData(), std::size_t(whole));
    QString text =
        QStringLiteral("Файл %1 поврежден: %2.")
            .arg(shown, wrongSizeReason(data.size() > size ? info.size() : data.size(), size));
    const QString asIs = QStringLiteral(" Прочитано то, что удалось; файл оставлен как есть.");
    if (keepInPlace)
        return {LoadStatus::Salvaged, text + asIs};
    // The damaged file is kept under a second name first, and only then replaced by the
    // complete one in one step: whenever this stops, the table's name holds one or the other.
    QString aside;
    if (const IoResult kept = keepCopy(path, QStringLiteral(".damaged"), aside); !kept)
        return {LoadStatus::Salvaged, text + asIs + u'\n' + kept.error};
    const IoResult written =
        writeFileAtomic(path, QByteArray(static_cast<const char*>(dest), qsizetype(size)));
    if (!written) {
        // The damaged file stays in its place, to be read again at the next start; its second
        // name goes, so that it is not kept twice.
        QFile::remove(aside);
        return {LoadStatus::Salvaged, text + asIs + u'\n' + written.error};
    }
    text += QStringLiteral(" Прочитано то, что удалось; прежний файл сохранен как %1.")
                .arg(QDir::toNativeSeparators(aside));
    return {LoadStatus::Salvaged, text};
}

LoadStatus loadFolderFile(FolderState& s, const QString& path, void* dest, qint64 size, qint64 unit,
                          QStringList& messages, bool emptyIsMissing) {
    const LoadOutcome r = loadFixedFile(path, dest, size, unit, emptyIsMissing, s.readOnly);
    if (!r.message.isEmpty())
        messages << r.message;
    if (r.status == LoadStatus::Unreadable)
        s.unreadable.insert(path, r.message);
    else
        s.unreadable.remove(path);
    return r.status;
}

IoResult checkWritable(const FolderState& s) {
    if (!s.readOnly)
        return {};
    return IoResult::failure(
        QStringLiteral("Папка программы %1 открыта только для чтения: изменения не сохраняются.")
            .arg(QDir::toNativeSeparators(s.programDir)));
}

IoResult saveWholeFile(const FolderState& s, const QString& path, const QByteArray& data) {
    if (IoResult r = checkWritable(s); !r)
        return r;
    if (const auto held = s.unreadable.constFind(path); held != s.unreadable.cend())
        return IoResult::failure(*held);
    return writeFileAtomic(path, data);
}

namespace {

template <class Table>
void loadTable(FolderState& folder, const QString& path, Table& table, QStringList& messages) {
    using Record = typename Table::value_type;
    loadFolderFile(folder, path, table.data(), qint64(sizeof(Table)), sizeof(Record), messages);
}

template <class Table>
IoResult saveTable(const FolderState& folder, const QString& path, const Table& table) {
    return saveWholeFile(folder, path, recordBytes(table));
}

} // namespace

void loadOrganizations(FolderState& folder, DirectoryTables& directory, QStringList& messages) {
    const auto named = [](const OrganizationRecord& f) { return !f.name.empty(); };
    loadTable(folder, folder.dataDir + QStringLiteral("Firms"), directory.organizations, messages);
    directory.organizationCount = countLeading(directory.organizations, named);
    loadTable(folder, folder.dataDir + QStringLiteral("FirmsDel"), directory.deleted, messages);
    directory.deletedCount = countLeading(directory.deleted, named);
}

void loadBranches(FolderState& folder, DirectoryTables& directory, QStringList& messages) {
    loadTable(folder, folder.dataDir + QStringLiteral("Filial"), directory.branches, messages);
    directory.branchCount =
        countLeading(directory.branches, [](const BranchRecord& f) { return !f.address.empty(); });
}

void loadEmployees(FolderState& folder, DirectoryTables& directory, QStringList& messages) {
    loadTable(folder, folder.dataDir + QStringLiteral("Employee"), directory.employees, messages);
    directory.employeeCount = countLeading(
        directory.employees, [](const EmployeeRecord& e) { return !e.surname.empty(); });
}

IoResult saveOrganizationsFile(const FolderState& folder, const DirectoryTables& directory) {
    return saveTable(folder, folder.dataDir + "Firms", directory.organizations);
}
IoResult saveDeletedOrganizationsFile(const FolderState& folder, const DirectoryTables& directory) {
    return saveTable(folder, folder.dataDir + "FirmsDel", directory.deleted);
}
IoResult saveBranchesFile(const FolderState& folder, const DirectoryTables& directory) {
    return saveTable(folder, folder.dataDir + "Filial", directory.branches);
}
IoResult saveEmployeesFile(const FolderState& folder, const DirectoryTables& directory) {
    return saveTable(folder, folder.dataDir + "Employee", directory.employees);
}

IoResult saveOrganizationExport(const FolderState& folder, const DirectoryTables& directory) {
    std::array<OrganizationRecord, Firms1Slots> out;
    clearRecord(out);
    const int n = std::min(directory.organizationCount, Firms1Slots);
    for (int i = 0; i < n; ++i)
        copyOrganizationTexts(directory.organizations[std::size_t(i)], out[std::size_t(i)]);
    return saveTable(folder, folder.programDir + "Firms1", out);
}

namespace {

constexpr std::pair<unsigned, const char*> tableFiles[] = {{TableFirms, "Firms"},
                                                           {TableFirmsDel, "FirmsDel"},
                                                           {TableFilial, "Filial"},
                                                           {TableEmployee, "Employee"}};

QString journalPath(const FolderState& folder) {
    return folder.dataDir + QStringLiteral("Journal");
}

QString newPath(const QString& path) {
    return path + QStringLiteral(".new");
}

QByteArray tableBytes(const DirectoryTables& directory, unsigned table) {
    switch (table) {
    case TableFirms:
        return recordBytes(directory.organizations);
    case TableFirmsDel:
        return recordBytes(directory.deleted);
    case TableFilial:
        return recordBytes(directory.branches);
    case TableEmployee:
        return recordBytes(directory.employees);
    }
    return {};
}

// Puts each named table's new file in its place; a table whose new file is gone took its
// place before. A link in a table's place that leads to a file of its own folder is written
// through, as writeFileAtomic does. Returns the failures.
QStringList installTables(const FolderState& folder, const QStringList& names) {
    QStringList failures;
    for (const QString& name : names) {
        const QString path = folder.dataDir + name;
        const QString from = newPath(path);
        if (!QFileInfo::exists(from))
            continue;
        const QFileInfo info(path);
        const QString target = info.isSymLink() ? info.canonicalFilePath() : path;
        // The one rename that replaces a file: the table's new content takes the place of the
        // old in one step, as the commit of the atomic writer does.
        if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(target).constData()) !=
            0)
            failures << fileMessage(QStringLiteral("Не могу записать файл"), path,
                                    systemReason(errno));
    }
    if (const IoResult synced = syncFolder(folder.dataDir); !synced)
        failures << synced.error;
    return failures;
}

} // namespace

IoResult saveTables(const FolderState& folder, const DirectoryTables& directory, unsigned tables,
                    bool* begun) {
    if (begun)
        *begun = false;
    if (IoResult r = checkWritable(folder); !r)
        return r;
    QStringList names;
    for (const auto& [bit, name] : tableFiles) {
        if (!(tables & bit))
            continue;
        const QString path = folder.dataDir + QLatin1String(name);
        if (const auto held = folder.unreadable.constFind(path); held != folder.unreadable.cend())
            return IoResult::failure(*held);
        if (QFileInfo(path).isSymLink() && !linkStaysInFolder(path))
            return writeFileAtomic(path, QByteArray()); // refused with the reason, nothing written
        const QFileInfo target(QFileInfo(path).isSymLink() ? QFileInfo(path).canonicalFilePath()
                                                           : path);
        if (target.exists() && !target.isFile())
            return IoResult::failure(fileMessage(QStringLiteral("Не могу записать файл"), path,
                                                 systemReason(target.isDir() ? EISDIR : EINVAL)));
        names << QLatin1String(name);
    }
    if (names.isEmpty())
        return {};
    for (const auto& [bit, name] : tableFiles)
        if (tables & bit)
            if (IoResult r = writeFileAtomic(newPath(folder.dataDir + QLatin1String(name)),
                                             tableBytes(directory, bit));
                !r)
                return r;
    if (IoResult r = writeFileAtomic(journalPath(folder), names.join(u'\n').toLatin1()); !r)
        return r;
    if (begun)
        *begun = true;
    if (const QStringList failures = installTables(folder, names); !failures.isEmpty())
        return IoResult::failure(
            failures.join(u'\n') +
            QStringLiteral("\nИзменение будет завершено при следующем запуске программы."));
    QFile::remove(journalPath(folder));
    return {};
}

void finishTableSave(const FolderState& folder, QStringList& messages) {
    const QString journal = journalPath(folder);
    if (!QFileInfo::exists(journal)) {
        // A save that stopped before its journal: its new files never became the directory.
        for (const auto& [bit, name] : tableFiles)
            QFile::remove(newPath(folder.dataDir + QLatin1String(name)));
        return;
    }
    QByteArray listed;
    if (IoResult r = readFile(journal, listed, 256); !r) {
        messages << r.error;
        return;
    }
    QStringList names;
    for (const QByteArray& line : listed.split('\n'))
        for (const auto& [bit, name] : tableFiles)
            if (line == name)
                names << QLatin1String(name);
    if (const QStringList failures = installTables(folder, names); !failures.isEmpty()) {
        messages << failures;
        return;
    }
    QFile::remove(journal);
}

} // namespace storage
