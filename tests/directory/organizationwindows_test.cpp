#include "orgdata.h"

#include "ed807gen.h"

#include "app/windows.h"
#include "directory/branchdialog.h"
#include "directory/branches.h"
#include "directory/branchlistdialog.h"
#include "directory/employeedialog.h"
#include "directory/employeelistdialog.h"
#include "directory/organizationdetailsdialog.h"
#include "directory/organizationlistdialog.h"
#include "editor/listgrid.h"
#include "editor/mainwindow.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QToolButton>

using namespace directory;
using testing_support::clickButton;
using testing_support::pressing;
using testing_support::typeText;
using testing_support::uni;
using testing_support::whenModal;
using testing_support::whenModals;

namespace {

using Answer = std::function<void(QWidget*)>;

// The plain lines of a question, top to bottom (without the panel that names what goes).
QStringList questionTexts(QWidget* question) {
    QStringList texts;
    for (const QLabel* l : question->findChildren<QLabel*>("questionText"))
        texts << l->text();
    return texts;
}

// The windows of the program, created as the program creates them over a prepared directory.
struct Windows : orgdata::Directory {
    std::unique_ptr<app::AllWindows> windows;
    editor::MainWindow* mainWindow = nullptr;
    OrganizationListDialog* organizationList = nullptr;
    BranchListDialog* branchList = nullptr;
    EmployeeListDialog* employeeList = nullptr;
    template <class T> T* window() const { return mainWindow->findChild<T*>(); }

    void create() {
        windows = app::createWindows(*store);
        mainWindow = windows->mainWindow.get();
        organizationList = window<OrganizationListDialog>();
        branchList = window<BranchListDialog>();
        employeeList = window<EmployeeListDialog>();
        organizationList->show();
    }

    QToolButton* button(QWidget* w, const char* text) {
        for (QToolButton* b : w->findChildren<QToolButton*>())
            if (b->text() == QString::fromUtf8(text))
                return b;
        ADD_FAILURE() << "no button " << text;
        return nullptr;
    }
    bool enabled(QWidget* w, const char* text) { return button(w, text)->isEnabled(); }

    editor::ListGridModel* rows(QWidget* w) {
        return w->findChild<editor::ListGrid*>()->gridModel();
    }
    QString cell(QWidget* w, int row, int column) { return rows(w)->cellText(row, column); }
    void clickRow(QWidget* w, int row, int column = 0) {
        auto* grid = w->findChild<editor::ListGrid*>();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(row, column)).center());
    }

    // Clicks "Del" of the organization list with row selected and answers the dialogs in
    // turn; returns the first line of each further question.
    QStringList deleteRow(int row, const std::vector<Answer>& answers) {
        clickRow(organizationList, row);
        QStringList lines;
        std::vector<Answer> recording;
        for (const Answer& a : answers)
            recording.push_back([a, &lines](QWidget* w) {
                if (const QStringList texts = questionTexts(w); texts.size() > 1)
                    lines << texts.front();
                a(w);
            });
        whenModals(recording, [&] { clickButton(organizationList, "Del"); });
        return lines;
    }

    QComboBox* picker(int n) {
        return mainWindow->findChild<QComboBox*>(n == 1 ? "payerCombo" : "payeeCombo");
    }
};

const Answer yes = pressing("Yes");
const Answer no = pressing("No");

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

TEST(FirmList, DeletingTheLastOrganizationLeavesAnEmptyGrid) {
    Windows w;
    w.firm("ООО Ромашка", "7701");
    w.saveAll();
    w.create();
    w.mainWindow->setPickerPositions(0, 0);
    w.deleteRow(0, {yes});
    EXPECT_EQ(w.organizationList->listMode(), OrganizationListDialog::ListEmpty);
    EXPECT_EQ(w.rows(w.organizationList)->rowCount(), 4); // and the title row
    EXPECT_EQ(w.cell(w.organizationList, 0, 0), QString());
    for (const char* b : {"Edit", "Del", "Филиал", "Сотр."})
        EXPECT_FALSE(w.enabled(w.organizationList, b)) << b;
    EXPECT_TRUE(w.enabled(w.organizationList, "New"));
    EXPECT_EQ(w.picker(1)->count(), 0);
    EXPECT_EQ(w.picker(2)->count(), 0);
    EXPECT_EQ(w.dir.read("Data/Firms").left(1), QByteArray(1, '\0'));
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
    EXPECT_TRUE(w.windows->engine.directory.branchesOf(2).empty());
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

TEST(FirmList, DeletingRow2Of5KeepsTheLaterOrganizationsBranchesAndEmployees) {
    Windows w;
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

TEST(FirmList, NewEditAndViewGoThroughTheDetailsWindow) {
    Windows w;
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
    EXPECT_EQ(w.window<OrganizationDetailsDialog>()->editMode(), EditMode::View);
    EXPECT_EQ(w.organizationList->current(), 0);
    EXPECT_EQ(w.files(), files);
}

TEST(FirmList, ASavedOrderOnScreenKeepsItsPickers) {
    Windows w;
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

TEST(FirmList, ALinkMadeFromTheDetailsWindowIsWrittenEvenWhenTheDetailsAreNotStored) {
    Windows w;
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

// --- branches -------------------------------------------------------------------------------

TEST(Branches, LinkingAndDeletingTheLinkedBranch) {
    Windows w;
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

TEST(Branches, DeletingABranchBeforeAnotherOrganizationsLinkedBranchKeepsThatLink) {
    Windows w;
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

TEST(Branches, LimitEmptyAddressAndUnchangedEdits) {
    Windows w;
    w.firm("Общество с ограниченной ответственностью \"Ромашка\"", "7701");
    w.firm("ООО Лютик", "7702");
    w.filial(0, "первый");
    w.create(); // nothing written yet: every write shows
    QWidget* f = w.branchList;

    w.branchList->setOrganization(0);

    w.employeeList->setOrganization(0);
    f->show();
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Филиалы - ООО \"Ромашка\""));
    // Unchanged edit: the dialog shows the branch and nothing is written.
    whenModal(
        [](QWidget* d) {
            EXPECT_EQ(d->windowTitle(), QStringLiteral("Редактирование"));
            EXPECT_EQ(d->findChild<QLineEdit*>("addressEdit")->text(), QStringLiteral("первый"));
            clickButton(d, "Yes");
        },
        [&] { clickButton(f, "Edit"); });
    EXPECT_FALSE(w.dir.exists("Data/Filial"));

    // A new branch needs an address.
    const QStringList seen = whenModals(
        {[](QWidget* d) {
             EXPECT_EQ(d->windowTitle(), QStringLiteral("Новый филиал для - ООО \"Ромашка\""));
             typeText(d->findChild<QLineEdit*>("phoneEdit"), QStringLiteral("123"));
             clickButton(d, "Yes"); // refused: the message is answered in between
             EXPECT_TRUE(d->isVisible());
             typeText(d->findChild<QLineEdit*>("addressEdit"), QStringLiteral("второй"));
             clickButton(d, "Yes");
         },
         pressing("OK")},
        [&] { clickButton(f, "Add"); });
    EXPECT_EQ(seen.value(1), QStringLiteral("Введите \"Адрес\""));
    EXPECT_EQ(w.store->directory.branchCount, 2);
    EXPECT_EQ(w.branchList->currentRow(), 1);
    EXPECT_EQ(w.dir.size("Data/Filial"), storage::FilialFileSize);
    f->close();

    // With 256 branches in all, another organization cannot add one.
    while (w.store->directory.branchCount < storage::MaxFilials)
        w.filial(0, "ещё");
    w.branchList->setOrganization(1);
    w.employeeList->setOrganization(1);
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
    Windows w;
    w.firm("ООО Ромашка", "7701");
    w.firm("ООО Лютик", "7702");
    w.employee(1, "Петров");
    w.create();
    QWidget* e = w.employeeList;

    w.branchList->setOrganization(0);

    w.employeeList->setOrganization(0);
    e->show();
    EXPECT_EQ(e->windowTitle(), QStringLiteral("Сотрудники - ООО Ромашка"));
    EXPECT_FALSE(w.enabled(e, "Edit"));
    const QStringList seen = whenModals(
        {[](QWidget* d) {
             EXPECT_EQ(d->windowTitle(), QStringLiteral("Новый сотрудник"));
             typeText(d->findChild<QLineEdit*>("positionEdit"), QStringLiteral("Бухгалтер"));
             clickButton(d, "Yes"); // refused: the message is answered in between
             EXPECT_TRUE(d->isVisible());
             typeText(d->findChild<QLineEdit*>("surnameEdit"), QStringLiteral("Иванова"));
             typeText(d->findChild<QLineEdit*>("innerPhoneEdit"), QStringLiteral("1234567890"));
             clickButton(d, "Yes");
         },
         pressing("OK")},
        [&] { clickButton(e, "Add"); });
    EXPECT_EQ(seen.value(1), QStringLiteral("Введите фамилию сотрудника"));
    ASSERT_EQ(w.store->directory.employeeCount, 2);
    EXPECT_EQ(w.store->directory.employees[1].organizationNo, 0);
    EXPECT_EQ(w.store->directory.employees[1].innerPhone.view(), "12345678");
    EXPECT_EQ(w.cell(e, 0, 0), QStringLiteral("Бухгалтер"));
    const QByteArray written = w.dir.read("Data/Employee");
    EXPECT_EQ(written.size(), storage::EmployeeFileSize);

    QFile::remove(w.dir.file("Data/Employee"));
    whenModal(pressing("Yes"), [&] { clickButton(e, "Edit"); });
    EXPECT_FALSE(w.dir.exists("Data/Employee")); // nothing changed, nothing written
    e->close();

    // The full table: "Add" is disabled for every organization until one is deleted.
    while (w.store->directory.employeeCount < storage::MaxEmployees)
        w.employee(1, "Сидоров");
    for (int firmNo : {0, 1}) {
        w.branchList->setOrganization(firmNo);
        w.employeeList->setOrganization(firmNo);
        e->show();
        EXPECT_FALSE(w.enabled(e, "Add")) << firmNo;
        e->close();
    }
    e->show();
    w.clickRow(e, 3);
    EXPECT_EQ(w.employeeList->currentRow(), 3);
    EXPECT_EQ(whenModal(pressing("YES"), [&] { clickButton(e, "Del"); }),
              QStringLiteral("Удаление"));
    EXPECT_EQ(w.store->directory.employeeCount, storage::MaxEmployees - 1);
    EXPECT_EQ(w.employeeList->currentRow(), 0);
    EXPECT_TRUE(w.enabled(e, "Add"));
    EXPECT_TRUE(w.dir.exists("Data/Employee"));
    e->close();
}

// Each directory list is read aloud row by row under its name; Enter opens the current
// organization and Delete asks to delete it; the dialogs' boxes are named by their labels; a
// list window without a kept size shows every column.
TEST(FirmList, KeysAndScreenReadersInTheDirectoryLists) {
    Windows w;
    w.firm("ООО Ромашка", "7701", "Москва");
    w.filial(0, "Тверь");
    w.employee(0, "Петров");
    w.create();
    auto readRow = [](QWidget* window, int row) {
        auto* grid = window->findChild<editor::ListGrid*>();
        QAccessibleInterface* t = QAccessible::queryAccessibleInterface(grid);
        QStringList cells{t->text(QAccessible::Name)};
        for (int c = 0; c < t->tableInterface()->columnCount(); ++c)
            cells << t->tableInterface()->cellAt(row, c)->text(QAccessible::Name);
        return cells;
    };
    EXPECT_EQ(readRow(w.organizationList, 0).mid(0, 2),
              (QStringList{"Организации", "ООО Ромашка"}));
    auto* grid = w.organizationList->findChild<editor::ListGrid*>();
    EXPECT_EQ(
        whenModal([](QWidget* d) { d->close(); }, [&] { QTest::keyClick(grid, Qt::Key_Return); }),
        w.window<OrganizationDetailsDialog>()->windowTitle());
    EXPECT_EQ(whenModal(no, [&] { QTest::keyClick(grid, Qt::Key_Delete); }),
              QStringLiteral("Удалить организацию"));
    EXPECT_EQ(w.store->directory.organizationCount, 1);

    w.branchList->setOrganization(0);

    w.employeeList->setOrganization(0);
    w.branchList->show();
    EXPECT_EQ(readRow(w.branchList, 0).mid(0, 2), (QStringList{"Филиалы", "Тверь"}));
    w.employeeList->show();
    EXPECT_EQ(readRow(w.employeeList, 0).mid(0, 3), (QStringList{"Сотрудники", "", "Петров"}));
    auto* employees = w.employeeList->findChild<editor::ListGrid*>();
    // Every column, or as many as the screen (800 pixels wide here) allows.
    EXPECT_TRUE(employees->viewport()->width() >= employees->horizontalHeader()->length() ||
                w.employeeList->width() == w.employeeList->screen()->availableGeometry().width())
        << w.employeeList->width();
    EXPECT_GT(w.employeeList->width(), 700);

    auto name = [](QWidget* dialog, const char* box) {
        return QAccessible::queryAccessibleInterface(dialog->findChild<QLineEdit*>(box))
            ->text(QAccessible::Name);
    };
    EXPECT_EQ(name(w.window<BranchDialog>(), "addressEdit"), "Адрес");
    EXPECT_EQ(name(w.window<EmployeeDialog>(), "surnameEdit"), "Фамилия");
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
