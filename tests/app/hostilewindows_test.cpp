// Every window of the program, created as the program creates them, on a program folder
// filled to every limit: 254 organizations and 256 deleted ones with every text at full
// capacity, 256 branches and 1024 employees (all of one organization), 1024 saved orders. Each
// window opens, draws and scrolls its grids to the end without a warning from Qt.
#include "support/support.h"

#include "app/windows.h"
#include "archive/orderlistdialog.h"
#include "datagen.h"
#include "directory/branches.h"
#include "directory/organizationdetailsdialog.h"
#include "directory/organizationlist.h"
#include "directory/organizationlistdialog.h"
#include "editor/listgrid.h"
#include "editor/mainwindow.h"
#include "editor/questiondialog.h"
#include "editor/uiutil.h"
#include "storage/datafiles.h"
#include "storage/folderdata.h"
#include "storage/settings.h"
#include "storage/startup.h"

#include <QApplication>
#include <QDialog>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

using testing_support::TempDir;

namespace {

// Qt's warnings while a test runs, but for the offscreen platform's note that it cannot do
// what a window system does.
QStringList* warnings = nullptr;

void collect(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type != QtDebugMsg && type != QtInfoMsg && warnings &&
        !text.startsWith("This plugin does not support"))
        *warnings << text;
}

class HostileWindows : public ::testing::Test {
protected:
    void SetUp() override {
        datagen::Options o;
        o.firms = 254;
        o.deletedFirms = 256;
        o.filials = 256;
        o.employees = 1024;
        o.orders = 1024;
        const storage::IoResult made = datagen::fillProgramFolder(dir.path(), o);
        ASSERT_TRUE(made.ok) << made.error.toStdString();
        // All branches and employees belong to the first organization, so that its windows
        // list all of them.
        auto s = std::make_unique<storage::FolderData>();
        ASSERT_EQ(storage::startUp(*s, dir.path()), QStringList());
        for (storage::BranchRecord& b : s->directory.branches)
            b.organizationNo = 0;
        for (storage::EmployeeRecord& e : s->directory.employees)
            e.organizationNo = 0;
        ASSERT_TRUE(storage::saveBranchesFile(s->folder, s->directory).ok &&
                    storage::saveEmployeesFile(s->folder, s->directory).ok);
        previous = qInstallMessageHandler(collect);
        warnings = &seen;
    }
    void TearDown() override {
        warnings = nullptr;
        qInstallMessageHandler(previous);
    }

    // Starts storage, creates the windows and shows the main window.
    void start() {
        store = std::make_unique<storage::FolderData>();
        ASSERT_EQ(storage::startUp(*store, dir.path()), QStringList());
        windows = app::createWindows(*store);
        ASSERT_EQ(windows->mainWindow->creationMessages(), QStringList());
        windows->mainWindow->show();
        ASSERT_EQ(windows->engine.archive.orderCount(), 1024);
    }

    // Shows a window, draws it, scrolls each of its grids to the last row and column and
    // draws it again. Returns the window's size as drawn.
    QSize exercise(QWidget* w) {
        w->show();
        QApplication::processEvents();
        const QImage first = w->grab().toImage();
        EXPECT_FALSE(first.isNull()) << w->objectName().toStdString();
        for (editor::ListGrid* grid : w->findChildren<editor::ListGrid*>()) {
            const int rows = grid->gridModel()->rowCount();
            const int columns = grid->gridModel()->columnCount();
            grid->setCurrentIndex(grid->gridModel()->index(rows - 1, columns - 1));
            grid->scrollToBottom();
            grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());
            QApplication::processEvents();
            EXPECT_FALSE(grid->grab().toImage().isNull());
            grid->scrollToTop();
        }
        const QSize size = w->size();
        EXPECT_FALSE(w->grab().toImage().isNull());
        return size;
    }

    // The dialogs the main window owns, in their order of creation.
    QList<QDialog*> dialogs() const {
        return windows->mainWindow->findChildren<QDialog*>(QString(), Qt::FindDirectChildrenOnly);
    }

    TempDir dir;
    std::unique_ptr<storage::FolderData> store;
    std::unique_ptr<app::AllWindows> windows;
    QStringList seen;
    QtMessageHandler previous = nullptr;
};

} // namespace

TEST_F(HostileWindows, FullDataSetOpensDrawsAndScrollsEveryWindow) {
    start();
    ASSERT_EQ(store->directory.organizationCount, 254);
    ASSERT_EQ(store->directory.deletedCount, 256);
    ASSERT_EQ(store->directory.branchCount, 256);
    ASSERT_EQ(store->directory.employeeCount, 1024);

    // The last saved order opened from the list, and the editor's preview of it.
    auto* list = windows->mainWindow->findChild<archive::OrderListDialog*>();
    ASSERT_TRUE(list);
    exercise(list);
    list->grid()->setCurrentDataRow(1023);
    list->findChild<QToolButton*>("openButton")->click(); // Open
    auto* pages = windows->mainWindow->findChild<QTabWidget*>("pages");
    ASSERT_TRUE(pages);
    exercise(windows->mainWindow.get());
    pages->setCurrentIndex(1);
    exercise(windows->mainWindow.get());
    pages->setCurrentIndex(0);

    // The organization list in both views, and every other window with the first
    // organization current (its 256 branches and 1024 employees).
    auto* firms = windows->mainWindow->findChild<directory::OrganizationListDialog*>();
    ASSERT_TRUE(firms);
    exercise(firms);
    auto* deleted = firms->findChild<QToolButton*>("deletedButton");
    deleted->click();
    EXPECT_EQ(firms->grid()->gridModel()->dataRows(), 256);
    exercise(firms);
    deleted->click();
    firms->hide();
    windows->mainWindow->findChild<directory::OrganizationDetailsDialog*>()->setSubject(
        {directory::EditMode::View, store->directory.organizations[0], 0, 0, {}});
    const QList<QDialog*> all = dialogs();
    EXPECT_GE(all.size(), 12);
    for (QDialog* d : all) {
        exercise(d);
        d->hide();
    }
    // The questions that name an organization of the longest name stay within the screen.
    const QString name = editor::toUi(store->directory.organizations[0].name);
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    for (const editor::Question& q :
         {directory::deleteOrganizationQuestion(name),
          directory::furtherDeletionQuestion({"line 1", "line 2"}, name),
          directory::deleteBranchQuestion(name)}) {
        editor::QuestionDialog question(q, windows->mainWindow.get());
        EXPECT_LE(exercise(&question).width(), screen.width())
            << q.lines.front().text.toStdString();
    }
    EXPECT_EQ(seen.join(u'\n').toStdString(), "");
}

// A window-size file of the largest sizes (a damaged or foreign file) made every window
// 65535 pixels square: far beyond any screen, and a drawing of it needs gigabytes.
TEST_F(HostileWindows, LargestSizesInTheWindowSizeFileKeepWindowsOnTheScreen) {
    dir.write("FormW", QByteArray(1024, '\xff'));
    dir.write("ArCol", QByteArray(512, '\xff'));
    start();
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    EXPECT_LE(exercise(windows->mainWindow.get()).width(), screen.width());
    for (QDialog* d : dialogs()) {
        const QSize size = exercise(d);
        EXPECT_LE(size.width(), screen.width()) << d->objectName().toStdString();
        EXPECT_LE(size.height(), screen.height()) << d->objectName().toStdString();
        d->hide();
    }
    EXPECT_EQ(seen.join(u'\n').toStdString(), "");
}
