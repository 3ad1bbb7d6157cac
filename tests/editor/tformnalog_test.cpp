// The budget dialog as the user drives it: entering fields, choosing codes and descriptions,
// building tax periods, the shortcut menus, loading a saved order, colours and the lock.
#include "editor/taxcodes.h"
#include "editor/tformnalog.h"
#include "editor/uiutil.h"
#include "storage/store.h"
#include "support/support.h"

#include <QComboBox>
#include <QDate>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>
#include <memory>

using namespace editor;
using testing_support::chooseRow;
using testing_support::cps;

namespace {

QString s(const char16_t* t) {
    return QString::fromUtf16(t);
}

class NalogDialog : public ::testing::Test {
protected:
    void SetUp() override {
        dlg->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    }

    QComboBox* combo(const char* name) const { return dlg->findChild<QComboBox*>(name); }
    QComboBox* descriptions() const { return combo("ComboBox8"); }
    QString caption() const { return dlg->findChild<QGroupBox*>("GroupBox8")->title(); }
    void enter(const char* name) const { dlg->findChild<QWidget*>(name)->setFocus(); }
    void menu(const char* name, int item) const {
        dlg->findChild<QMenu*>(name)->actions().at(item)->trigger();
    }

    std::unique_ptr<storage::Store> store = std::make_unique<storage::Store>();
    std::unique_ptr<TFormNalog> dlg = std::make_unique<TFormNalog>(*store);
};

} // namespace

TEST_F(NalogDialog, ShowingEntersNoField) {
    enter("ComboBox2");
    dlg->hide();
    dlg->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    // ОКАТО is still the active field: the first field was not entered by showing.
    EXPECT_EQ(descriptions()->count(), 94);
    EXPECT_FALSE(combo("ComboBox1")->hasFocus());
}

TEST_F(NalogDialog, PeriodBuilder) {
    enter("ComboBox4");
    EXPECT_EQ(caption(), QStringLiteral("Налоговый период"));
    EXPECT_EQ(descriptions()->currentIndex(), -1);
    QComboBox* period = combo("ComboBox4");
    EXPECT_EQ(period->count(), 0);

    const int year = QDate::currentDate().year();
    chooseRow(descriptions(), 3); // "год"
    ASSERT_EQ(period->count(), 1);
    EXPECT_EQ(period->currentIndex(), 0);
    EXPECT_EQ(dlg->texts().taxPeriod, QStringLiteral("ГД.00.%1").arg(year - 1));

    chooseRow(descriptions(), 1); // "квартал"
    ASSERT_EQ(period->count(), 4);
    EXPECT_EQ(period->itemText(3), QStringLiteral("KB.04.%1").arg(year));
    EXPECT_EQ(period->currentIndex(), 0);
    EXPECT_EQ(dlg->texts().taxPeriod, QStringLiteral("KB.01.%1").arg(year));

    enter("ComboBox1");
    enter("ComboBox4");
    EXPECT_EQ(descriptions()->currentIndex(), 1);
}

TEST_F(NalogDialog, EnteringTheSameFieldTwiceChangesNothing) {
    enter("ComboBox2");
    chooseRow(descriptions(), 7);
    EXPECT_EQ(combo("ComboBox2")->currentText(), s(OkatoTable[7].code));
    EXPECT_EQ(combo("ComboBox2")->toolTip(), s(OkatoTable[7].text));
    // A letter typed into the description list shows whether it was filled again.
    QTest::keyClicks(descriptions(), QStringLiteral("x"));
    const QString typed = descriptions()->currentText();
    enter("ComboBox2");
    EXPECT_EQ(caption(), QStringLiteral("ОКАТО"));
    EXPECT_EQ(descriptions()->currentText(), typed);

    enter("ComboBox1");
    enter("ComboBox2");
    EXPECT_EQ(caption(), QStringLiteral("ОКАТО - Свердловская область"));
    EXPECT_EQ(descriptions()->currentIndex(), 7);
}

TEST_F(NalogDialog, ChoosingAndTypingCodes) {
    chooseRow(combo("ComboBox2"), 56);
    EXPECT_EQ(combo("ComboBox2")->toolTip(), s(OkatoTable[56].text));
    EXPECT_EQ(descriptions()->currentText(), s(OkatoTable[56].text));
    EXPECT_EQ(caption(), QStringLiteral("ОКАТО - Свердловская область"));

    chooseRow(combo("ComboBox1"), 13);
    EXPECT_EQ(descriptions()->currentIndex(), 13);
    EXPECT_EQ(descriptions()->lineEdit()->cursorPosition(), 0); // a long text shows its start
    QTest::keyClick(combo("ComboBox1"), Qt::Key_Backspace);
    EXPECT_EQ(descriptions()->currentIndex(), -1);
    EXPECT_EQ(combo("ComboBox1")->toolTip(), s(KbkTable[13].text));

    QTest::mouseClick(dlg->findChild<QLineEdit*>("Edit2"), Qt::LeftButton);
    EXPECT_EQ(caption(), QString());
    EXPECT_EQ(descriptions()->count(), 0);
}

TEST_F(NalogDialog, TextBoxesTakeOnlyWhatTheRecordsCanHold) {
    // A pasted text loses what code page 1251 cannot hold before it is cut to the limit.
    enter("ComboBox1");
    combo("ComboBox1")->lineEdit()->insert(QStringLiteral("12Ω3漢456789012345678901234"));
    EXPECT_EQ(dlg->texts().kbk, QStringLiteral("12345678901234567890"));
    combo("ComboBox1")->lineEdit()->setCursorPosition(5);
    QTest::keyClicks(combo("ComboBox1"), QStringLiteral("99"));
    EXPECT_EQ(dlg->texts().kbk, QStringLiteral("12345678901234567890"));
    // Each box holds what its field of the order record holds; the description list stores
    // nothing and keeps its own limit. A box that refuses more says so.
    using storage::TPlat;
    const std::pair<const char*, int> limits[] = {{"ComboBox2", capacityOf(&TPlat::Okato)},
                                                  {"ComboBox3", capacityOf(&TPlat::Basis)},
                                                  {"ComboBox4", capacityOf(&TPlat::TaxPeriod)},
                                                  {"ComboBox7", capacityOf(&TPlat::TaxType)},
                                                  {"ComboBox8", 128},
                                                  {"Edit1", capacityOf(&TPlat::DocNumber)},
                                                  {"Edit2", capacityOf(&TPlat::DocDate)}};
    for (auto [name, limit] : limits) {
        auto* c = combo(name);
        QLineEdit* box = c ? c->lineEdit() : dlg->findChild<QLineEdit*>(name);
        box->insert(QString(200, u'7'));
        EXPECT_EQ(box->text().size(), limit) << name;
        EXPECT_EQ(QToolTip::text(), tooLongHint(limit)) << name;
    }
}

TEST_F(NalogDialog, OkatoShortcutWhileKbkIsActiveLeavesTheDescriptions) {
    enter("ComboBox1");
    chooseRow(descriptions(), 2);
    menu("PopupMenu1", 0); // "Екатеринбург"
    EXPECT_EQ(combo("ComboBox2")->currentIndex(), 56);
    EXPECT_EQ(combo("ComboBox2")->toolTip(), s(OkatoTable[56].text));
    EXPECT_EQ(caption(), QStringLiteral("КБК"));
    EXPECT_EQ(descriptions()->count(), 23);
    EXPECT_EQ(descriptions()->currentIndex(), 2);

    menu("PopupMenu2", 1); // "Упрощенка доходы минус расходы"
    EXPECT_EQ(combo("ComboBox1")->currentText(), QStringLiteral("18210501020011000110"));
    EXPECT_EQ(descriptions()->currentIndex(), 17);
}

TEST_F(NalogDialog, LoadingUnknownKbkShowsItAndSelectsNoRow) {
    chooseRow(combo("ComboBox1"), 4);
    storage::TPlat p;
    storage::clearRecord(p);
    p.Kbk = "10000000000000000001";
    p.Okato = "65401000000";
    p.Basis = "PC";
    p.TaxPeriod = cps("МС.03.2009");
    p.TaxType = cps("ПЕ");
    p.DocNumber = "17";
    p.DocDate = "01.02.2009";
    dlg->loadFromRecord(p);

    const TFormNalog::Texts t = dlg->texts();
    const QString expected[] = {
        "10000000000000000001", "65401000000", "PC",        QStringLiteral("МС.03.2009"),
        QStringLiteral("ПЕ"),   "17",          "01.02.2009"};
    const QString got[] = {t.kbk, t.okato, t.basis, t.taxPeriod, t.taxType, t.docNumber, t.docDate};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(got[i], expected[i]) << i;
    EXPECT_EQ(combo("ComboBox1")->currentIndex(), -1);
    EXPECT_EQ(combo("ComboBox1")->toolTip(), s(KbkTable[4].text));
    EXPECT_EQ(combo("ComboBox2")->currentIndex(), 56);
    EXPECT_EQ(combo("ComboBox3")->currentIndex(), 3);
    EXPECT_EQ(combo("ComboBox7")->currentIndex(), 5);
    // The description list no longer shows the previous order's КБК.
    EXPECT_EQ(descriptions()->currentIndex(), -1);

    p.Basis = cps("РС"); // Cyrillic: not the code "PC"
    p.Kbk = "18210501010011000110";
    dlg->loadFromRecord(p);
    EXPECT_EQ(combo("ComboBox3")->currentIndex(), -1);
    EXPECT_EQ(combo("ComboBox1")->currentIndex(), 16);
    EXPECT_EQ(descriptions()->currentIndex(), 16);
}

TEST_F(NalogDialog, LoadingWhileOkatoIsActiveKeepsTheOkatoDescription) {
    enter("ComboBox2");
    storage::TPlat p;
    storage::clearRecord(p);
    p.Kbk = "18210501010011000110"; // row 16
    p.Okato = "65492000000";        // row 88
    dlg->loadFromRecord(p);
    EXPECT_EQ(descriptions()->currentIndex(), 88);
}

TEST_F(NalogDialog, ColoursLockAndClosing) {
    const char* names[] = {"ComboBox1", "ComboBox2", "ComboBox3", "ComboBox4",
                           "ComboBox7", "ComboBox8", "Edit1",     "Edit2"};
    for (bool on : {true, false}) {
        dlg->setSavedColour(on);
        dlg->setLocked(on);
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

    dlg->hide();
    for (bool byOk : {true, false}) {
        const QString seen = testing_support::whenModal(
            [byOk](QWidget* w) {
                if (byOk)
                    testing_support::clickButton(w, QStringLiteral("OK"));
                else
                    w->close();
            },
            [&] { showModal(dlg.get()); });
        EXPECT_EQ(seen, QStringLiteral("Налоги"));
        EXPECT_FALSE(dlg->isVisible());
    }
}
