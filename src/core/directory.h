// The directory of organizations: the organizations in use and the deleted ones, the
// branches and the employees of all of them. Every change is one method that changes the
// tables, writes what it changed and says so by a signal that carries the index of what
// changed. A change of several tables at once (deleting or restoring an organization,
// deleting a branch that organizations link to) is written as one change through the
// journal of storage::saveTables, and taken back in memory when it could not be made.
#pragma once

#include "programfolder.h"

#include "storage/fileio.h"

#include <QObject>
#include <array>
#include <optional>
#include <vector>

namespace core {

// The outcome of a change: whether memory changed, and the writing of its files. A failed
// write of a single table keeps the change in memory (the next write of the table carries
// it); a failed change of several tables was taken back unless it had begun, in which case
// the next start finishes it.
struct DirectoryChange {
    bool made = false;
    storage::IoResult io;
    int index = -1; // what the change concerns, where it has a new place
};

// What the organization list shows of an organization beside its name: its own address,
// phone and e-mail, or those of its linked branch.
struct ListContacts {
    storage::ShortStr<96> address;
    storage::ShortStr<32> phone;
    storage::ShortStr<48> email;
};

class Directory : public QObject {
    Q_OBJECT
public:
    Directory(ProgramFolder& folder, storage::DirectoryTables& tables);

    // --- organizations ---------------------------------------------------------------------
    int organizationCount() const;
    const storage::OrganizationRecord& organization(int index) const;
    int deletedCount() const;
    const storage::OrganizationRecord& deletedOrganization(int index) const;
    // The organization list's text columns of organization index.
    const ListContacts& contacts(int index) const;
    // Whether another organization may be created or restored (fewer than 254 in use).
    bool hasRoom() const;
    // Whether an organization in use has exactly this INN.
    bool innInUse(std::string_view inn) const;
    // The position of the first organization in use with this INN (not empty), or -1.
    int organizationWithInn(std::string_view inn) const;

    // Appends an organization and writes the directory.
    DirectoryChange addOrganization(const storage::OrganizationRecord& record);
    // Stores the details of organization index (its branch link stays as it is) and writes the
    // directory.
    DirectoryChange modifyOrganization(int index, const storage::OrganizationRecord& record);
    // Deletes organization index with its branches and employees: it moves to the end of the
    // deleted list (whose oldest entry gives way when the list is full); branches and
    // employees of later organizations follow their organization down one index.
    DirectoryChange deleteOrganization(int index);
    // Puts deleted organization index back at the end of the directory, without branches,
    // branch link or employees.
    DirectoryChange restoreOrganization(int index);

    // --- branches ------------------------------------------------------------------------
    int branchCount() const;
    const storage::BranchRecord& branch(int index) const;
    bool branchTableFull() const;
    // Table indexes of the branches of an organization, in table order.
    std::vector<int> branchesOf(int organization) const;
    // Appends a branch of organization (its organization number is set here); nothing
    // happens when the table is full or the address is empty.
    DirectoryChange addBranch(int organization, const storage::BranchRecord& record);
    // Stores address, phone and e-mail into branch index when one of them differs and the
    // address is not empty.
    DirectoryChange editBranch(int index, const storage::BranchRecord& record);
    // Deletes branch index; organizations linked to it lose their link, links to later
    // branches follow them down.
    DirectoryChange deleteBranch(int index);
    // Whether organization shows branch index in the organization list.
    bool isLinked(int organization, int branch) const;
    // Links organization to branch (on) or ends its link, and writes the directory.
    DirectoryChange setBranchLink(int organization, int branch, bool on);

    // --- employees -----------------------------------------------------------------------
    int employeeCount() const;
    const storage::EmployeeRecord& employee(int index) const;
    bool employeeTableHasRoom() const;
    std::vector<int> employeesOf(int organization) const;
    // As for branches; the surname is the text that must not be empty.
    DirectoryChange addEmployee(int organization, const storage::EmployeeRecord& record);
    DirectoryChange editEmployee(int index, const storage::EmployeeRecord& record);
    DirectoryChange deleteEmployee(int index);

    // The tables as they are, for what reads them whole (the scan names payers and payees,
    // the conversion of old orders completes their parties).
    const storage::DirectoryTables& tables() const { return tables_; }

signals:
    void organizationAdded(int index);
    void organizationChanged(int index);
    // Organization index left the directory; the later ones moved up one place.
    void organizationRemoved(int index);
    // A deleted organization came back at index.
    void organizationRestored(int index);
    void branchesChanged(int organization);
    void employeesChanged(int organization);

private:
    class Snapshot;
    DirectoryChange saveOrUndo(unsigned tables, const Snapshot& before, int index);
    void refreshContacts();

    ProgramFolder& folder_;
    storage::DirectoryTables& tables_;
    std::array<ListContacts, storage::MaxFirms> contacts_;
};

// Where a position among the organizations (-1 for none) points after organization removed
// left the directory: later organizations move up one place; the removed one leaves none.
int positionAfterRemoval(int position, int removed);

} // namespace core
