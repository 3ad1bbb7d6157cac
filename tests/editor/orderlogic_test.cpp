#include "support/support.h"

#include "editor/orderlogic.h"
#include "storage/bikdirectory.h"
#include "storage/platfile.h"
#include "storage/scan.h"

#include <QDate>
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
        storage::TFirm& f = s->Firms[std::size_t(s->FirmCount++)];
        f.Name = name;
        f.Inn = inn;
        f.Kpp = "660101001";
        f.BankNo = std::uint8_t(bankNo);
        for (int b = 0; b < 4; ++b)
            f.Banks[b].Account = "account" + std::to_string(b);
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
    CheckResult check(OrderFields& f) const { return CheckPlat(*s, f); }
    // Saves a new order as the editor does after a successful check.
    void saveNew(const OrderFields& in) {
        OrderFields f = in;
        ASSERT_EQ(CheckPlat(*s, f), CheckOk);
        ASSERT_EQ(PrepareSaveNew(*s, f), SaveCheck::Ok);
        OrderFields shown;
        ASSERT_TRUE(CommitSaveNew(*s, f, shown));
        s->PlatSaved = false; // the next order is new again
    }
};

} // namespace

TEST(CheckPlat, Dates) {
    Fixture fx;
    struct Case {
        const char* date;
        CheckResult expected;
        const char* after;
    } cases[] = {
        {"5.03.2009", CheckOk, "05.03.2009"}, // the default date gets its zero
        {"05.3.2009", CheckBadDate, "005.3.2009"},  {"5.3.2009", CheckBadDate, "5.3.2009"},
        {"31.02.2009", CheckOk, "31.02.2009"}, // days of the month are not counted
        {"01.01.2020", CheckOk, "01.01.2020"}, // any year 2000..2099
        {"07.12.2026", CheckOk, "07.12.2026"},      {"01.01.2100", CheckBadDate, "01.01.2100"},
        {"01.01.1999", CheckBadDate, "01.01.1999"}, {"00.01.2009", CheckBadDate, "00.01.2009"},
        {"01.13.2009", CheckBadDate, "01.13.2009"}, {"32.01.2009", CheckBadDate, "32.01.2009"},
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

TEST(CheckPlat, MissingPartsAndAmount) {
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

TEST(CheckPlat, BudgetPaymentNeedsAllSevenTexts) {
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

TEST(ProposeNumber, FollowsTheHighestSavedNumberOfThePayer) {
    Fixture fx;
    EXPECT_EQ(ProposeNumber(*fx.s, 0), "1");
    for (const char* n : {"3", "12", "007"})
        fx.saveNew(fx.order(n));
    EXPECT_EQ(ProposeNumber(*fx.s, 0), "13");
    EXPECT_EQ(ProposeNumber(*fx.s, 1), "1"); // the payee has no orders of its own
    EXPECT_EQ(ProposeNumber(*fx.s, -1), "1");
}

TEST(FillPlat, CopiesFieldsPartiesAndCutsThePurpose) {
    Fixture fx;
    OrderFields f = fx.order();
    f.purpose = QString(300, u'я');
    f.vat = 1;
    f.status = 2;
    f.budget.kbk = QString(25, u'1');
    fx.check(f);
    ASSERT_TRUE(FillPlat(*fx.s, f));
    const storage::TPlat& p = fx.s->Plat;
    EXPECT_EQ(p.Purpose.size(), 255u);
    EXPECT_EQ(p.Kbk.size(), 20u);
    EXPECT_EQ(p.PayerName.view(), "Payer");
    EXPECT_EQ(p.PayerAccount.view(), "account1"); // the slot BankNo selects
    EXPECT_EQ(p.PayeeAccount.view(), "account0");
    EXPECT_EQ(p.PayerKpp.view(), "660101001");
    EXPECT_EQ(p.Vat, 1);
    EXPECT_EQ(p.Status, 2);
    EXPECT_EQ(fx.s->PlatFileName.view(), "7_1234567890_09.plat");

    // Line breaks are stored as the Windows pair, and read back as one.
    f.purpose = "first\nsecond";
    FillPlat(*fx.s, f);
    EXPECT_EQ(fx.s->Plat.Purpose.view(), "first\r\nsecond");
    EXPECT_EQ(FillFromPlat(*fx.s).purpose, "first\nsecond");

    // A simplified-tax rate stays the order's choice whatever the setting; a value outside
    // the choices reads as no tax.
    for (auto [stored, shown] : {std::pair{3, 3}, {4, 4}, {5, 0}, {255, 0}}) {
        fx.s->Plat.Vat = std::uint8_t(stored);
        EXPECT_EQ(FillFromPlat(*fx.s).vat, shown) << stored;
    }
}

TEST(SaveNew, CreatesTheFileAndBecomesSaved) {
    Fixture fx;
    OrderFields f = fx.order("7", "10.02.2009");
    ASSERT_EQ(fx.check(f), CheckOk);
    ASSERT_EQ(PrepareSaveNew(*fx.s, f), SaveCheck::Ok);
    OrderFields shown;
    ASSERT_TRUE(CommitSaveNew(*fx.s, f, shown));
    EXPECT_TRUE(fx.dir.exists("PP/7_1234567890_09.plat"));
    EXPECT_TRUE(fx.s->PlatSaved);
    ASSERT_EQ(fx.s->PlatCount, 1);
    EXPECT_EQ(fx.s->OpenedIndex, 0);
    EXPECT_EQ(shown.number, "7");
    EXPECT_EQ(fx.s->OpenedParties[0].Inn.view(), "1234567890");
    EXPECT_EQ(fx.s->OpenedParties[1].Name.view(), "Payee");
}

TEST(SaveNew, SameNumberPayerAndYearAsksAnotherYearDoesNot) {
    Fixture fx;
    fx.saveNew(fx.order("7", "10.02.2009"));
    OrderFields again = fx.order("7", "11.03.2009");
    fx.check(again);
    EXPECT_EQ(PrepareSaveNew(*fx.s, again), SaveCheck::Exists);
    OrderFields other = fx.order("7", "10.02.2010");
    fx.check(other);
    EXPECT_EQ(PrepareSaveNew(*fx.s, other), SaveCheck::Ok);
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
    EXPECT_EQ(PrepareSaveNew(*fx.s, f), SaveCheck::Exists);

    QFile::remove(fx.dir.file("PP/7_1234567890_09.plat"));
    ASSERT_EQ(PrepareSaveNew(*fx.s, f), SaveCheck::Ok);
    fx.dir.write("PP/7_1234567890_09.plat", other); // written meanwhile by another program
    OrderFields shown;
    const storage::IoResult r = CommitSaveNew(*fx.s, f, shown);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(fx.s->PlatSaved);
    EXPECT_EQ(fx.dir.read("PP/7_1234567890_09.plat"), other);
}

TEST(SaveNew, LimitOf1024WritesNothing) {
    Fixture fx;
    fx.s->PlatCount = 1024;
    OrderFields f = fx.order();
    fx.check(f);
    EXPECT_EQ(PrepareSaveNew(*fx.s, f), SaveCheck::LimitReached);
    EXPECT_EQ(limitMessage(), "Может быть сохранено только1024 платежки.");
    fx.s->PlatCount = 1023;
    EXPECT_EQ(PrepareSaveNew(*fx.s, f), SaveCheck::Ok);
    EXPECT_TRUE(QDir(fx.dir.file("PP")).isEmpty());
}

TEST(SaveNew, PayerInnThatIsNoFileNameIsRefused) {
    Fixture fx;
    fx.s->Firms[0].Inn = "12/../..";
    OrderFields f = fx.order();
    fx.check(f);
    EXPECT_EQ(PrepareSaveNew(*fx.s, f), SaveCheck::BadName);
}

TEST(SavedOrder, ChangeCheckAndAcceptedBoxWriteAtOnce) {
    Fixture fx;
    OrderFields f = fx.order();
    fx.check(f);
    PrepareSaveNew(*fx.s, f);
    OrderFields shown;
    ASSERT_TRUE(CommitSaveNew(*fx.s, f, shown));

    // Unchanged: nothing to save.
    FillPlat(*fx.s, shown);
    EXPECT_FALSE(CheckChange(*fx.s));
    shown.amount = "1600-00";
    FillPlat(*fx.s, shown);
    EXPECT_TRUE(CheckChange(*fx.s));

    ASSERT_TRUE(StoreAccepted(*fx.s, true));
    storage::TPlat onDisk;
    ASSERT_TRUE(storage::ReadPlatFile(fx.dir.file("PP/7_1234567890_09.plat"), onDisk));
    EXPECT_EQ(onDisk.Accepted, 1);
    EXPECT_EQ(fx.s->PlatList[0].Accepted, 1);
    ASSERT_TRUE(StoreAccepted(*fx.s, false));
    ASSERT_TRUE(storage::ReadPlatFile(fx.dir.file("PP/7_1234567890_09.plat"), onDisk));
    EXPECT_EQ(onDisk.Accepted, 0);
}

TEST(NewOrder, ReselectsThePartiesAndProposesTheNextNumber) {
    Fixture fx;
    OrderFields f = fx.order("12");
    f.accepted = true;
    f.vat = 2;
    fx.check(f);
    PrepareSaveNew(*fx.s, f);
    OrderFields shown;
    ASSERT_TRUE(CommitSaveNew(*fx.s, f, shown));

    const OrderFields n = NewOrderFields(*fx.s, shown);
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
    fx.s->Firms[1].Inn = ""; // an organization without INN never matches "no order"
    const OrderFields n = NewOrderFields(*fx.s, fx.order());
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
    order.payer.firm.Banks[0].Bik = "044525000";
    order.purposeLines = {QByteArray(200, 'x')};
    storage::BikDirectory directory;
    directory.banks = {{"044525225", "ПАО Сбербанк", "г. Москва", {}, {}}};
    EXPECT_EQ(PreviewWarnings(order, &directory),
              (QStringList{"Плательщик: БИК не найден в справочнике БИК",
                           "Назначение платежа со строкой НДС длиннее 210 знаков (224): в банк "
                           "не отправить"}));
    order.purposeLines = {QByteArray(186, 'x')}; // 210 with the VAT line
    EXPECT_EQ(PreviewWarnings(order, nullptr), QStringList());
}
