// The list of saved orders with its filter and deletion dialogs and the editor, as real
// windows on a temporary program folder, driven with the mouse.
#include "neworder.h"
#include "support/support.h"

#include "app/windows.h"
#include "archive/orderfilterdialog.h"
#include "archive/orderlistdialog.h"
#include "editor/listgrid.h"
#include "editor/mainwindow.h"
#include "storage/folderdata.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace archive;
using testing_support::clickButton;
using testing_support::cp;
using testing_support::platFile;
using testing_support::pressing;
using testing_support::TempDir;
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

const char* const PayerA = "1234567890";
const char* const PayerB = "2345678901";
const char* const Payee = "7701000001";

class ArchiveWindows : public ::testing::Test {
protected:
    void SetUp() override {
        store = std::make_unique<storage::FolderData>();
        store->folder.setProgramDir(dir.path());
        for (const char* folder : {"PP", "PPDel", "Data"})
            QDir(dir.path()).mkpath(folder);
        const int widths[] = {40, 80, 120, 120, 80, 90};
        for (int c = 0; c < 6; ++c)
            store->settings.columnWidths[std::size_t(8 + c)] = std::uint16_t(widths[c]);
        addFirm("ООО Альфа", PayerA);
        addFirm("ООО Бета", PayerB);
        addFirm("ООО Гамма", Payee);
    }

    void addFirm(const char* name, const char* inn) {
        storage::OrganizationRecord& f =
            store->directory.organizations[std::size_t(store->directory.organizationCount++)];
        f.name.assign(testing_support::cps(name));
        f.inn = inn;
    }

    QByteArray order(const char* number, const char* amount, const char* payer = PayerA,
                     const char* date = "03.02.2009") {
        const QByteArray bytes = platFile({number, payer, date, Payee, amount});
        dir.write(QStringLiteral("PP/%1_%2_09.plat").arg(number, payer), bytes);
        return bytes;
    }

    // Creates the windows in their program order (the editor scans the saved orders) and
    // shows the list.
    void start() {
        windows = app::createWindows(*store);
        mainWindow = windows->mainWindow.get();
        list = mainWindow->findChild<OrderListDialog*>();
        filter = mainWindow->findChild<OrderFilterDialog*>();
        list->show();
    }

    QToolButton* button(QWidget* w, const char* name) {
        auto* b = w->findChild<QToolButton*>(name);
        EXPECT_TRUE(b) << name;
        return b;
    }
    QToolButton* listButton(const char* text) {
        for (QToolButton* b : list->findChildren<QToolButton*>())
            if (b->text() == text)
                return b;
        ADD_FAILURE() << text;
        return nullptr;
    }
    editor::ListGrid* grid() { return list->grid(); }
    QPoint cellCentre(int row) {
        return grid()->visualRect(grid()->gridModel()->index(row, 1)).center();
    }
    void clickRow(int row, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, modifiers, cellCentre(row));
    }
    // A double click as the system delivers it: a click, then the second press.
    void doubleClickRow(int row) {
        clickRow(row);
        QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, cellCentre(row));
    }
    QString cell(int row, int column) {
        return grid()
            ->gridModel()
            ->data(grid()->gridModel()->index(row, column), Qt::DisplayRole)
            .toString();
    }
    // The numbers the grid shows, top to bottom.
    QStringList numbers() {
        QStringList n;
        for (int r = 0; r < grid()->gridModel()->rowCount(); ++r)
            n << cell(r, 0);
        return n;
    }
    // Deletes the order in the given row, answering the deletion dialog with answer; returns
    // the dialog's panel text.
    QString deleteRow(int row, const QString& answer = QStringLiteral("Yes")) {
        clickRow(row);
        QString panel;
        whenModal(
            [&](QWidget* w) {
                panel = w->findChild<QLabel*>("questionPanel")->text();
                clickButton(w, answer);
            },
            [&] { listButton("Del")->click(); });
        return panel;
    }
    // The editor's fields of a complete new order of payer A.
    void typeNewOrder(const char* number) { mainWindow->showFields(completeOrder(number, 0, 2)); }
    // Answers the question dialog with answer and notes its two lines.
    std::function<void(QWidget*)> answering(const QString& answer, QStringList& lines) {
        return [&lines, answer](QWidget* w) {
            for (const QLabel* panel : w->findChildren<QLabel*>("questionPanel"))
                lines << panel->text();
            clickButton(w, answer);
        };
    }

    TempDir dir;
    std::unique_ptr<storage::FolderData> store;
    std::unique_ptr<app::AllWindows> windows;
    editor::MainWindow* mainWindow = nullptr;
    OrderListDialog* list = nullptr;
    OrderFilterDialog* filter = nullptr;
};

} // namespace

TEST_F(ArchiveWindows, NoSavedOrdersShowTheTitleRowAndFourBlankRows) {
    start();
    EXPECT_EQ(list->windowTitle(), "Платежки");
    auto* m = grid()->gridModel();
    EXPECT_EQ(m->columnCount(), 6);
    EXPECT_EQ(m->headerData(5, Qt::Horizontal, Qt::DisplayRole).toString(), "Состояние");
    EXPECT_EQ(numbers(), QStringList(4, QString()));
    EXPECT_EQ(windows->engine.archive.rowCount(), 0);
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

TEST_F(ArchiveWindows, SumOfTheSelectedRowsGoesToTheClipboard) {
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

TEST_F(ArchiveWindows, EditorListButtonShowsTheList) {
    order("1", "100-00");
    start();
    list->hide();
    EXPECT_EQ(whenModal([](QWidget* w) { w->close(); },
                        [&] { button(mainWindow, "listButton")->click(); }),
              "Платежки");
}

// Saving was refused once 1024 orders were listed ("Может быть сохранено только1024
// платежки."), and the orders beyond them were left out of the list without a word.
TEST_F(ArchiveWindows, SavingThe1025thOrderFromTheQuestionListsIt) {
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
    EXPECT_EQ(windows->engine.archive.orderCount(), 1025);
    EXPECT_EQ(windows->engine.archive.highestNumber(PayerA), 1025u);
    EXPECT_EQ(mainWindow->fields().number, "1"); // the chosen order is opened
}

TEST_F(ArchiveWindows, OpeningAfterSavingANewOrderThatSortsBeforeOpensTheChosenOne) {
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
    EXPECT_EQ(windows->engine.archive.orderCount(), 3);
    EXPECT_EQ(mainWindow->fields().number, "5");
    EXPECT_EQ(windows->engine.document.fileName(), "5_1234567890_09.plat");
    EXPECT_TRUE(windows->engine.document.isSaved());
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(numbers(), (QStringList{"3", "5", "7"}));

    // A changed saved order is offered before the next one opens by a double click.
    list->show();
    editor::OrderFields f = mainWindow->fields();
    f.amount = "99-00";
    f.purpose = "Оплата"; // the order files of these tests have none, and need one to be saved
    mainWindow->showFields(f);
    lines.clear();
    whenModal(answering("Yes", lines), [&] { doubleClickRow(2); });
    EXPECT_EQ(lines, (QStringList{"Платежное поручение № 5 было изменено.",
                                  "Сохранить изменения в платежном поручении № 5 ?"}));
    EXPECT_EQ(dir.read("PP/5_1234567890_09.plat").mid(823, 6), QByteArray("\x05"
                                                                          "99-00"));
    EXPECT_EQ(mainWindow->fields().number, "7");

    // An unchanged saved order opens the next one without a question.
    list->show();
    EXPECT_EQ(whenModal(pressing("No"), [&] { doubleClickRow(0); }), QString());
    EXPECT_EQ(mainWindow->fields().number, "3");
}

// A date that is not in the calendar is refused when typed, but a file that holds one (written
// before that rule, or by another program) is listed, opened and printed as it is.
TEST_F(ArchiveWindows, StoredDateNotInTheCalendarListsOpensAndPrintsAsItIs) {
    storage::OrderRecord stored;
    storage::recordFromBytes(stored,
                             platFile({"4", PayerA, "31.02.2026", Payee, "10-00"}).constData());
    stored.purpose = "Оплата";
    dir.write("PP/4_1234567890_26.plat", storage::recordBytes(stored));
    start();
    EXPECT_EQ(cell(0, 1), "31.02.2026");
    doubleClickRow(0);
    EXPECT_EQ(mainWindow->fields().date, "31.02.2026");
    EXPECT_EQ(whenModal(pressing("OK"),
                        [&] { mainWindow->findChild<QTabWidget*>("pages")->setCurrentIndex(1); }),
              QString());
    EXPECT_TRUE(button(mainWindow, "printButton")->isEnabled());
}

TEST_F(ArchiveWindows, DeletingMiddleLastAndOnlyRows) {
    const QByteArray second = order("2", "20-00");
    order("1", "10-00");
    order("3", "30-00");
    start();
    EXPECT_EQ(deleteRow(1, "No"), "№ 2 от 03.02.2009");
    EXPECT_EQ(windows->engine.archive.orderCount(), 3);
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
    EXPECT_EQ(windows->engine.archive.rowCount(), 0);
    EXPECT_EQ(list->panelText(0), "0");
    EXPECT_EQ(list->panelText(3), "");
    EXPECT_FALSE(listButton("Del")->isEnabled());
    EXPECT_FALSE(listButton("Open")->isEnabled());
    EXPECT_EQ(QDir(dir.file("PP")).entryList(QDir::Files), QStringList());
    EXPECT_TRUE(windows->engine.archive.orders().payers().empty());
}

// The older deleted order of the same name was replaced; it stays now, beside the new one.
TEST_F(ArchiveWindows, DeletedOrderKeepsAnOlderOneOfTheSameName) {
    const QByteArray current = order("15", "100-00");
    const QByteArray older = platFile({"15", PayerA, "01.01.2009", Payee, "1"});
    dir.write("PPDel/15_1234567890_09.pdel", older);
    start();
    deleteRow(0);
    EXPECT_FALSE(dir.exists("PP/15_1234567890_09.plat"));
    EXPECT_EQ(dir.read("PPDel/15_1234567890_09.pdel"), older);
    EXPECT_EQ(dir.read("PPDel/15_1234567890_09(1).pdel"), current);
}

TEST_F(ArchiveWindows, FailedMoveKeepsTheOrderListedAndSaysWhy) {
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
    EXPECT_EQ(windows->engine.archive.orderCount(), 1);
    EXPECT_EQ(numbers(), QStringList{"15"});
    EXPECT_EQ(dir.read("PP/15_1234567890_09.plat"), current);
    EXPECT_EQ(dir.read("PPDel"), "not a folder");
}

TEST_F(ArchiveWindows, DeletingTheOrderOnScreenEmptiesTheEditor) {
    order("1", "10-00");
    order("2", "20-00");
    start();
    clickRow(1);
    listButton("Open")->click();
    ASSERT_TRUE(windows->engine.document.isSaved());
    ASSERT_EQ(mainWindow->fields().number, "2");
    QToolButton* newButton = button(mainWindow, "newButton");
    ASSERT_TRUE(newButton->isEnabled());

    // Another order: the editor keeps the one on screen.
    list->show();
    deleteRow(0);
    EXPECT_TRUE(windows->engine.document.isSaved());
    EXPECT_EQ(mainWindow->fields().number, "2");

    deleteRow(0);
    EXPECT_FALSE(windows->engine.document.isSaved());
    EXPECT_FALSE(newButton->isEnabled());
    const editor::OrderFields f = mainWindow->fields();
    EXPECT_EQ(f.number, "");
    EXPECT_EQ(f.amount, "");
    EXPECT_EQ(f.payer, -1);
    EXPECT_EQ(mainWindow->findChild<QComboBox*>("payerCombo")->count(),
              store->directory.organizationCount);
    EXPECT_FALSE(mainWindow->findChild<QLineEdit*>("numberEdit")->isReadOnly());
}

TEST_F(ArchiveWindows, FilterByOnePayerAndBoxesTickedAgainAfterADeletion) {
    order("1", "10-00", PayerA);
    order("2", "20-00", PayerB);
    order("3", "30-00", PayerA);
    start();
    QToolButton* filterButton = listButton("Filter");
    EXPECT_FALSE(filterButton->isEnabled());

    // Two payers: clearing the payer box selects the first; one payee: its box stays ticked.
    whenModal(
        [&](QWidget* w) {
            EXPECT_EQ(w->windowTitle(), "FormFilter");
            auto* payers = w->findChild<QComboBox*>("payerCombo");
            EXPECT_EQ(payers->count(), 2);
            EXPECT_EQ(payers->itemText(0), "ООО Альфа");
            EXPECT_EQ(payers->currentIndex(), -1);
            EXPECT_FALSE(w->findChild<QComboBox*>("payeeCombo")->isEnabled());
            QTest::mouseClick(w->findChild<QCheckBox*>("allPayeesCheck"), Qt::LeftButton);
            EXPECT_TRUE(w->findChild<QCheckBox*>("allPayeesCheck")->isChecked());
            QTest::mouseClick(w->findChild<QCheckBox*>("allPayersCheck"), Qt::LeftButton);
            EXPECT_FALSE(w->findChild<QCheckBox*>("allPayersCheck")->isChecked());
            EXPECT_EQ(payers->currentIndex(), 0);
            clickButton(w, "OK");
        },
        [&] { listButton("Set Filter")->click(); });
    EXPECT_EQ(filter->choice().mode, FilterPayer);
    EXPECT_TRUE(filterButton->isEnabled());

    QTest::mouseClick(filterButton, Qt::LeftButton);
    EXPECT_TRUE(filterButton->isChecked());
    EXPECT_TRUE(list->filtered());
    EXPECT_EQ(numbers(), (QStringList{"1", "3"}));
    EXPECT_EQ(list->panelText(0), "2");
    for (const char* b : {"Open", "Del", "Set Filter"})
        EXPECT_FALSE(listButton(b)->isEnabled()) << b;
    clickRow(0);
    clickRow(1, Qt::ShiftModifier);
    EXPECT_EQ(list->panelText(3), "40");

    QTest::mouseClick(filterButton, Qt::LeftButton);
    EXPECT_EQ(list->panelText(3), "");
    EXPECT_EQ(numbers(), (QStringList{"1", "2", "3"}));
    for (const char* b : {"Open", "Del", "Set Filter"})
        EXPECT_TRUE(listButton(b)->isEnabled()) << b;

    // After a deletion both boxes are ticked again and no filter is chosen; "Filter" keeps its
    // state and then shows an empty list.
    deleteRow(1);
    EXPECT_TRUE(filter->findChild<QCheckBox*>("allPayersCheck")->isChecked());
    EXPECT_TRUE(filter->findChild<QCheckBox*>("allPayeesCheck")->isChecked());
    EXPECT_EQ(filter->choice().mode, FilterNone);
    EXPECT_EQ(filter->findChild<QComboBox*>("payerCombo")->count(), 1); // payer B has gone
    EXPECT_TRUE(filterButton->isEnabled());
    QTest::mouseClick(filterButton, Qt::LeftButton);
    EXPECT_EQ(windows->engine.archive.rowCount(), 0);
    EXPECT_EQ(numbers(), QStringList(4, QString()));
    EXPECT_EQ(list->panelText(0), "0");

    // The editor saving a new order shows the whole list again, with the filter off.
    list->hide();
    typeNewOrder("9");
    mainWindow->findChild<QTabWidget*>()->setCurrentIndex(1);
    button(mainWindow, "saveButton")->click();
    EXPECT_FALSE(filterButton->isChecked());
    EXPECT_FALSE(list->filtered());
    EXPECT_EQ(numbers(), (QStringList{"1", "3", "9"}));
    EXPECT_TRUE(listButton("Set Filter")->isEnabled());
}

TEST_F(ArchiveWindows, ClosingTheEditorOffersToSaveTheNewOrder) {
    order("5", "10-00");
    start();
    typeNewOrder("6");
    QStringList lines;
    whenModal(answering("Yes", lines), [&] { mainWindow->close(); });
    EXPECT_EQ(lines,
              (QStringList{"Новое платежное поручение.", "Сохранить платежное поручение № 6 ?"}));
    EXPECT_TRUE(dir.exists("PP/6_1234567890_09.plat"));
}

// A changed saved order that cannot be written keeps the editor open with the order on
// screen, and the next close asks again.
TEST_F(ArchiveWindows, ClosingWhenTheChangedOrderCannotBeSavedKeepsTheWindowOpen) {
    const QByteArray old = order("5", "10-00");
    start();
    list->hide();
    mainWindow->show();
    ASSERT_TRUE(windows->engine.document.open(windows->engine.archive.fileNameAt(0)));
    editor::OrderFields f = mainWindow->fields();
    f.amount = "99-00";
    f.purpose = "Оплата";
    mainWindow->showFields(f);
    for (int attempt = 0; attempt < 2; ++attempt) {
        QStringList lines;
        bool closed = true;
        QStringList seen;
        {
            // As on a full disk for an order (1169 bytes), not for the window sizes.
            testing_support::FileSizeLimit full(1100);
            seen = whenModals({answering("Yes", lines), pressing("OK")},
                              [&] { closed = mainWindow->close(); });
        }
        EXPECT_FALSE(closed) << attempt;
        EXPECT_TRUE(mainWindow->isVisible());
        EXPECT_EQ(lines.value(0), "Платежное поручение № 5 было изменено.") << attempt;
        EXPECT_TRUE(seen.value(1).contains("5_1234567890_09.plat")) << seen.join('|').toStdString();
        EXPECT_EQ(mainWindow->fields().amount, "99-00");
        EXPECT_EQ(dir.read("PP/5_1234567890_09.plat"), old);
    }
}

TEST_F(ArchiveWindows, OrderWhoseFileHasGoneIsNotDeletedAndTheDialogStays) {
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
    EXPECT_EQ(windows->engine.archive.orderCount(), 1);
    EXPECT_EQ(numbers(), QStringList{"1"});
}

TEST_F(ArchiveWindows, ToTheBankSendsTheWholeListOrTheSelectedRowsIntoTheFolderChosenLast) {
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
TEST_F(ArchiveWindows, KeyboardOnlySumDeleteAndOpenAndARowReadAloud) {
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
    EXPECT_EQ(windows->engine.archive.orderCount(), 3);
    QTest::keyClick(grid(), Qt::Key_Return);
    EXPECT_EQ(mainWindow->fields().number, "2");
}

TEST_F(ArchiveWindows, StatementMarksTheDebitedOrderPaidAndLocksItOnScreen) {
    const char* const account = "40702810900000000001";
    store->directory.organizations[0].banks[1].account = account;
    for (const char* number : {"1", "2"}) {
        storage::OrderRecord p;
        storage::clearRecord(p);
        p.number = number;
        p.payerInn = PayerA;
        p.date = "03.02.2009";
        p.amount = "10-00";
        p.payerAccount = account;
        dir.write(QStringLiteral("PP/%1_%2_09.plat").arg(number, PayerA), storage::recordBytes(p));
    }
    dir.write("kl_to_1c.txt",
              cp("1CClientBankExchange\r\nВерсияФормата=1.03\r\nКодировка=Windows\r\n"
                 "ДатаНачала=01.02.2009\r\nДатаКонца=28.02.2009\r\n"
                 "РасчСчет=40702810900000000001\r\n"
                 "СекцияДокумент=Платежное поручение\r\nНомер=2\r\nДата=03.02.2009\r\n"
                 "Сумма=10.00\r\nПлательщикСчет=40702810900000000001\r\n"
                 "ДатаСписано=03.02.2009\r\nКонецДокумента\r\nКонецФайла\r\n"));
    start();
    whenModal(pressing("No"), [&] { doubleClickRow(1); }); // order 2 on screen
    list->show();
    QToolButton* statement = listButton("Выписка");
    ASSERT_TRUE(statement);
    EXPECT_EQ(statement->accessibleName(), "Выписка");
    EXPECT_EQ(whenModals({testing_support::choosingFile(dir.file("kl_to_1c.txt")), pressing("OK")},
                         [&] { statement->click(); })
                  .last(),
              "Отмечено оплаченными: 1.\n\nСохранены, но не списаны по выписке:\n"
              "1_1234567890_09.plat: № 1 от 03.02.2009, 10.00");
    EXPECT_EQ(cell(0, 5), "Не оплачено");
    EXPECT_EQ(cell(1, 5), "Оплачено");
    EXPECT_TRUE(mainWindow->findChild<QCheckBox*>("acceptedCheck")->isChecked());
    EXPECT_FALSE(mainWindow->findChild<QLineEdit*>("amountEdit")->isEnabled()); // locked
}

TEST_F(ArchiveWindows, SearchAsTypedSortByATitleAndRestoreFromTheTrash) {
    order("1", "30-00");
    order("2", "10-00", PayerB);
    order("3", "20-00");
    start();
    auto* searchEdit = list->findChild<QLineEdit*>("searchEdit");
    ASSERT_TRUE(searchEdit);
    EXPECT_EQ(searchEdit->accessibleName(), "Поиск");
    testing_support::typeText(searchEdit, "бет");
    EXPECT_EQ(numbers(), QStringList{"2"});
    EXPECT_EQ(list->panelText(0), "1");
    searchEdit->clear();
    EXPECT_EQ(numbers(), (QStringList{"1", "2", "3"}));

    // A click on the title "Сумма" sorts by amount; a second click the other way round. The
    // order that was current stays current.
    clickRow(2);
    QHeaderView* titles = grid()->horizontalHeader();
    const QPoint amountTitle(titles->sectionViewportPosition(4) + 10, titles->height() / 2);
    QTest::mouseClick(titles->viewport(), Qt::LeftButton, {}, amountTitle);
    EXPECT_EQ(numbers(), (QStringList{"2", "3", "1"}));
    EXPECT_EQ(grid()->currentDataRow(), 1);
    QTest::mouseClick(titles->viewport(), Qt::LeftButton, {}, amountTitle);
    EXPECT_EQ(numbers(), (QStringList{"1", "3", "2"}));
    // The title shows by what and which way the list is sorted.
    EXPECT_TRUE(titles->isSortIndicatorShown());
    EXPECT_EQ(titles->sortIndicatorSection(), 4);
    EXPECT_EQ(titles->sortIndicatorOrder(), Qt::DescendingOrder);

    // Deleted, order 3 waits in the trash; restored, it is listed again at once.
    deleteRow(1);
    EXPECT_EQ(numbers(), (QStringList{"1", "2"}));
    const QString seen = whenModal(
        [](QWidget* w) {
            // The time of deletion is shown whole.
            auto* trash = w->findChild<QTableView*>("listGrid");
            const QString when = trash->model()->index(0, 5).data().toString();
            EXPECT_EQ(when.size(), 16);
            EXPECT_GT(trash->columnWidth(5), trash->fontMetrics().horizontalAdvance(when));
            w->findChild<QToolButton*>("restoreButton")->click();
            w->close();
        },
        [&] { listButton("Корзина")->click(); });
    EXPECT_EQ(seen, "Корзина");
    EXPECT_EQ(numbers(), (QStringList{"1", "3", "2"}));
    EXPECT_EQ(list->panelText(0), "3");
    EXPECT_TRUE(dir.exists("PP/3_1234567890_09.plat"));
}
