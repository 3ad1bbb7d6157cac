#include "support/support.h"

#include "editor/listgrid.h"
#include "storage/store.h"

#include <QDir>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

using namespace editor;
using testing_support::TempDir;

namespace {

struct Grid {
    TempDir dir;
    std::unique_ptr<storage::Store> store = std::make_unique<storage::Store>();
    QStringList rows;
    std::unique_ptr<ListGrid> grid;

    Grid() {
        store->setProgramDir(dir.path());
        store->ColWidths[8] = 40;
        store->ColWidths[9] = 120;
        store->ColWidthsFromFile = true;
        grid = std::make_unique<ListGrid>(
            *store, 8, QStringList{"№", "Дата."}, [this] { return int(rows.size()); },
            [this](int r, int c) { return c == 0 ? rows[r] : rows[r] + "!"; });
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
    EXPECT_EQ(g.store->ColWidths[9], 150);
    const QByteArray file = g.dir.read("ArCol");
    ASSERT_EQ(file.size(), 512);
    EXPECT_EQ(quint8(file[18]) | quint8(file[19]) << 8, 150);
}

TEST(ListGrid, DraggingAColumnBorderStoresTheWidths) {
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
    EXPECT_NE(g.store->ColWidths[8], 40);
    EXPECT_TRUE(g.dir.exists("ArCol"));
}

TEST(ListGrid, WithoutAWidthFileColumnsOpenReadableAndTheFileWaitsForADrag) {
    TempDir dir;
    storage::Store store;
    store.setProgramDir(dir.path());
    ListGrid grid(
        store, 0, {"Name", "Tel."}, [] { return 0; }, [](int, int) { return QString(); });
    EXPECT_GE(grid.columnWidth(0), 100);
    EXPECT_EQ(store.ColWidths[0], 16); // the table keeps its default
    ASSERT_TRUE(grid.storeColumnWidths());
    EXPECT_TRUE(dir.exists("ArCol")); // the first stored widths are what the user saw
    EXPECT_EQ(store.ColWidths[0], grid.columnWidth(0));
    EXPECT_TRUE(store.ColWidthsFromFile);
}
