// The budget dialog as the user drives it: entering fields, choosing codes and descriptions,
// building tax periods, the shortcut menus, loading a saved order, colours and the lock.
#include "core/engine.h"
#include "editor/budgetfieldsdialog.h"
#include "editor/taxcodes.h"
#include "editor/uiutil.h"
#include "storage/folderdata.h"
#include "support/support.h"

#include <QComboBox>
#include <QDate>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace editor;
using testing_support::chooseRow;
using testing_support::cps;

namespace {

QString s(const char16_t* t) {
    return QString::fromUtf16(t);
}

class BudgetFieldsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        dlg->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    }

    QComboBox* combo(const char* name) const { return dlg->findChild<QComboBox*>(name); }
    QComboBox* descriptions() const { return combo("descriptionCombo"); }
    QString caption() const { return dlg->findChild<QGroupBox*>("descriptionGroup")->title(); }
    void enter(const char* name) const { dlg->findChild<QWidget*>(name)->setFocus(); }
    void menu(const char* name, int item) const {
        dlg->findChild<QMenu*>(name)->actions().at(item)->trigger();
    }

    std::unique_ptr<storage::FolderData> store = std::make_unique<storage::FolderData>();
    core::Engine engine{*store};
    std::unique_ptr<BudgetFieldsDialog> dlg = std::make_unique<BudgetFieldsDialog>(engine.settings);
};

} // namespace

TEST_F(BudgetFieldsDialogTest, ShowingEntersNoField) {
    enter("okatoCombo");
    dlg->hide();
    dlg->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    // ОКАТО is still the active field: the first field was not entered by showing.
    EXPECT_EQ(descriptions()->count(), 94);
    EXPECT_FALSE(combo("kbkCombo")->hasFocus());
}

TEST_F(BudgetFieldsDialogTest, PeriodBuilder) {
    enter("periodCombo");
    EXPECT_EQ(caption(), QStringLiteral("Налоговый период"));
    EXPECT_EQ(descriptions()->currentIndex(), -1);
    QComboBox* period = combo("periodCombo");
    EXPECT_EQ(period->count(), 0);

    const int year = QDate::currentDate().year();
    chooseRow(descriptions(), 3); // "год"
    ASSERT_EQ(period->count(), 1);
    EXPECT_EQ(period->currentIndex(), 0);
    EXPECT_EQ(dlg->fields().taxPeriod, QStringLiteral("ГД.00.%1").arg(year - 1));

    chooseRow(descriptions(), 1); // "квартал"
    ASSERT_EQ(period->count(), 4);
    EXPECT_EQ(period->itemText(3), QStringLiteral("KB.04.%1").arg(year));
    EXPECT_EQ(period->currentIndex(), 0);
    EXPECT_EQ(dlg->fields().taxPeriod, QStringLiteral("KB.01.%1").arg(year));

    enter("kbkCombo");
    enter("periodCombo");
    EXPECT_EQ(descriptions()->currentIndex(), 1);
}

TEST_F(BudgetFieldsDialogTest, EnteringTheSameFieldTwiceChangesNothing) {
    enter("okatoCombo");
    chooseRow(descriptions(), 7);
    EXPECT_EQ(combo("okatoCombo")->currentText(), s(OkatoTable[7].code));
    EXPECT_EQ(combo("okatoCombo")->toolTip(), s(OkatoTable[7].text));
    // A letter typed into the description list shows whether it was filled again.
    QTest::keyClicks(descriptions(), QStringLiteral("x"));
    const QString typed = descriptions()->currentText();
    enter("okatoCombo");
    EXPECT_EQ(caption(), QStringLiteral("ОКАТО"));
    EXPECT_EQ(descriptions()->currentText(), typed);

    enter("kbkCombo");
    enter("okatoCombo");
    EXPECT_EQ(caption(), QStringLiteral("ОКАТО - Свердловская область"));
    EXPECT_EQ(descriptions()->currentIndex(), 7);
}

TEST_F(BudgetFieldsDialogTest, ChoosingAndTypingCodes) {
    chooseRow(combo("okatoCombo"), 56);
    EXPECT_EQ(combo("okatoCombo")->toolTip(), s(OkatoTable[56].text));
    EXPECT_EQ(descriptions()->currentText(), s(OkatoTable[56].text));
    EXPECT_EQ(caption(), QStringLiteral("ОКАТО - Свердловская область"));

    chooseRow(combo("kbkCombo"), 13);
    EXPECT_EQ(descriptions()->currentIndex(), 13);
    EXPECT_EQ(descriptions()->lineEdit()->cursorPosition(), 0); // a long text shows its start
    QTest::keyClick(combo("kbkCombo"), Qt::Key_Backspace);
    EXPECT_EQ(descriptions()->currentIndex(), -1);
    EXPECT_EQ(combo("kbkCombo")->toolTip(), s(KbkTable[13].text));

    QTest::mouseClick(dlg->findChild<QLineEdit*>("docDateEdit"), Qt::LeftButton);
    EXPECT_EQ(caption(), QString());
    EXPECT_EQ(descriptions()->count(), 0);
}

TEST_F(BudgetFieldsDialogTest, TextBoxesTakeOnlyWhatTheRecordsCanHold) {
    // A pasted text loses what code page 1251 cannot hold before it is cut to the limit.
    enter("kbkCombo");
    combo("kbkCombo")->lineEdit()->insert(QStringLiteral("12Ω3漢456789012345678901234"));
    EXPECT_EQ(dlg->fields().kbk, QStringLiteral("12345678901234567890"));
    combo("kbkCombo")->lineEdit()->setCursorPosition(5);
    QTest::keyClicks(combo("kbkCombo"), QStringLiteral("99"));
    EXPECT_EQ(dlg->fields().kbk, QStringLiteral("12345678901234567890"));
    // Each box holds what its field of the order record holds; the description list stores
    // nothing and keeps its own limit. A box that refuses more says so.
    using storage::OrderRecord;
    const std::pair<const char*, int> limits[] = {
        {"okatoCombo", capacityOf(&OrderRecord::okato)},
        {"basisCombo", capacityOf(&OrderRecord::basis)},
        {"periodCombo", capacityOf(&OrderRecord::taxPeriod)},
        {"typeCombo", capacityOf(&OrderRecord::taxType)},
        {"descriptionCombo", 128},
        {"docNumberEdit", capacityOf(&OrderRecord::docNumber)},
        {"docDateEdit", capacityOf(&OrderRecord::docDate)}};
    for (auto [name, limit] : limits) {
        auto* c = combo(name);
        QLineEdit* box = c ? c->lineEdit() : dlg->findChild<QLineEdit*>(name);
        box->insert(QString(200, u'7'));
        EXPECT_EQ(box->text().size(), limit) << name;
        EXPECT_EQ(editor::shownHint(), tooLongHint(limit)) << name;
    }
}

TEST_F(BudgetFieldsDialogTest, OkatoShortcutWhileKbkIsActiveLeavesTheDescriptions) {
    enter("kbkCombo");
    chooseRow(descriptions(), 2);
    menu("okatoMenu", 0); // "Екатеринбург"
    EXPECT_EQ(combo("okatoCombo")->currentIndex(), 56);
    EXPECT_EQ(combo("okatoCombo")->toolTip(), s(OkatoTable[56].text));
    EXPECT_EQ(caption(), QStringLiteral("КБК"));
    EXPECT_EQ(descriptions()->count(), 23);
    EXPECT_EQ(descriptions()->currentIndex(), 2);

    menu("kbkMenu", 1); // "Упрощенка доходы минус расходы"
    EXPECT_EQ(combo("kbkCombo")->currentText(), QStringLiteral("18210501020011000110"));
    EXPECT_EQ(descriptions()->currentIndex(), 17);
}

TEST_F(BudgetFieldsDialogTest, LoadingUnknownKbkShowsItAndSelectsNoRow) {
    chooseRow(combo("kbkCombo"), 4);
    core::BudgetFields b{
        "10000000000000000001", "65401000000", "PC",        QStringLiteral("МС.03.2009"),
        QStringLiteral("ПЕ"),   "17",          "01.02.2009"};
    dlg->load({b});
    EXPECT_EQ(dlg->fields(), b);
    EXPECT_EQ(combo("kbkCombo")->currentIndex(), -1);
    EXPECT_EQ(combo("kbkCombo")->toolTip(), s(KbkTable[4].text));
    EXPECT_EQ(combo("okatoCombo")->currentIndex(), 56);
    EXPECT_EQ(combo("basisCombo")->currentIndex(), 3);
    EXPECT_EQ(combo("typeCombo")->currentIndex(), 5);
    // The description list no longer shows the previous order's КБК.
    EXPECT_EQ(descriptions()->currentIndex(), -1);

    b.basis = QStringLiteral("РС"); // Cyrillic: not the code "PC"
    b.kbk = "18210501010011000110";
    dlg->load({b});
    EXPECT_EQ(combo("basisCombo")->currentIndex(), -1);
    EXPECT_EQ(combo("kbkCombo")->currentIndex(), 16);
    EXPECT_EQ(descriptions()->currentIndex(), 16);
}

TEST_F(BudgetFieldsDialogTest, LoadingWhileOkatoIsActiveKeepsTheOkatoDescription) {
    enter("okatoCombo");
    core::BudgetFields b;
    b.kbk = "18210501010011000110"; // row 16
    b.okato = "65492000000";        // row 88
    dlg->load({b});
    EXPECT_EQ(descriptions()->currentIndex(), 88);
}

TEST_F(BudgetFieldsDialogTest, ColoursLockAndClosing) {
    const char* names[] = {"kbkCombo",  "okatoCombo",       "basisCombo",    "periodCombo",
                           "typeCombo", "descriptionCombo", "docNumberEdit", "docDateEdit"};
    for (bool on : {true, false}) {
        dlg->load({{}, on, on}); // saved and locked, then new and open
        for (const char* name : names) {
            QWidget* w = dlg->findChild<QWidget*>(name);
            EXPECT_EQ(w->palette().color(QPalette::Text),
                      on ? QColor(0, 0, 170) : QColor(Qt::black))
                << name;
            EXPECT_EQ(w->isEnabled(), !on) << name;
        }
        for (QGroupBox* g : dlg->findChildren<QGroupBox*>())
            EXPECT_EQ(g->isEnabled(), !on) << g->objectName().toStdString();
    }

    // However it is closed, the dialog gives back what its boxes hold.
    dlg->hide();
    for (bool byOk : {true, false}) {
        BudgetAnswer answer;
        const QString seen = testing_support::whenModal(
            [byOk](QWidget* w) {
                w->findChild<QLineEdit*>("docNumberEdit")->setText("42");
                if (byOk)
                    testing_support::clickButton(w, QStringLiteral("OK"));
                else
                    w->close();
            },
            [&] {
                answer = dlg->edit({{}, false, false});
            });
        EXPECT_EQ(seen, QStringLiteral("Налоги"));
        EXPECT_FALSE(dlg->isVisible());
        EXPECT_EQ(answer.fields.docNumber, "42");
        EXPECT_FALSE(answer.singleTaxPayment);
    }
}
