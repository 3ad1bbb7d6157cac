#include "directorysave.h"

#include "storage/datafiles.h"
#include "storage/store.h"

namespace directory {

struct DirectorySnapshot::Tables {
    std::array<storage::OrganizationRecord, storage::MaxFirms> firms;
    std::array<storage::OrganizationRecord, storage::MaxFirms> firmsDel;
    std::array<storage::FirmShowEntry, storage::MaxFirms> firmShow;
    std::array<storage::BranchRecord, storage::MaxFilials> filials;
    std::array<storage::EmployeeRecord, storage::MaxEmployees> employees;
    int firmCount, firmDelCount, curFirm, curFirmDel, filialCount, emplCount;
};

DirectorySnapshot::DirectorySnapshot(const storage::Store& s)
    : tables_(std::make_unique<Tables>(
          Tables{s.directory.organizations, s.directory.deleted, s.FirmShow, s.directory.branches,
                 s.directory.employees, s.directory.organizationCount, s.directory.deletedCount,
                 s.CurFirm, s.CurFirmDel, s.directory.branchCount, s.directory.employeeCount})) {}

DirectorySnapshot::~DirectorySnapshot() = default;

void DirectorySnapshot::restore(storage::Store& s) const {
    const Tables& t = *tables_;
    s.directory.organizations = t.firms;
    s.directory.deleted = t.firmsDel;
    s.FirmShow = t.firmShow;
    s.directory.branches = t.filials;
    s.directory.employees = t.employees;
    s.directory.organizationCount = t.firmCount;
    s.directory.deletedCount = t.firmDelCount;
    s.CurFirm = t.curFirm;
    s.CurFirmDel = t.curFirmDel;
    s.directory.branchCount = t.filialCount;
    s.directory.employeeCount = t.emplCount;
}

storage::IoResult saveDirectoryFile(const storage::Store& s, DirectoryFile file) {
    switch (file) {
    case FileFirms:
        return storage::saveOrganizationsFile(s);
    case FileFirmsDel:
        return storage::saveDeletedOrganizationsFile(s);
    case FileFilial:
        return storage::saveBranchesFile(s);
    case FileEmployee:
        return storage::saveEmployeesFile(s);
    }
    return {};
}

storage::IoResult saveOrUndo(storage::Store& s, unsigned files, const DirectorySnapshot& before) {
    bool begun = false;
    storage::IoResult r = storage::saveTables(s, files, &begun);
    if (!r && !begun)
        before.restore(s);
    return r;
}

QString keptInMemoryNote() {
    return QStringLiteral("Изменение есть только в памяти программы: в файл оно не записано.");
}

} // namespace directory
