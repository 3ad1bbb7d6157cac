// The data of a program folder as storage reads and writes it, in parts that each take only
// what they use: the folders and what this run may do in them, the settings files and the
// directory's tables. Start-up fills a FolderData; the program's engine takes the parts over.
#pragma once

#include "records.h"

#include <QHash>
#include <QString>
#include <array>

namespace storage {

// The program folder and the folders under it, each ending in "/", and what this run may do
// in them.
struct FolderState {
    QString programDir, dataDir, ordersDir, deletedDir;
    // Another program holds the program folder: this run reads the folder as it is and changes
    // nothing in it (no folder made, no file converted, moved, renamed or set aside).
    bool readOnly = false;
    // Files that exist but could not be read at start (no right to read them, an input or
    // output error), by path, with the message the user was given. They are never written
    // during this run: each save of such a file is refused with that message, so that what
    // the program could not read is not replaced by what it holds instead.
    QHash<QString, QString> unreadable;

    // Sets the program folder and Data, PP and PPDel under it.
    void setProgramDir(const QString& dir);
};

// Width and height of one window, by its tag.
struct FormSize {
    U16 width;
    U16 height;
};

// The four settings files as they lie on disk: "PathPlt", "FormW", "ArCol" and "Set".
struct SettingsTables {
    SettingsTables(); // the defaults of missing files
    ShortStr<255> path;
    std::array<FormSize, 256> windowSizes;
    std::array<U16, 256> columnWidths;
    std::array<std::uint8_t, 512> bytes;
    std::uint8_t& currentYearOnly() { return bytes[0]; }
    std::uint8_t currentYearOnly() const { return bytes[0]; }
    // 1: the "НДС" group also offers the rates of the simplified tax system (5 % and 7 %).
    std::uint8_t& usnVatRates() { return bytes[1]; }
    std::uint8_t usnVatRates() const { return bytes[1]; }
};

// The tables of the Data folder: organizations in use, deleted organizations, branches and
// employees, each with the number of records in use.
struct DirectoryTables {
    DirectoryTables(); // all records zero
    std::array<OrganizationRecord, MaxFirms> organizations;
    int organizationCount = 0;
    std::array<OrganizationRecord, MaxFirms> deleted;
    int deletedCount = 0;
    std::array<BranchRecord, MaxFilials> branches;
    int branchCount = 0;
    std::array<EmployeeRecord, MaxEmployees> employees;
    int employeeCount = 0;
};

// What start-up reads from a program folder.
struct FolderData {
    FolderState folder;
    SettingsTables settings;
    DirectoryTables directory;
};

} // namespace storage
