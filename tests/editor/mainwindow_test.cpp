#include "support/support.h"

#include "archive/settingsdialog.h"
#include "core/engine.h"
#include "editor/budgetfieldsdialog.h"
#include "editor/documentopener.h"
#include "editor/mainwindow.h"
#include "editor/uiutil.h"
#include "editor/windowsizes.h"
#include "storage/choices.h"
#include "storage/folderdata.h"
#include "storage/platfile.h"
#include "storage/startup.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace editor;
using testing_support::cps;
using testing_support::pressing;
using testing_support::TempDir;
using testing_support::typeText;
using testing_support::whenModal;

namespace {

// The main window with the dialogs it opens, on a program folder with two organizations.
class Editor {
public:
    TempDir dir;
    std::unique_ptr<storage::FolderData> store = std::make_unique<storage::FolderData>();
    std::unique_ptr<core::Engine> engine;
    std::unique_ptr<MainWindow> form;
    BudgetFieldsDialog* budget = nullptr;

    explicit Editor(const std::function<void(const TempDir&)>& prepare = {}) {
        writeFirms();
        if (prepare)
            prepare(dir);
        storage::startUp(*store, dir.path());
        engine = std::make_unique<core::Engine>(*store);
        engine->archive.scan();
        form = std::make_unique<MainWindow>(engine->folder, engine->settings, engine->directory,
                                            engine->document);
        budget = new BudgetFieldsDialog(engine->settings, form.get());
        form->setBudgetEditor([this](const BudgetRequest& r) { return budget->edit(r); });
        auto* settings = new archive::SettingsDialog(form.get());
        QObject::connect(form.get(), &MainWindow::settingsRequested, form.get(), [this, settings] {
            archive::editSettings(form.get(), *settings, engine->settings);
        });
        QObject::connect(form.get(), &MainWindow::closing, form.get(), [this] {
            SizedWindows sized;
            sized[core::WindowTag::Main] = form.get();
            keepWindowSizes(engine->settings, sized);
        });
        form->show();
    }

    void writeFirms() {
        std::array<storage::OrganizationRecord, storage::MaxFirms> firms{};
        storage::clearRecord(firms);
        firms[0].name = "Payer";
        firms[0].inn = "1234567890";
        firms[0].bankNo = 1;
        firms[0].banks[1].account = "40702810000000000001";
        firms[1].name = "Payee";
        firms[1].inn = "7701000001";
        QDir(dir.path()).mkpath("Data");
        dir.write("Data/Firms", storage::recordBytes(firms));
    }

    bool saved() const { return engine->document.isSaved(); }
    // Opens the budget dialog with "Налоги" and lets fill fill it before "OK".
    void editBudget(const std::function<void(QWidget*)>& fill) {
        whenModal(
            [&](QWidget* dialog) {
                fill(dialog);
                testing_support::clickButton(dialog, "OK");
            },
            [&] { get<QPushButton>("budgetButton")->click(); });
    }

    template <class T> T* get(const char* name) const {
        T* w = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QLineEdit* edit(const char* name) const { return get<QLineEdit>(name); }
    QToolButton* button(const char* name) const { return get<QToolButton>(name); }

    void choosePayer(int i) { testing_support::chooseRow(get<QComboBox>("payerCombo"), i); }
    void choosePayee(int i) { testing_support::chooseRow(get<QComboBox>("payeeCombo"), i); }
    void clickGroup(const char* name) {
        QGroupBox* g = get<QGroupBox>(name);
        QTest::mouseClick(g, Qt::LeftButton, {}, QPoint(g->width() - 3, 3));
    }
    // Fills a complete order of the first organization to the second.
    void fill(const QString& number, const QString& date) {
        choosePayer(0);
        choosePayee(1);
        edit("numberEdit")->setText(number);
        edit("dateEdit")->setText(date);
        edit("amountEdit")->setText("1500-00");
        get<QPlainTextEdit>("purposeEdit")->setPlainText("Оплата по счету 5");
    }
    // Switches to the preview page; returns the text of a message box it showed, if any.
    QString preview() {
        return whenModal(pressing("OK"), [&] { get<QTabWidget>("pages")->setCurrentIndex(1); });
    }
    void firstPage() { get<QTabWidget>("pages")->setCurrentIndex(0); }
    // Saves the order on screen, answering the replacement question with answer.
    QString save(const QString& answer = "Yes") {
        return whenModal(pressing(answer), [&] { button("saveButton")->click(); });
    }
    void saveNew(const QString& number, const QString& date) {
        fill(number, date);
        preview();
        ASSERT_TRUE(button("saveButton")->isEnabled()) << number.toStdString();
        save();
        firstPage();
        button("newButton")->click(); // New
    }
};

QColor textColour(QWidget* w) {
    return w->palette().color(QPalette::Text);
}

} // namespace

TEST(MainWindow, StartsAsANewOrder) {
    Editor w;
    EXPECT_EQ(w.form->windowTitle(), "Quenmara  V.2.0");
    EXPECT_EQ(w.edit("dateEdit")->text(), todayText());
    EXPECT_EQ(w.edit("vatEdit")->text(), "Без НДС");
    EXPECT_EQ(w.edit("payKindEdit")->text(), "Электронно");
    EXPECT_EQ(w.edit("priorityEdit")->text(), storage::priorityText(0, storage::today()));
    EXPECT_EQ(w.edit("statusEdit")->text(), "Нет");
    EXPECT_EQ(w.get<QComboBox>("payerCombo")->count(), 2);
    EXPECT_EQ(w.get<QComboBox>("payerCombo")->currentIndex(), -1);
    for (const char* b : {"listButton", "saveButton", "newButton", "printButton"})
        EXPECT_FALSE(w.button(b)->isEnabled()) << b;
    EXPECT_TRUE(w.button("organizationsButton")->isEnabled());
    EXPECT_FALSE(w.get<QPushButton>("budgetButton")->isEnabled());
    EXPECT_EQ(w.button("printButton")->toolTip(), "Печать");
}

TEST(MainWindow, ChoosingAPayerProposesItsNextNumber) {
    Editor w([](const TempDir& d) {
        QDir(d.path()).mkpath("PP");
        for (const char* n : {"3", "12", "007"})
            d.write(QString("PP/%1_1234567890_09.plat").arg(n),
                    testing_support::platFile({n, "1234567890", "01.02.2009", "7701000001", "1"}));
    });
    EXPECT_TRUE(w.button("listButton")->isEnabled()); // "List": saved orders exist
    w.edit("numberEdit")->setText("99");
    w.choosePayer(0);
    EXPECT_EQ(w.edit("numberEdit")->text(), "13");
    w.choosePayer(1);
    EXPECT_EQ(w.edit("numberEdit")->text(), "1");
}

TEST(MainWindow, DateCheckOnThePreviewPage) {
    Editor w;
    w.fill("7", "5.03.2009");
    EXPECT_EQ(w.preview(), "");
    EXPECT_EQ(w.edit("dateEdit")->text(), "05.03.2009");
    EXPECT_TRUE(w.button("saveButton")->isEnabled());
    EXPECT_TRUE(w.button("printButton")->isEnabled());
    w.firstPage();
    EXPECT_FALSE(w.button("saveButton")->isEnabled());
    EXPECT_FALSE(w.button("printButton")->isEnabled());
    for (const char* bad : {"05.3.2009", "01.01.1999", "00.01.2009", "01.13.2009"}) {
        w.edit("dateEdit")->setText(bad);
        EXPECT_EQ(w.preview(), "Неверный формат даты") << bad;
        EXPECT_FALSE(w.button("saveButton")->isEnabled()) << bad;
        w.firstPage();
    }
    // A day that is not in the calendar is refused too, and says so.
    w.edit("dateEdit")->setText("31.02.2026");
    EXPECT_EQ(w.preview(), "Такой даты нет в календаре: 31.02.2026");
    EXPECT_FALSE(w.button("saveButton")->isEnabled());
    w.firstPage();
    w.edit("dateEdit")->setText("29.02.2024");
    EXPECT_EQ(w.preview(), "");
    EXPECT_TRUE(w.button("saveButton")->isEnabled());
}

TEST(MainWindow, BudgetPaymentWithoutDocumentDateIsRefusedSilently) {
    Editor w;
    w.fill("7", "10.02.2009");
    w.clickGroup("statusGroup");
    EXPECT_EQ(w.edit("statusEdit")->text(), "01");
    EXPECT_TRUE(w.get<QPushButton>("budgetButton")->isEnabled());
    w.editBudget([](QWidget* budget) {
        budget->findChild<QComboBox*>("kbkCombo")->setEditText("18210501010011000110");
        budget->findChild<QComboBox*>("okatoCombo")->setEditText("65401000000");
        budget->findChild<QComboBox*>("basisCombo")->setEditText("ТП");
        budget->findChild<QComboBox*>("periodCombo")->setEditText("KB.01.2009");
        budget->findChild<QComboBox*>("typeCombo")->setEditText("НС");
        budget->findChild<QLineEdit*>("docNumberEdit")->setText("5");
        budget->findChild<QLineEdit*>("docDateEdit")->clear();
    });
    EXPECT_EQ(w.preview(), "");
    EXPECT_FALSE(w.button("saveButton")->isEnabled());
    // The same order with the status "Нет" is accepted.
    w.firstPage();
    w.clickGroup("statusGroup");
    w.clickGroup("statusGroup");
    EXPECT_EQ(w.edit("statusEdit")->text(), "Нет");
    EXPECT_FALSE(w.get<QPushButton>("budgetButton")->isEnabled());
    w.preview();
    EXPECT_TRUE(w.button("saveButton")->isEnabled());
}

TEST(MainWindow, ChoiceGroupsCycleOnAClickOfTheGroup) {
    Editor w;
    w.edit("dateEdit")->setText("10.02.2009");
    for (const char* vat : {"18%", "10%", "Без НДС"}) {
        w.clickGroup("vatGroup");
        EXPECT_EQ(w.edit("vatEdit")->text(), vat);
    }
    for (const char* kind : {"Почтой", "Телеграфом", "Срочно", "Электронно"}) {
        w.clickGroup("payKindGroup");
        EXPECT_EQ(w.edit("payKindEdit")->text(), kind);
    }
    w.clickGroup("priorityGroup");
    EXPECT_EQ(w.edit("priorityEdit")->text(), "4");
    // A click on the text field itself changes nothing.
    QTest::mouseClick(w.edit("priorityEdit"), Qt::LeftButton);
    EXPECT_EQ(w.edit("priorityEdit")->text(), "4");
}

TEST(MainWindow, KeyFiltersOfNumberAndAmount) {
    Editor w;
    typeText(w.edit("amountEdit"), "12a б,-.5 ");
    EXPECT_EQ(w.edit("amountEdit")->text(), "12,-.5");
    typeText(w.edit("amountEdit"), "1234567890");
    EXPECT_EQ(w.edit("amountEdit")->text(), "12,-.5123456"); // the 12 characters the amount holds
    typeText(w.edit("numberEdit"), "1x2-3456789");
    EXPECT_EQ(w.edit("numberEdit")->text(), "12345");
}

TEST(MainWindow, SavingANewOrderTurnsItIntoASavedOne) {
    Editor w;
    w.fill("7", "10.02.2009");
    QString purpose = QString(300, u'я');
    w.get<QPlainTextEdit>("purposeEdit")->setPlainText(purpose);
    w.preview();
    EXPECT_EQ(w.save(), "");
    ASSERT_TRUE(w.dir.exists("PP/7_1234567890_09.plat"));
    storage::OrderRecord p;
    ASSERT_TRUE(storage::readOrderFile(w.dir.file("PP/7_1234567890_09.plat"), p));
    EXPECT_EQ(p.purpose.size(), 255u);
    EXPECT_EQ(p.payerAccount.view(), "40702810000000000001");
    EXPECT_TRUE(w.saved());
    EXPECT_TRUE(w.edit("numberEdit")->isReadOnly());
    EXPECT_TRUE(w.edit("dateEdit")->isReadOnly());
    EXPECT_EQ(textColour(w.edit("amountEdit")), QColor(0, 0, 170));
    EXPECT_TRUE(w.button("newButton")->isEnabled());
    EXPECT_FALSE(w.button("saveButton")->isEnabled());
    EXPECT_TRUE(w.button("listButton")->isEnabled());
    EXPECT_EQ(w.get<QComboBox>("payerCombo")->count(), 1);
}

TEST(MainWindow, SameNumberPayerAndYearAsksBeforeReplacing) {
    Editor w;
    w.saveNew("7", "10.02.2009");
    const QByteArray first = w.dir.read("PP/7_1234567890_09.plat");

    // Declined: the first file stays.
    w.fill("7", "11.02.2009");
    w.edit("amountEdit")->setText("2000-00");
    w.preview();
    EXPECT_EQ(w.save("No"), "Заменить платежку");
    EXPECT_EQ(w.dir.read("PP/7_1234567890_09.plat"), first);
    EXPECT_FALSE(w.saved());

    // Confirmed: replaced.
    EXPECT_EQ(w.save("Yes"), "Заменить платежку");
    EXPECT_NE(w.dir.read("PP/7_1234567890_09.plat"), first);
    EXPECT_TRUE(w.saved());

    // Another year is another file, without a question.
    w.firstPage();
    w.button("newButton")->click();
    w.fill("7", "10.02.2010");
    w.preview();
    EXPECT_EQ(w.save(), "");
    EXPECT_TRUE(w.dir.exists("PP/7_1234567890_10.plat"));
}

// With only the current year loaded, an order of last year is not in the list; saving a new
// order of the same number, payer and year asks all the same.
TEST(MainWindow, OrderOfLastYearNotLoadedIsAskedAboutBeforeReplacing) {
    const QString year = QString::number(QDate::currentDate().year() - 1);
    const QString name = QStringLiteral("PP/7_1234567890_%1.plat").arg(year.right(2));
    const QByteArray old = testing_support::platFile(
        {"7", "1234567890", qPrintable("01.02." + year), "7701000001", "10-00"});
    Editor w([&](const TempDir& dir) {
        QByteArray set(512, '\0');
        set[0] = 1; // only the current year
        dir.write("Set", set);
        QDir(dir.path()).mkpath("PP");
        dir.write(name, old);
    });
    ASSERT_EQ(w.engine->archive.orderCount(), 0);
    w.fill("7", "10.02." + year);
    w.preview();
    EXPECT_EQ(w.save("No"), "Заменить платежку");
    EXPECT_EQ(w.dir.read(name), old);
    EXPECT_FALSE(w.saved());
    EXPECT_EQ(w.save("Yes"), "Заменить платежку");
    EXPECT_NE(w.dir.read(name), old);
    EXPECT_TRUE(w.saved());
}

TEST(MainWindow, UnchangedSavedOrderCannotBeSavedAgainAChangedOneCan) {
    Editor w;
    w.fill("7", "10.02.2009");
    w.preview();
    w.save();
    w.firstPage();
    w.preview();
    EXPECT_FALSE(w.button("saveButton")->isEnabled());
    EXPECT_TRUE(w.button("printButton")->isEnabled());
    w.firstPage();
    w.edit("amountEdit")->setText("1600-00");
    w.preview();
    EXPECT_TRUE(w.button("saveButton")->isEnabled());
    w.save();
    storage::OrderRecord p;
    ASSERT_TRUE(storage::readOrderFile(w.dir.file("PP/7_1234567890_09.plat"), p));
    EXPECT_EQ(p.amount.view(), "1600-00");
}

TEST(MainWindow, AcceptedBoxOfASavedOrderWritesAtOnceAndLocks) {
    Editor w;
    w.fill("7", "10.02.2009");
    w.preview();
    w.save();
    w.firstPage();
    auto* box = w.get<QCheckBox>("acceptedCheck");
    box->click();
    storage::OrderRecord p;
    ASSERT_TRUE(storage::readOrderFile(w.dir.file("PP/7_1234567890_09.plat"), p));
    EXPECT_EQ(p.accepted, 1);
    EXPECT_EQ(w.engine->archive.cellText(0, 5), "Оплачено");
    for (const char* g : {"payerGroup", "numberGroup", "vatGroup", "statusGroup", "purposeGroup"})
        EXPECT_FALSE(w.get<QGroupBox>(g)->isEnabled()) << g;
    // A click on a disabled choice group changes nothing.
    for (const char* g : {"vatGroup", "payKindGroup", "priorityGroup", "statusGroup"})
        w.clickGroup(g);
    EXPECT_EQ(w.edit("vatEdit")->text(), "Без НДС");
    EXPECT_EQ(w.edit("payKindEdit")->text(), "Электронно");
    EXPECT_EQ(w.edit("priorityEdit")->text(), "6");
    EXPECT_EQ(w.edit("statusEdit")->text(), "Нет");
    EXPECT_FALSE(w.get<QPushButton>("budgetButton")->isEnabled());
    box->click();
    ASSERT_TRUE(storage::readOrderFile(w.dir.file("PP/7_1234567890_09.plat"), p));
    EXPECT_EQ(p.accepted, 0);
    EXPECT_TRUE(w.get<QGroupBox>("purposeGroup")->isEnabled());
}

// On a full disk the error was shown but the box stayed ticked, the list said "Оплачено" and
// the file still said not accepted. The box, the list and the closing question now follow the
// file.
TEST(MainWindow, AcceptedTickThatCannotBeWrittenReturnsToWhatTheFileHolds) {
    Editor w;
    w.fill("7", "10.02.2009");
    w.preview();
    w.save();
    w.firstPage();
    const QByteArray before = w.dir.read("PP/7_1234567890_09.plat");
    auto* box = w.get<QCheckBox>("acceptedCheck");
    QString shown;
    {
        testing_support::FileSizeLimit full(1000);
        shown = whenModal(pressing("OK"), [&] { box->click(); });
    }
    EXPECT_TRUE(shown.contains("Не могу записать файл")) << shown.toStdString();
    EXPECT_EQ(w.dir.read("PP/7_1234567890_09.plat"), before);
    EXPECT_FALSE(box->isChecked());
    EXPECT_TRUE(w.get<QGroupBox>("purposeGroup")->isEnabled());
    EXPECT_EQ(w.engine->archive.cellText(0, 5), "Не оплачено");
    EXPECT_EQ(w.engine->document.record().accepted, 0);
    // The closing question finds the order unchanged.
    ASSERT_TRUE(w.engine->document.update(w.form->fields()));
    EXPECT_FALSE(w.engine->document.isModified());
}

TEST(MainWindow, NewAfterASavedOrderKeepsItsContentsWithTheNextNumber) {
    Editor w;
    w.fill("12", "10.02.2009");
    w.clickGroup("vatGroup");
    w.preview();
    w.save();
    w.firstPage();
    w.get<QCheckBox>("acceptedCheck")->click(); // accepted
    w.button("newButton")->click();
    EXPECT_FALSE(w.saved());
    EXPECT_EQ(w.get<QComboBox>("payerCombo")->count(), 2);
    EXPECT_EQ(w.get<QComboBox>("payerCombo")->currentIndex(), 0);
    EXPECT_EQ(w.get<QComboBox>("payeeCombo")->currentIndex(), 1);
    EXPECT_EQ(w.edit("numberEdit")->text(), "13");
    EXPECT_EQ(w.edit("dateEdit")->text(), todayText());
    EXPECT_EQ(w.edit("amountEdit")->text(), "1500-00");
    EXPECT_FALSE(w.get<QCheckBox>("acceptedCheck")->isChecked());
    // The VAT choice is kept; its rate follows the date.
    w.edit("dateEdit")->setText("10.02.2009");
    EXPECT_EQ(w.edit("vatEdit")->text(), "18%");
    EXPECT_TRUE(w.get<QGroupBox>("payerGroup")->isEnabled());
    EXPECT_FALSE(w.edit("numberEdit")->isReadOnly());
    EXPECT_EQ(textColour(w.edit("amountEdit")), QColor(0, 0, 0));
    // The accepted order's file still says accepted.
    storage::OrderRecord p;
    ASSERT_TRUE(storage::readOrderFile(w.dir.file("PP/12_1234567890_09.plat"), p));
    EXPECT_EQ(p.accepted, 1);
}

TEST(MainWindow, SettingsFileIsWrittenOnlyWhenASettingChanged) {
    Editor w;
    auto toggle = [&](int clicks) {
        whenModal(
            [&](QWidget* dialog) {
                auto* box = dialog->findChild<QCheckBox*>("currentYearCheck");
                for (int i = 0; i < clicks; ++i)
                    box->click();
                testing_support::clickButton(dialog, "OK");
            },
            [&] { w.button("settingsButton")->click(); });
    };
    toggle(2);
    EXPECT_FALSE(w.dir.exists("Set"));
    toggle(1);
    ASSERT_TRUE(w.dir.exists("Set"));
    EXPECT_EQ(w.dir.read("Set").at(0), 1);
}

// The rate and the priority shown follow the date typed; the simplified rates join the
// cycle of "НДС" only with the setting, which the settings file carries in its byte 1 and
// which leaves the rest of the file as it was.
TEST(MainWindow, RatesOfTheDateAndTheSimplifiedRatesSetting) {
    QByteArray set(512, '\0');
    set[300] = 9;
    Editor w([&](const TempDir& dir) { dir.write("Set", set); });
    w.edit("dateEdit")->setText("31.12.2025");
    w.clickGroup("vatGroup");
    EXPECT_EQ(w.edit("vatEdit")->text(), "20%");
    EXPECT_EQ(w.edit("priorityEdit")->text(), "5");
    w.edit("dateEdit")->setText("01.01.2026");
    EXPECT_EQ(w.edit("vatEdit")->text(), "22%");
    w.edit("dateEdit")->setText("01.01.2013");
    EXPECT_EQ(w.edit("vatEdit")->text(), "18%");
    EXPECT_EQ(w.edit("priorityEdit")->text(), "6");
    w.edit("dateEdit")->setText("01.01.2026");

    auto cycle = [&](Editor& m) {
        QStringList seen;
        for (int i = 0; i < 5; ++i) {
            m.clickGroup("vatGroup");
            seen << m.edit("vatEdit")->text();
        }
        return seen;
    };
    EXPECT_EQ(cycle(w), QStringList({"10%", "Без НДС", "22%", "10%", "Без НДС"}));
    whenModal(
        [&](QWidget* dialog) {
            dialog->findChild<QCheckBox*>("usnRatesCheck")->click();
            testing_support::clickButton(dialog, "OK");
        },
        [&] { w.button("settingsButton")->click(); });
    const QByteArray written = w.dir.read("Set");
    ASSERT_EQ(written.size(), 512);
    EXPECT_EQ(written.at(1), 1);
    set[1] = 1;
    EXPECT_EQ(written, set);

    Editor again([&](const TempDir& dir) { dir.write("Set", written); });
    again.edit("dateEdit")->setText("01.01.2026");
    EXPECT_EQ(cycle(again), QStringList({"22%", "10%", "5%", "7%", "Без НДС"}));
}

// The preview lists the failed checks of the parties under the form; they are warnings, so
// the order can still be saved.
TEST(MainWindow, PreviewWarnsOfWrongDetailsAndStillSaves) {
    Editor w;
    w.fill("7", "10.02.2009");
    w.preview();
    QLabel* status = w.get<QLabel>("previewWarning");
    EXPECT_EQ(status->text(), "Плательщик: неверное контрольное число ИНН");
    EXPECT_FALSE(status->isHidden());
    EXPECT_TRUE(w.button("saveButton")->isEnabled());
    EXPECT_EQ(w.save(), "");
    EXPECT_TRUE(w.dir.exists("PP/7_1234567890_09.plat"));
}

// "ЕНП" fills the budget fields of the single tax payment and sets the status "01"; the
// fields stay editable.
TEST(MainWindow, SingleTaxPaymentFillsTheBudgetFieldsAndTheStatus) {
    Editor w;
    w.fill("7", "10.02.2009");
    w.clickGroup("statusGroup");
    w.clickGroup("statusGroup");
    EXPECT_EQ(w.edit("statusEdit")->text(), "02");
    whenModal(
        [](QWidget* dialog) {
            testing_support::clickButton(dialog, "ЕНП");
            testing_support::clickButton(dialog, "OK");
        },
        [&] { w.get<QPushButton>("budgetButton")->click(); });
    EXPECT_EQ(w.edit("statusEdit")->text(), "01");
    // The texts stay with the order while the dialog is closed, and it shows them again.
    const core::BudgetFields single{"18201061201010000510", "0", "0", "0", "0", "0", "0"};
    EXPECT_EQ(w.engine->document.budget(), single);
    w.editBudget([&](QWidget* dialog) {
        EXPECT_EQ(static_cast<BudgetFieldsDialog*>(dialog)->fields(), single);
        auto* kbk = dialog->findChild<QComboBox*>("kbkCombo");
        EXPECT_TRUE(kbk->isEnabled() && kbk->isEditable());
    });
    EXPECT_EQ(w.edit("statusEdit")->text(), "01");
    w.preview();
    EXPECT_TRUE(w.button("saveButton")->isEnabled());
    // Opening the dialog again without the button leaves the status alone.
    w.firstPage();
    w.clickGroup("statusGroup");
    whenModal([](QWidget* dialog) { testing_support::clickButton(dialog, "OK"); },
              [&] { w.get<QPushButton>("budgetButton")->click(); });
    EXPECT_EQ(w.edit("statusEdit")->text(), "02");
}

TEST(MainWindow, ClosingWritesWindowSizesOnlyWhenOneChanged) {
    Editor w;
    w.form->close(); // the window opened larger than the size kept for it
    ASSERT_TRUE(w.dir.exists("FormW"));
    QFile::remove(w.dir.file("FormW"));
    w.form->show();
    w.form->close();
    EXPECT_FALSE(w.dir.exists("FormW"));
    w.form->show();
    w.form->resize(w.form->width() + 40, w.form->height());
    w.form->close();
    ASSERT_EQ(w.dir.size("FormW"), 1024);
    const QByteArray f = w.dir.read("FormW");
    EXPECT_EQ(quint8(f[0]) | quint8(f[1]) << 8, w.form->width());
}

// The choice fields are reached by Tab and advanced by Space or Enter as by a click on their
// group; a screen reader hears each control by its name, the choice fields as read-only, the
// pickers by their labels whatever they show, and the menu of "Статус" as a menu.
TEST(MainWindow, ChoiceFieldsFromTheKeyboardAndWhatAScreenReaderHears) {
    Editor w;
    QLineEdit* vat = w.edit("vatEdit");
    EXPECT_EQ(vat->focusPolicy(), Qt::TabFocus);
    const QString before = vat->text();
    QTest::keyClick(vat, Qt::Key_Space);
    EXPECT_NE(vat->text(), before);
    {
        Editor clicked; // the same step as a click on the group
        clicked.clickGroup("vatGroup");
        EXPECT_EQ(vat->text(), clicked.edit("vatEdit")->text());
    }
    QTest::keyClick(w.edit("statusEdit"), Qt::Key_Return);
    EXPECT_EQ(w.edit("statusEdit")->text(), statusTexts()[1]);
    EXPECT_TRUE(w.get<QPushButton>("budgetButton")->isEnabled());

    auto hear = [](QObject* o) { return QAccessible::queryAccessibleInterface(o); };
    EXPECT_EQ(hear(vat)->text(QAccessible::Name), "НДС");
    EXPECT_TRUE(hear(vat)->state().readOnly);
    EXPECT_EQ(hear(w.button("printButton"))->text(QAccessible::Name), "Печать");
    w.choosePayer(1);
    QAccessibleInterface* payer = hear(w.get<QComboBox>("payerCombo"));
    EXPECT_EQ(payer->role(), QAccessible::ComboBox);
    EXPECT_EQ(payer->text(QAccessible::Name), "Кто платит");
    EXPECT_EQ(payer->text(QAccessible::Value), "Payee");
    EXPECT_EQ(hear(w.get<QComboBox>("payeeCombo"))->text(QAccessible::Name), "Кому платит");
    QAccessibleInterface* menu = hear(w.form->findChild<QMenu*>("statusMenu"));
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->role(), QAccessible::PopupMenu);
    EXPECT_EQ(menu->text(QAccessible::Name), "Статус");
    EXPECT_EQ(menu->childCount(), 5);
}

// The purpose and the boxes of the budget dialog take at most what their fields of the order
// record hold (the purpose counting each line break as the two bytes it is stored as), say so
// when they refuse more, and what they show is what is saved.
TEST(MainWindow, BoxesTakeNoMoreThanTheirFieldsAndSaveWhatTheyShow) {
    Editor w;
    w.fill("7", "10.02.2009");
    auto* memo = w.get<QPlainTextEdit>("purposeEdit");
    memo->clear();
    memo->setFocus();
    memo->insertPlainText(QString("ab\n").repeated(100));
    EXPECT_EQ(memo->toPlainText(), QString("ab\n").repeated(63) + "ab"); // 254 bytes stored
    EXPECT_EQ(editor::shownHint(), tooLongHint(255));
    editor::hideHint();
    QTest::keyClicks(memo, "cd");
    QTest::keyClick(memo, Qt::Key_Return);
    EXPECT_TRUE(memo->toPlainText().endsWith("abc")) << memo->toPlainText().right(5).toStdString();
    EXPECT_EQ(editor::shownHint(), tooLongHint(255));

    w.clickGroup("statusGroup"); // a budget payment: the seven texts must be there
    using storage::OrderRecord;
    const std::pair<const char*, int> boxes[] = {
        {"kbkCombo", capacityOf(&OrderRecord::kbk)},
        {"okatoCombo", capacityOf(&OrderRecord::okato)},
        {"basisCombo", capacityOf(&OrderRecord::basis)},
        {"periodCombo", capacityOf(&OrderRecord::taxPeriod)},
        {"typeCombo", capacityOf(&OrderRecord::taxType)},
        {"docNumberEdit", capacityOf(&OrderRecord::docNumber)},
        {"docDateEdit", capacityOf(&OrderRecord::docDate)}};
    w.editBudget([&](QWidget* budget) {
        for (auto [name, capacity] : boxes) {
            auto* combo = budget->findChild<QComboBox*>(name);
            QLineEdit* box = combo ? combo->lineEdit() : budget->findChild<QLineEdit*>(name);
            box->setFocus();
            box->insert(QString(300, u'Ж'));
            EXPECT_EQ(box->text().size(), capacity) << name;
            EXPECT_EQ(editor::shownHint(), tooLongHint(capacity)) << name;
            editor::hideHint();
        }
    });
    w.preview();
    EXPECT_EQ(w.save(), "");
    storage::OrderRecord p;
    ASSERT_TRUE(storage::readOrderFile(w.dir.file("PP/7_1234567890_09.plat"), p));
    EXPECT_EQ(QByteArray(p.purpose.bytes()), purposeBytes(memo->toPlainText()));
    const core::BudgetFields t = w.engine->document.budget();
    EXPECT_EQ(
        QStringList({toUi(p.kbk), toUi(p.okato), toUi(p.basis), toUi(p.taxPeriod), toUi(p.taxType),
                     toUi(p.docNumber), toUi(p.docDate)}),
        QStringList({t.kbk, t.okato, t.basis, t.taxPeriod, t.taxType, t.docNumber, t.docDate}));
    EXPECT_EQ(t.kbk, QString(20, u'Ж'));
}

// An accepted budget payment cannot be changed through the budget dialog either: its "ЕНП"
// button, which rewrites the seven fields and the status, is locked with the fields.
TEST(MainWindow, AcceptedBudgetPaymentKeepsItsBudgetFieldsAndStatus) {
    Editor w;
    w.fill("7", "10.02.2009");
    w.clickGroup("statusGroup");
    w.clickGroup("statusGroup"); // "02"
    w.get<QCheckBox>("acceptedCheck")->setChecked(true);
    const core::BudgetFields before = w.engine->document.budget();
    whenModal(
        [](QWidget* dialog) {
            testing_support::clickButton(dialog, "ЕНП");
            testing_support::clickButton(dialog, "OK");
        },
        [&] { w.get<QPushButton>("budgetButton")->click(); });
    EXPECT_EQ(w.edit("statusEdit")->text(), "02");
    EXPECT_EQ(w.engine->document.budget(), before);
}

// "Help" on a system without a program to show the guide did nothing at all (the desktop's
// opener failed after the call had returned): now a message says why, and where the file is.
TEST(MainWindow, HelpThatCannotBeOpenedSaysWhyAndWhere) {
    Editor w;
    const QString help = QDir::toNativeSeparators(w.dir.file("Quenmara.chm"));
    auto helpMessage = [&] {
        bool answered = false;
        return whenModal(
            [&](QWidget* box) {
                answered = true;
                box->close();
            },
            [&] {
                w.button("helpButton")->click();
                EXPECT_TRUE(QTest::qWaitFor([&] { return answered; }, 5000));
            });
    };
    EXPECT_EQ(helpMessage(), "Не могу открыть файл справки " + help + ": файл не найден");

    // The desktop's opener finds no program for the file, as on a system without a browser.
    w.dir.write("Quenmara.chm", "help");
    TempDir bin;
    bin.write("xdg-open", "#!/bin/sh\nexit 3\n");
    QFile::setPermissions(bin.file("xdg-open"), QFile::ReadOwner | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toLocal8Bit() + ':' + path);
    const QString message = helpMessage();
    qputenv("PATH", path);
    EXPECT_EQ(message, "Не могу открыть файл справки " + help + ": " + openerFailure(3));
}
