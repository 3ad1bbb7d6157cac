#include "directory.h"

#include "storage/datafiles.h"

#include <algorithm>
#include <memory>

namespace core {

using storage::BranchRecord;
using storage::EmployeeRecord;
using storage::IoResult;
using storage::OrganizationRecord;

namespace {

// The tables of the Data folder, as storage::saveTables names them.
enum TableFile : unsigned {
    FileFirms = storage::TableFirms,
    FileFirmsDel = storage::TableFirmsDel,
    FileFilial = storage::TableFilial,
    FileEmployee = storage::TableEmployee,
};

template <class Record, std::size_t N>
std::vector<int> recordsOf(const std::array<Record, N>& table, int count, int organization) {
    std::vector<int> list;
    for (int i = 0; i < count; ++i)
        if (table[std::size_t(i)].organizationNo == organization)
            list.push_back(i);
    return list;
}

bool sameBranch(const BranchRecord& a, const BranchRecord& b) {
    return a.address == b.address && a.phone == b.phone && a.email == b.email;
}

bool sameEmployee(const EmployeeRecord& a, const EmployeeRecord& b) {
    return a.position == b.position && a.surname == b.surname && a.firstName == b.firstName &&
           a.patronymic == b.patronymic && a.workPhone == b.workPhone &&
           a.mobilePhone == b.mobilePhone && a.innerPhone == b.innerPhone && a.email == b.email;
}

} // namespace

// A copy of the tables, to take a change back when it could not be written.
class Directory::Snapshot {
public:
    explicit Snapshot(const storage::DirectoryTables& tables)
        : tables_(std::make_unique<storage::DirectoryTables>(tables)) {}
    void restore(storage::DirectoryTables& tables) const { tables = *tables_; }

private:
    std::unique_ptr<storage::DirectoryTables> tables_;
};

Directory::Directory(ProgramFolder& folder, storage::DirectoryTables& tables)
    : folder_(folder), tables_(tables) {
    refreshContacts();
}

// --- organizations -----------------------------------------------------------------------

int Directory::organizationCount() const {
    return tables_.organizationCount;
}

const OrganizationRecord& Directory::organization(int index) const {
    return tables_.organizations[std::size_t(index)];
}

int Directory::deletedCount() const {
    return tables_.deletedCount;
}

const OrganizationRecord& Directory::deletedOrganization(int index) const {
    return tables_.deleted[std::size_t(index)];
}

const ListContacts& Directory::contacts(int index) const {
    return contacts_[std::size_t(index)];
}

bool Directory::hasRoom() const {
    return tables_.organizationCount < storage::MaxFirmsInUse;
}

bool Directory::innInUse(std::string_view inn) const {
    for (int i = 0; i < tables_.organizationCount && i < storage::MaxFirms; ++i)
        if (tables_.organizations[std::size_t(i)].inn == inn)
            return true;
    return false;
}

int Directory::organizationWithInn(std::string_view inn) const {
    if (inn.empty())
        return -1;
    for (int i = 0; i < tables_.organizationCount; ++i)
        if (tables_.organizations[std::size_t(i)].inn == inn)
            return i;
    return -1;
}

void Directory::refreshContacts() {
    for (int i = 0; i < tables_.organizationCount && i < storage::MaxFirms; ++i) {
        const OrganizationRecord& f = tables_.organizations[std::size_t(i)];
        ListContacts& e = contacts_[std::size_t(i)];
        if (f.usesBranch()) {
            const BranchRecord& b = tables_.branches[f.branchNo];
            e.address.assign(b.address);
            e.phone.assign(b.phone);
            e.email.assign(b.email);
        } else {
            e.address.assign(f.legalAddress);
            e.phone.assign(f.phone);
            e.email.assign(f.email);
        }
    }
}

DirectoryChange Directory::addOrganization(const OrganizationRecord& record) {
    if (!hasRoom())
        return {};
    const int index = tables_.organizationCount++;
    tables_.organizations[std::size_t(index)] = record;
    refreshContacts();
    DirectoryChange change{true, storage::saveOrganizationsFile(folder_.state(), tables_), index};
    emit organizationAdded(index);
    return change;
}

DirectoryChange Directory::modifyOrganization(int index, const OrganizationRecord& record) {
    if (index < 0 || index >= tables_.organizationCount)
        return {};
    OrganizationRecord& f = tables_.organizations[std::size_t(index)];
    const std::uint8_t branchNo = f.branchNo, flags = f.flags;
    f = record;
    f.branchNo = branchNo;
    f.flags = flags;
    refreshContacts();
    DirectoryChange change{true, storage::saveOrganizationsFile(folder_.state(), tables_), index};
    emit organizationChanged(index);
    return change;
}

DirectoryChange Directory::saveOrUndo(unsigned tables, const Snapshot& before, int index) {
    bool begun = false;
    IoResult r = storage::saveTables(folder_.state(), tables_, tables, &begun);
    if (!r && !begun) {
        before.restore(tables_);
        refreshContacts();
        return {false, r, index};
    }
    return {true, r, index};
}

DirectoryChange Directory::deleteOrganization(int index) {
    if (index < 0 || index >= tables_.organizationCount)
        return {};
    const Snapshot before(tables_);
    unsigned files = FileFirms | FileFirmsDel;
    for (std::vector<int> left = employeesOf(index); !left.empty(); left = employeesOf(index)) {
        storage::removeRecord(tables_.employees, tables_.employeeCount, left.front());
        --tables_.employeeCount;
        files |= FileEmployee;
    }
    for (std::vector<int> left = branchesOf(index); !left.empty(); left = branchesOf(index)) {
        const int b = left.front();
        files |= FileFilial;
        for (int i = 0; i < tables_.organizationCount; ++i) {
            OrganizationRecord& f = tables_.organizations[std::size_t(i)];
            if (!f.usesBranch())
                continue;
            if (f.branchNo == b) {
                f.flags &= std::uint8_t(~OrganizationRecord::UseBranch);
                files |= FileFirms;
            } else if (f.branchNo > b) {
                --f.branchNo;
            }
        }
        storage::removeRecord(tables_.branches, tables_.branchCount, b);
        --tables_.branchCount;
    }

    if (tables_.deletedCount >= storage::MaxFirms) {
        // The deleted list is full: its oldest entry gives way.
        storage::removeRecord(tables_.deleted, storage::MaxFirms, 0);
        tables_.deletedCount = storage::MaxFirms - 1;
    }
    tables_.deleted[std::size_t(tables_.deletedCount++)] =
        tables_.organizations[std::size_t(index)];
    storage::removeRecord(tables_.organizations, tables_.organizationCount, index);
    --tables_.organizationCount;

    for (int i = 0; i < tables_.branchCount; ++i) {
        storage::U16& no = tables_.branches[std::size_t(i)].organizationNo;
        if (no > index) {
            no = std::uint16_t(no - 1);
            files |= FileFilial;
        }
    }
    for (int i = 0; i < tables_.employeeCount; ++i) {
        storage::U16& no = tables_.employees[std::size_t(i)].organizationNo;
        if (no > index) {
            no = std::uint16_t(no - 1);
            files |= FileEmployee;
        }
    }
    refreshContacts();
    const DirectoryChange change = saveOrUndo(files, before, index);
    if (change.made)
        emit organizationRemoved(index);
    return change;
}

DirectoryChange Directory::restoreOrganization(int index) {
    if (index < 0 || index >= tables_.deletedCount || !hasRoom())
        return {};
    const Snapshot before(tables_);
    const int at = tables_.organizationCount++;
    OrganizationRecord& f = tables_.organizations[std::size_t(at)];
    f = tables_.deleted[std::size_t(index)];
    f.flags &= std::uint8_t(~OrganizationRecord::UseBranch);
    storage::removeRecord(tables_.deleted, tables_.deletedCount, index);
    --tables_.deletedCount;
    refreshContacts();
    const DirectoryChange change = saveOrUndo(FileFirms | FileFirmsDel, before, at);
    if (change.made)
        emit organizationRestored(at);
    return change;
}

// --- branches ---------------------------------------------------------------------------

int Directory::branchCount() const {
    return tables_.branchCount;
}

const BranchRecord& Directory::branch(int index) const {
    return tables_.branches[std::size_t(index)];
}

bool Directory::branchTableFull() const {
    return tables_.branchCount >= storage::MaxFilials;
}

std::vector<int> Directory::branchesOf(int organization) const {
    return recordsOf(tables_.branches, tables_.branchCount, organization);
}

DirectoryChange Directory::addBranch(int organization, const BranchRecord& record) {
    if (branchTableFull() || organization < 0 || organization >= tables_.organizationCount ||
        record.address.empty())
        return {};
    const int index = tables_.branchCount++;
    BranchRecord& b = tables_.branches[std::size_t(index)];
    b = record;
    b.organizationNo = std::uint16_t(organization);
    DirectoryChange change{true, storage::saveBranchesFile(folder_.state(), tables_), index};
    emit branchesChanged(organization);
    return change;
}

DirectoryChange Directory::editBranch(int index, const BranchRecord& record) {
    if (index < 0 || index >= tables_.branchCount || record.address.empty())
        return {};
    BranchRecord& b = tables_.branches[std::size_t(index)];
    if (sameBranch(b, record))
        return {};
    b.address.assign(record.address);
    b.phone.assign(record.phone);
    b.email.assign(record.email);
    refreshContacts();
    DirectoryChange change{true, storage::saveBranchesFile(folder_.state(), tables_), index};
    emit branchesChanged(b.organizationNo);
    return change;
}

DirectoryChange Directory::deleteBranch(int index) {
    if (index < 0 || index >= tables_.branchCount)
        return {};
    const Snapshot before(tables_);
    const int organization = tables_.branches[std::size_t(index)].organizationNo;
    unsigned files = FileFilial;
    for (int i = 0; i < tables_.organizationCount; ++i) {
        OrganizationRecord& f = tables_.organizations[std::size_t(i)];
        if (!f.usesBranch())
            continue;
        if (f.branchNo == index) {
            f.flags &= std::uint8_t(~OrganizationRecord::UseBranch);
            files |= FileFirms;
        } else if (f.branchNo > index) {
            --f.branchNo;
            files |= FileFirms;
        }
    }
    storage::removeRecord(tables_.branches, tables_.branchCount, index);
    --tables_.branchCount;
    refreshContacts();
    const DirectoryChange change = saveOrUndo(files, before, index);
    if (change.made)
        emit branchesChanged(organization);
    return change;
}

bool Directory::isLinked(int organization, int branch) const {
    if (organization < 0 || organization >= tables_.organizationCount)
        return false;
    const OrganizationRecord& f = tables_.organizations[std::size_t(organization)];
    return f.usesBranch() && f.branchNo == branch;
}

DirectoryChange Directory::setBranchLink(int organization, int branch, bool on) {
    if (organization < 0 || organization >= tables_.organizationCount ||
        (on && (branch < 0 || branch >= tables_.branchCount)) ||
        isLinked(organization, branch) == on)
        return {};
    OrganizationRecord& f = tables_.organizations[std::size_t(organization)];
    if (on) {
        f.branchNo = std::uint8_t(branch);
        f.flags |= OrganizationRecord::UseBranch;
    } else {
        f.flags &= std::uint8_t(~OrganizationRecord::UseBranch);
    }
    refreshContacts();
    DirectoryChange change{true, storage::saveOrganizationsFile(folder_.state(), tables_),
                           organization};
    emit branchesChanged(organization);
    return change;
}

// --- employees --------------------------------------------------------------------------

int Directory::employeeCount() const {
    return tables_.employeeCount;
}

const EmployeeRecord& Directory::employee(int index) const {
    return tables_.employees[std::size_t(index)];
}

bool Directory::employeeTableHasRoom() const {
    return tables_.employeeCount < storage::MaxEmployees;
}

std::vector<int> Directory::employeesOf(int organization) const {
    return recordsOf(tables_.employees, tables_.employeeCount, organization);
}

DirectoryChange Directory::addEmployee(int organization, const EmployeeRecord& record) {
    if (!employeeTableHasRoom() || organization < 0 || organization >= tables_.organizationCount ||
        record.surname.empty())
        return {};
    const int index = tables_.employeeCount++;
    EmployeeRecord& e = tables_.employees[std::size_t(index)];
    e = record;
    e.organizationNo = std::uint16_t(organization);
    DirectoryChange change{true, storage::saveEmployeesFile(folder_.state(), tables_), index};
    emit employeesChanged(organization);
    return change;
}

DirectoryChange Directory::editEmployee(int index, const EmployeeRecord& record) {
    if (index < 0 || index >= tables_.employeeCount || record.surname.empty())
        return {};
    EmployeeRecord& e = tables_.employees[std::size_t(index)];
    if (sameEmployee(e, record))
        return {};
    const storage::U16 organization = e.organizationNo;
    e = record;
    e.organizationNo = organization;
    DirectoryChange change{true, storage::saveEmployeesFile(folder_.state(), tables_), index};
    emit employeesChanged(organization);
    return change;
}

DirectoryChange Directory::deleteEmployee(int index) {
    if (index < 0 || index >= tables_.employeeCount)
        return {};
    const int organization = tables_.employees[std::size_t(index)].organizationNo;
    storage::removeRecord(tables_.employees, tables_.employeeCount, index);
    --tables_.employeeCount;
    DirectoryChange change{true, storage::saveEmployeesFile(folder_.state(), tables_), index};
    emit employeesChanged(organization);
    return change;
}

int positionAfterRemoval(int position, int removed) {
    if (position < 0 || position == removed)
        return -1;
    return position > removed ? position - 1 : position;
}

} // namespace core
