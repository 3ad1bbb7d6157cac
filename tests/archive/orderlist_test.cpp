// The list of saved orders without its window: cells, filter, the "Все" boxes, selection
// text, exact sums, removal of an entry, the offer to save before opening, and opening.
#include "neworder.h"
#include "support/support.h"

#include "archive/opening.h"
#include "archive/orderlist.h"
#include "core/engine.h"
#include "storage/platfile.h"

#include <QDir>
#include <array>
#include <gtest/gtest.h>

using namespace archive;
using testing_support::cps;
using testing_support::platFile;
using testing_support::TempDir;

namespace {

// The saved orders of a folder with orders of the given numbers, payer INNs and payee INNs.
struct Listed {
    TempDir dir;
    storage::SavedOrders orders;

    Listed(std::initializer_list<std::array<const char*, 3>> items) {
        QDir(dir.path()).mkpath("PP");
        for (const auto& [number, payer, payee] : items)
            dir.write(QStringLiteral("PP/%1_%2_09.plat").arg(number, payer),
                      platFile({number, payer, "03.02.2009", payee, "1-00"}));
        storage::OrderFolderScan scan;
        EXPECT_TRUE(storage::scanOrderFolder(dir.file("PP/"), {}, {}, scan));
        orders.build(std::move(scan), dir.file("PP/"), {}, {});
    }
};

} // namespace

TEST(PlatList, TextsOfTheListAndItsQuestions) {
    EXPECT_EQ(core::OrderArchive::columnTitles(),
              (QStringList{"№", "Дата.", "Плательщик", "Кому", "Сумма", "Состояние"}));
    EXPECT_EQ(deletionPanelText("15", "03.02.2009"), "№ 15 от 03.02.2009");
    EXPECT_EQ(selectionText(2, 4), "Selection - 3 (2..4)");
}

TEST(PlatList, FilterNamesTheChosenPartiesOrNothing) {
    const Listed l({{"1", "111", "900"}, {"2", "1111", "900"}, {"3", "111", "901"}});
    ASSERT_EQ(l.orders.payers().size(), 2u); // 111, 1111
    ASSERT_EQ(l.orders.payees().size(), 2u); // 900, 901
    using Inn = std::optional<std::string>;
    struct Case {
        const char* name;
        FilterChoice choice;
        bool any;
        Inn payer, payee;
    } cases[] = {
        {"no filter", {FilterNone, 0, 0}, false, {}, {}},
        {"payer", {FilterPayer, 1, -1}, true, "1111", {}},
        {"payee", {FilterPayee, -1, 1}, true, {}, "901"},
        {"both", {FilterBoth, 0, 0}, true, "111", "900"},
        {"no payer chosen", {FilterPayer, -1, -1}, false, {}, {}},
        {"position beyond the table", {FilterPayee, 0, 2}, false, {}, {}},
    };
    for (const Case& c : cases) {
        const std::optional<core::OrderFilter> f = orderFilter(l.orders, c.choice);
        ASSERT_EQ(f.has_value(), c.any) << c.name;
        if (f) {
            EXPECT_EQ(f->payerInn, c.payer) << c.name;
            EXPECT_EQ(f->payeeInn, c.payee) << c.name;
        }
    }
}

TEST(PlatList, BoxStepKeepsSidesWithOnePartyTickedAndChoosesTheFirst) {
    const Listed two({{"1", "111", "900"}, {"2", "222", "900"}});
    ASSERT_EQ(two.orders.payers().size(), 2u);
    ASSERT_EQ(two.orders.payees().size(), 1u);
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
        EXPECT_EQ(filterBoxStep(two.orders, b), c.mode) << c.name;
        EXPECT_EQ(b.payerAll, c.out.payerAll) << c.name;
        EXPECT_EQ(b.payeeAll, c.out.payeeAll) << c.name;
        EXPECT_EQ(b.payer, c.out.payer) << c.name;
        EXPECT_EQ(b.payee, c.out.payee) << c.name;
    }
    const Listed four({{"1", "111", "900"}, {"2", "222", "901"}});
    FilterBoxes b{false, false, -1, -1};
    EXPECT_EQ(filterBoxStep(four.orders, b), FilterBoth);
    EXPECT_EQ(b.payee, 0);
}

namespace {

// A program folder with a payer and a payee, saved orders 5 and 7 of the payer, and the
// editor's fields of a complete new order.
struct Saving {
    TempDir dir;
    std::unique_ptr<storage::FolderData> s = std::make_unique<storage::FolderData>();
    std::unique_ptr<core::Engine> engine;
    std::vector<std::pair<QString, QString>> asked;
    bool answer = true;
    SaveQuestions q;

    Saving() {
        s->folder.setProgramDir(dir.path());
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
        engine = std::make_unique<core::Engine>(*s);
        EXPECT_TRUE(engine->archive.scan());
        q.ask = [this](const QString& a, const QString& b) {
            asked.emplace_back(a, b);
            return answer;
        };
        q.tell = [](const QString& t) { ADD_FAILURE() << "told: " << t.toStdString(); };
    }
    editor::OrderFields order(const QString& number) const { return completeOrder(number, 0, 1); }
    core::OrderDocument& doc() const { return engine->document; }
    using Asked = std::vector<std::pair<QString, QString>>;
};

} // namespace

TEST(checkSave, NewOrderIsSavedAndScannedOnYes) {
    {
        Saving fx; // an incomplete order is not offered
        editor::OrderFields f = fx.order("3");
        f.amount.clear();
        EXPECT_FALSE(checkSave(fx.doc(), f, fx.q).savedNew);
        EXPECT_TRUE(fx.asked.empty());
    }
    for (bool yes : {false, true}) {
        Saving fx;
        fx.answer = yes;
        const CheckSaveResult r = checkSave(fx.doc(), fx.order("3"), fx.q);
        EXPECT_EQ(fx.asked, (Saving::Asked{{"Новое платежное поручение.",
                                            "Сохранить платежное поручение № 3 ?"}}));
        EXPECT_TRUE(r.io.ok);
        EXPECT_EQ(r.savedNew, yes);
        EXPECT_EQ(fx.dir.exists("PP/3_1234567890_09.plat"), yes);
        EXPECT_EQ(fx.engine->archive.orderCount(), yes ? 3 : 2);
        EXPECT_EQ(fx.doc().isSaved(), yes);
    }
}

TEST(checkSave, ExistingNameIsAskedAgain) {
    Saving fx;
    const CheckSaveResult r = checkSave(fx.doc(), fx.order("5"), fx.q);
    EXPECT_EQ(fx.asked,
              (Saving::Asked{{"Новое платежное поручение.", "Сохранить платежное поручение № 5 ?"},
                             {"Платежное поручение № 5 уже есть.",
                              "Сохранить изменения в платежном поручении № 5 ?"}}));
    EXPECT_TRUE(r.savedNew);
    EXPECT_EQ(fx.dir.read("PP/5_1234567890_09.plat").mid(823, 8), QByteArray("\x07"
                                                                             "1500-00"));
}

TEST(checkSave, ChangedSavedOrderSavedOnYesShowsWhatWasWrittenInItsRow) {
    Saving fx;
    editor::OrderFields f = fx.order("9");
    ASSERT_TRUE(checkSave(fx.doc(), f, fx.q).savedNew); // now the saved order on screen
    f.amount = "25-50";
    EXPECT_TRUE(checkSave(fx.doc(), f, fx.q).io.ok);
    ASSERT_EQ(fx.asked.size(), 2u);
    const core::OrderArchive& orders = fx.engine->archive;
    ASSERT_EQ(orders.orderCount(), 3);
    EXPECT_EQ(orders.cellText(orders.rowOf("9_1234567890_09.plat"), 4), "25-50");
    EXPECT_EQ(orders.cellText(orders.rowOf("5_1234567890_09.plat"), 4), "10-00");
}
