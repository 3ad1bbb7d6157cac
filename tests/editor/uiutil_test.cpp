#include "editor/uiutil.h"

#include <QFontInfo>
#include <gtest/gtest.h>

// Where fontconfig gives a monospaced family for the default sans-serif (a system with only the
// Liberation fonts), the windows were drawn in it.
TEST(WindowFont, AMonospacedDefaultGivesWayToAProportionalFontOfTheSameSize) {
    const QFont mono(QStringLiteral("Liberation Mono"), 9);
    ASSERT_TRUE(QFontInfo(mono).fixedPitch());
    const QFont chosen = editor::proportionalFont(mono);
    EXPECT_FALSE(QFontInfo(chosen).fixedPitch()) << QFontInfo(chosen).family().toStdString();
    EXPECT_EQ(chosen.pointSize(), 9);
    const QFont sans(QStringLiteral("Liberation Sans"), 9);
    EXPECT_EQ(editor::proportionalFont(sans), sans);
}
