// The list of saved orders alone, as a real window on a temporary program folder, driven with
// the mouse and the keyboard; the editor's fields stand in for the editor.
#include "orderfolder.h"

#include "core/engine.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLocale>
#include <QStatusBar>

using namespace archive;
using namespace orderfolder;
using testing_support::clickButton;
using testing_support::cp;
using testing_support::platFile;
using testing_support::pressing;
using testing_support::whenModal;
using testing_support::whenModals;

namespace {

// The sum is shown with the system's decimal separator. These tests run with Russian number
// formats, whose separator is a comma; the system locale is read from the environment when
// it is first used, after this.
const bool russianNumbers = [] {
    qunsetenv("LC_ALL");
    qputenv("LC_NUMERIC", "ru_RU.UTF-8");
    return true;
}();

class OrderListWindow : public ::testing::Test, protected OrderFolder, protected ListDriver {
protected:
    // Creates the engine and the list (the saved orders read, as at start) and shows the list.
    // What the editor would hold stands in for it: the list offers to save onScreen before it
    // opens another order, and an opened order is shown there.
    void start() {
        engine = std::make_unique<core::Engine>(*store);
        ASSERT_TRUE(engine->archive.scan().ok);
        window = std::make_unique<OrderListDialog>(engine->archive, engine->document,
                                                   engine->folder, engine->settings);
        list = window.get();
        list->setFieldsOnScreen([this] { return onScreen; });
        QObject::connect(list, &OrderListDialog::orderOpened, list,
                         [this] { onScreen = engine->document.fields(); });
        list->show();
    }
    // The editor's fields of a complete new order of payer A.
    void typeNewOrder(const char* number) { onScreen = completeOrder(number, 0, 2); }

    std::unique_ptr<core::Engine> engine;
    std::unique_ptr<OrderListDialog> window;
    core::OrderFields onScreen;
};

} // namespace

TEST_F(OrderListWindow, NoSavedOrdersShowTheTitleRowAndFourBlankRows) {
    start();
    EXPECT_EQ(list->windowTitle(), "Платежки");
    auto* m = grid()->gridModel();
    EXPECT_EQ(m->columnCount(), 6);
    EXPECT_EQ(m->headerData(5, Qt::Horizontal, Qt::DisplayRole).toString(), "Состояние");
    EXPECT_EQ(numbers(), QStringList(4, QString()));
    EXPECT_EQ(engine->archive.rowCount(), 0);
    EXPECT_EQ(list->panelText(0), "0");
    for (const char* b : {"Open", "Del", "Filter"})
        EXPECT_FALSE(listButton(b)->isEnabled()) << b;
    EXPECT_TRUE(listButton("Set Filter")->isEnabled());

    auto* bar = list->findChild<QStatusBar*>("statusBar");
    EXPECT_EQ(bar->toolTip(), "Щелкни правой кнопкой");
    const QList<QLabel*> panels = bar->findChildren<QLabel*>();
    ASSERT_EQ(panels.size(), 4);
    for (QLabel* p : panels) {
        EXPECT_EQ(p->width(), 80);
        EXPECT_EQ(p->alignment(), Qt::AlignCenter);
    }
    // A blank row has no amount to add.
    clickRow(1);
    EXPECT_EQ(list->panelText(3), "Selection - 1 (2..2)");
}

TEST_F(OrderListWindow, SumOfTheSelectedRowsGoesToTheClipboard) {
    order("1", "100-00");
    order("2", "50-50");
    order("3", "7.25");
    order("4", "12 руб");
    start();
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(grid()->columnWidth(c), store->settings.columnWidths[std::size_t(8 + c)]) << c;
    EXPECT_EQ(QLocale::system().decimalPoint(), ",");

    clickRow(0);
    clickRow(1, Qt::ShiftModifier);
    EXPECT_EQ(list->panelText(3), "150,5");
    list->findChild<QAction*>("copySumAction")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "150,5");

    clickRow(2, Qt::ShiftModifier);
    EXPECT_EQ(list->panelText(3), "157,75");
    QGuiApplication::clipboard()->setText("x");
    QTest::mouseDClick(list->findChild<QStatusBar*>("statusBar"), Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "157,75");

    // An amount that is not a number stops the sum; the selection text stays.
    clickRow(2);
    EXPECT_EQ(whenModal(pressing("OK"), [&] { clickRow(3, Qt::ShiftModifier); }),
              "В платежке № 4 сумма «12 руб» не является числом. Сумма выделенных платежек не "
              "подсчитана.");
    EXPECT_EQ(list->panelText(3), "Selection - 2 (3..4)");
}

// Saving was refused once 1024 orders were listed ("Может быть сохранено только1024
// платежки."), and the orders beyond them were left out of the list without a word.
TEST_F(OrderListWindow, SavingThe1025thOrderFromTheQuestionListsIt) {
    for (int n = 1; n <= 1024; ++n)
        order(QByteArray::number(n).constData(), "10-00");
    start();
    EXPECT_EQ(list->panelText(0), "1024");
    typeNewOrder("1025");
    clickRow(0);
    QStringList lines;
    whenModal(answering("Yes", lines), [&] { listButton("Open")->click(); });
    EXPECT_EQ(lines, (QStringList{"Новое платежное поручение.",
                                  "Сохранить платежное поручение № 1025 ?"}));
    EXPECT_TRUE(dir.exists("PP/1025_1234567890_09.plat"));
    EXPECT_EQ(engine->archive.orderCount(), 1025);
    EXPECT_EQ(engine->archive.highestNumber(PayerA), 1025u);
    EXPECT_EQ(onScreen.number, "1"); // the chosen order is opened
}

TEST_F(OrderListWindow, OpeningAfterSavingANewOrderThatSortsBeforeOpensTheChosenOne) {
    order("5", "10-00");
    order("7", "20-00");
    start();
    typeNewOrder("3");
    clickRow(0);
    QStringList lines;
    whenModal(answering("Yes", lines), [&] { listButton("Open")->click(); });
    EXPECT_EQ(lines,
              (QStringList{"Новое платежное поручение.", "Сохранить платежное поручение № 3 ?"}));
    EXPECT_TRUE(dir.exists("PP/3_1234567890_09.plat"));
    EXPECT_EQ(engine->archive.orderCount(), 3);
    EXPECT_EQ(onScreen.number, "5");
    EXPECT_EQ(engine->document.fileName(), "5_1234567890_09.plat");
    EXPECT_TRUE(engine->document.isSaved());
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(numbers(), (QStringList{"3", "5", "7"}));

    // A changed saved order is offered before the next one opens by a double click.
    list->show();
    onScreen.amount = "99-00";
    onScreen.purpose =
        "Оплата"; // the order files of these tests have none, and need one to be saved
    lines.clear();
    whenModal(answering("Yes", lines), [&] { doubleClickRow(2); });
    EXPECT_EQ(lines, (QStringList{"Платежное поручение № 5 было изменено.",
                                  "Сохранить изменения в платежном поручении № 5 ?"}));
    EXPECT_EQ(dir.read("PP/5_1234567890_09.plat").mid(823, 6), QByteArray("\x05"
                                                                          "99-00"));
    EXPECT_EQ(onScreen.number, "7");

    // An unchanged saved order opens the next one without a question.
    list->show();
    EXPECT_EQ(whenModal(pressing("No"), [&] { doubleClickRow(0); }), QString());
    EXPECT_EQ(onScreen.number, "3");
}

TEST_F(OrderListWindow, DeletingMiddleLastAndOnlyRows) {
    const QByteArray second = order("2", "20-00");
    order("1", "10-00");
    order("3", "30-00");
    start();
    EXPECT_EQ(deleteRow(1, "No"), "№ 2 от 03.02.2009");
    EXPECT_EQ(engine->archive.orderCount(), 3);
    EXPECT_TRUE(dir.exists("PP/2_1234567890_09.plat"));

    // A middle row: the row stays current and now shows the next order.
    deleteRow(1);
    EXPECT_FALSE(dir.exists("PP/2_1234567890_09.plat"));
    EXPECT_EQ(dir.read("PPDel/2_1234567890_09.pdel"), second);
    EXPECT_EQ(numbers(), (QStringList{"1", "3"}));
    EXPECT_EQ(grid()->currentDataRow(), 1);
    EXPECT_EQ(grid()->currentIndex().column(), 1); // the column the user clicked in
    EXPECT_EQ(list->panelText(0), "2");
    EXPECT_EQ(list->panelText(3), "30"); // the sum of the row selected now

    // The last row: the new last row becomes current.
    deleteRow(1);
    EXPECT_EQ(numbers(), QStringList{"1"});
    EXPECT_EQ(grid()->currentDataRow(), 0);

    // The only row: an empty grid.
    deleteRow(0);
    EXPECT_EQ(numbers(), QStringList(4, QString()));
    EXPECT_EQ(engine->archive.rowCount(), 0);
    EXPECT_EQ(list->panelText(0), "0");
    EXPECT_EQ(list->panelText(3), "");
    EXPECT_FALSE(listButton("Del")->isEnabled());
    EXPECT_FALSE(listButton("Open")->isEnabled());
    EXPECT_EQ(QDir(dir.file("PP")).entryList(QDir::Files), QStringList());
    EXPECT_TRUE(engine->archive.orders().payers().empty());
}

// The older deleted order of the same name was replaced; it stays now, beside the new one.
TEST_F(OrderListWindow, DeletedOrderKeepsAnOlderOneOfTheSameName) {
    const QByteArray current = order("15", "100-00");
    const QByteArray older = platFile({"15", PayerA, "01.01.2009", Payee, "1"});
    dir.write("PPDel/15_1234567890_09.pdel", older);
    start();
    deleteRow(0);
    EXPECT_FALSE(dir.exists("PP/15_1234567890_09.plat"));
    EXPECT_EQ(dir.read("PPDel/15_1234567890_09.pdel"), older);
    EXPECT_EQ(dir.read("PPDel/15_1234567890_09(1).pdel"), current);
}

TEST_F(OrderListWindow, FailedMoveKeepsTheOrderListedAndSaysWhy) {
    const QByteArray current = order("15", "100-00");
    start();
    // The folder of deleted orders gave way to a file.
    ASSERT_TRUE(QDir(dir.file("PPDel")).removeRecursively());
    dir.write("PPDel", "not a folder");
    clickRow(0);
    const QStringList seen =
        whenModals({pressing("Yes"), pressing("OK")}, [&] { listButton("Del")->click(); });
    ASSERT_EQ(seen.size(), 2);
    EXPECT_TRUE(seen[1].endsWith("Платежка не удалена.")) << seen[1].toStdString();
    EXPECT_EQ(engine->archive.orderCount(), 1);
    EXPECT_EQ(numbers(), QStringList{"15"});
    EXPECT_EQ(dir.read("PP/15_1234567890_09.plat"), current);
    EXPECT_EQ(dir.read("PPDel"), "not a folder");
}

TEST_F(OrderListWindow, OrderWhoseFileHasGoneIsNotDeletedAndTheDialogStays) {
    order("1", "10-00");
    start();
    QFile::remove(dir.file("PP/1_1234567890_09.plat"));
    clickRow(0);
    bool stayed = false;
    whenModal(
        [&](QWidget* w) {
            clickButton(w, "Yes");
            stayed = w->isVisible();
            clickButton(w, "No");
        },
        [&] { listButton("Del")->click(); });
    EXPECT_TRUE(stayed);
    EXPECT_EQ(engine->archive.orderCount(), 1);
    EXPECT_EQ(numbers(), QStringList{"1"});
}

TEST_F(OrderListWindow, ToTheBankSendsTheWholeListOrTheSelectedRowsIntoTheFolderChosenLast) {
    // Orders with the payer's account, as the editor saves them; order 3's amount is malformed.
    for (const auto& [number, amount] : {std::pair{"1", "100-00"}, {"2", "50-50"}, {"3", "1,5"}}) {
        storage::OrderRecord p;
        storage::clearRecord(p);
        p.number = number;
        p.payerInn = PayerA;
        p.date = "03.02.2009";
        p.amount = amount;
        p.payerAccount = "40702810900000000001";
        dir.write(QStringLiteral("PP/%1_%2_09.plat").arg(number, PayerA), storage::recordBytes(p));
    }
    start();
    QToolButton* toBank = listButton("В банк");
    ASSERT_TRUE(toBank);
    EXPECT_EQ(toBank->toolTip(), "Выгрузить платежки для клиент-банка");
    EXPECT_EQ(toBank->accessibleName(), "В банк");
    QDir(dir.path()).mkpath("bank");
    QString proposed, answer = dir.file("bank/1c_to_kl.txt");
    list->setSaveFileChooser([&](QWidget*, const QString& defaultPath) {
        proposed = defaultPath;
        return answer;
    });
    auto documents = [&](const QString& file) {
        return dir.read(file).count(cp("КонецДокумента"));
    };

    // One row selected: the whole list goes, but the malformed order.
    clickRow(0);
    EXPECT_EQ(whenModal(pressing("OK"), [&] { toBank->click(); }),
              QStringLiteral("В файл %1 записаны 2 платежки.\n\nНе записаны:\n"
                             "3_1234567890_09.plat: сумма «1,5» записана неверно")
                  .arg(QDir::toNativeSeparators(answer)));
    EXPECT_EQ(proposed, QDir(QDir::homePath()).filePath("1c_to_kl.txt"));
    EXPECT_EQ(documents("bank/1c_to_kl.txt"), 2);
    // The folder is kept in "Set" behind the settings of earlier installations.
    const QByteArray kept = cp(QDir(dir.file("bank")).absolutePath().toUtf8().constData());
    EXPECT_EQ(dir.read("Set").mid(256, kept.size() + 1), char(kept.size()) + kept);
    EXPECT_EQ(dir.read("Set").left(256), QByteArray(256, '\0'));

    // Two rows selected: just these, and the dialog proposes the folder chosen last.
    answer = dir.file("second.txt");
    clickRow(0);
    clickRow(1, Qt::ShiftModifier);
    EXPECT_EQ(
        whenModal(pressing("OK"), [&] { toBank->click(); }),
        QStringLiteral("В файл %1 записаны 2 платежки.").arg(QDir::toNativeSeparators(answer)));
    EXPECT_EQ(proposed, dir.file("bank/1c_to_kl.txt"));
    EXPECT_EQ(documents("second.txt"), 2);
}

// A sum over many rows with the keyboard only, a screen reader reading a row and the sum, and
// Delete and Enter on the current row.
TEST_F(OrderListWindow, KeyboardOnlySumDeleteAndOpenAndARowReadAloud) {
    order("1", "100-00");
    order("2", "50-50");
    order("3", "7.25");
    start();
    QTest::keyClick(grid(), Qt::Key_Home);
    QTest::keyClick(grid(), Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(list->panelText(3), "157,75");
    auto* sum = list->findChild<QLabel*>("sumPanel");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(sum)->text(QAccessible::Name),
              "Выделение или сумма: 157,75");
    // The other panels: the number of orders listed, and two that always stay empty.
    const std::pair<const char*, const char*> panels[] = {{"countPanel", "Число платежек: 3"},
                                                          {"firstEmptyPanel", "Пустая панель"},
                                                          {"secondEmptyPanel", "Пустая панель"}};
    for (auto [name, heard] : panels)
        EXPECT_EQ(QAccessible::queryAccessibleInterface(list->findChild<QLabel*>(name))
                      ->text(QAccessible::Name),
                  heard)
            << name;

    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(grid());
    EXPECT_EQ(table->text(QAccessible::Name), "Платежки");
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(table->tableInterface()->cellAt(1, c)->text(QAccessible::Name), cell(1, c)) << c;

    QTest::keyClick(grid(), Qt::Key_Up);
    EXPECT_EQ(whenModal(pressing("No"), [&] { QTest::keyClick(grid(), Qt::Key_Delete); }),
              "Удалить платежку");
    EXPECT_EQ(engine->archive.orderCount(), 3);
    QTest::keyClick(grid(), Qt::Key_Return);
    EXPECT_EQ(onScreen.number, "2");
}
