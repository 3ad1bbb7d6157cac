#include "orgdata.h"

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

TEST(deletionQuestions, CountTheReadOrdersThatNameTheOrganization) {
    Directory d;
    d.firm("ООО Ромашка", "7701");
    d.firm("ООО Лютик", "770");
    d.order("1", "7701", "5000");
    d.order("2", "5000", "7701");
    d.order("3", "7701", "7701"); // counted once
    d.order("4", "770", "77011"); // neither INN equals 7701
    d.order("5", "7701", "5000");
    // Order 5 cannot be read whole: it is not counted.
    d.dir.write("PP/5_7701_09.plat", cp("short"));
    d.saveAll();
    core::OrderArchive& orders = d.engine().archive;
    orders.scan(2009);
    ASSERT_EQ(orders.orderCount(), 5);

    EXPECT_EQ(orders.ordersWithParty("7701"), 3);
    EXPECT_EQ(orders.ordersWithParty("770"), 1);

    d.filial(0, "Филиал 1");
    d.filial(1, "Филиал чужой");
    d.filial(0, "Филиал 2");
    for (int i = 0; i < 5; ++i)
        d.employee(0, "Иванов");
    const std::vector<DeletionQuestion> q =
        deletionQuestions(d.directory(), 0, orders.ordersWithParty("7701"));
    ASSERT_EQ(q.size(), 3u);
    EXPECT_EQ(q[0].line1, ordersFoundText(3));
    EXPECT_EQ(q[0].line2, QString());
    EXPECT_EQ(q[1].line1, QStringLiteral("В удаляемой организации есть 2 филиала."));
    EXPECT_EQ(q[1].line2, QStringLiteral("Будет удалена организация и все ее филиалы."));
    EXPECT_EQ(q[2].line1, QStringLiteral("Список сотрудников = 5."));
    EXPECT_EQ(q[2].line2, QStringLiteral("Будет удалена организация и список сотрудников."));
    EXPECT_EQ(deletionQuestions(d.directory(), 1, orders.ordersWithParty("770")).size(),
              2u); // one order, one branch
}
