#include "support/support.h"

#include "editor/orderlogic.h"
#include "render/bankexchange.h"
#include "storage/bikdirectory.h"
#include "storage/platfile.h"
#include "storage/scan.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <gtest/gtest.h>

using namespace editor;
using storage::Store;
using testing_support::TempDir;

namespace {

// A program folder with two organizations and the folders of saved orders.
struct Fixture {
    TempDir dir;
    std::unique_ptr<Store> s = std::make_unique<Store>();

    Fixture() {
        s->setProgramDir(dir.path());
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
    CheckResult check(OrderFields& f) const { return checkOrder(*s, f); }
    // Saves a new order as the editor does after a successful check.
    void saveNew(const OrderFields& in) {
        OrderFields f = in;
        ASSERT_EQ(checkOrder(*s, f), CheckOk);
        ASSERT_EQ(prepareSaveNew(*s, f), SaveCheck::Ok);
        OrderFields shown;
        ASSERT_TRUE(commitSaveNew(*s, f, shown));
        s->PlatSaved = false; // the next order is new again
    }
};

} // namespace

TEST(checkOrder, Dates) {
    Fixture fx;
    struct Case {
        const char* date;
        CheckResult expected;
        const char* after;
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
        OrderFields f = fx.order("7", QString::fromUtf8(c.date));
        EXPECT_EQ(fx.check(f), c.expected) << c.date;
        EXPECT_EQ(f.date, QString::fromUtf8(c.after)) << c.date;
        EXPECT_EQ(fx.s->PlatError, c.expected) << c.date;
    }
    OrderFields f = fx.order("7", "10.02.2009");
    fx.check(f);
    EXPECT_EQ(fx.s->DateYY.view(), "09");
}

// The editor's check and the bank exchange file read a date by one grammar: whatever the
// editor saves the export takes, and what it refuses the export refuses. The editor used to
// save 31.02.2026, which the export then refused as not a date, and the export took 1.2.2024,
// which the editor refused.
TEST(checkOrder, TheEditorAndTheBankExchangeFileReadDatesAlike) {
    Fixture fx;
    for (const char* date :
         {"5.03.2009", "29.02.2024", "31.02.2026", "29.02.2023", "1.2.2024", "01.13.2009"}) {
        OrderFields f = fx.order("7", QString::fromUtf8(date));
        const bool saved = fx.check(f) == CheckOk;
        storage::OrderRecord p;
        storage::clearRecord(p);
        p.number = "7";
        p.date.assign(f.date.toLatin1());
        p.amount = "1500-00";
        p.payerAccount = "40702810000000000001";
        const render::ExchangeFile x =
            render::buildExchangeFile({{"7.plat", p, {}}}, QDateTime::currentDateTime());
        EXPECT_EQ(x.written == 1, saved) << date;
    }
}

TEST(checkOrder, MissingPartsAndAmount) {
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
}

TEST(checkOrder, BudgetPaymentNeedsAllSevenTexts) {
    Fixture fx;
    OrderFields f = fx.order();
    f.budget = {"18210501010011000110", "65401000000", "ТП", "КВ.01.2009", "НС", "0", ""};
    f.status = 1;
    EXPECT_EQ(fx.check(f), CheckBudgetMissing);
    f.status = 0;
    EXPECT_EQ(fx.check(f), CheckOk);
    f.status = 2;
    f.budget.docDate = "0";
    EXPECT_EQ(fx.check(f), CheckOk);
}

TEST(proposeNumber, FollowsTheHighestSavedNumberOfThePayer) {
    Fixture fx;
    EXPECT_EQ(proposeNumber(*fx.s, 0), "1");
    for (const char* n : {"3", "12", "007"})
        fx.saveNew(fx.order(n));
    EXPECT_EQ(proposeNumber(*fx.s, 0), "13");
    EXPECT_EQ(proposeNumber(*fx.s, 1), "1"); // the payee has no orders of its own
    EXPECT_EQ(proposeNumber(*fx.s, -1), "1");
}

TEST(fillOrder, CopiesFieldsPartiesAndCutsThePurpose) {
    Fixture fx;
    OrderFields f = fx.order();
    f.purpose = QString(300, u'я');
    f.vat = 1;
    f.status = 2;
    f.budget.kbk = QString(25, u'1');
    fx.check(f);
    ASSERT_TRUE(fillOrder(*fx.s, f));
    const storage::OrderRecord& p = fx.s->Plat;
    EXPECT_EQ(p.purpose.size(), 255u);
    EXPECT_EQ(p.kbk.size(), 20u);
    EXPECT_EQ(p.payerName.view(), "Payer");
    EXPECT_EQ(p.payerAccount.view(), "account1"); // the slot BankNo selects
    EXPECT_EQ(p.payeeAccount.view(), "account0");
    EXPECT_EQ(p.payerKpp.view(), "660101001");
    EXPECT_EQ(p.vat, 1);
    EXPECT_EQ(p.status, 2);
    EXPECT_EQ(fx.s->PlatFileName.view(), "7_1234567890_09.plat");

    // Line breaks are stored as the Windows pair, and read back as one.
    f.purpose = "first\nsecond";
    fillOrder(*fx.s, f);
    EXPECT_EQ(fx.s->Plat.purpose.view(), "first\r\nsecond");
    EXPECT_EQ(fieldsFromOrder(*fx.s).purpose, "first\nsecond");

    // A simplified-tax rate stays the order's choice whatever the setting; a value outside
    // the choices reads as no tax.
    for (auto [stored, shown] : {std::pair{3, 3}, {4, 4}, {5, 0}, {255, 0}}) {
        fx.s->Plat.vat = std::uint8_t(stored);
        EXPECT_EQ(fieldsFromOrder(*fx.s).vat, shown) << stored;
    }
}

TEST(SaveNew, CreatesTheFileAndBecomesSaved) {
    Fixture fx;
    OrderFields f = fx.order("7", "10.02.2009");
    ASSERT_EQ(fx.check(f), CheckOk);
    ASSERT_EQ(prepareSaveNew(*fx.s, f), SaveCheck::Ok);
    OrderFields shown;
    ASSERT_TRUE(commitSaveNew(*fx.s, f, shown));
    EXPECT_TRUE(fx.dir.exists("PP/7_1234567890_09.plat"));
    EXPECT_TRUE(fx.s->PlatSaved);
    ASSERT_EQ(fx.s->orders.count, 1);
    EXPECT_EQ(fx.s->OpenedIndex, 0);
    EXPECT_EQ(shown.number, "7");
    EXPECT_EQ(fx.s->OpenedParties[0].inn.view(), "1234567890");
    EXPECT_EQ(fx.s->OpenedParties[1].name.view(), "Payee");
}

TEST(SaveNew, SameNumberPayerAndYearAsksAnotherYearDoesNot) {
    Fixture fx;
    fx.saveNew(fx.order("7", "10.02.2009"));
    OrderFields again = fx.order("7", "11.03.2009");
    fx.check(again);
    EXPECT_EQ(prepareSaveNew(*fx.s, again), SaveCheck::Exists);
    OrderFields other = fx.order("7", "10.02.2010");
    fx.check(other);
    EXPECT_EQ(prepareSaveNew(*fx.s, other), SaveCheck::Ok);
}

// A file of the order's name that the list does not hold (an order of another year while only
// the current year is loaded, or a file of another copy of the program) is asked about like a
// listed one; one that appears after the check is never replaced by the write.
TEST(SaveNew, FileOfTheNameOutsideTheListIsNeverReplacedUnasked) {
    Fixture fx;
    const QByteArray other = testing_support::platFile({"7", "1234567890", "01.01.2009", "1"});
    OrderFields f = fx.order("7", "10.02.2009");
    fx.check(f);
    fx.dir.write("PP/7_1234567890_09.plat", other);
    EXPECT_EQ(prepareSaveNew(*fx.s, f), SaveCheck::Exists);

    QFile::remove(fx.dir.file("PP/7_1234567890_09.plat"));
    ASSERT_EQ(prepareSaveNew(*fx.s, f), SaveCheck::Ok);
    fx.dir.write("PP/7_1234567890_09.plat", other); // written meanwhile by another program
    OrderFields shown;
    const storage::IoResult r = commitSaveNew(*fx.s, f, shown);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(fx.s->PlatSaved);
    EXPECT_EQ(fx.dir.read("PP/7_1234567890_09.plat"), other);
}

TEST(SaveNew, LimitOf1024WritesNothing) {
    Fixture fx;
    fx.s->orders.count = 1024;
    OrderFields f = fx.order();
    fx.check(f);
    EXPECT_EQ(prepareSaveNew(*fx.s, f), SaveCheck::LimitReached);
    EXPECT_EQ(limitMessage(), "Может быть сохранено только1024 платежки.");
    fx.s->orders.count = 1023;
    EXPECT_EQ(prepareSaveNew(*fx.s, f), SaveCheck::Ok);
    EXPECT_TRUE(QDir(fx.dir.file("PP")).isEmpty());
}

TEST(SaveNew, PayerInnThatIsNoFileNameIsRefused) {
    Fixture fx;
    fx.s->directory.organizations[0].inn = "12/../..";
    OrderFields f = fx.order();
    fx.check(f);
    EXPECT_EQ(prepareSaveNew(*fx.s, f), SaveCheck::BadName);
}

TEST(SavedOrder, ChangeCheckAndAcceptedBoxWriteAtOnce) {
    Fixture fx;
    OrderFields f = fx.order();
    fx.check(f);
    prepareSaveNew(*fx.s, f);
    OrderFields shown;
    ASSERT_TRUE(commitSaveNew(*fx.s, f, shown));

    // Unchanged: nothing to save.
    fillOrder(*fx.s, shown);
    EXPECT_FALSE(checkChange(*fx.s));
    shown.amount = "1600-00";
    fillOrder(*fx.s, shown);
    EXPECT_TRUE(checkChange(*fx.s));

    ASSERT_TRUE(storeAccepted(*fx.s, true));
    storage::OrderRecord onDisk;
    ASSERT_TRUE(storage::readOrderFile(fx.dir.file("PP/7_1234567890_09.plat"), onDisk));
    EXPECT_EQ(onDisk.accepted, 1);
    EXPECT_EQ(fx.s->orders.items[0].accepted, 1);
    ASSERT_TRUE(storeAccepted(*fx.s, false));
    ASSERT_TRUE(storage::readOrderFile(fx.dir.file("PP/7_1234567890_09.plat"), onDisk));
    EXPECT_EQ(onDisk.accepted, 0);
}

TEST(NewOrder, ReselectsThePartiesAndProposesTheNextNumber) {
    Fixture fx;
    OrderFields f = fx.order("12");
    f.accepted = true;
    f.vat = 2;
    fx.check(f);
    prepareSaveNew(*fx.s, f);
    OrderFields shown;
    ASSERT_TRUE(commitSaveNew(*fx.s, f, shown));

    const OrderFields n = newOrderFields(*fx.s, shown);
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

TEST(NewOrder, WithoutAnOpenedOrderNothingIsChosen) {
    Fixture fx;
    fx.s->directory.organizations[1].inn =
        ""; // an organization without INN never matches "no order"
    const OrderFields n = newOrderFields(*fx.s, fx.order());
    EXPECT_EQ(n.payer, -1);
    EXPECT_EQ(n.payee, -1);
    EXPECT_EQ(n.number, "1");
}

TEST(PreviewWarnings, BanksTheBikDirectoryDoesNotConfirmAndAPurposeTooLongForTheBank) {
    render::OrderInput order;
    order.date = "15.01.2026";
    order.amountText = "1000-00";
    order.vatRate = 1;
    order.payer.present = true;
    order.payer.firm.banks[0].bik = "044525000";
    order.purposeLines = {QByteArray(200, 'x')};
    storage::BikDirectory directory;
    directory.banks = {{"044525225", "ПАО Сбербанк", "г. Москва", {}, {}}};
    EXPECT_EQ(previewWarnings(order, &directory),
              (QStringList{"Плательщик: БИК не найден в справочнике БИК",
                           "Назначение платежа со строкой НДС длиннее 210 знаков (224): в банк "
                           "не отправить"}));
    order.purposeLines = {QByteArray(186, 'x')}; // 210 with the VAT line
    EXPECT_EQ(previewWarnings(order, nullptr), QStringList());
}
