#include "support/support.h"

#include "ed807gen.h"

#include "core/engine.h"
#include "directory/bankaccountsdialog.h"
#include "directory/organizationcard.h"
#include "directory/organizationcarddialog.h"
#include "directory/organizationdetails.h"
#include "directory/organizationdetailsdialog.h"
#include "editor/uiutil.h"
#include "render/print/printtarget.h"
#include "storage/bikdirectory.h"
#include "storage/folderdata.h"

#include <QButtonGroup>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace directory;
using testing_support::choosingFile;
using testing_support::clickButton;
using testing_support::cp;
using testing_support::pressing;
using testing_support::TempDir;
using testing_support::typeText;
using testing_support::uni;
using testing_support::whenModal;
using testing_support::whenModals;

namespace {

QLineEdit* edit(QWidget* w, const char* name) {
    auto* e = w->findChild<QLineEdit*>(name);
    EXPECT_TRUE(e) << name;
    return e;
}

void type(QWidget* w, const char* name, const QString& text) {
    QLineEdit* e = edit(w, name);
    e->clear();
    typeText(e, text);
}

class DirectoryWindows : public ::testing::Test {
protected:
    void SetUp() override {
        store = std::make_unique<storage::FolderData>();
        store->folder.setProgramDir(dir.path());
        engine = std::make_unique<core::Engine>(*store);
        rekvizit = std::make_unique<OrganizationDetailsDialog>(engine->directory, engine->folder,
                                                               engine->settings);
        bank = std::make_unique<BankAccountsDialog>(engine->folder, engine->settings);
        card = std::make_unique<OrganizationCardDialog>(engine->folder, engine->settings);
        // As the program wires them: the bank window edits the banks, "Text" shows the card.
        rekvizit->setBankEditor(
            [this](const FirmBanks& b, EditMode m, int page, const QString& name) {
                return bank->editBanks(b, m, page, name);
            });
        QObject::connect(rekvizit.get(), &OrganizationDetailsDialog::cardRequested, card.get(),
                         &OrganizationCardDialog::showCard);
    }

    storage::OrganizationRecord& addFirm(const char* name, const char* inn) {
        storage::OrganizationRecord& f =
            store->directory.organizations[std::size_t(store->directory.organizationCount++)];
        f.name = testing_support::cps(name);
        f.inn = inn;
        return f;
    }

    // Opens the details window the way the organization list does.
    void openDetails(int mode, int cur = 0) {
        const bool isNew = EditMode(mode) == EditMode::New;
        rekvizit->setSubject({EditMode(mode),
                              isNew ? storage::OrganizationRecord{}
                                    : store->directory.organizations[std::size_t(cur)],
                              isNew ? -1 : cur,
                              cur,
                              {}});
        rekvizit->show();
    }
    bool stored() const { return rekvizit->stored().has_value(); }
    // Shows the card of the details boxes as they stand, as "Text" does, without waiting.
    void showCard() {
        card->setCard(rekvizit->boxTexts());
        card->show();
    }

    QString cardText() { return card->findChild<QPlainTextEdit*>("cardEdit")->toPlainText(); }

    TempDir dir;
    std::unique_ptr<storage::FolderData> store;
    std::unique_ptr<core::Engine> engine;
    std::unique_ptr<OrganizationDetailsDialog> rekvizit;
    std::unique_ptr<BankAccountsDialog> bank;
    std::unique_ptr<OrganizationCardDialog> card;
};

} // namespace

TEST_F(DirectoryWindows, NewOrganizationWithExistingInnRefusedButEditAccepted) {
    addFirm("ООО Ромашка", "7701");
    openDetails(0);
    EXPECT_EQ(rekvizit->windowTitle(), QStringLiteral("Реквизиты"));
    type(rekvizit.get(), "nameEdit", QStringLiteral("ООО Лютик"));
    type(rekvizit.get(), "innEdit", QStringLiteral("7701"));
    EXPECT_EQ(whenModal(pressing(QStringLiteral("OK")), [&] { clickButton(rekvizit.get(), "OK"); }),
              QStringLiteral("Такая организация уже есть"));
    EXPECT_TRUE(rekvizit->isVisible());
    EXPECT_FALSE(stored());
    EXPECT_EQ(edit(rekvizit.get(), "nameEdit")->text(),
              QStringLiteral("ООО Лютик")); // typed text kept

    type(rekvizit.get(), "innEdit", QStringLiteral("7702"));
    clickButton(rekvizit.get(), "OK");
    EXPECT_FALSE(rekvizit->isVisible());
    ASSERT_TRUE(stored());
    EXPECT_EQ(uni(rekvizit->stored()->name), QStringLiteral("ООО Лютик"));
    EXPECT_EQ(store->directory.organizationCount, 1); // adding it is the directory's part
    ASSERT_TRUE(engine->directory.addOrganization(*rekvizit->stored()).made);

    openDetails(1, 1);
    EXPECT_EQ(edit(rekvizit.get(), "innEdit")->text(), QStringLiteral("7702"));
    type(rekvizit.get(), "innEdit", QStringLiteral("7701"));
    EXPECT_EQ(whenModal(pressing(QStringLiteral("OK")), [&] { clickButton(rekvizit.get(), "OK"); }),
              QString());
    EXPECT_FALSE(rekvizit->isVisible());
    ASSERT_TRUE(stored());
    EXPECT_EQ(rekvizit->stored()->inn.view(), "7701");
}

TEST_F(DirectoryWindows, EmptyNameAndInnShowOnlyTheNameMessage) {
    for (int mode : {0, 1}) {
        addFirm("ООО Ромашка", "7701");
        openDetails(mode);
        type(rekvizit.get(), "nameEdit", QString());
        type(rekvizit.get(), "innEdit", QString());
        const QStringList seen =
            whenModals({pressing(QStringLiteral("OK")), pressing(QStringLiteral("OK"))},
                       [&] { clickButton(rekvizit.get(), "OK"); });
        EXPECT_EQ(seen, QStringList{QStringLiteral("Введите название организации")}) << mode;
        EXPECT_TRUE(rekvizit->isVisible());
        EXPECT_FALSE(stored());

        type(rekvizit.get(), "nameEdit", QStringLiteral("ООО Лютик"));
        EXPECT_EQ(
            whenModal(pressing(QStringLiteral("OK")), [&] { clickButton(rekvizit.get(), "OK"); }),
            QStringLiteral("Введите ИНН"));
        clickButton(rekvizit.get(), "No");
        EXPECT_FALSE(rekvizit->isVisible());
        EXPECT_FALSE(stored()) << mode;
    }
}

TEST_F(DirectoryWindows, InnBoxTakesDigitsOnlyAndEnterStillWorks) {
    openDetails(0);
    type(rekvizit.get(), "nameEdit", QStringLiteral("ООО Лютик"));
    QLineEdit* inn = edit(rekvizit.get(), "innEdit");
    inn->clear();
    typeText(inn, QStringLiteral("77a0;1Б-2 "));
    EXPECT_EQ(inn->text(), QStringLiteral("77012"));
    inn->insert(QStringLiteral("3x4")); // pasted
    EXPECT_EQ(inn->text(), QStringLiteral("7701234"));
    typeText(inn, QStringLiteral("567890"));
    EXPECT_EQ(inn->text(), QStringLiteral("770123456789")); // at most 12
    QTest::keyClick(inn, Qt::Key_Backspace);
    EXPECT_EQ(inn->text(), QStringLiteral("77012345678"));
    QTest::keyClick(inn, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_FALSE(rekvizit->isVisible());
    ASSERT_TRUE(stored());
    EXPECT_EQ(rekvizit->stored()->inn.view(), "77012345678");
}

TEST_F(DirectoryWindows, LongNameStoredAsItsFirst128Characters) {
    openDetails(0);
    QString name;
    for (int i = 0; i < 200; ++i)
        name += QChar(u'А' + i % 32);
    type(rekvizit.get(), "nameEdit", name);
    type(rekvizit.get(), "innEdit", QStringLiteral("7701"));
    clickButton(rekvizit.get(), "OK");
    ASSERT_TRUE(stored());
    EXPECT_EQ(uni(rekvizit->stored()->name), name.left(128));
}

TEST_F(DirectoryWindows, ViewModeStoresNothingAndIsReadOnlyUntilClosed) {
    storage::OrganizationRecord& f = addFirm("ООО Ромашка", "7701");
    f.banks[0].account = "111";
    const QByteArray before = storage::recordBytes(f);

    openDetails(2);
    const QList<QLineEdit*> boxes = rekvizit->findChildren<QLineEdit*>();
    ASSERT_EQ(boxes.size(), DetailBoxCount);
    for (const QLineEdit* e : boxes)
        EXPECT_TRUE(e->isReadOnly()) << e->objectName().toStdString();
    typeText(edit(rekvizit.get(), "nameEdit"), QStringLiteral("xyz"));
    EXPECT_EQ(edit(rekvizit.get(), "nameEdit")->text(), QStringLiteral("ООО Ромашка"));

    // The bank window too: boxes read-only, no choice, its caption the stored name.
    const QString bankTitle = whenModal(
        [](QWidget* w) {
            EXPECT_TRUE(edit(w, "slot1AccountEdit")->isReadOnly());
            EXPECT_FALSE(w->findChild<QWidget*>("slotChoiceGroup")->isEnabled());
            w->close();
        },
        [&] { clickButton(rekvizit.get(), "Банк"); });
    EXPECT_EQ(bankTitle, QStringLiteral("ООО Ромашка"));

    clickButton(rekvizit.get(), "OK");
    EXPECT_FALSE(rekvizit->isVisible());
    EXPECT_FALSE(stored());
    EXPECT_EQ(storage::recordBytes(store->directory.organizations[0]), before);

    // Editable again for the next edit, in both windows.
    openDetails(1);
    const QStringList bankBoxes{"accountEdit", "corrAccountEdit", "bikEdit", "bankShortEdit",
                                "bankFullEdit"};
    for (const QLineEdit* e : boxes)
        EXPECT_EQ(e->isReadOnly(), bankBoxes.contains(e->objectName()))
            << e->objectName().toStdString();
    whenModal(
        [](QWidget* w) {
            EXPECT_FALSE(edit(w, "slot1AccountEdit")->isReadOnly());
            EXPECT_TRUE(w->findChild<QWidget*>("slotChoiceGroup")->isEnabled());
            clickButton(w, "OK");
        },
        [&] { clickButton(rekvizit.get(), "Банк"); });
    rekvizit->close();

    // Closed by its frame in view mode: editable again as well.
    openDetails(2);
    rekvizit->close();
    EXPECT_FALSE(edit(rekvizit.get(), "nameEdit")->isReadOnly());
}

TEST_F(DirectoryWindows, ChosenBankSlotBecomesBankNoAndIsShown) {
    storage::OrganizationRecord& f = addFirm("ООО Ромашка", "7701");
    for (int k = 0; k < 4; ++k) {
        f.banks[k].account = std::string(20, char('1' + k));
        f.banks[k].corrAccount = std::string(20, char('5' + k));
        f.banks[k].bik = std::string(9, char('1' + k));
        f.banks[k].bankShort = "short" + std::to_string(k);
        f.banks[k].bankFull = "full" + std::to_string(k);
    }
    openDetails(1);
    EXPECT_EQ(edit(rekvizit.get(), "accountEdit")->text(), QString(20, u'1'));
    const QString title = whenModal(
        [](QWidget* w) {
            EXPECT_EQ(w->findChild<QTabWidget*>("slotPages")->currentIndex(), 0);
            w->findChild<QRadioButton*>("slot3RadioButton")->click();
            clickButton(w, "OK");
        },
        [&] { clickButton(rekvizit.get(), "Банк"); });
    EXPECT_EQ(title, QStringLiteral("ООО Ромашка - Редактирование"));
    EXPECT_EQ(bank->banks().bankNo, 2);
    EXPECT_EQ(edit(rekvizit.get(), "accountEdit")->text(), QString(20, u'3'));
    EXPECT_EQ(edit(rekvizit.get(), "corrAccountEdit")->text(), QString(20, u'7'));
    EXPECT_EQ(edit(rekvizit.get(), "bikEdit")->text(), QString(9, u'3'));
    EXPECT_EQ(edit(rekvizit.get(), "bankShortEdit")->text(), QStringLiteral("short2"));
    EXPECT_EQ(edit(rekvizit.get(), "bankFullEdit")->text(), QStringLiteral("full2"));
    clickButton(rekvizit.get(), "OK");
    ASSERT_TRUE(stored());
    EXPECT_EQ(rekvizit->stored()->bankNo, 2);
    ASSERT_TRUE(engine->directory.modifyOrganization(0, *rekvizit->stored()).made);

    // The next opening starts on that page.
    openDetails(1);
    whenModal(
        [](QWidget* w) {
            EXPECT_EQ(w->findChild<QTabWidget*>("slotPages")->currentIndex(), 2);
            EXPECT_TRUE(w->findChild<QRadioButton*>("slot3RadioButton")->isChecked());
            w->close();
        },
        [&] { clickButton(rekvizit.get(), "Банк"); });
    rekvizit->close();
}

TEST_F(DirectoryWindows, BankWindowClosedByItsFrameStoresLikeOk) {
    bank->setBanks(FirmBanks{}, EditMode::Edit, 0, QString());
    bank->show();
    type(bank.get(), "slot1AccountEdit", QStringLiteral("4070281000000000000012345")); // 25 digits
    type(bank.get(), "slot4BankShortEdit", QStringLiteral("Банк 4 краткое"));
    bank->findChild<QRadioButton*>("slot4RadioButton")->click();
    bank->close();
    EXPECT_FALSE(bank->isVisible());
    EXPECT_EQ(bank->banks().bank[0].account.view(), "40702810000000000000");
    EXPECT_EQ(uni(bank->banks().bank[3].bankShort), QStringLiteral("Банк 4 краткое"));
    EXPECT_EQ(bank->banks().bankNo, 3);

    // Escape stores too.
    bank->show();
    type(bank.get(), "slot1CorrAccountEdit", QStringLiteral("301"));
    QTest::keyClick(bank.get(), Qt::Key_Escape);
    EXPECT_FALSE(bank->isVisible());
    EXPECT_EQ(bank->banks().bank[0].corrAccount.view(), "301");
}

TEST_F(DirectoryWindows, NewOrganizationBanksGoToTheFreeSlotAndFollowTheCurrentOne) {
    storage::OrganizationRecord& cur = addFirm("ООО Ромашка", "7701");
    cur.bankNo = 3;
    openDetails(0);
    type(rekvizit.get(), "nameEdit", QStringLiteral("ООО Лютик"));
    const QString title = whenModal(
        [](QWidget* w) {
            EXPECT_EQ(w->findChild<QTabWidget*>("slotPages")->currentIndex(), 3);
            EXPECT_TRUE(w->findChild<QRadioButton*>("slot4RadioButton")->isChecked());
            type(w, "slot4AccountEdit", QStringLiteral("40702"));
            w->findChild<QRadioButton*>("slot2RadioButton")->click();
            type(w, "slot2AccountEdit", QStringLiteral("30101"));
            clickButton(w, "OK");
        },
        [&] { clickButton(rekvizit.get(), "Банк"); });
    EXPECT_EQ(title, QStringLiteral("ООО Лютик - Новая организация"));
    EXPECT_EQ(bank->banks().bank[3].account.view(), "40702");
    EXPECT_EQ(bank->banks().bankNo, 1);
    EXPECT_EQ(edit(rekvizit.get(), "accountEdit")->text(), QStringLiteral("30101"));
    EXPECT_TRUE(
        store->directory.organizations[0].banks[3].account.empty()); // the current one is untouched
    type(rekvizit.get(), "innEdit", QStringLiteral("7702"));
    clickButton(rekvizit.get(), "OK");
    ASSERT_TRUE(stored());
    EXPECT_EQ(rekvizit->stored()->banks[1].account.view(), "30101");
    EXPECT_EQ(rekvizit->stored()->bankNo, 1);
}

// The bank window edits a copy; "No" in the details window must not leave its changes behind,
// neither in an edited organization nor in the free slot a cancelled new one was assembled in
// (the next new organization would inherit them unseen).
TEST_F(DirectoryWindows, NoTakesBackBankChanges) {
    storage::OrganizationRecord& f = addFirm("ООО Ромашка", "7701");
    f.banks[0].account = "111";
    const QByteArray before = storage::recordBytes(f);
    auto changeBank = [](QWidget* w) {
        type(w, "slot1AccountEdit", QStringLiteral("999"));
        w->findChild<QRadioButton*>("slot2RadioButton")->click();
        clickButton(w, "OK");
    };

    openDetails(1);
    whenModal(changeBank, [&] { clickButton(rekvizit.get(), "Банк"); });
    EXPECT_EQ(bank->banks().bankNo, 1);
    clickButton(rekvizit.get(), "No");
    EXPECT_FALSE(stored());
    EXPECT_EQ(storage::recordBytes(store->directory.organizations[0]), before);

    openDetails(0);
    whenModal(changeBank, [&] { clickButton(rekvizit.get(), "Банк"); });
    rekvizit->close();
    EXPECT_FALSE(stored());
    // The next new organization starts with empty banks again.
    openDetails(0);
    whenModal(
        [](QWidget* w) {
            EXPECT_EQ(edit(w, "slot1AccountEdit")->text(), QString());
            w->close();
        },
        [&] { clickButton(rekvizit.get(), "Банк"); });
    rekvizit->close();
}

TEST_F(DirectoryWindows, BranchButtonOpensTheBranchWindowOfAStoredOrganization) {
    addFirm("ООО Ромашка", "7701");
    QDialog filial;
    filial.setWindowTitle(QStringLiteral("Филиалы"));
    openDetails(1);
    EXPECT_FALSE(
        rekvizit->findChild<QWidget*>("branchButton")->isEnabled()); // no branch window yet
    rekvizit->close();

    QObject::connect(rekvizit.get(), &OrganizationDetailsDialog::branchesRequested, &filial,
                     [&filial] { filial.exec(); });
    openDetails(1);
    EXPECT_EQ(
        whenModal([](QWidget* w) { w->close(); }, [&] { clickButton(rekvizit.get(), "Филиал"); }),
        QStringLiteral("Филиалы"));
    rekvizit->close();
    openDetails(0);
    EXPECT_FALSE(rekvizit->findChild<QWidget*>("branchButton")->isEnabled());
    rekvizit->close();
}

TEST_F(DirectoryWindows, CardOfAnEmptyOrganizationHasSeventeenLines) {
    openDetails(0);
    const QString seen = whenModal(
        [this](QWidget* w) {
            EXPECT_EQ(cardText().split(u'\n'), cardLines(DetailTexts{}));
            w->close();
        },
        [&] { clickButton(rekvizit.get(), "Text"); });
    EXPECT_EQ(seen, card->windowTitle());
    EXPECT_EQ(cardText().split(u'\n').size(), 17);
}

TEST_F(DirectoryWindows, SavedCardNameAlwaysGetsTxt) {
    showCard();
    struct Row {
        const char* chosen;
        const char* written;
    } rows[] = {{"card", "card.txt"}, {"card.txt", "card.txt.txt"}};
    EXPECT_EQ(card->findChild<QToolButton*>("saveButton")->toolTip(), "Сохранить карточку");
    for (const Row& r : rows) {
        whenModal(
            [&](QWidget* d) {
                // The dialog opens in the program folder.
                EXPECT_EQ(qobject_cast<QFileDialog*>(d)->directory().absolutePath(),
                          QDir(dir.path()).absolutePath());
                choosingFile(dir.file(r.chosen))(d);
            },
            [&] { clickButton(card.get(), "Save"); });
        EXPECT_TRUE(dir.exists(r.written)) << r.written;
        EXPECT_TRUE(card->isVisible());
    }
    EXPECT_FALSE(dir.exists("card"));
}

TEST_F(DirectoryWindows, EditedCardSavedAsEditedInCp1251WithCrLf) {
    addFirm("ООО Ромашка", "7701");
    openDetails(1);
    type(rekvizit.get(), "nameEdit", QStringLiteral("ООО Лютик")); // typed, not stored
    showCard();
    EXPECT_TRUE(cardText().startsWith(QStringLiteral("Название организации\tООО Лютик\n")));
    auto* memo = card->findChild<QPlainTextEdit*>("cardEdit");
    memo->moveCursor(QTextCursor::End);
    typeText(memo, QStringLiteral("\nДиректор Иванов И.И. №1 €"));
    typeText(memo, QStringLiteral("漢")); // not in code page 1251: dropped
    dir.write("card.txt", "old and longer content that must go away entirely");

    whenModal(choosingFile(dir.file("card")), [&] { clickButton(card.get(), "Save"); });
    QStringList expected = cardLines(rekvizit->boxTexts());
    expected.append(QStringLiteral("Директор Иванов И.И. №1 €"));
    EXPECT_EQ(dir.read("card.txt"), cp(expected.join(QStringLiteral("\r\n")).toUtf8()) + "\r\n");
    EXPECT_EQ(uni(store->directory.organizations[0].name),
              QStringLiteral("ООО Ромашка")); // directory unchanged
    card->close();
    rekvizit->close();
}

TEST_F(DirectoryWindows, CardSaveFailureIsReportedAndTextKept) {
    showCard();
    const QString before = cardText();
    const QString seen =
        whenModals({choosingFile(dir.file("missing/card")), pressing(QStringLiteral("OK"))}, [&] {
            clickButton(card.get(), "Save");
        }).value(1);
    EXPECT_TRUE(seen.contains(QStringLiteral("card.txt"))) << seen.toStdString();
    EXPECT_EQ(cardText(), before);
    EXPECT_TRUE(card->isVisible());
    card->close();
}

TEST_F(DirectoryWindows, PrintingAnEmptiedCardPrintsNothingAndCloses) {
    showCard();
    card->findChild<QPlainTextEdit*>("cardEdit")->clear();
    EXPECT_EQ(whenModal(pressing(QStringLiteral("No")), [&] { clickButton(card.get(), "Печать"); }),
              QString());
    EXPECT_FALSE(card->isVisible());
}

TEST_F(DirectoryWindows, PrintingWithoutPrinterOffersPdf) {
    if (!render::currentPrinter().isNull())
        GTEST_SKIP() << "a printer is installed; the test would print on it";
    showCard();
    // Declined: nothing was printed, the card stays on screen.
    const QStringList declined =
        whenModals({pressing(QStringLiteral("No"))}, [&] { clickButton(card.get(), "Печать"); });
    ASSERT_EQ(declined.size(), 1);
    EXPECT_TRUE(declined[0].startsWith(QStringLiteral("Принтер не установлен.")));
    EXPECT_TRUE(card->isVisible());

    whenModals({pressing(QStringLiteral("Yes")), choosingFile(dir.file("card"))},
               [&] { clickButton(card.get(), "Печать"); });
    EXPECT_FALSE(card->isVisible());
    ASSERT_TRUE(dir.exists("card.pdf"));
    EXPECT_TRUE(dir.read("card.pdf").startsWith("%PDF"));
}

// Check digits are warnings: a failing box says what is wrong while it is typed (a changed
// BIK checks its accounts again), and the details are stored all the same.
TEST_F(DirectoryWindows, CheckDigitWarningsFollowTheTyping) {
    addFirm("ООО Ромашка", "7701");
    openDetails(1);
    QLineEdit* inn = edit(rekvizit.get(), "innEdit");
    const struct {
        QWidget* window;
        const char* box;
        const char* text;
        const char* shown; // the box whose tooltip is checked
        const char* warning;
    } steps[] = {
        {rekvizit.get(), "innEdit", "7707083894", "innEdit", "Неверное контрольное число ИНН"},
        {rekvizit.get(), "innEdit", "7707083893", "innEdit", ""},
        {rekvizit.get(), "kppEdit", "7736ab001", "kppEdit",
         "КПП должен состоять из 9 цифр (5-й и 6-й знаки могут быть заглавными латинскими "
         "буквами)"},
        {bank.get(), "slot1BikEdit", "044525225", "slot1BikEdit", ""},
        {bank.get(), "slot1AccountEdit", "40702810038000012345", "slot1AccountEdit",
         "Счет не соответствует БИК"},
        {bank.get(), "slot1AccountEdit", "40702810938000012345", "slot1AccountEdit", ""},
        {bank.get(), "slot1CorrAccountEdit", "30101810400000000225", "slot1CorrAccountEdit", ""},
        {bank.get(), "slot1BikEdit", "044030653", "slot1AccountEdit", "Счет не соответствует БИК"},
        {bank.get(), "slot1BikEdit", "044030653", "slot1CorrAccountEdit",
         "Корр. счет не соответствует БИК"},
    };
    EXPECT_EQ(inn->toolTip(), QStringLiteral("ИНН должен состоять из 10 или 12 цифр"));
    bank->setBanks(firmBanks(store->directory.organizations[0]), EditMode::Edit, 0, QString());
    bank->show();
    for (const auto& s : steps) {
        type(s.window, s.box, QString::fromUtf8(s.text));
        QLineEdit* e = edit(s.window, s.shown);
        EXPECT_EQ(e->toolTip().toStdString(), s.warning) << s.text;
        EXPECT_EQ(e->styleSheet().isEmpty(), *s.warning == 0) << s.text;
    }
    bank->close();
    EXPECT_EQ(bank->banks().bank[0].bik.view(), "044030653");
    clickButton(rekvizit.get(), "OK");
    ASSERT_TRUE(stored());
    EXPECT_EQ(rekvizit->stored()->kpp.view(), "7736ab001");
}

// Enter moves to the next box, Tab passes the read-only bank boxes by and Ctrl+Enter stores;
// each box takes what its field holds; a character code page 1251 cannot hold is refused with
// a hint; a name of blanks only is refused like an empty one.
TEST_F(DirectoryWindows, DetailsTypedFromTheKeyboard) {
    openDetails(0);
    QLineEdit* name = edit(rekvizit.get(), "nameEdit");
    typeText(name, QStringLiteral("Лютик☺"));
    EXPECT_EQ(name->text(), QStringLiteral("Лютик"));
    EXPECT_EQ(editor::shownHint(), editor::refusedCharHint(QChar(u'☺')));
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_TRUE(rekvizit->isVisible());
    EXPECT_NE(rekvizit->focusWidget(), name);
    for (int i = 0; i < 30; ++i) {
        QWidget* at = rekvizit->focusWidget();
        auto* box = qobject_cast<QLineEdit*>(at);
        EXPECT_FALSE(box && box->isReadOnly()) << box->objectName().toStdString();
        QTest::keyClick(at, Qt::Key_Tab);
    }
    const std::array<int, DetailBoxCount> capacity = detailCapacities();
    type(rekvizit.get(), "certSeriesEdit", QString(40, u'7'));
    EXPECT_EQ(edit(rekvizit.get(), "certSeriesEdit")->text().size(), capacity[1]);

    type(rekvizit.get(), "nameEdit", QStringLiteral("   "));
    type(rekvizit.get(), "innEdit", QStringLiteral("7701"));
    EXPECT_EQ(whenModal(pressing("OK"),
                        [&] { QTest::keyClick(name, Qt::Key_Return, Qt::ControlModifier); }),
              detailsMessage(DetailsCheck::NoName));
    EXPECT_EQ(store->directory.organizationCount, 0);
}

TEST_F(DirectoryWindows, TypedBikFillsTheEmptyBankBoxesAndUnconfirmedBanksAreMarked) {
    QDir(dir.path()).mkpath("Data");
    storage::BikDirectory d;
    d.date = QDate(2026, 1, 15);
    d.banks = {{"044525225", "ПАО Сбербанк", "г. Москва", {"30101810400000000225"}, {}},
               {"045773603", "АО Уралбанк", "г. Пермь", {}, QDate(2025, 3, 1)}};
    ASSERT_TRUE(storage::saveBikDirectory(store->folder.dataDir, d));
    addFirm("ООО Ромашка", "7707083893");
    bank->setBanks(firmBanks(store->directory.organizations[0]), EditMode::Edit, 0, QString());
    bank->show();

    type(bank.get(), "slot1BikEdit", "044525225");
    EXPECT_EQ(edit(bank.get(), "slot1CorrAccountEdit")->text(), "30101810400000000225");
    EXPECT_EQ(edit(bank.get(), "slot1BankShortEdit")->text(), "ПАО Сбербанк г. Москва");
    EXPECT_EQ(edit(bank.get(), "slot1BankFullEdit")->text(), "ПАО Сбербанк г. Москва");
    // What the user typed before stays.
    type(bank.get(), "slot2BankShortEdit", "Сбер");
    type(bank.get(), "slot2BikEdit", "044525225");
    EXPECT_EQ(edit(bank.get(), "slot2BankShortEdit")->text(), "Сбер");
    EXPECT_EQ(edit(bank.get(), "slot2CorrAccountEdit")->text(), "30101810400000000225");

    type(bank.get(), "slot3BikEdit", "044525000");
    EXPECT_EQ(edit(bank.get(), "slot3CorrAccountEdit")->text(), "");
    EXPECT_EQ(edit(bank.get(), "slot3BikEdit")->toolTip(), "БИК не найден в справочнике БИК");
    type(bank.get(), "slot4BikEdit", "045773603");
    EXPECT_EQ(edit(bank.get(), "slot4BikEdit")->toolTip(),
              "Банк больше не участвует в расчетах (по справочнику БИК)");
    // A correspondent account whose key fits the BIK, but not the bank's.
    type(bank.get(), "slot2CorrAccountEdit", datagen::correspondentAccount("044525225", 1));
    EXPECT_EQ(edit(bank.get(), "slot2CorrAccountEdit")->toolTip(),
              "Корр. счет не совпадает со справочником БИК");
    bank->close();
}
