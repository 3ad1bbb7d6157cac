// The settings dialog: its check box follows and changes CurrentYearOnly at once.
#include "archive/settingsdialog.h"
#include "editor/uiutil.h"
#include "storage/store.h"
#include "support/support.h"

#include <QCheckBox>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

TEST(SettingsDialog, StartsFromTheSetting) {
    for (std::uint8_t value : {0, 1}) {
        auto store = std::make_unique<storage::Store>();
        store->settings.currentYearOnly() = value;
        archive::SettingsDialog dlg(*store);
        auto* box = dlg.findChild<QCheckBox*>("currentYearCheck");
        EXPECT_EQ(box->isChecked(), value == 1) << int(value);
        EXPECT_EQ(box->text(), QStringLiteral("Загружать платежки за текущий год "));
    }
}

TEST(SettingsDialog, EachClickChangesTheSettingAtOnce) {
    auto store = std::make_unique<storage::Store>();
    archive::SettingsDialog dlg(*store);
    for (bool byOk : {true, false}) {
        std::vector<int> seen;
        testing_support::whenModal(
            [&](QWidget* w) {
                for (int i = 0; i < 3; ++i) {
                    QTest::mouseClick(w->findChild<QCheckBox*>("currentYearCheck"), Qt::LeftButton);
                    seen.push_back(store->settings.currentYearOnly());
                }
                if (byOk)
                    testing_support::clickButton(w, QStringLiteral("OK"));
                else
                    w->close();
            },
            [&] { editor::showModal(&dlg); });
        EXPECT_EQ(seen, (byOk ? std::vector<int>{1, 0, 1} : std::vector<int>{0, 1, 0}));
        EXPECT_FALSE(dlg.isVisible());
    }
    EXPECT_EQ(store->settings.currentYearOnly(), 0);
}
