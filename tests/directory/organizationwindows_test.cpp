// The directory's windows one at a time on the engine over a prepared directory: the
// organization list, the lists of an organization's branches and employees (their entry dialog
// stood in for) and the entry dialogs.
#include "orgdata.h"
#include "orglistdriver.h"

#include "ed807gen.h"

#include "directory/branchdialog.h"
#include "directory/branches.h"
#include "directory/branchlistdialog.h"
#include "directory/employeedialog.h"
#include "directory/employeelistdialog.h"
#include "directory/employees.h"
#include "directory/organizationlistdialog.h"
#include "editor/listgrid.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <optional>

using namespace directory;
using orgdata::Answer;
using orgdata::no;
using orgdata::questionTexts;
using orgdata::yes;
using testing_support::clickButton;
using testing_support::pressing;
using testing_support::typeText;
using testing_support::uni;
using testing_support::whenModal;
using testing_support::whenModals;

namespace {

// The organization list alone, shown.
struct Windows : orgdata::Directory, orgdata::ListDriver {
    std::unique_ptr<OrganizationListDialog> window;

    void create() {
        ASSERT_TRUE(engine().archive.scan().ok);
        window = std::make_unique<OrganizationListDialog>(directory(), engine().folder,
                                                          engine().settings, engine().archive);
        organizationList = window.get();
        organizationList->show();
    }
};

// The list of one organization's branches or employees alone. Its entry dialog is stood in for:
// what it was shown is noted, and it gives back answer of the texts (unchanged unless told).
template <class List, class Texts> struct RecordList : orgdata::Directory, orgdata::ListDriver {
    std::unique_ptr<List> window;
    QStringList captions;
    Texts shown{};
    std::function<std::optional<Texts>(const Texts&)> answer = [](const Texts& t) { return t; };

    // Shows the list for an organization.
    List* create(int organization) {
        window = std::make_unique<List>(directory(), engine().settings);
        window->setEntryEditor([this](const QString& caption, const Texts& t) {
            captions << caption;
            shown = t;
            return answer(t);
        });
        window->setOrganization(organization);
        window->show();
        return window.get();
    }
};

// What a screen reader reads of a list window's grid: its name, then the cells of row.
QStringList readRow(QWidget* window, int row) {
    auto* grid = window->findChild<editor::ListGrid*>();
    QAccessibleInterface* t = QAccessible::queryAccessibleInterface(grid);
    QStringList cells{t->text(QAccessible::Name)};
    for (int c = 0; c < t->tableInterface()->columnCount(); ++c)
        cells << t->tableInterface()->cellAt(row, c)->text(QAccessible::Name);
    return cells;
}

} // namespace

TEST(FirmList, DeletionAsksAboutOrdersBranchesAndEmployeesThenDeletesAll) {
    Windows w;
    w.firm("ООО Ромашка", "7701");
    w.firm("ООО Лютик", "7702", "г. Москва");
    for (const char* n : {"1", "2", "3"})
        w.order(n, "7702", "7701");
    w.filial(1, "Филиал 1");
    w.filial(1, "Филиал 2");
    for (int i = 0; i < 5; ++i)
        w.employee(1, "Петров");
    w.saveAll();
    w.create();

    QStringList seconds;
    const QStringList lines = w.deleteRow(1, {yes, yes, yes, [&](QWidget* d) {
                                                  seconds << questionTexts(d).value(1);
                                                  clickButton(d, "Yes");
                                              }});
    EXPECT_EQ(lines,
              (QStringList{"Найдены 3 платежки в которых  есть удаляемая организация.",
                           "В удаляемой организации есть 2 филиала.", "Список сотрудников = 5."}));
    EXPECT_EQ(seconds, QStringList{"Будет удалена организация и список сотрудников."});
    EXPECT_EQ(w.store->directory.organizationCount, 1);
    EXPECT_EQ(w.store->directory.branchCount, 0);
    EXPECT_EQ(w.store->directory.employeeCount, 0);
    EXPECT_EQ(w.rows(w.organizationList)->rowCount(), 1);
    // Written: the organization is in the deleted file, its branches and employees gone.
    const auto loaded = w.reload();
    EXPECT_EQ(loaded->directory.organizationCount, 1);
    EXPECT_EQ(uni(loaded->directory.deleted[0].name), QStringLiteral("ООО Лютик"));
    EXPECT_EQ(loaded->directory.branchCount, 0);
    EXPECT_EQ(loaded->directory.employeeCount, 0);
}

TEST(FirmList, NoAtAnyQuestionLeavesMemoryAndFilesUntouched) {
    for (int yesCount = 0; yesCount <= 3; ++yesCount) {
        Windows w;
        w.firm("ООО Ромашка", "7701");
        w.firm("ООО Лютик", "7702");
        w.order("1", "7701", "7702");
        w.filial(1, "Филиал");
        w.employee(1, "Петров");
        w.link(1, 0);
        w.saveAll();
        w.create();
        const QByteArray memory = w.memory(), files = w.files();

        std::vector<Answer> answers(std::size_t(yesCount), yes);
        answers.push_back(no);
        w.deleteRow(1, answers);
        EXPECT_EQ(w.memory(), memory) << yesCount;
        EXPECT_EQ(w.files(), files) << yesCount;
        EXPECT_EQ(w.rows(w.organizationList)->rowCount(), 2) << yesCount;
        EXPECT_EQ(w.organizationList->current(), 1) << yesCount;
    }
}

TEST(FirmList, NewAndRestoreStopAt254Organizations) {
    struct Row {
        int firms;
        bool newAfterDeletion;
    } rows[] = {{254, true}, {255, false}, {256, false}};
    for (const Row& r : rows) {
        Windows w;
        for (int i = 0; i < r.firms; ++i)
            w.firm("Организация", std::to_string(i).c_str());
        w.saveAll();
        w.create();
        EXPECT_FALSE(w.enabled(w.organizationList, "New")) << r.firms;
        w.deleteRow(0, {yes});
        EXPECT_EQ(w.store->directory.organizationCount, r.firms - 1);
        EXPECT_EQ(w.enabled(w.organizationList, "New"), r.newAfterDeletion) << r.firms;
        w.button(w.organizationList, "Deleted")->click();
        EXPECT_EQ(w.enabled(w.organizationList, "Restore"), r.newAfterDeletion) << r.firms;
        w.button(w.organizationList, "Restore")->click(); // does nothing while disabled
        EXPECT_EQ(w.store->directory.organizationCount, r.newAfterDeletion ? r.firms : r.firms - 1)
            << r.firms;
        if (r.newAfterDeletion) {
            EXPECT_FALSE(w.enabled(w.organizationList, "Restore"));
            w.button(w.organizationList, "Deleted")->click();
            EXPECT_FALSE(w.enabled(w.organizationList, "New"));
        }
    }
}

TEST(FirmList, DeletedViewShowsNamesInRedOldestFirstAndRestoreAppends) {
    Windows w;
    for (const char* n : {"Альфа", "Бета", "Гамма", "Дельта"})
        w.firm(n, n);
    w.filial(1, "Филиал Беты");
    w.employee(1, "Петров");
    w.saveAll();
    w.create();
    w.deleteRow(2, {yes});           // Гамма
    w.deleteRow(1, {yes, yes, yes}); // Бета, with its branch and employee

    w.button(w.organizationList, "Deleted")->click();
    EXPECT_EQ(w.organizationList->windowTitle(), QStringLiteral("Удаленные организации"));
    EXPECT_EQ(w.organizationList->listMode(), OrganizationListDialog::ListDeleted);
    EXPECT_EQ(w.organizationList->statusText(), QString());
    ASSERT_EQ(w.rows(w.organizationList)->rowCount(), 2);
    EXPECT_EQ(w.cell(w.organizationList, 0, 0), QStringLiteral("Гамма"));
    EXPECT_EQ(w.cell(w.organizationList, 1, 0), QStringLiteral("Бета"));
    EXPECT_EQ(w.cell(w.organizationList, 1, 2), QString());
    for (const char* b : {"New", "Edit", "Del", "Филиал", "Сотр."})
        EXPECT_FALSE(w.enabled(w.organizationList, b)) << b;
    // The names are drawn in red.
    const QImage shot =
        w.organizationList->findChild<editor::ListGrid*>()->viewport()->grab().toImage();
    int red = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            red += c.red() > 150 && c.green() < 80 && c.blue() < 80;
        }
    EXPECT_GT(red, 20);

    w.clickRow(w.organizationList, 1);
    clickButton(w.organizationList, "Restore");
    EXPECT_EQ(w.store->directory.organizationCount, 3);
    EXPECT_EQ(w.name(2), QStringLiteral("Бета"));
    EXPECT_TRUE(w.directory().branchesOf(2).empty());
    EXPECT_EQ(w.store->directory.employeeCount, 0);
    EXPECT_EQ(w.rows(w.organizationList)->rowCount(), 1);
    clickButton(w.organizationList, "Restore");
    EXPECT_EQ(w.organizationList->listMode(), OrganizationListDialog::ListEmpty);
    EXPECT_FALSE(w.enabled(w.organizationList, "Restore"));

    w.button(w.organizationList, "Deleted")->click();
    EXPECT_EQ(w.organizationList->windowTitle(), QStringLiteral("Организации"));
    EXPECT_EQ(w.rows(w.organizationList)->rowCount(), 4);
    EXPECT_EQ(w.cell(w.organizationList, 3, 0), QStringLiteral("Гамма"));
    EXPECT_EQ(w.organizationList->current(), 3);
    EXPECT_EQ(w.organizationList->statusText(), QStringLiteral("Гамма"));
    const auto loaded = w.reload();
    EXPECT_EQ(loaded->directory.organizationCount, 4);
    EXPECT_EQ(loaded->directory.deletedCount, 0);
}

TEST(FirmList, AFailedDeletionIsReportedAndChangesNothing) {
    Windows w;
    w.firm("ООО Ромашка", "7701");
    w.firm("ООО Лютик", "7702");
    w.saveAll();
    w.create();
    const QByteArray memory = w.memory();
    // FirmsDel cannot be replaced: a folder stands in its place.
    ASSERT_TRUE(QFile::remove(w.dir.file("Data/FirmsDel")));
    ASSERT_TRUE(QDir().mkdir(w.dir.file("Data/FirmsDel")));
    QString message;
    w.clickRow(w.organizationList, 0);
    whenModals({yes,
                [&](QWidget* box) {
                    message = static_cast<QMessageBox*>(box)->text();
                    clickButton(box, "OK");
                }},
               [&] { clickButton(w.organizationList, "Del"); });
    EXPECT_TRUE(message.contains("FirmsDel")) << message.toStdString();
    EXPECT_TRUE(message.endsWith(QStringLiteral("Организация не удалена.")))
        << message.toStdString();
    EXPECT_EQ(w.memory(), memory);
    EXPECT_EQ(w.rows(w.organizationList)->rowCount(), 2);
    EXPECT_EQ(w.cell(w.organizationList, 0, 0), QStringLiteral("ООО Ромашка"));
}

TEST(FirmList, BikMenuSaysWhichDirectoryIsImportedAndImportsAnother) {
    Windows w;
    w.firm("ООО Ромашка", "7701");
    w.saveAll();
    w.create();
    const QString file = w.dir.file("20260115_ED807_full.xml");
    w.dir.write("20260115_ED807_full.xml",
                datagen::ed807Message(datagen::ed807Banks(5), QDate(2026, 1, 15)));
    QMenu* menu = w.button(w.organizationList, "БИК")->menu();
    ASSERT_TRUE(menu);
    const auto shown = [menu] {
        emit menu->aboutToShow();
        return menu->actions().at(0)->text();
    };
    EXPECT_EQ(shown(), "Справочник БИК не загружен");
    EXPECT_EQ(whenModals({testing_support::choosingFile(file), pressing("OK")},
                         [&] { menu->actions().at(1)->trigger(); }),
              (QStringList{"Справочник БИК Банка России",
                           "Загружен справочник БИК от 15.01.2026 (записей: 5)."}));
    EXPECT_EQ(shown(), "Справочник БИК от 15.01.2026 (записей: 5)");
    w.dir.write("Data/Bik", "damaged");
    EXPECT_TRUE(shown().contains("поврежден")) << shown().toStdString();
}

// The organization list is read aloud row by row under its name; Enter opens the current
// organization and Delete asks to delete it.
TEST(FirmList, KeysAndScreenReadersInTheOrganizationList) {
    Windows w;
    w.firm("ООО Ромашка", "7701", "Москва");
    w.create();
    EXPECT_EQ(readRow(w.organizationList, 0).mid(0, 2),
              (QStringList{"Организации", "ООО Ромашка"}));
    auto* grid = w.organizationList->findChild<editor::ListGrid*>();
    QSignalSpy opened(w.organizationList, &OrganizationListDialog::viewRequested);
    QTest::keyClick(grid, Qt::Key_Return);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0][0].toInt(), 0);
    EXPECT_EQ(whenModal(no, [&] { QTest::keyClick(grid, Qt::Key_Delete); }),
              QStringLiteral("Удалить организацию"));
    EXPECT_EQ(w.store->directory.organizationCount, 1);
}

// --- branches -------------------------------------------------------------------------------

TEST(Branches, LimitEmptyAddressAndUnchangedEdits) {
    RecordList<BranchListDialog, BranchTexts> w;
    w.firm("Общество с ограниченной ответственностью \"Ромашка\"", "7701");
    w.firm("ООО Лютик", "7702");
    w.filial(0, "первый");
    QWidget* f = w.create(0); // nothing written yet: every write shows
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Филиалы - ООО \"Ромашка\""));
    EXPECT_EQ(readRow(f, 0).mid(0, 2), (QStringList{"Филиалы", "первый"}));
    // Unchanged edit: the dialog shows the branch and nothing is written.
    clickButton(f, "Edit");
    EXPECT_EQ(w.captions, QStringList{"Редактирование"});
    EXPECT_EQ(w.shown[0], QStringLiteral("первый"));
    EXPECT_FALSE(w.dir.exists("Data/Filial"));

    // A new branch, as the dialog gives it back (with the address it requires).
    w.answer = [](const BranchTexts&) { return BranchTexts{"второй", "123", ""}; };
    clickButton(f, "Add");
    EXPECT_EQ(w.captions.value(1), QStringLiteral("Новый филиал для - ООО \"Ромашка\""));
    EXPECT_EQ(w.store->directory.branchCount, 2);
    EXPECT_EQ(w.window->currentRow(), 1);
    EXPECT_EQ(w.dir.size("Data/Filial"), storage::FilialFileSize);
    f->close();

    // With 256 branches in all, another organization cannot add one.
    while (w.store->directory.branchCount < storage::MaxFilials)
        w.filial(0, "ещё");
    w.window->setOrganization(1);
    f->show();
    EXPECT_EQ(whenModal(pressing("OK"), [&] { clickButton(f, "Add"); }),
              QStringLiteral("Может быть сохранено только 256 филиалов для всех организаций."));
    EXPECT_EQ(w.store->directory.branchCount, storage::MaxFilials);
    EXPECT_FALSE(w.enabled(f, "Edit"));
    EXPECT_FALSE(f->findChild<QCheckBox*>("showBranchCheck")->isEnabled());
    EXPECT_EQ(w.rows(f)->rowCount(), 4);
    f->close();
}

// --- employees ------------------------------------------------------------------------------

TEST(Employees, SurnameRequiredUnchangedEditsAndTheFullTable) {
    RecordList<EmployeeListDialog, EmployeeTexts> w;
    w.firm("ООО Ромашка", "7701");
    w.firm("ООО Лютик", "7702");
    w.employee(1, "Петров");
    QWidget* e = w.create(0);
    EXPECT_EQ(e->windowTitle(), QStringLiteral("Сотрудники - ООО Ромашка"));
    EXPECT_FALSE(w.enabled(e, "Edit"));
    // A new employee, as the dialog gives it back (with the surname it requires).
    w.answer = [](const EmployeeTexts&) {
        EmployeeTexts t;
        t[0] = QStringLiteral("Бухгалтер");
        t[1] = QStringLiteral("Иванова");
        t[6] = QStringLiteral("12345678");
        return t;
    };
    clickButton(e, "Add");
    EXPECT_EQ(w.captions, QStringList{"Новый сотрудник"});
    ASSERT_EQ(w.store->directory.employeeCount, 2);
    EXPECT_EQ(w.store->directory.employees[1].organizationNo, 0);
    EXPECT_EQ(w.store->directory.employees[1].innerPhone.view(), "12345678");
    EXPECT_EQ(w.cell(e, 0, 0), QStringLiteral("Бухгалтер"));
    const QByteArray written = w.dir.read("Data/Employee");
    EXPECT_EQ(written.size(), storage::EmployeeFileSize);

    QFile::remove(w.dir.file("Data/Employee"));
    w.answer = [](const EmployeeTexts& t) { return t; };
    clickButton(e, "Edit");
    EXPECT_FALSE(w.dir.exists("Data/Employee")); // nothing changed, nothing written
    e->close();

    // The full table: "Add" is disabled for every organization until one is deleted.
    while (w.store->directory.employeeCount < storage::MaxEmployees)
        w.employee(1, "Сидоров");
    for (int firmNo : {0, 1}) {
        w.window->setOrganization(firmNo);
        e->show();
        EXPECT_FALSE(w.enabled(e, "Add")) << firmNo;
        e->close();
    }
    e->show();
    // Read aloud row by row under its name; a window without a kept size shows every column,
    // or as many as the screen (800 pixels wide here) allows.
    EXPECT_EQ(readRow(e, 0).mid(0, 3), (QStringList{"Сотрудники", "", "Петров"}));
    auto* employees = e->findChild<editor::ListGrid*>();
    EXPECT_TRUE(employees->viewport()->width() >= employees->horizontalHeader()->length() ||
                e->width() == e->screen()->availableGeometry().width())
        << e->width();
    EXPECT_GT(e->width(), 700);
    w.clickRow(e, 3);
    EXPECT_EQ(w.window->currentRow(), 3);
    EXPECT_EQ(whenModal(pressing("YES"), [&] { clickButton(e, "Del"); }),
              QStringLiteral("Удаление"));
    EXPECT_EQ(w.store->directory.employeeCount, storage::MaxEmployees - 1);
    EXPECT_EQ(w.window->currentRow(), 0);
    EXPECT_TRUE(w.enabled(e, "Add"));
    EXPECT_TRUE(w.dir.exists("Data/Employee"));
    e->close();
}

// --- entry dialogs --------------------------------------------------------------------------

// A hint at a box never takes the click meant for another control: after typing past the
// limit of the surname, no window lies over any part of the next box, a click there (delivered
// to whatever the screen shows at that point) moves to it, and what is typed next lands in it.
TEST(Employees, HintAtAFullBoxLetsTheClickOnTheNextBoxThrough) {
    EmployeeDialog dialog;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.activateWindow();
    auto* surname = dialog.findChild<QLineEdit*>("surnameEdit");
    auto* firstName = dialog.findChild<QLineEdit*>("firstNameEdit");
    surname->setFocus();
    typeText(surname, QStringLiteral("Константинопольский"));
    EXPECT_EQ(surname->text(), QStringLiteral("Константинопольс"));
    const QRect box = firstName->rect();
    for (int x = 1; x < 5; ++x)
        for (int y = 1; y < 4; ++y) {
            const QPoint at =
                firstName->mapToGlobal(QPoint(box.width() * x / 5, box.height() * y / 4));
            EXPECT_EQ(QApplication::widgetAt(at), firstName) << x << ' ' << y;
        }
    const QPoint at = firstName->mapToGlobal(QPoint(box.width() / 2, box.height() * 3 / 4));
    QWidget* hit = QApplication::widgetAt(at);
    ASSERT_TRUE(hit);
    QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFromGlobal(at));
    typeText(QApplication::focusWidget(), QStringLiteral("Александра"));
    EXPECT_EQ(firstName->text(), QStringLiteral("Александра"));
    EXPECT_EQ(surname->text(), QStringLiteral("Константинопольс"));
}

// The entry dialogs refuse "Yes" while the box they require is empty, saying which, give back
// no more than a box holds, and name their boxes by their labels.
TEST(EntryDialogs, RequiredBoxCapacityAndTheNamesOfTheBoxes) {
    auto name = [](QWidget* dialog, const char* box) {
        return QAccessible::queryAccessibleInterface(dialog->findChild<QLineEdit*>(box))
            ->text(QAccessible::Name);
    };
    BranchDialog branch;
    std::optional<BranchTexts> typedBranch;
    QStringList seen =
        whenModals({[](QWidget* d) {
                        EXPECT_EQ(d->windowTitle(), QStringLiteral("Новый филиал"));
                        typeText(d->findChild<QLineEdit*>("phoneEdit"), QStringLiteral("123"));
                        clickButton(d, "Yes"); // refused: the message is answered in between
                        EXPECT_TRUE(d->isVisible());
                        typeText(d->findChild<QLineEdit*>("addressEdit"), QStringLiteral("второй"));
                        clickButton(d, "Yes");
                    },
                    pressing("OK")},
                   [&] { typedBranch = branch.edit(QStringLiteral("Новый филиал"), {}); });
    EXPECT_EQ(seen.value(1), QStringLiteral("Введите \"Адрес\""));
    ASSERT_TRUE(typedBranch);
    EXPECT_EQ((*typedBranch)[0], QStringLiteral("второй"));
    EXPECT_EQ((*typedBranch)[1], QStringLiteral("123"));
    EXPECT_EQ(name(&branch, "addressEdit"), "Адрес");

    EmployeeDialog employee;
    std::optional<EmployeeTexts> typedEmployee;
    seen = whenModals(
        {[](QWidget* d) {
             typeText(d->findChild<QLineEdit*>("positionEdit"), QStringLiteral("Бухгалтер"));
             clickButton(d, "Yes"); // refused: the message is answered in between
             EXPECT_TRUE(d->isVisible());
             typeText(d->findChild<QLineEdit*>("surnameEdit"), QStringLiteral("Иванова"));
             typeText(d->findChild<QLineEdit*>("innerPhoneEdit"), QStringLiteral("1234567890"));
             clickButton(d, "Yes");
         },
         pressing("OK")},
        [&] { typedEmployee = employee.edit(QStringLiteral("Новый сотрудник"), {}); });
    EXPECT_EQ(seen.value(1), QStringLiteral("Введите фамилию сотрудника"));
    ASSERT_TRUE(typedEmployee);
    EXPECT_EQ((*typedEmployee)[0], QStringLiteral("Бухгалтер"));
    EXPECT_EQ((*typedEmployee)[1], QStringLiteral("Иванова"));
    EXPECT_EQ((*typedEmployee)[6], QStringLiteral("12345678"));
    EXPECT_EQ(name(&employee, "surnameEdit"), "Фамилия");
}
