// The windows as the program creates and connects them, where what one window does shows in
// another: the list of saved orders with the editor, its filter and its trash; the
// organization list with the details window, the branches, the employees and the editor's
// pickers. The tests of one window alone are with that window's tests.
#include "archive/orderfolder.h"
#include "directory/orgdata.h"
#include "directory/orglistdriver.h"
#include "support/support.h"

#include "app/windows.h"
#include "archive/orderfilterdialog.h"
#include "archive/orderlistdialog.h"
#include "directory/organizationdetailsdialog.h"
#include "directory/organizationlistdialog.h"
#include "editor/mainwindow.h"
#include "editor/orderlogic.h"
#include "storage/folderdata.h"
#include "storage/startup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace orderfolder;
using orgdata::yes;
using testing_support::clickButton;
using testing_support::cp;
using testing_support::platFile;
using testing_support::pressing;
using testing_support::TempDir;
using testing_support::typeText;
using testing_support::uni;
using testing_support::whenModal;
using testing_support::whenModals;

namespace {

// The windows of the program over the folder of the list's tests, the list shown.
class ListAndEditor : public ::testing::Test, protected OrderFolder, protected ListDriver {
protected:
    void start() {
        windows = app::createWindows(*store);
        mainWindow = windows->mainWindow.get();
        list = mainWindow->findChild<archive::OrderListDialog*>();
        filter = mainWindow->findChild<archive::OrderFilterDialog*>();
        list->show();
    }
    QToolButton* button(QWidget* w, const char* name) {
        auto* b = w->findChild<QToolButton*>(name);
        EXPECT_TRUE(b) << name;
        return b;
    }
    // The editor's fields of a complete new order of payer A.
    void typeNewOrder(const char* number) { mainWindow->showFields(completeOrder(number, 0, 2)); }

    std::unique_ptr<app::AllWindows> windows;
    editor::MainWindow* mainWindow = nullptr;
    archive::OrderFilterDialog* filter = nullptr;
};

} // namespace

// With one organization in the directory, a saved order whose payee has left the directory is
// opened and then deleted from the list while it is on screen. The pickers, which held only
// the order's two parties, kept the deleted payee (one entry, as many as the directory has),
// and choosing it made the payee the directory's organization. They now hold the directory.
TEST(AppWindows, DeletingTheOrderOnScreenGivesThePickersTheDirectoryBack) {
    TempDir dir;
    std::array<storage::OrganizationRecord, storage::MaxFirms> firms{};
    storage::clearRecord(firms);
    firms[0].name = "Payer";
    firms[0].inn = "1234567890";
    QDir(dir.path()).mkpath("Data");
    QDir(dir.path()).mkpath("PP");
    dir.write("Data/Firms", storage::recordBytes(firms));
    storage::OrderRecord gone;
    storage::recordFromBytes(gone, testing_support::platFile({"5", "1234567890", "03.02.2009",
                                                              "7701000001", "1-00", 0, "Оплата"})
                                       .constData());
    gone.payerName = "Payer";
    gone.payeeName = "Gone";
    dir.write("PP/5_1234567890_09.plat", storage::recordBytes(gone));
    auto store = std::make_unique<storage::FolderData>();
    storage::startUp(*store, dir.path());
    const std::unique_ptr<app::AllWindows> windows = app::createWindows(*store);
    editor::MainWindow* main = windows->mainWindow.get();
    main->show();
    auto* list = main->findChild<archive::OrderListDialog*>();
    list->show();
    list->findChild<QToolButton*>("openButton")->click();
    auto* payee = main->findChild<QComboBox*>("payeeCombo");
    ASSERT_EQ(payee->itemText(0), "Gone");
    ASSERT_EQ(payee->count(), 1);

    list->show();
    whenModal(pressing("Yes"), [&] { list->findChild<QToolButton*>("deleteButton")->click(); });
    ASSERT_FALSE(dir.exists("PP/5_1234567890_09.plat"));
    EXPECT_FALSE(windows->engine.document.isSaved());
    for (const char* name : {"payerCombo", "payeeCombo"}) {
        auto* picker = main->findChild<QComboBox*>(name);
        EXPECT_EQ(picker->count(), 1) << name;
        EXPECT_EQ(picker->itemText(0), "Payer") << name;
        EXPECT_EQ(picker->currentIndex(), -1) << name;
    }
    // What is chosen is what the form shows.
    testing_support::chooseRow(payee, 0);
    const render::OrderInput shown =
        editor::orderInputFor(windows->engine.document, main->fields());
    EXPECT_EQ(shown.payee.firm.name.view(), "Payer");
}

TEST_F(ListAndEditor, EditorListButtonShowsTheList) {
    order("1", "100-00");
    start();
    list->hide();
    EXPECT_EQ(whenModal([](QWidget* w) { w->close(); },
                        [&] { button(mainWindow, "listButton")->click(); }),
              "Платежки");
}

// A date that is not in the calendar is refused when typed, but a file that holds one (written
// before that rule, or by another program) is listed, opened and printed as it is.
TEST_F(ListAndEditor, StoredDateNotInTheCalendarListsOpensAndPrintsAsItIs) {
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

TEST_F(ListAndEditor, DeletingTheOrderOnScreenEmptiesTheEditor) {
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

TEST_F(ListAndEditor, FilterByOnePayerAndBoxesTickedAgainAfterADeletion) {
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
    EXPECT_EQ(filter->choice().mode, archive::FilterPayer);
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
    EXPECT_EQ(filter->choice().mode, archive::FilterNone);
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

TEST_F(ListAndEditor, ClosingTheEditorOffersToSaveTheNewOrder) {
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
TEST_F(ListAndEditor, ClosingWhenTheChangedOrderCannotBeSavedKeepsTheWindowOpen) {
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

TEST_F(ListAndEditor, StatementMarksTheDebitedOrderPaidAndLocksItOnScreen) {
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

TEST_F(ListAndEditor, SearchAsTypedSortByATitleAndRestoreFromTheTrash) {
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

// --- the directory's windows and the editor ---------------------------------------------------

namespace {

// The windows of the program over a prepared directory, the organization list shown.
struct ProgramWindows : orgdata::Directory, orgdata::ListDriver {
    std::unique_ptr<app::AllWindows> windows;
    editor::MainWindow* mainWindow = nullptr;
    template <class T> T* window() const { return mainWindow->findChild<T*>(); }

    void create() {
        windows = app::createWindows(*store);
        mainWindow = windows->mainWindow.get();
        organizationList = window<directory::OrganizationListDialog>();
        organizationList->show();
    }
    QComboBox* picker(int n) {
        return mainWindow->findChild<QComboBox*>(n == 1 ? "payerCombo" : "payeeCombo");
    }
};

} // namespace

TEST(OrganizationWindows, DeletingTheLastOrganizationLeavesAnEmptyGrid) {
    ProgramWindows w;
    w.firm("ООО Ромашка", "7701");
    w.saveAll();
    w.create();
    w.mainWindow->setPickerPositions(0, 0);
    w.deleteRow(0, {yes});
    EXPECT_EQ(w.organizationList->listMode(), directory::OrganizationListDialog::ListEmpty);
    EXPECT_EQ(w.rows(w.organizationList)->rowCount(), 4); // and the title row
    EXPECT_EQ(w.cell(w.organizationList, 0, 0), QString());
    for (const char* b : {"Edit", "Del", "Филиал", "Сотр."})
        EXPECT_FALSE(w.enabled(w.organizationList, b)) << b;
    EXPECT_TRUE(w.enabled(w.organizationList, "New"));
    EXPECT_EQ(w.picker(1)->count(), 0);
    EXPECT_EQ(w.picker(2)->count(), 0);
    EXPECT_EQ(w.dir.read("Data/Firms").left(1), QByteArray(1, '\0'));
}

TEST(OrganizationWindows, DeletingRow2Of5KeepsTheLaterOrganizationsBranchesAndEmployees) {
    ProgramWindows w;
    for (const char* n : {"A", "B", "C", "D", "E"})
        w.firm(n, n, (std::string("адрес ") + n).c_str());
    w.filial(3, "D1");
    w.filial(1, "B1");
    w.filial(3, "D2");
    w.employee(3, "Дятлов");
    w.employee(1, "Бобров");
    w.employee(4, "Ежов");
    w.link(3, 2);
    w.saveAll();
    w.create();
    w.mainWindow->setPickerPositions(3, 1);

    w.deleteRow(1, {yes, yes, yes});
    EXPECT_EQ(w.cell(w.organizationList, 2, 0), QStringLiteral("D"));
    EXPECT_EQ(w.cell(w.organizationList, 2, 2), QStringLiteral("D2")); // still its linked branch
    EXPECT_EQ(w.organizationList->current(), 1);
    // The payer stays on D; the payee was the deleted organization: no choice.
    EXPECT_EQ(w.picker(1)->currentText(), QStringLiteral("D"));
    EXPECT_EQ(w.picker(2)->currentIndex(), -1);

    w.clickRow(w.organizationList, 2);
    QStringList branches;
    whenModal(
        [&](QWidget* f) {
            for (int r = 0; r < 2; ++r)
                branches << w.cell(f, r, 0);
            EXPECT_TRUE(f->findChild<QCheckBox*>("showBranchCheck")->isChecked() == false);
            clickButton(f, "Close");
        },
        [&] { clickButton(w.organizationList, "Филиал"); });
    EXPECT_EQ(branches, (QStringList{"D1", "D2"}));
    QString employee;
    whenModal(
        [&](QWidget* e) {
            employee = w.cell(e, 0, 1);
            EXPECT_EQ(w.rows(e)->rowCount(), 1);
            clickButton(e, "Close");
        },
        [&] { clickButton(w.organizationList, "Сотр."); });
    EXPECT_EQ(employee, QStringLiteral("Дятлов"));
}

TEST(OrganizationWindows, NewEditAndViewGoThroughTheDetailsWindow) {
    ProgramWindows w;
    w.firm("ООО Ромашка", "7701");
    w.saveAll();
    w.create();
    w.mainWindow->setPickerPositions(0, 0);

    whenModal(
        [](QWidget* d) {
            EXPECT_EQ(d->windowTitle(), QStringLiteral("Новая организация"));
            auto* name = d->findChild<QLineEdit*>("nameEdit");
            typeText(name, QStringLiteral("ООО Лютик"));
            typeText(d->findChild<QLineEdit*>("legalAddressEdit"), QString(90, u'ю'));
            typeText(d->findChild<QLineEdit*>("innEdit"), QStringLiteral("7702"));
            clickButton(d, "OK");
        },
        [&] { clickButton(w.organizationList, "New"); });
    EXPECT_EQ(w.store->directory.organizationCount, 2);
    EXPECT_EQ(w.organizationList->current(), 1);
    EXPECT_EQ(w.cell(w.organizationList, 1, 2), QString(90, u'ю'));
    EXPECT_EQ(w.rows(w.organizationList)
                  ->data(w.rows(w.organizationList)->index(1, 2), Qt::DisplayRole)
                  .toString(),
              QString(80, u'ю'));
    EXPECT_EQ(w.picker(1)->count(), 2);
    EXPECT_EQ(w.picker(1)->currentIndex(), -1);
    EXPECT_EQ(w.dir.read("Data/Firms").mid(1984, 9), testing_support::cp("ООО Лютик"));

    // The status panel shows the whole text of the clicked cell.
    w.clickRow(w.organizationList, 1, 2);
    EXPECT_EQ(w.organizationList->statusText(), QString(90, u'ю'));

    w.mainWindow->setPickerPositions(1, 0);
    whenModal(
        [](QWidget* d) {
            EXPECT_EQ(d->windowTitle(), QStringLiteral("Редактирование"));
            auto* name = d->findChild<QLineEdit*>("nameEdit");
            name->clear();
            typeText(name, QStringLiteral("ООО Лютик-2"));
            clickButton(d, "OK");
        },
        [&] { clickButton(w.organizationList, "Edit"); });
    EXPECT_EQ(w.picker(1)->currentText(), QStringLiteral("ООО Лютик-2"));
    EXPECT_EQ(w.picker(2)->currentIndex(), 0);
    EXPECT_EQ(w.dir.read("Data/Firms").mid(1984, 11), testing_support::cp("ООО Лютик-2"));

    // Double click views: read-only, nothing stored.
    const QByteArray files = w.files();
    auto* grid = w.organizationList->findChild<editor::ListGrid*>();
    whenModal(
        [](QWidget* d) {
            EXPECT_TRUE(d->findChild<QLineEdit*>("nameEdit")->isReadOnly());
            clickButton(d, "OK");
        },
        [&] {
            // A double click is a click followed by the double-click event.
            const QPoint at = grid->visualRect(grid->model()->index(0, 0)).center();
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
        });
    EXPECT_EQ(w.window<directory::OrganizationDetailsDialog>()->editMode(),
              directory::EditMode::View);
    EXPECT_EQ(w.organizationList->current(), 0);
    EXPECT_EQ(w.files(), files);
}

TEST(OrganizationWindows, ASavedOrderOnScreenKeepsItsPickers) {
    ProgramWindows w;
    w.firm("ООО Ромашка", "7701");
    w.firm("ООО Лютик", "7702");
    w.order("1", "5000", "6000"); // of organizations that have left the directory
    w.saveAll();
    w.create();
    ASSERT_TRUE(w.windows->engine.document.open("1_5000_09.plat"));
    ASSERT_EQ(w.picker(1)->count(), 1);
    const QString payer = w.picker(1)->itemText(0);
    w.deleteRow(0, {yes});
    EXPECT_EQ(w.picker(1)->count(), 1);
    EXPECT_EQ(w.picker(1)->itemText(0), payer);
}

TEST(OrganizationWindows, ALinkMadeFromTheDetailsWindowIsWrittenEvenWhenTheDetailsAreNotStored) {
    ProgramWindows w;
    w.firm("ООО Ромашка", "7701", "свой адрес");
    w.filial(0, "филиал");
    w.saveAll();
    w.create();
    whenModal(
        [&](QWidget* details) {
            whenModal(
                [](QWidget* f) {
                    f->findChild<QCheckBox*>("showBranchCheck")->click();
                    clickButton(f, "Close");
                },
                [&] { clickButton(details, "Филиал"); });
            clickButton(details, "No");
        },
        [&] { clickButton(w.organizationList, "Edit"); });
    EXPECT_EQ(w.cell(w.organizationList, 0, 2), QStringLiteral("филиал"));
    const auto loaded = w.reload();
    EXPECT_TRUE(loaded->directory.organizations[0].usesBranch());
}

TEST(OrganizationWindows, LinkingAndDeletingTheLinkedBranch) {
    ProgramWindows w;
    w.firm("ООО Ромашка", "7701", "свой адрес");
    w.filial(0, "первый");
    w.filial(0, "второй");
    w.saveAll();
    w.create();

    whenModal(
        [&](QWidget* f) {
            EXPECT_EQ(f->windowTitle(), QStringLiteral("Филиалы - ООО Ромашка"));
            auto* show = f->findChild<QCheckBox*>("showBranchCheck");
            EXPECT_FALSE(show->isChecked());
            w.clickRow(f, 1);
            show->click();
            w.clickRow(f, 0);
            EXPECT_FALSE(show->isChecked());
            w.clickRow(f, 1);
            EXPECT_TRUE(show->isChecked());
            clickButton(f, "Close");
        },
        [&] { clickButton(w.organizationList, "Филиал"); });
    EXPECT_EQ(w.cell(w.organizationList, 0, 2), QStringLiteral("второй"));
    const auto loaded = w.reload();
    EXPECT_TRUE(loaded->directory.organizations[0].usesBranch());
    EXPECT_EQ(loaded->directory.organizations[0].branchNo, 1);

    whenModal(
        [&](QWidget* f) {
            w.clickRow(f, 1);
            whenModal(pressing("YES"), [&] { clickButton(f, "Del"); });
            EXPECT_EQ(w.rows(f)->rowCount(), 1);
            EXPECT_FALSE(f->findChild<QCheckBox*>("showBranchCheck")->isChecked());
            clickButton(f, "Close");
        },
        [&] { clickButton(w.organizationList, "Филиал"); });
    EXPECT_FALSE(w.store->directory.organizations[0].usesBranch());
    EXPECT_EQ(w.cell(w.organizationList, 0, 2), QStringLiteral("свой адрес"));
    EXPECT_FALSE(w.reload()->directory.organizations[0].usesBranch());
}

TEST(OrganizationWindows, DeletingABranchBeforeAnotherOrganizationsLinkedBranchKeepsThatLink) {
    ProgramWindows w;
    w.firm("ООО Ромашка", "7701");
    w.firm("ООО Лютик", "7702");
    w.filial(0, "ромашковый");
    w.filial(1, "лютиковый");
    w.link(1, 1);
    w.saveAll();
    w.create();

    w.clickRow(w.organizationList, 0);
    whenModal(
        [&](QWidget* f) {
            whenModal(pressing("YES"), [&] { clickButton(f, "Del"); });
            clickButton(f, "Close");
        },
        [&] { clickButton(w.organizationList, "Филиал"); });
    EXPECT_EQ(w.cell(w.organizationList, 1, 2), QStringLiteral("лютиковый"));
    // Written with the branch table, so that both files agree at the next start.
    const auto loaded = w.reload();
    EXPECT_EQ(uni(loaded->directory.branches[loaded->directory.organizations[1].branchNo].address),
              QStringLiteral("лютиковый"));
}
