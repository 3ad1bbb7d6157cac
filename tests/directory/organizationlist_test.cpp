#include "orgdata.h"

#include "directory/branches.h"
#include "directory/directorysave.h"
#include "directory/employees.h"
#include "directory/organizationlist.h"

using namespace directory;
using orgdata::Directory;
using testing_support::cp;
using testing_support::uni;

TEST(DeletionTexts, PluralFormsFollowTheLastTwoDigits) {
    struct Row {
        int n;
        const char* orders;
        const char* filials;
    } rows[] = {
        {1, "Найдена 1 платежка в которой  есть удаляемая организация.",
         "В удаляемой организации есть 1 филиал."},
        {2, "Найдены 2 платежки в которых  есть удаляемая организация.",
         "В удаляемой организации есть 2 филиала."},
        {3, "Найдены 3 платежки в которых  есть удаляемая организация.",
         "В удаляемой организации есть 3 филиала."},
        {5, "Найдено 5 платежек в которых  есть удаляемая организация.",
         "В удаляемой организации есть 5 филиалов."},
        {11, "Найдено 11 платежек в которых  есть удаляемая организация.",
         "В удаляемой организации есть 11 филиалов."},
        {12, "Найдено 12 платежек в которых  есть удаляемая организация.",
         "В удаляемой организации есть 12 филиалов."},
        {21, "Найдена 21 платежка в которой  есть удаляемая организация.",
         "В удаляемой организации есть 21 филиал."},
        {104, "Найдены 104 платежки в которых  есть удаляемая организация.",
         "В удаляемой организации есть 104 филиала."},
        {111, "Найдено 111 платежек в которых  есть удаляемая организация.",
         "В удаляемой организации есть 111 филиалов."},
        {1024, "Найдены 1024 платежки в которых  есть удаляемая организация.",
         "В удаляемой организации есть 1024 филиала."},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(ordersFoundText(r.n), QString::fromUtf8(r.orders)) << r.n;
        EXPECT_EQ(filialsFoundText(r.n), QString::fromUtf8(r.filials)) << r.n;
    }
    EXPECT_EQ(employeesFoundText(5), QStringLiteral("Список сотрудников = 5."));
}

TEST(deletionQuestions, OrdersAreReadFromTheirFilesWithoutTouchingTheOrderOnScreen) {
    Directory d;
    d.firm("ООО Ромашка", "7701");
    d.firm("ООО Лютик", "770");
    d.order("1", "7701", "5000");
    d.order("2", "5000", "7701");
    d.order("3", "7701", "7701"); // counted once
    d.order("4", "770", "77011"); // neither INN equals 7701
    d.order("5", "7701", "5000");
    d.saveAll();
    ASSERT_EQ(d.store->orders.count, 5);
    // Order 5 can no longer be read whole: it is skipped.
    d.dir.write("PP/5_7701_09.plat", cp("short"));
    d.store->Plat.number = "99";
    d.store->PlatFileName = "99_7701_09.plat";
    const QByteArray onScreen = storage::recordBytes(d.store->Plat);

    EXPECT_EQ(countOrdersWithInn(*d.store, "7701"), 3);
    EXPECT_EQ(countOrdersWithInn(*d.store, "770"), 1);
    EXPECT_EQ(storage::recordBytes(d.store->Plat), onScreen);
    EXPECT_EQ(d.store->PlatFileName.view(), "99_7701_09.plat");

    d.filial(0, "Филиал 1");
    d.filial(1, "Филиал чужой");
    d.filial(0, "Филиал 2");
    for (int i = 0; i < 5; ++i)
        d.employee(0, "Иванов");
    const std::vector<DeletionQuestion> q = deletionQuestions(*d.store, 0);
    ASSERT_EQ(q.size(), 3u);
    EXPECT_EQ(q[0].line1, ordersFoundText(3));
    EXPECT_EQ(q[0].line2, QString());
    EXPECT_EQ(q[1].line1, QStringLiteral("В удаляемой организации есть 2 филиала."));
    EXPECT_EQ(q[1].line2, QStringLiteral("Будет удалена организация и все ее филиалы."));
    EXPECT_EQ(q[2].line1, QStringLiteral("Список сотрудников = 5."));
    EXPECT_EQ(q[2].line2, QStringLiteral("Будет удалена организация и список сотрудников."));
    EXPECT_EQ(deletionQuestions(*d.store, 1).size(), 2u); // one order, one branch
}

TEST(deleteOrganization, LaterOrganizationsKeepTheirBranchesEmployeesAndLinks) {
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
    d.store->CurFirm = 1;

    const unsigned files = deleteOrganization(*d.store, 1);
    EXPECT_EQ(files, unsigned(FileFirms | FileFirmsDel | FileFilial | FileEmployee));
    EXPECT_EQ(d.store->directory.organizationCount, 4);
    EXPECT_EQ(d.name(2), QStringLiteral("D")); // row 4 moved to row 3
    EXPECT_TRUE(d.store->directory.organizations[4].name.empty());
    EXPECT_EQ(d.store->CurFirm, 1);
    EXPECT_EQ(d.store->directory.deletedCount, 1);
    EXPECT_EQ(uni(d.store->directory.deleted[0].name), QStringLiteral("B"));
    EXPECT_FALSE(d.store->directory.deleted[0].usesBranch()); // its linked branch went with it

    auto addresses = [&](int firmNo) {
        QStringList out;
        for (int i : branchesOf(*d.store, firmNo))
            out << uni(d.store->directory.branches[std::size_t(i)].address);
        return out;
    };
    EXPECT_EQ(addresses(2), (QStringList{"D1", "D2"}));
    EXPECT_EQ(addresses(3), (QStringList{"E1"}));
    EXPECT_EQ(d.store->directory.branchCount, 3);
    // The links stay on the same branches although the table moved.
    EXPECT_EQ(
        uni(d.store->directory.branches[d.store->directory.organizations[2].branchNo].address),
        QStringLiteral("D2"));
    EXPECT_EQ(
        uni(d.store->directory.branches[d.store->directory.organizations[3].branchNo].address),
        QStringLiteral("E1"));
    EXPECT_EQ(uni(d.store->FirmShow[3].address), QStringLiteral("E1"));

    ASSERT_EQ(d.store->directory.employeeCount, 2);
    EXPECT_EQ(uni(d.store->directory.employees[0].surname), QStringLiteral("Дятлов"));
    EXPECT_EQ(d.store->directory.employees[0].organizationNo, 2);
    EXPECT_EQ(d.store->directory.employees[1].organizationNo,
              0); // an earlier organization keeps its index
}

TEST(deleteOrganization, LastOrganizationAndAFullDeletedList) {
    Directory d;
    d.firm("A");
    d.firm("B");
    for (int i = 0; i < storage::MaxFirms; ++i)
        d.store->directory.deleted[std::size_t(i)].name.assign(QByteArray::number(i));
    d.store->directory.deletedCount = storage::MaxFirms;
    d.store->CurFirm = 1;

    EXPECT_EQ(deleteOrganization(*d.store, 1), unsigned(FileFirms | FileFirmsDel)); // nothing else
    EXPECT_EQ(d.store->CurFirm, 0);
    EXPECT_EQ(d.store->directory.deletedCount, storage::MaxFirms);
    EXPECT_EQ(d.store->CurFirmDel, storage::MaxFirms - 1);
    EXPECT_EQ(d.store->directory.deleted[0].name.view(), "1"); // the oldest gave way
    EXPECT_EQ(uni(d.store->directory.deleted[255].name), QStringLiteral("B"));

    deleteOrganization(*d.store, 0);
    EXPECT_EQ(d.store->directory.organizationCount, 0);
    EXPECT_EQ(d.store->CurFirm, 0);
    EXPECT_EQ(storage::recordBytes(d.store->directory.organizations[0]),
              QByteArray(sizeof(storage::OrganizationRecord), 0));
}

TEST(restoreOrganization, AppendsWithoutBranchesEmployeesOrLink) {
    Directory d;
    d.firm("A");
    d.firm("B");
    d.firm("C");
    d.filial(0, "A1");
    d.filial(1, "B1");
    d.employee(1, "Бобров");
    d.link(1, 1);
    d.store->directory.organizations[1].flags |= 0x05; // reserved bits travel with the record
    deleteOrganization(*d.store, 1);
    d.firm("D");

    EXPECT_EQ(restoreOrganization(*d.store, 0), unsigned(FileFirms | FileFirmsDel));
    EXPECT_EQ(d.store->directory.organizationCount, 4);
    EXPECT_EQ(d.name(3), QStringLiteral("B"));
    EXPECT_EQ(d.store->CurFirm, 3);
    EXPECT_EQ(d.store->directory.organizations[3].flags, 0x05);
    EXPECT_TRUE(branchesOf(*d.store, 3).empty());
    EXPECT_TRUE(employeesOf(*d.store, 3).empty());
    EXPECT_EQ(d.store->directory.deletedCount, 0);
    EXPECT_EQ(d.store->CurFirmDel, 0);
    EXPECT_TRUE(d.store->directory.deleted[0].name.empty());

    // No room: nothing moves.
    deleteOrganization(*d.store, 0);
    d.store->directory.organizationCount = storage::MaxFirmsInUse;
    EXPECT_EQ(restoreOrganization(*d.store, 0), 0u);
    EXPECT_EQ(d.store->directory.deletedCount, 1);
}

TEST(deleteOrganization, AFailedWriteLeavesMemoryAndFilesAsTheyWere) {
    Directory d;
    d.firm("A", "7701");
    d.firm("B", "7702");
    d.firm("C", "7703");
    d.filial(1, "B1");
    d.filial(2, "C1");
    d.employee(2, "Сидоров");
    d.link(2, 1);
    d.store->CurFirm = 1;
    d.saveAll();
    const QByteArray memory = d.memory(), files = d.files();
    // The employee file cannot be replaced (a folder stands in its place); it comes last, so
    // Firms, FirmsDel and Filial were written and must be written back.
    const QByteArray employees = d.dir.read("Data/Employee");
    ASSERT_TRUE(QFile::remove(d.dir.file("Data/Employee")));
    ASSERT_TRUE(QDir().mkdir(d.dir.file("Data/Employee")));
    const storage::IoResult r = deleteOrganizationAndSave(*d.store, 1);
    EXPECT_FALSE(r);
    EXPECT_TRUE(r.error.contains("Employee")) << r.error.toStdString();
    EXPECT_EQ(d.memory(), memory);
    ASSERT_TRUE(QDir().rmdir(d.dir.file("Data/Employee")));
    d.dir.write("Data/Employee", employees);
    EXPECT_EQ(d.files(), files);

    ASSERT_TRUE(deleteOrganizationAndSave(*d.store, 1));
    const auto loaded = d.reload();
    EXPECT_EQ(loaded->directory.organizationCount, 2);
    EXPECT_EQ(loaded->directory.deletedCount, 1);
    EXPECT_EQ(
        loaded->directory.branches[loaded->directory.organizations[1].branchNo].address.view(),
        "C1");
    EXPECT_EQ(loaded->directory.employees[0].organizationNo, 1);
}

TEST(deleteBranch, LinksFollowTheirBranch) {
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

    // A branch before the linked ones: both links move down with their branches.
    EXPECT_EQ(deleteBranch(*d.store, 0), unsigned(FileFilial | FileFirms));
    EXPECT_EQ(
        d.store->directory.branches[d.store->directory.organizations[0].branchNo].address.view(),
        "A2");
    EXPECT_EQ(
        d.store->directory.branches[d.store->directory.organizations[1].branchNo].address.view(),
        "B1");
    EXPECT_EQ(d.store->directory.organizations[2].branchNo, 3);
    // The linked branch itself: the link ends; the later one follows its branch.
    EXPECT_EQ(deleteBranch(*d.store, 0), unsigned(FileFilial | FileFirms));
    EXPECT_FALSE(d.store->directory.organizations[1].usesBranch());
    EXPECT_EQ(
        d.store->directory.branches[d.store->directory.organizations[0].branchNo].address.view(),
        "A2");
    // After every link: only the branch file changes.
    EXPECT_EQ(deleteBranch(*d.store, 1), unsigned(FileFilial));
    EXPECT_EQ(d.store->directory.branchCount, 1);
    EXPECT_EQ(d.store->directory.branches[1].address.view(), "");
}

TEST(BranchAndEmployeeTables, EditsStoreOnlyChangesAndAddsRespectTheLimits) {
    Directory d;
    d.firm("A");
    d.filial(0, "A1");
    d.employee(0, "Иванов");
    const FilialTexts branch = filialTexts(d.store->directory.branches[0]);
    EXPECT_FALSE(editBranch(*d.store, 0, branch));
    FilialTexts longer = branch;
    longer[2] = QString(60, u'e'); // cut to 48
    EXPECT_TRUE(editBranch(*d.store, 0, longer));
    EXPECT_EQ(d.store->directory.branches[0].email.size(), 48u);
    EXPECT_FALSE(editBranch(*d.store, 0, longer)); // the same after cutting
    EXPECT_FALSE(editBranch(*d.store, 0, {QString(), QString(), QString()}));

    const EmplTexts person = emplTexts(d.store->directory.employees[0]);
    EXPECT_FALSE(editEmployee(*d.store, 0, person));
    EmplTexts changed = person;
    changed[6] = QStringLiteral("123");
    EXPECT_TRUE(editEmployee(*d.store, 0, changed));
    EXPECT_EQ(d.store->directory.employees[0].innerPhone.view(), "123");

    // Full tables, and the empty key that would end a table at the next load.
    EXPECT_FALSE(addBranch(*d.store, 0, {QString(), "1", "2"}));
    d.store->directory.branchCount = storage::MaxFilials;
    EXPECT_FALSE(addBranch(*d.store, 0, branch));
    EXPECT_EQ(filialLimitText(),
              QStringLiteral("Может быть сохранено только 256 филиалов для всех организаций."));
    EXPECT_FALSE(addEmployee(*d.store, 0, EmplTexts{}));
    d.store->directory.employeeCount = storage::MaxEmployees;
    EXPECT_FALSE(emplTableHasRoom(*d.store));
    EXPECT_FALSE(addEmployee(*d.store, 0, person));
    deleteEmployee(*d.store, 5);
    EXPECT_TRUE(emplTableHasRoom(*d.store));
}

TEST(Pickers, PositionsFollowTheirOrganizationWhenOneIsRemoved) {
    struct Row {
        int position, removed, expected;
    } rows[] = {{-1, 0, -1}, {0, 2, 0}, {2, 2, -1}, {3, 2, 2}, {5, 0, 4}};
    for (const Row& r : rows)
        EXPECT_EQ(positionAfterRemoval(r.position, r.removed), r.expected)
            << r.position << " after " << r.removed;
}
