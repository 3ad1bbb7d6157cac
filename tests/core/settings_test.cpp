// The settings as typed values, and their files written only when what they hold changed.
#include "core/engine.h"
#include "support/support.h"

#include <gtest/gtest.h>

using testing_support::TempDir;

TEST(Settings, EachFileIsWrittenOnlyWhenWhatItHoldsChanged) {
    TempDir dir;
    storage::FolderData store;
    store.folder.setProgramDir(dir.path());
    core::Engine engine(store);
    core::Settings& s = engine.settings;

    // Values set back to what the files hold write nothing.
    s.setCurrentYearOnly(true);
    s.setCurrentYearOnly(false);
    s.setWindowSize(core::WindowTag::OrderList, s.windowSize(core::WindowTag::OrderList));
    s.setColumnWidths(core::Grid::Orders, s.columnWidths(core::Grid::Orders, 6));
    ASSERT_TRUE(s.saveSettings() && s.saveWindowSizes() && s.saveColumnWidths());
    EXPECT_FALSE(dir.exists("Set") || dir.exists("FormW") || dir.exists("ArCol"));

    // A change writes its own file once.
    s.setUsnVatRates(true);
    s.setWindowSize(core::WindowTag::OrderList, {700, 400});
    ASSERT_TRUE(s.saveSettings() && s.saveWindowSizes() && s.saveColumnWidths());
    EXPECT_EQ(dir.read("Set").at(1), 1);
    const QByteArray sizes = dir.read("FormW");
    EXPECT_EQ(quint8(sizes[12]) | quint8(sizes[13]) << 8, 700);
    EXPECT_FALSE(dir.exists("ArCol"));
    QFile::remove(dir.file("Set"));
    ASSERT_TRUE(s.saveSettings());
    EXPECT_FALSE(dir.exists("Set"));

    EXPECT_TRUE(s.usnVatRates());
    EXPECT_FALSE(s.windowSizeKept(core::WindowTag::Main));
    EXPECT_TRUE(s.windowSizeKept(core::WindowTag::OrderList));
    EXPECT_FALSE(s.columnWidthsKept(core::Grid::Employees, 8));
}
