// The directory's changes: each writes what it changed, says so by a signal, and a change of
// several tables is all or nothing.
#include "directory/orgdata.h"

#include <QSignalSpy>

using orgdata::Directory;
using testing_support::uni;

namespace {

QStringList addresses(Directory& d, int organization) {
    QStringList out;
    for (int i : d.directory().branchesOf(organization))
        out << uni(d.store->directory.branches[std::size_t(i)].address);
    return out;
}

} // namespace

TEST(Directory, DeletingKeepsTheBranchesEmployeesAndLinksOfLaterOrganizations) {
    Directory d;
    for (const char* n : {"A", "B", "C", "D", "E"})
        d.firm(n);
    d.filial(3, "D1"); // 0
    d.filial(1, "B1"); // 1
    d.filial(4, "E1"); // 2
    d.filial(1, "B2"); // 3
    d.filial(3, "D2"); // 4
    d.employee(1, "Бобров");
    d.employee(3, "Дятлов");
    d.employee(0, "Аистов");
    d.link(3, 4);
    d.link(4, 2);
    d.link(1, 3);
    QSignalSpy removed(&d.directory(), &core::Directory::organizationRemoved);

    const core::DirectoryChange change = d.directory().deleteOrganization(1);
    EXPECT_TRUE(change.made && change.io);
    EXPECT_EQ(removed.size(), 1);
    EXPECT_EQ(removed.value(0).value(0).toInt(), 1);
    EXPECT_EQ(d.store->directory.organizationCount, 4);
    EXPECT_EQ(d.name(2), QStringLiteral("D")); // row 4 moved to row 3
    EXPECT_TRUE(d.store->directory.organizations[4].name.empty());
    EXPECT_EQ(d.store->directory.deletedCount, 1);
    EXPECT_EQ(uni(d.store->directory.deleted[0].name), QStringLiteral("B"));
    EXPECT_FALSE(d.store->directory.deleted[0].usesBranch()); // its linked branch went with it

    EXPECT_EQ(addresses(d, 2), (QStringList{"D1", "D2"}));
    EXPECT_EQ(addresses(d, 3), (QStringList{"E1"}));
    EXPECT_EQ(d.store->directory.branchCount, 3);
    // The links stay on the same branches although the table moved; the list shows them.
    EXPECT_EQ(
        uni(d.store->directory.branches[d.store->directory.organizations[2].branchNo].address),
        QStringLiteral("D2"));
    EXPECT_EQ(uni(d.directory().contacts(3).address), QStringLiteral("E1"));

    ASSERT_EQ(d.store->directory.employeeCount, 2);
    EXPECT_EQ(uni(d.store->directory.employees[0].surname), QStringLiteral("Дятлов"));
    EXPECT_EQ(d.store->directory.employees[0].organizationNo, 2);
    EXPECT_EQ(d.store->directory.employees[1].organizationNo, 0); // an earlier one keeps its own
    // Written: the next start finds what memory holds.
    EXPECT_EQ(storage::recordBytes(d.reload()->directory.employees),
              storage::recordBytes(d.store->directory.employees));
}

TEST(Directory, DeletingIntoAFullDeletedListAndRestoringWithoutBranchesOrEmployees) {
    Directory d;
    d.firm("A");
    d.firm("B");
    d.firm("C");
    d.filial(0, "A1");
    d.filial(1, "B1");
    d.employee(1, "Бобров");
    d.link(1, 1);
    d.store->directory.organizations[1].flags |= 0x05; // reserved bits travel with the record
    for (int i = 0; i < storage::MaxFirms; ++i)
        d.store->directory.deleted[std::size_t(i)].name.assign(QByteArray::number(i));
    d.store->directory.deletedCount = storage::MaxFirms;

    ASSERT_TRUE(d.directory().deleteOrganization(1).made);
    EXPECT_EQ(d.store->directory.deletedCount, storage::MaxFirms);
    EXPECT_EQ(d.store->directory.deleted[0].name.view(), "1"); // the oldest gave way
    EXPECT_EQ(uni(d.store->directory.deleted[255].name), QStringLiteral("B"));

    d.firm("D");
    QSignalSpy restored(&d.directory(), &core::Directory::organizationRestored);
    const core::DirectoryChange change = d.directory().restoreOrganization(255);
    EXPECT_TRUE(change.made && change.io);
    EXPECT_EQ(change.index, 3);
    EXPECT_EQ(restored.value(0).value(0).toInt(), 3);
    EXPECT_EQ(d.name(3), QStringLiteral("B"));
    EXPECT_EQ(d.store->directory.organizations[3].flags, 0x05);
    EXPECT_TRUE(d.directory().branchesOf(3).empty());
    EXPECT_TRUE(d.directory().employeesOf(3).empty());
    EXPECT_EQ(d.store->directory.deletedCount, storage::MaxFirms - 1);

    // No room: nothing moves.
    d.store->directory.organizationCount = storage::MaxFirmsInUse;
    EXPECT_FALSE(d.directory().restoreOrganization(0).made);
    EXPECT_EQ(d.store->directory.deletedCount, storage::MaxFirms - 1);
}

TEST(Directory, AFailedDeletionLeavesMemoryAndFilesAsTheyWere) {
    Directory d;
    d.firm("A", "7701");
    d.firm("B", "7702");
    d.firm("C", "7703");
    d.filial(1, "B1");
    d.filial(2, "C1");
    d.employee(2, "Сидоров");
    d.link(2, 1);
    d.saveAll();
    const QByteArray memory = d.memory(), files = d.files();
    QSignalSpy removed(&d.directory(), &core::Directory::organizationRemoved);
    // The employee file cannot be replaced (a folder stands in its place); it comes last, so
    // Firms, FirmsDel and Filial were written and must be written back.
    const QByteArray employees = d.dir.read("Data/Employee");
    ASSERT_TRUE(QFile::remove(d.dir.file("Data/Employee")));
    ASSERT_TRUE(QDir().mkdir(d.dir.file("Data/Employee")));
    const core::DirectoryChange r = d.directory().deleteOrganization(1);
    EXPECT_FALSE(r.made || r.io);
    EXPECT_TRUE(r.io.error.contains("Employee")) << r.io.error.toStdString();
    EXPECT_EQ(d.memory(), memory);
    EXPECT_EQ(removed.size(), 0);
    ASSERT_TRUE(QDir().rmdir(d.dir.file("Data/Employee")));
    d.dir.write("Data/Employee", employees);
    EXPECT_EQ(d.files(), files);

    ASSERT_TRUE(d.directory().deleteOrganization(1).io);
    const auto loaded = d.reload();
    EXPECT_EQ(loaded->directory.organizationCount, 2);
    EXPECT_EQ(loaded->directory.deletedCount, 1);
    EXPECT_EQ(
        loaded->directory.branches[loaded->directory.organizations[1].branchNo].address.view(),
        "C1");
    EXPECT_EQ(loaded->directory.employees[0].organizationNo, 1);
}

TEST(Directory, DeletingABranchLinksFollowTheirBranch) {
    Directory d;
    d.firm("A");
    d.firm("B");
    d.firm("C");
    d.filial(0, "A1"); // 0
    d.filial(1, "B1"); // 1
    d.filial(0, "A2"); // 2
    d.filial(2, "C1"); // 3
    d.link(0, 2);
    d.link(1, 1);
    d.store->directory.organizations[2].branchNo = 3; // not in force: left alone
    auto linked = [&](int organization) {
        return d.store->directory.branches[d.store->directory.organizations[organization].branchNo]
            .address.view();
    };

    // A branch before the linked ones: both links move down with their branches.
    ASSERT_TRUE(d.directory().deleteBranch(0).made);
    EXPECT_EQ(linked(0), "A2");
    EXPECT_EQ(linked(1), "B1");
    EXPECT_EQ(d.store->directory.organizations[2].branchNo, 3);
    // The linked branch itself: the link ends; the later one follows its branch.
    ASSERT_TRUE(d.directory().deleteBranch(0).made);
    EXPECT_FALSE(d.store->directory.organizations[1].usesBranch());
    EXPECT_EQ(linked(0), "A2");
    ASSERT_TRUE(d.directory().deleteBranch(1).made);
    EXPECT_EQ(d.store->directory.branchCount, 1);
    EXPECT_EQ(d.store->directory.branches[1].address.view(), "");
    EXPECT_EQ(storage::recordBytes(d.reload()->directory.organizations),
              storage::recordBytes(d.store->directory.organizations));

    // A link set or ended is written at once; the list shows the branch's contacts.
    QSignalSpy branches(&d.directory(), &core::Directory::branchesChanged);
    ASSERT_TRUE(d.directory().setBranchLink(2, 0, true).made);
    EXPECT_EQ(uni(d.directory().contacts(2).address), QStringLiteral("A2"));
    EXPECT_TRUE(d.reload()->directory.organizations[2].usesBranch());
    EXPECT_FALSE(d.directory().setBranchLink(2, 0, true).made); // already so
    EXPECT_EQ(branches.size(), 1);
}

TEST(Directory, EditsStoreOnlyChangesAndAddsRespectTheLimits) {
    Directory d;
    d.firm("A");
    d.filial(0, "A1");
    d.employee(0, "Иванов");
    core::Directory& directory = d.directory();
    storage::BranchRecord branch = directory.branch(0);
    EXPECT_FALSE(directory.editBranch(0, branch).made);
    branch.email = "e@x";
    EXPECT_TRUE(directory.editBranch(0, branch).made);
    EXPECT_EQ(d.reload()->directory.branches[0].email.view(), "e@x");
    storage::BranchRecord noAddress = branch;
    noAddress.address.clear();
    EXPECT_FALSE(directory.editBranch(0, noAddress).made);

    storage::EmployeeRecord person = directory.employee(0);
    EXPECT_FALSE(directory.editEmployee(0, person).made);
    person.innerPhone = "123";
    EXPECT_TRUE(directory.editEmployee(0, person).made);
    EXPECT_EQ(d.reload()->directory.employees[0].innerPhone.view(), "123");

    // Full tables, and the empty key that would end a table at the next load.
    EXPECT_FALSE(directory.addBranch(0, noAddress).made);
    d.store->directory.branchCount = storage::MaxFilials;
    EXPECT_TRUE(directory.branchTableFull());
    EXPECT_FALSE(directory.addBranch(0, branch).made);
    storage::EmployeeRecord nobody{};
    EXPECT_FALSE(directory.addEmployee(0, nobody).made);
    d.store->directory.employeeCount = storage::MaxEmployees;
    EXPECT_FALSE(directory.employeeTableHasRoom());
    EXPECT_FALSE(directory.addEmployee(0, person).made);
    ASSERT_TRUE(directory.deleteEmployee(5).made);
    EXPECT_TRUE(directory.employeeTableHasRoom());
}

TEST(Directory, PickerPositionsFollowTheirOrganizationWhenOneIsRemoved) {
    struct Row {
        int position, removed, expected;
    } rows[] = {{-1, 0, -1}, {0, 2, 0}, {2, 2, -1}, {3, 2, 2}, {5, 0, 4}};
    for (const Row& r : rows)
        EXPECT_EQ(core::positionAfterRemoval(r.position, r.removed), r.expected)
            << r.position << " after " << r.removed;
}
