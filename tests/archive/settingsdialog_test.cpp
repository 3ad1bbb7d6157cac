// The settings dialog: it shows the settings it is given and gives back its boxes however it
// is left.
#include "archive/settingsdialog.h"
#include "support/support.h"

#include <QCheckBox>
#include <QTest>
#include <gtest/gtest.h>

TEST(SettingsDialog, ShowsTheSettingsAndGivesBackEachClickHoweverItIsLeft) {
    archive::SettingsDialog dlg;
    for (bool byOk : {true, false}) {
        for (bool start : {false, true}) {
            archive::SettingsChoice got;
            testing_support::whenModal(
                [&](QWidget* w) {
                    auto* year = w->findChild<QCheckBox*>("currentYearCheck");
                    EXPECT_EQ(year->isChecked(), start);
                    EXPECT_EQ(year->text(), QStringLiteral("Загружать платежки за текущий год "));
                    for (int i = 0; i < 3; ++i)
                        QTest::mouseClick(year, Qt::LeftButton);
                    QTest::mouseClick(w->findChild<QCheckBox*>("usnRatesCheck"), Qt::LeftButton);
                    if (byOk)
                        testing_support::clickButton(w, QStringLiteral("OK"));
                    else
                        w->close();
                },
                [&] {
                    got = dlg.edit({start, false});
                });
            EXPECT_EQ(got, (archive::SettingsChoice{!start, true})) << byOk << start;
            EXPECT_FALSE(dlg.isVisible());
        }
    }
}
