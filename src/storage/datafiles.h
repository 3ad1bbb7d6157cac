// Loading and saving the tables of the Data folder (directory, deleted directory, branches,
// employees), the directory's list cache and export, and the removal rule of the tables.
#pragma once

#include "fileio.h"
#include "folderdata.h"

#include <QStringList>
#include <cstring>

namespace storage {

enum class LoadStatus { Loaded, Missing, Salvaged, Unreadable };

struct LoadOutcome {
    LoadStatus status = LoadStatus::Missing;
    QString message; // set for Salvaged and Unreadable
};

// Reads a file of size bytes into dest. A missing file leaves dest as it is. A file of
// another size (shorter, longer, or, with emptyIsMissing false, empty) is damaged: dest takes
// the whole units of unit bytes it holds within size and keeps the rest as it was; the
// damaged file is kept under a second name (name + ".damaged", see keepCopy) and a complete
// file then replaces it in one step, so that nothing it held is lost and the name is never
// empty; when that write fails (a full disk), the damaged file stays as it was. A file that
// cannot be read at all (no right to read it, an input or output error, not a regular file)
// is not damaged: it stays where it is, dest stays as it was, and the message says which file
// and why. With keepInPlace the file is only read: nothing is kept aside or written.
LoadOutcome loadFixedFile(const QString& path, void* dest, qint64 size, qint64 unit,
                          bool emptyIsMissing = false, bool keepInPlace = false);

// loadFixedFile for a file of the program folder: the message goes to messages, and a file
// that could not be read is entered in folder.unreadable, so that saveWholeFile refuses to
// write over it during this run.
LoadStatus loadFolderFile(FolderState& folder, const QString& path, void* dest, qint64 size,
                          qint64 unit, QStringList& messages, bool emptyIsMissing = false);

// Fails while this run may not change the program folder (folder.readOnly), with the message
// every save then gives; succeeds otherwise. Each save into the folder asks it first.
IoResult checkWritable(const FolderState& folder);

// Writes a whole file of the program folder (writeFileAtomic), unless the file could not be
// read at start: that save is refused with the message the user was given then.
IoResult saveWholeFile(const FolderState& folder, const QString& path, const QByteArray& data);

// Number of leading records for which inUse holds, at most n.
template <class T, std::size_t N, class InUse>
int countLeading(const std::array<T, N>& table, InUse inUse) {
    int n = 0;
    while (n < int(N) && inUse(table[std::size_t(n)]))
        ++n;
    return n;
}

// Removes record i of the first n records: later records move down one place and the freed
// last record is cleared entirely. The caller lowers its count.
template <class T, std::size_t N> void removeRecord(std::array<T, N>& table, int n, int i) {
    if (i < 0 || i >= n || n > int(N))
        return;
    if (i < n - 1)
        std::memmove(static_cast<void*>(&table[std::size_t(i)]), &table[std::size_t(i) + 1],
                     sizeof(T) * std::size_t(n - 1 - i));
    clearRecord(table[std::size_t(n - 1)]);
}

// Copies the texts of an organization (everything but the bank slots, the bank choice, the
// branch link, the flags and the reserved bytes) into to, each cut to its capacity there.
// From is OrganizationRecord or the earlier version's OldOrganizationRecord, whose fields have the
// same names.
template <class From> void copyOrganizationTexts(const From& from, OrganizationRecord& to) {
    to.name.assign(from.name);
    to.certSeries.assign(from.certSeries);
    to.certNumber.assign(from.certNumber);
    to.certDate.assign(from.certDate);
    to.certIssuer.assign(from.certIssuer);
    to.ogrn.assign(from.ogrn);
    to.legalAddress.assign(from.legalAddress);
    to.postalAddress.assign(from.postalAddress);
    to.phone.assign(from.phone);
    to.fax.assign(from.fax);
    to.email.assign(from.email);
    to.inn.assign(from.inn);
    to.kpp.assign(from.kpp);
    to.okato.assign(from.okato);
    to.okpo.assign(from.okpo);
    to.okogu.assign(from.okogu);
    to.okopf.assign(from.okopf);
    to.okfs.assign(from.okfs);
    to.okved.assign(from.okved);
}

// Loads Data/Firms and Data/FirmsDel with their counts; messages for the user are appended.
void loadOrganizations(FolderState& folder, DirectoryTables& directory, QStringList& messages);
// Loads Data/Filial and Data/Employee with their counts.
void loadBranches(FolderState& folder, DirectoryTables& directory, QStringList& messages);
void loadEmployees(FolderState& folder, DirectoryTables& directory, QStringList& messages);

IoResult saveOrganizationsFile(const FolderState& folder, const DirectoryTables& directory);
IoResult saveDeletedOrganizationsFile(const FolderState& folder, const DirectoryTables& directory);
IoResult saveOrganizationExport(
    const FolderState& folder,
    const DirectoryTables& directory); // export of the first 64 without bank details

// The tables of the Data folder, as a set of bits.
enum TableFile : unsigned {
    TableFirms = 1,
    TableFirmsDel = 2,
    TableFilial = 4,
    TableEmployee = 8,
};

// Writes the tables of the set as one change: after a crash at any moment the next start
// finds all of them as they were or all as they are in memory, never a mix (their records
// point at each other by index). Each new table is written complete beside its file
// (name + ".new"), then a journal naming them ("Data/Journal"), then each new file takes its
// table's place and the journal goes. A failure before the journal leaves every file as it
// was; begun (when given) tells whether the journal was written, from which moment the change
// counts as made: a failure after it is finished by the next start.
IoResult saveTables(const FolderState& folder, const DirectoryTables& directory, unsigned tables,
                    bool* begun = nullptr);

// Start-up, before the tables are loaded: finishes a saveTables that a crash interrupted after
// its journal, or removes the new files of one interrupted before it.
void finishTableSave(const FolderState& folder, QStringList& messages);
IoResult saveBranchesFile(const FolderState& folder, const DirectoryTables& directory);
IoResult saveEmployeesFile(const FolderState& folder, const DirectoryTables& directory);

} // namespace storage
