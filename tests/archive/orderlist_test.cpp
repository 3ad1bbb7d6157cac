// The list of saved orders without its window: cells, filter, the "Все" boxes, selection
// text, exact sums, removal of an entry, the offer to save before opening, and opening.
#include "neworder.h"
#include "support/support.h"

#include "archive/opening.h"
#include "archive/orderlist.h"
#include "storage/platfile.h"
#include "storage/scan.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace archive;
using storage::OrderListItem;
using storage::Store;
using testing_support::cps;
using testing_support::platFile;
using testing_support::TempDir;

namespace {

OrderListItem item(const char* number, const char* amount, const char* payerInn = "1234567890",
                   const char* payeeInn = "7701000001") {
    OrderListItem e;
    storage::clearRecord(e);
    e.numberText = number;
    e.dateText = "03.02.2009";
    e.amountText = amount;
    e.payerInn = payerInn;
    e.payeeInn = payeeInn;
    e.fileName.assign(std::string(number) + "_" + payerInn + "_09.plat");
    return e;
}

std::unique_ptr<Store> storeWith(std::initializer_list<OrderListItem> items) {
    auto s = std::make_unique<Store>();
    s->orders.count = 0;
    for (const OrderListItem& e : items)
        s->orders.items[std::size_t(s->orders.count++)] = e;
    storage::buildPartyTables(*s);
    return s;
}

} // namespace

TEST(PlatList, CellsShowTheEntry) {
    OrderListItem e = item("15", "100-00");
    e.payerText.assign(cps("ООО Ромашка"));
    e.payeeText = "7701000001";
    const QStringList expected{"15",         "03.02.2009", "ООО Ромашка",
                               "7701000001", "100-00",     "Не оплачено"};
    for (int c = 0; c < PlatColumns; ++c)
        EXPECT_EQ(orderCellText(e, c), expected[c]) << c;
    e.accepted = 1;
    EXPECT_EQ(orderCellText(e, 5), "Оплачено");
    EXPECT_EQ(orderColumnTitles(),
              (QStringList{"№", "Дата.", "Плательщик", "Кому", "Сумма", "Состояние"}));
    EXPECT_EQ(deletionPanelText(e), "№ 15 от 03.02.2009");
    EXPECT_EQ(selectionText(2, 4), "Selection - 3 (2..4)");
}

TEST(PlatList, FilterKeepsTheMatchingEntriesInListOrder) {
    auto s = storeWith({item("1", "1", "111", "900"), item("2", "2", "1111", "900"),
                        item("3", "3", "111", "901"), item("4", "4", "1111", "901")});
    ASSERT_EQ(s->orders.payerCount, 2); // 111, 1111
    ASSERT_EQ(s->orders.payeeCount, 2); // 900, 901
    struct Case {
        const char* name;
        FilterChoice choice;
        std::vector<std::string> numbers;
    } cases[] = {
        {"no filter", {FilterNone, 0, 0}, {}},
        {"payer, exact length", {FilterPayer, 0, -1}, {"1", "3"}},
        {"other payer", {FilterPayer, 1, -1}, {"2", "4"}},
        {"payee", {FilterPayee, -1, 1}, {"3", "4"}},
        {"both", {FilterBoth, 1, 0}, {"2"}},
        {"no payer chosen", {FilterPayer, -1, -1}, {}},
        {"position beyond the table", {FilterPayee, 0, 2}, {}},
    };
    for (const Case& c : cases) {
        PlatItems out;
        const int n = filterOrders(*s, c.choice, out);
        std::vector<std::string> numbers;
        for (int i = 0; i < n; ++i)
            numbers.emplace_back(out[std::size_t(i)].numberText.view());
        EXPECT_EQ(numbers, c.numbers) << c.name;
    }
}

TEST(PlatList, BoxStepKeepsSidesWithOnePartyTickedAndChoosesTheFirst) {
    auto two = storeWith({item("1", "1", "111", "900"), item("2", "2", "222", "900")});
    ASSERT_EQ(two->orders.payerCount, 2);
    ASSERT_EQ(two->orders.payeeCount, 1);
    struct Case {
        const char* name;
        FilterBoxes in;
        FilterBoxes out;
        std::uint8_t mode;
    } cases[] = {
        {"both ticked", {true, true, -1, -1}, {true, true, -1, -1}, FilterNone},
        {"payer cleared: first payer", {false, true, -1, -1}, {false, true, 0, -1}, FilterPayer},
        {"payer chosen kept", {false, true, 1, -1}, {false, true, 1, -1}, FilterPayer},
        {"one payee: ticked again", {true, false, -1, -1}, {true, true, -1, -1}, FilterNone},
        {"both cleared", {false, false, -1, -1}, {false, true, 0, -1}, FilterPayer},
    };
    for (const Case& c : cases) {
        FilterBoxes b = c.in;
        EXPECT_EQ(filterBoxStep(*two, b), c.mode) << c.name;
        EXPECT_EQ(b.payerAll, c.out.payerAll) << c.name;
        EXPECT_EQ(b.payeeAll, c.out.payeeAll) << c.name;
        EXPECT_EQ(b.payer, c.out.payer) << c.name;
        EXPECT_EQ(b.payee, c.out.payee) << c.name;
    }
    auto four = storeWith({item("1", "1", "111", "900"), item("2", "2", "222", "901")});
    FilterBoxes b{false, false, -1, -1};
    EXPECT_EQ(filterBoxStep(*four, b), FilterBoth);
    EXPECT_EQ(b.payee, 0);
}

TEST(PlatList, SumOfSelectedRows) {
    auto s =
        storeWith({item("1", "100-00"), item("2", "50-50"), item("3", "x-y-z"), item("4", "")});
    const SelectionSum two = sumAmounts(s->orders.items, s->orders.count, 0, 1);
    EXPECT_TRUE(two.any);
    EXPECT_EQ(two.total.kopecks(), 15050);
    EXPECT_EQ(two.error, "");
    // Tenths that a floating-point sum would miss add up exactly.
    auto dimes = storeWith({item("1", "0-10"), item("2", "0-20")});
    EXPECT_EQ(sumAmounts(dimes->orders.items, 2, 0, 1).total.kopecks(), 30);

    const SelectionSum bad = sumAmounts(s->orders.items, s->orders.count, 1, 2);
    EXPECT_EQ(bad.error, "В платежке № 3 сумма «x-y-z» не является числом. Сумма выделенных "
                         "платежек не подсчитана.");
    EXPECT_EQ(sumAmounts(s->orders.items, s->orders.count, 3, 3).error,
              "В платежке № 4 нет суммы. Сумма выделенных платежек не подсчитана.");
    // Blank rows below the list add nothing.
    const SelectionSum blank = sumAmounts(s->orders.items, 2, 1, 6);
    EXPECT_EQ(blank.total.kopecks(), 5050);
    EXPECT_FALSE(sumAmounts(s->orders.items, 0, 0, 3).any);
}

TEST(PlatList, RemovingAnEntryMovesTheLaterOnesUp) {
    struct Case {
        const char* name;
        int count, position;
        std::vector<std::string> after;
        int current;
    } cases[] = {
        {"only", 1, 0, {}, -1},
        {"last", 3, 2, {"1", "2"}, 1},
        {"middle", 3, 1, {"1", "3"}, 1},
        {"first", 3, 0, {"2", "3"}, 0},
    };
    for (const Case& c : cases) {
        auto s = storeWith({item("1", "1"), item("2", "2"), item("3", "3")});
        s->orders.count = c.count;
        EXPECT_EQ(removeListEntry(*s, c.position), c.current) << c.name;
        std::vector<std::string> numbers;
        for (int i = 0; i < s->orders.count; ++i)
            numbers.emplace_back(s->orders.items[std::size_t(i)].numberText.view());
        EXPECT_EQ(numbers, c.after) << c.name;
        EXPECT_TRUE(s->orders.items[std::size_t(s->orders.count)].fileName.empty()) << c.name;
    }
}

// Deleting an order above the one on screen used to leave OpenedIndex on the next order, so
// that deleting that one emptied the editor and deleting the real one did not.
TEST(PlatList, OrderOnScreenIsFollowedThroughARemovalAbove) {
    auto s = storeWith({item("1", "1"), item("2", "2"), item("3", "3")});
    s->PlatSaved = true;
    s->PlatFileName = "3_1234567890_09.plat";
    s->OpenedIndex = 2;
    EXPECT_TRUE(shownInEditor(*s, 2));
    EXPECT_FALSE(shownInEditor(*s, 1));
    removeListEntry(*s, 0);
    EXPECT_EQ(s->OpenedIndex, 1);
    EXPECT_TRUE(shownInEditor(*s, 1));
    EXPECT_FALSE(shownInEditor(*s, 0));
    s->PlatSaved = false;
    EXPECT_FALSE(shownInEditor(*s, 1));
}

namespace {

// A program folder with a payer and a payee, saved orders 5 and 7 of the payer, and the
// editor's fields of a complete new order.
struct Saving {
    TempDir dir;
    std::unique_ptr<Store> s = std::make_unique<Store>();
    std::vector<std::pair<QString, QString>> asked;
    bool answer = true;
    SaveQuestions q;

    Saving() {
        s->setProgramDir(dir.path());
        QDir(dir.path()).mkpath("PP");
        for (const char* inn : {"1234567890", "7701000001"}) {
            storage::OrganizationRecord& f =
                s->directory.organizations[std::size_t(s->directory.organizationCount++)];
            f.name.assign(std::string("Firm ") + inn);
            f.inn = inn;
        }
        dir.write("PP/5_1234567890_09.plat",
                  platFile({"5", "1234567890", "03.02.2009", "7701000001", "10-00"}));
        dir.write("PP/7_1234567890_09.plat",
                  platFile({"7", "1234567890", "04.02.2009", "7701000001", "20-00"}));
        EXPECT_TRUE(storage::scanOrders(*s));
        q.ask = [this](const QString& a, const QString& b) {
            asked.emplace_back(a, b);
            return answer;
        };
        q.tell = [](const QString& t) { ADD_FAILURE() << "told: " << t.toStdString(); };
    }
    editor::OrderFields order(const QString& number) const { return completeOrder(number, 0, 1); }
    using Asked = std::vector<std::pair<QString, QString>>;
};

} // namespace

TEST(checkSave, NewOrderIsSavedAndScannedOnYes) {
    {
        Saving fx; // an incomplete order is not offered
        editor::OrderFields f = fx.order("3");
        f.amount.clear();
        EXPECT_FALSE(checkSave(*fx.s, f, fx.q).savedNew);
        EXPECT_TRUE(fx.asked.empty());
    }
    for (bool yes : {false, true}) {
        Saving fx;
        fx.answer = yes;
        const CheckSaveResult r = checkSave(*fx.s, fx.order("3"), fx.q);
        EXPECT_EQ(fx.asked, (Saving::Asked{{"Новое платежное поручение.",
                                            "Сохранить платежное поручение № 3 ?"}}));
        EXPECT_TRUE(r.io.ok);
        EXPECT_EQ(r.savedNew, yes);
        EXPECT_EQ(fx.dir.exists("PP/3_1234567890_09.plat"), yes);
        EXPECT_EQ(fx.s->orders.count, yes ? 3 : 2);
        EXPECT_EQ(fx.s->PlatSaved, yes);
    }
}

TEST(checkSave, ExistingNameIsAskedAgain) {
    Saving fx;
    const CheckSaveResult r = checkSave(*fx.s, fx.order("5"), fx.q);
    EXPECT_EQ(fx.asked,
              (Saving::Asked{{"Новое платежное поручение.", "Сохранить платежное поручение № 5 ?"},
                             {"Платежное поручение № 5 уже есть.",
                              "Сохранить изменения в платежном поручении № 5 ?"}}));
    EXPECT_TRUE(r.savedNew);
    EXPECT_EQ(fx.dir.read("PP/5_1234567890_09.plat").mid(823, 8), QByteArray("\x07"
                                                                             "1500-00"));
}

TEST(openListed, ReadsTheOrderAndFindsItsPosition) {
    Saving fx;
    ASSERT_TRUE(openListed(*fx.s, fx.s->orders.items[1].fileName));
    EXPECT_EQ(fx.s->Plat.number.view(), "7");
    EXPECT_EQ(fx.s->OpenedIndex, 1);
    EXPECT_EQ(fx.s->PlatFileName.view(), "7_1234567890_09.plat");

    // A file that has gone is reported and changes nothing.
    QFile::remove(fx.dir.file("PP/5_1234567890_09.plat"));
    const storage::IoResult r = openListed(*fx.s, fx.s->orders.items[0].fileName);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.startsWith("Нет файла платежки ")) << r.error.toStdString();
    EXPECT_EQ(fx.s->Plat.number.view(), "7");
    EXPECT_EQ(fx.s->OpenedIndex, 1);
    EXPECT_EQ(fx.s->PlatFileName.view(), "7_1234567890_09.plat");
}

TEST(checkSave, ChangedSavedOrderSavedOnYesShowsWhatWasWrittenInItsRow) {
    Saving fx;
    editor::OrderFields f = fx.order("9");
    ASSERT_TRUE(checkSave(*fx.s, f, fx.q).savedNew); // now the saved order on screen
    f.amount = "25-50";
    EXPECT_TRUE(checkSave(*fx.s, f, fx.q).io.ok);
    ASSERT_EQ(fx.asked.size(), 2u);
    ASSERT_EQ(fx.s->orders.count, 3);
    EXPECT_EQ(fx.s->orders.items[2].amountText.view(), "25-50");
    EXPECT_EQ(fx.s->orders.items[0].amountText.view(), "10-00");
    EXPECT_EQ(sumAmounts(fx.s->orders.items, fx.s->orders.count, 0, 2).total.kopecks(), 5550);
}
