// The order on screen: its check, its record, the one save flow of new and saved orders, the
// accepted box, "New" and the signals that tell the windows what happened.
#include "support/support.h"

#include "core/orderdocument.h"
#include "storage/platfile.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace core;
using testing_support::TempDir;

namespace {

// A program folder with two organizations and the folders of saved orders.
struct Fixture {
    TempDir dir;
    std::unique_ptr<storage::FolderData> s = std::make_unique<storage::FolderData>();
    ProgramFolder folder{s->folder};
    Settings settings{folder, s->settings};
    Directory directory{folder, s->directory};
    OrderArchive archive{folder, settings, directory};
    OrderDocument doc{folder, directory, archive};
    std::vector<QString> asked, told;
    bool answer = true;
    SaveQuestions q{[this](const QString& line1, const QString&) {
                        asked.push_back(line1);
                        return answer;
                    },
                    [this](const QString& text) { told.push_back(text); }};

    Fixture() {
        s->folder.setProgramDir(dir.path());
        QDir(dir.path()).mkpath("PP");
        QDir(dir.path()).mkpath("Data");
        addFirm("Payer", "1234567890", 1);
        addFirm("Payee", "7701000001", 0);
    }
    void addFirm(const char* name, const char* inn, int bankNo) {
        storage::OrganizationRecord& f =
            s->directory.organizations[std::size_t(s->directory.organizationCount++)];
        f.name = name;
        f.inn = inn;
        f.kpp = "660101001";
        f.bankNo = std::uint8_t(bankNo);
        for (int b = 0; b < 4; ++b)
            f.banks[b].account = "account" + std::to_string(b);
    }
    OrderFields order(const QString& number = "7", const QString& date = "10.02.2009") const {
        OrderFields f;
        f.payer = 0;
        f.payee = 1;
        f.number = number;
        f.date = date;
        f.amount = "1500-00";
        f.purpose = "Оплата по счету 5";
        return f;
    }
    CheckResult check(const OrderFields& f) const { return doc.check(f).result; }
    // Saves a new order as the editor does after a successful check; the next one is new.
    void saveNew(const OrderFields& f) {
        ASSERT_EQ(check(f), CheckOk);
        ASSERT_TRUE(doc.save(f, q).saved);
        doc.startNew();
    }
};

} // namespace

// A check says what it found and changes nothing: not the record, not the file name.
TEST(OrderDocument, CheckOfDates) {
    Fixture fx;
    const QByteArray before = storage::recordBytes(fx.doc.record());
    struct Case {
        const char* date;
        CheckResult expected;
        const char* checked;
    } cases[] = {
        {"5.03.2009", CheckOk, "05.03.2009"}, // the default date gets its zero
        {"05.3.2009", CheckBadDate, "005.3.2009"},
        {"5.3.2009", CheckBadDate, "5.3.2009"},
        {"29.02.2024", CheckOk, "29.02.2024"}, // a leap year
        {"31.02.2026", CheckDateNotInCalendar, "31.02.2026"},
        {"30.02.2024", CheckDateNotInCalendar, "30.02.2024"},
        {"29.02.2023", CheckDateNotInCalendar, "29.02.2023"},
        {"31.04.2009", CheckDateNotInCalendar, "31.04.2009"},
        {"01.01.2020", CheckOk, "01.01.2020"}, // any year 2000..2099
        {"07.12.2026", CheckOk, "07.12.2026"},
        {"01.01.2100", CheckBadDate, "01.01.2100"},
        {"01.01.1999", CheckBadDate, "01.01.1999"},
        {"00.01.2009", CheckBadDate, "00.01.2009"},
        {"01.13.2009", CheckBadDate, "01.13.2009"},
        {"32.01.2009", CheckBadDate, "32.01.2009"},
        {"01/01/2009", CheckBadDate, "01/01/2009"},
    };
    for (const Case& c : cases) {
        const OrderFields f = fx.order("7", QString::fromUtf8(c.date));
        const OrderCheck r = fx.doc.check(f);
        EXPECT_EQ(r.result, c.expected) << c.date;
        EXPECT_EQ(r.date, QString::fromUtf8(c.checked)) << c.date;
    }
    EXPECT_EQ(storage::recordBytes(fx.doc.record()), before);
    EXPECT_TRUE(fx.doc.fileName().isEmpty());
}

TEST(OrderDocument, CheckOfMissingPartsAmountAndBudgetTexts) {
    Fixture fx;
    auto result = [&](auto change) {
        OrderFields f = fx.order();
        change(f);
        return fx.check(f);
    };
    EXPECT_EQ(result([](OrderFields&) {}), CheckOk);
    EXPECT_EQ(result([](OrderFields& f) { f.payer = -1; }), CheckMissing);
    EXPECT_EQ(result([](OrderFields& f) { f.payee = -1; }), CheckMissing);
    EXPECT_EQ(result([](OrderFields& f) { f.number.clear(); }), CheckMissing);
    EXPECT_EQ(result([](OrderFields& f) { f.date.clear(); }), CheckMissing);
    EXPECT_EQ(result([](OrderFields& f) { f.amount.clear(); }), CheckMissing);
    EXPECT_EQ(result([](OrderFields& f) { f.purpose.clear(); }), CheckMissing);
    // An amount the form cannot write out counts as missing, before the date is looked at.
    EXPECT_EQ(result([](OrderFields& f) { f.amount = "12.5"; }), CheckMissing);
    EXPECT_EQ(result([](OrderFields& f) {
                  f.amount = "1234567890";
                  f.date = "bad";
              }),
              CheckMissing);
    // A budget payment needs all seven budget texts; another payment none.
    const BudgetFields budget{
        "18210501010011000110", "65401000000", "ТП", "КВ.01.2009", "НС", "0", ""};
    EXPECT_EQ(result([&](OrderFields& f) {
                  f.budget = budget;
                  f.status = 1;
              }),
              CheckBudgetMissing);
    EXPECT_EQ(result([&](OrderFields& f) { f.budget = budget; }), CheckOk);
    EXPECT_EQ(result([&](OrderFields& f) {
                  f.budget = budget;
                  f.budget.docDate = "0";
                  f.status = 2;
              }),
              CheckOk);
}

TEST(OrderDocument, UpdateCopiesFieldsPartiesAndCutsThePurpose) {
    Fixture fx;
    OrderFields f = fx.order();
    f.purpose = QString(300, u'я');
    f.vat = 1;
    f.status = 2;
    f.budget.kbk = QString(25, u'1');
    ASSERT_TRUE(fx.doc.update(f));
    const storage::OrderRecord& p = fx.doc.record();
    EXPECT_EQ(p.purpose.size(), 255u);
    EXPECT_EQ(p.kbk.size(), 20u);
    EXPECT_EQ(fx.doc.budget().kbk, QString(20, u'1'));
    EXPECT_EQ(p.payerName.view(), "Payer");
    EXPECT_EQ(p.payerAccount.view(), "account1"); // the slot BankNo selects
    EXPECT_EQ(p.payeeAccount.view(), "account0");
    EXPECT_EQ(p.payerKpp.view(), "660101001");
    EXPECT_EQ(p.vat, 1);
    EXPECT_EQ(p.status, 2);
    EXPECT_EQ(fx.doc.fileName(), "7_1234567890_09.plat");

    // Line breaks are stored as the Windows pair, and read back as one.
    f.purpose = "first\nsecond";
    fx.doc.update(f);
    EXPECT_EQ(p.purpose.view(), "first\r\nsecond");
    EXPECT_EQ(fx.doc.fields().purpose, "first\nsecond");

    // A simplified-tax rate stays the order's choice whatever the setting; a value outside
    // the choices reads as no tax.
    for (auto [stored, shown] : {std::pair{3, 3}, {4, 4}, {5, 0}, {255, 0}}) {
        f.vat = std::uint8_t(stored);
        fx.doc.update(f);
        EXPECT_EQ(fx.doc.fields().vat, shown) << stored;
    }
}

TEST(OrderDocument, SavingANewOrderCreatesTheFileAndMakesItTheSavedOrder) {
    Fixture fx;
    QSignalSpy saved(&fx.doc, &OrderDocument::saved);
    EXPECT_EQ(fx.doc.proposeNumber(0), "1");
    const SaveResult r = fx.doc.save(fx.order("7", "10.02.2009"), fx.q);
    ASSERT_TRUE(r.saved);
    EXPECT_TRUE(r.io.ok);
    EXPECT_TRUE(fx.dir.exists("PP/7_1234567890_09.plat"));
    EXPECT_TRUE(fx.doc.isSaved());
    EXPECT_TRUE(fx.archive.isListed("7_1234567890_09.plat"));
    EXPECT_EQ(fx.doc.fields().number, "7");
    EXPECT_EQ(fx.doc.openedParty(0).inn.view(), "1234567890");
    EXPECT_EQ(fx.doc.openedParty(1).name.view(), "Payee");
    ASSERT_EQ(saved.count(), 1);
    EXPECT_EQ(saved[0][0].toString(), "7_1234567890_09.plat");
    EXPECT_TRUE(saved[0][1].toBool()); // a new file, now listed
    EXPECT_TRUE(fx.asked.empty() && fx.told.empty());

    // The number proposed follows the highest saved number of the payer.
    fx.doc.startNew();
    for (const char* n : {"3", "12", "007"})
        fx.saveNew(fx.order(n));
    EXPECT_EQ(fx.doc.proposeNumber(0), "13");
    EXPECT_EQ(fx.doc.proposeNumber(1), "1"); // the payee has no orders of its own
    EXPECT_EQ(fx.doc.proposeNumber(-1), "1");
}

// The same number, payer and year is asked about (declined: nothing written); another year is
// another file. A file of the name that the list does not hold is asked about just the same.
TEST(OrderDocument, ANewOrderNeverReplacesAFileUnasked) {
    Fixture fx;
    fx.saveNew(fx.order("7", "10.02.2009"));
    const QByteArray first = fx.dir.read("PP/7_1234567890_09.plat");
    fx.answer = false;
    OrderFields again = fx.order("7", "11.03.2009");
    again.amount = "2000-00";
    EXPECT_FALSE(fx.doc.save(again, fx.q).saved);
    EXPECT_EQ(fx.asked, std::vector<QString>{"Платежное поручение № 7 уже есть."});
    EXPECT_EQ(fx.dir.read("PP/7_1234567890_09.plat"), first);
    EXPECT_FALSE(fx.doc.isSaved());
    EXPECT_TRUE(fx.doc.save(fx.order("7", "10.02.2010"), fx.q).saved);
    EXPECT_EQ(fx.asked.size(), 1u);

    fx.doc.startNew();
    const QByteArray other = testing_support::platFile({"8", "1234567890", "01.01.2009", "1"});
    fx.dir.write("PP/8_1234567890_09.plat", other); // written by another program, not listed
    EXPECT_FALSE(fx.doc.save(fx.order("8"), fx.q).saved);
    EXPECT_EQ(fx.asked.size(), 2u);
    EXPECT_EQ(fx.dir.read("PP/8_1234567890_09.plat"), other);
    fx.answer = true;
    EXPECT_TRUE(fx.doc.save(fx.order("8"), fx.q).saved);
    EXPECT_NE(fx.dir.read("PP/8_1234567890_09.plat"), other);
}

// A payer INN that cannot make a file name is told and nothing is written. The number of
// saved orders never refuses a save (there used to be a limit of 1024).
TEST(OrderDocument, ANewOrderIsRefusedForItsNameOnly) {
    Fixture fx;
    fx.s->directory.organizations[0].inn = "12/../..";
    EXPECT_FALSE(fx.doc.save(fx.order(), fx.q).saved);
    EXPECT_EQ(fx.told, std::vector<QString>{OrderDocument::badNameMessage()});
    EXPECT_TRUE(QDir(fx.dir.file("PP")).isEmpty());

    fx.s->directory.organizations[0].inn = "1234567890";
    for (int n = 1; n <= 1025; ++n) {
        const QByteArray number = QByteArray::number(n);
        fx.dir.write("PP/" + number + "_1234567890_09.plat",
                     testing_support::platFile({number.constData(), "1234567890", "01.02.2009"}));
    }
    ASSERT_TRUE(fx.archive.scan(2009));
    ASSERT_EQ(fx.archive.orderCount(), 1025);
    EXPECT_EQ(fx.doc.proposeNumber(0), "1026");
    EXPECT_TRUE(fx.doc.save(fx.order("2000"), fx.q).saved);
    EXPECT_EQ(fx.archive.orderCount(), 1026);
}

TEST(OrderDocument, ASavedOrderIsSavedWhenChangedAndItsAcceptedBoxAtOnce) {
    Fixture fx;
    ASSERT_TRUE(fx.doc.save(fx.order(), fx.q).saved);
    QSignalSpy saved(&fx.doc, &OrderDocument::saved);
    OrderFields shown = fx.doc.fields();
    fx.doc.update(shown);
    EXPECT_FALSE(fx.doc.isModified());
    shown.amount = "1600-00";
    fx.doc.update(shown);
    EXPECT_TRUE(fx.doc.isModified());
    ASSERT_TRUE(fx.doc.save(shown, fx.q).saved);
    EXPECT_FALSE(fx.doc.isModified());
    storage::OrderRecord onDisk;
    ASSERT_TRUE(storage::readOrderFile(fx.dir.file("PP/7_1234567890_09.plat"), onDisk));
    EXPECT_EQ(onDisk.amount.view(), "1600-00");
    EXPECT_EQ(fx.archive.cellText(0, 4), "1600-00");

    ASSERT_TRUE(fx.doc.setAccepted(true));
    ASSERT_TRUE(storage::readOrderFile(fx.dir.file("PP/7_1234567890_09.plat"), onDisk));
    EXPECT_EQ(onDisk.accepted, 1);
    EXPECT_EQ(fx.archive.cellText(0, 5), "Оплачено");
    ASSERT_TRUE(fx.doc.setAccepted(false));
    ASSERT_TRUE(storage::readOrderFile(fx.dir.file("PP/7_1234567890_09.plat"), onDisk));
    EXPECT_EQ(onDisk.accepted, 0);
    EXPECT_EQ(saved.count(), 3);
    EXPECT_FALSE(saved[0][1].toBool());
    EXPECT_TRUE(fx.asked.empty());
}

TEST(OrderDocument, NewReselectsThePartiesAndProposesTheNextNumber) {
    Fixture fx;
    // Without an order opened, nothing is chosen (an organization without INN never matches).
    fx.s->directory.organizations[1].inn = "";
    OrderFields n = fx.doc.newOrderFields(fx.order());
    EXPECT_EQ(n.payer, -1);
    EXPECT_EQ(n.payee, -1);
    EXPECT_EQ(n.number, "1");
    fx.s->directory.organizations[1].inn = "7701000001";

    OrderFields f = fx.order("12");
    f.accepted = true;
    f.vat = 2;
    ASSERT_TRUE(fx.doc.save(f, fx.q).saved);
    n = fx.doc.newOrderFields(fx.doc.fields());
    EXPECT_EQ(n.payer, 0);
    EXPECT_EQ(n.payee, 1);
    EXPECT_EQ(n.number, "13");
    EXPECT_EQ(n.date, todayText());
    EXPECT_FALSE(n.accepted);
    EXPECT_EQ(n.amount, "1500-00");
    EXPECT_EQ(n.vat, 2);
    EXPECT_EQ(n.purpose, "Оплата по счету 5");

    const QDate d = QDate::currentDate();
    EXPECT_EQ(todayText(),
              QString("%1.%2.%3").arg(d.day()).arg(d.month(), 2, 10, QChar('0')).arg(d.year()));
}

// Opening reads a saved order and says so; a missing file changes nothing. The order on
// screen follows its file: a mark of the bank written by another part of the program is taken,
// and the file gone clears the editor, which keeps the budget texts for its next order.
TEST(OrderDocument, OpenFollowAndClear) {
    Fixture fx;
    const QString name = "5_1234567890_09.plat";
    const QByteArray file =
        testing_support::platFile({"5", "1234567890", "03.02.2009", "7701000001", "1"});
    fx.dir.write("PP/" + name, file);
    QSignalSpy changed(&fx.doc, &OrderDocument::changed);
    QSignalSpy cleared(&fx.doc, &OrderDocument::cleared);
    const storage::IoResult missing = fx.doc.open("6_1234567890_09.plat");
    EXPECT_FALSE(missing.ok);
    EXPECT_TRUE(missing.error.startsWith("Нет файла платежки ")) << missing.error.toStdString();
    EXPECT_FALSE(fx.doc.isSaved());
    EXPECT_EQ(changed.count(), 0);

    ASSERT_TRUE(fx.doc.open(name));
    EXPECT_TRUE(fx.doc.isSaved());
    EXPECT_FALSE(fx.doc.isModified());
    EXPECT_EQ(fx.doc.fields().number, "5");
    EXPECT_EQ(fx.doc.fileName(), name);
    EXPECT_EQ(changed.count(), 1);

    fx.dir.write("PP/" + name, testing_support::platFile(
                                   {"5", "1234567890", "03.02.2009", "7701000001", "1", 1}));
    fx.doc.followFile("7_1234567890_09.plat"); // another order: nothing changes
    EXPECT_EQ(fx.doc.record().accepted, 0);
    fx.doc.followFile(name);
    EXPECT_EQ(fx.doc.record().accepted, 1);
    EXPECT_FALSE(fx.doc.isModified());

    const BudgetFields budget{"1", "2", "3", "4", "5", "6", "7"};
    fx.doc.setBudget(budget);
    fx.doc.followRemoval(name); // the file is still there (another year, not listed)
    EXPECT_TRUE(fx.doc.isSaved());
    QFile::remove(fx.dir.file("PP/" + name));
    fx.doc.followRemoval(name);
    EXPECT_FALSE(fx.doc.isSaved());
    EXPECT_EQ(cleared.count(), 1);
    EXPECT_EQ(fx.doc.budget(), budget);
    OrderFields current = fx.order();
    current.budget = budget;
    current.accepted = true;
    const OrderFields f = clearedFields(current);
    EXPECT_EQ(f.budget, budget);
    EXPECT_TRUE(f.accepted);
    EXPECT_EQ(f.payer, -1);
    EXPECT_TRUE(f.number.isEmpty() && f.amount.isEmpty() && f.purpose.isEmpty());
    EXPECT_EQ(f.date, todayText());
}
