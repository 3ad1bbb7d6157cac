#include "support/support.h"

#include "core/engine.h"
#include "editor/listgrid.h"
#include "storage/folderdata.h"
#include "storage/settings.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStandardItemModel>
#include <QTest>
#include <gtest/gtest.h>

using namespace editor;
using testing_support::TempDir;

namespace {

// The settings of a program folder.
struct Folder {
    explicit Folder(const TempDir& dir) { store->folder.setProgramDir(dir.path()); }
    std::unique_ptr<storage::FolderData> store = std::make_unique<storage::FolderData>();
    std::unique_ptr<core::Engine> engine;
    core::Settings& settings() {
        if (!engine)
            engine = std::make_unique<core::Engine>(*store);
        return engine->settings;
    }
};

struct Grid {
    TempDir dir;
    Folder folder{dir};
    storage::FolderData* store = folder.store.get();
    QStringList rows;
    CallbackTableModel source{QStringList{"№", "Дата."}, [this] { return int(rows.size()); },
                              [this](int r, int c) { return c == 0 ? rows[r] : rows[r] + "!"; }};
    std::unique_ptr<ListGrid> grid;

    Grid() {
        store->settings.columnWidths[8] = 40;
        store->settings.columnWidths[9] = 120;
        grid = std::make_unique<ListGrid>(folder.settings(), core::Grid::Orders, &source);
        grid->resize(400, 300);
    }
};

} // namespace

TEST(ListGrid, EmptyGridShowsFourBlankRowsAndCellsComeFromTheOwner) {
    Grid g;
    auto* m = g.grid->gridModel();
    EXPECT_EQ(m->rowCount(), 4);
    EXPECT_EQ(m->data(m->index(0, 0), Qt::DisplayRole).toString(), "");
    g.rows = {"1", QString(100, 'x')};
    g.grid->refresh();
    EXPECT_EQ(m->rowCount(), 2);
    EXPECT_EQ(m->data(m->index(0, 1), Qt::DisplayRole).toString(), "1!");
    // A cell shows at most 80 characters; the full text stays available.
    EXPECT_EQ(m->data(m->index(1, 0), Qt::DisplayRole).toString().size(), 80);
    EXPECT_EQ(m->cellText(1, 0).size(), 100);
    EXPECT_EQ(m->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Дата.");
}

TEST(ListGrid, ColumnWidthsComeFromTheTableAndGoBackOnlyWhenChanged) {
    Grid g;
    EXPECT_EQ(g.grid->columnWidth(0), 40);
    EXPECT_EQ(g.grid->columnWidth(1), 120);
    ASSERT_TRUE(g.grid->storeColumnWidths());
    EXPECT_FALSE(g.dir.exists("ArCol")); // nothing changed, nothing written

    g.grid->setColumnWidth(1, 150);
    ASSERT_TRUE(g.grid->storeColumnWidths());
    EXPECT_EQ(g.store->settings.columnWidths[9], 150);
    const QByteArray file = g.dir.read("ArCol");
    ASSERT_EQ(file.size(), 512);
    EXPECT_EQ(quint8(file[18]) | quint8(file[19]) << 8, 150);
}

TEST(ListGrid, ResizingAColumnStoresTheWidthsAtTheNextRelease) {
    Grid g;
    g.grid->show();
    QWidget* header = g.grid->horizontalHeader()->viewport();
    // Drag the border between the two columns 30 pixels to the right.
    const QPoint border(g.grid->columnWidth(0) - 1, 5);
    QTest::mousePress(header, Qt::LeftButton, {}, border);
    QMouseEvent move(QEvent::MouseMove, border + QPoint(30, 0),
                     header->mapToGlobal(border + QPoint(30, 0)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(header, &move);
    QTest::mouseRelease(header, Qt::LeftButton, {}, border + QPoint(30, 0));
    QCoreApplication::processEvents();
    EXPECT_NE(g.store->settings.columnWidths[8], 40);
    EXPECT_TRUE(g.dir.exists("ArCol"));
    // A resize that ends with the button released over the cells is stored just the same.
    g.grid->setColumnWidth(1, 77);
    QTest::mouseClick(g.grid->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(g.store->settings.columnWidths[9], 77);
}

TEST(ListGrid, WithoutAWidthFileColumnsOpenReadableAndTheFileWaitsForADrag) {
    TempDir dir;
    Folder folder(dir);
    CallbackTableModel source(
        {"Name", "Tel."}, [] { return 0; }, [](int, int) { return QString(); });
    ListGrid grid(folder.settings(), core::Grid::Organizations, &source);
    EXPECT_GE(grid.columnWidth(0), 100);
    EXPECT_EQ(folder.store->settings.columnWidths[0], 16); // the table keeps its default
    ASSERT_TRUE(grid.storeColumnWidths());
    EXPECT_TRUE(dir.exists("ArCol")); // the first stored widths are what the user saw
    EXPECT_EQ(folder.store->settings.columnWidths[0], grid.columnWidth(0));
    EXPECT_TRUE(folder.settings().columnWidthsKept(core::Grid::Organizations, 2));
}

// Widths stored by a drag in one grid leave every other grid opening readable, in the same
// run and after a restart; the grid whose widths were stored opens with them.
TEST(ListGrid, EachGridDecidesForItselfWhetherItsWidthsWereStored) {
    TempDir dir;
    CallbackTableModel source(
        {"Адрес", "Телефон"}, [] { return 0; }, [](int, int) { return QString(); });
    auto makeGrid = [&source](core::Settings& s, core::Grid kept) {
        return std::make_unique<ListGrid>(s, kept, &source);
    };
    Folder folder(dir);
    auto orders = makeGrid(folder.settings(), core::Grid::Orders);
    orders->setColumnWidth(0, 40);
    ASSERT_TRUE(orders->storeColumnWidths());
    EXPECT_GE(makeGrid(folder.settings(), core::Grid::Branches)->columnWidth(0), 100);

    Folder restarted(dir);
    QStringList messages;
    storage::loadColumnWidthsFile(restarted.store->folder, restarted.store->settings, messages);
    EXPECT_EQ(makeGrid(restarted.settings(), core::Grid::Orders)->columnWidth(0), 40);
    for (core::Grid kept : {core::Grid::Organizations, core::Grid::Branches, core::Grid::Employees})
        EXPECT_GE(makeGrid(restarted.settings(), kept)->columnWidth(0), 100) << int(kept);
}

// A cell shows its text from 6 pixels in and 2 down, cut at the cell's edge, on white inside a
// light grey frame: the same pixels as the whole text drawn there and cut by the cell, for
// texts of narrow and of wide letters, painted the first time, the second (kept as an image)
// and the third (copied from it), and again after the column was widened and after the font
// changed.
TEST(ListGrid, CellsDrawTheirTextCutAtTheEdge) {
    Grid g;
    g.rows = {QString(80, u'i'), QString(80, u'Ш'), QStringLiteral("ООО \"Ромашка\", г. Москва")};
    g.grid->refresh();
    g.grid->show();
    auto expectCell = [&](int row, int column) {
        const QRect cell = g.grid->visualRect(g.grid->gridModel()->index(row, column));
        const QImage shown =
            g.grid->viewport()->grab(cell).toImage().convertToFormat(QImage::Format_RGB32);
        QImage expected(cell.size() * shown.devicePixelRatio(), QImage::Format_RGB32);
        expected.setDevicePixelRatio(shown.devicePixelRatio());
        expected.fill(QColor(Qt::lightGray));
        QPainter p(&expected);
        const QRect local(QPoint(0, 0), cell.size());
        p.fillRect(local.adjusted(1, 1, -1, -1), Qt::white);
        p.setClipRect(local);
        p.setFont(g.grid->font());
        p.drawText(QPoint(6, 2 + QFontMetrics(g.grid->font()).ascent()),
                   g.grid->gridModel()
                       ->data(g.grid->gridModel()->index(row, column), Qt::DisplayRole)
                       .toString());
        p.end();
        EXPECT_EQ(shown, expected) << "row " << row << " column " << column;
    };
    for (int pass = 0; pass < 3; ++pass)
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 2; ++column)
                expectCell(row, column);
    g.grid->setColumnWidth(0, 300);
    QApplication::processEvents();
    for (int row = 0; row < 3; ++row)
        expectCell(row, 0);
    // A smaller font: the cells are laid out again in it, and show more of their texts.
    QFont smaller = g.grid->font();
    smaller.setPixelSize(8);
    g.grid->setFont(smaller);
    QApplication::processEvents();
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 2; ++column)
            expectCell(row, column);
}

// Enter reports the current row as a double click, Delete asks for its deletion, Home and End
// go to the first and last row and select up to there with Shift; a screen reader reads the
// grid as a table whose cells hold their whole texts.
TEST(ListGrid, KeysAndScreenReaders) {
    Grid g;
    g.rows = {"1", "2", "3", QString(100, 'x')};
    g.grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    g.grid->refresh();
    g.grid->show();
    std::vector<int> opened;
    int deleted = 0;
    QObject::connect(g.grid.get(), &ListGrid::cellDoubleClicked,
                     [&](int row, int) { opened.push_back(row); });
    QObject::connect(g.grid.get(), &ListGrid::deleteRequested, [&] { ++deleted; });
    ListGrid* grid = g.grid.get();
    QTest::keyClick(grid, Qt::Key_Home);
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(grid->selectedRange(), std::make_pair(1, 3));
    QTest::keyClick(grid, Qt::Key_Home);
    QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(grid->selectedRange(), std::make_pair(0, 1));
    QTest::keyClick(grid, Qt::Key_End, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(grid->selectedRange(), std::make_pair(0, 3));
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(opened, std::vector<int>{3});
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(deleted, 1);

    grid->setAccessibleName("Платежки");
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(grid);
    EXPECT_EQ(table->role(), QAccessible::Table);
    EXPECT_EQ(table->text(QAccessible::Name), "Платежки");
    ASSERT_TRUE(table->tableInterface());
    EXPECT_EQ(table->tableInterface()->rowCount(), 4);
    EXPECT_EQ(table->tableInterface()->cellAt(0, 1)->text(QAccessible::Name), "1!");
    EXPECT_EQ(table->tableInterface()->cellAt(3, 0)->text(QAccessible::Name), QString(100, 'x'));
}

// A source that reports its own changes is followed without refresh(): its first rows replace
// the blank rows, a sort moves the current cell with its row, a removed current row leaves its
// place to the next row (the user did not choose it), and the last row gone brings the blank
// rows back. The model tester checks every step for consistency.
TEST(ListGrid, FollowsTheChangesItsSourceReports) {
    TempDir dir;
    Folder folder(dir);
    QStandardItemModel source(0, 2);
    ListGrid grid(folder.settings(), core::Grid::Orders, &source);
    ListGridModel* m = grid.gridModel();
    QAbstractItemModelTester tester(m, QAbstractItemModelTester::FailureReportingMode::Fatal);
    int chosen = 0;
    QObject::connect(&grid, &ListGrid::cellSelected, [&] { ++chosen; });
    auto column0 = [&] {
        QStringList texts;
        for (int r = 0; r < m->rowCount(); ++r)
            texts << m->index(r, 0).data().toString();
        return texts;
    };

    for (const char* n : {"b", "c", "a", "d"})
        source.appendRow({new QStandardItem(n), new QStandardItem(QString(100, u'x'))});
    EXPECT_EQ(column0(), (QStringList{"b", "c", "a", "d"}));
    EXPECT_EQ(m->index(0, 1).data().toString().size(), 80);
    grid.setCurrentDataRow(1); // "c"
    source.sort(0);
    EXPECT_EQ(column0(), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(grid.currentDataRow(), 2);
    source.item(0)->setText("A");
    EXPECT_EQ(m->index(0, 0).data().toString(), "A");
    source.removeRow(2);
    EXPECT_EQ(column0(), (QStringList{"A", "b", "d"}));
    EXPECT_EQ(grid.currentDataRow(), 2);
    source.removeRows(0, 3);
    EXPECT_EQ(column0(), QStringList(4, QString()));
    EXPECT_EQ(grid.currentDataRow(), 0);
    EXPECT_EQ(chosen, 0);
}
