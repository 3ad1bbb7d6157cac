#include "render/bankexchange.h"

#include "support/support.h"

#include "storage/bikdirectory.h"
#include "storage/exchangeread.h"
#include "storage/party.h"
#include "storage/platfile.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

// Failures show the texts, not their bytes.
void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

using testing_support::cp;
using testing_support::TempDir;
using testing_support::uni;

namespace {

using Pairs = QList<std::pair<QString, QString>>;

// A reader of the exchange format as a bank client reads it: CR LF lines in code page 1251,
// the header's "key=value" lines, then the sections of the documents, then the end mark.
struct Exchange {
    QString first; // the first line, the format's mark
    Pairs header;  // every key=value of the header, in order
    QList<Pairs> documents; // each from its СекцияДокумент line to КонецДокумента, excluded
    QString last; // the last line
};

Exchange readExchange(const QByteArray& bytes) {
    Exchange e;
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    QList<QByteArray> lines = bytes.split('\n');
    lines.removeLast(); // after the final line end
    Pairs* into = &e.header;
    for (const QByteArray& raw : lines) {
        EXPECT_TRUE(raw.endsWith('\r')) << "a line end without CR";
        const QByteArray bytesOfLine = raw.chopped(1);
        EXPECT_FALSE(bytesOfLine.contains('\r'));
        const QString text = uni(std::string_view(bytesOfLine.constData(), bytesOfLine.size()));
        if (e.first.isEmpty()) {
            e.first = text;
            continue;
        }
        e.last = text;
        if (text == u"КонецДокумента") {
            into = &e.header; // nothing more is expected; the end mark follows
            continue;
        }
        if (text == u"КонецФайла")
            continue;
        const qsizetype eq = text.indexOf(u'=');
        EXPECT_GT(eq, 0) << text.toStdString();
        const QString key = text.left(eq), value = text.mid(eq + 1);
        if (key == u"СекцияДокумент") {
            e.documents.append(Pairs{});
            into = &e.documents.last();
        }
        into->append({key, value});
    }
    return e;
}

storage::OrderRecord order(const char* number, const char* date, const char* amount,
                           const char* payerAccount) {
    storage::OrderRecord p;
    storage::clearRecord(p);
    p.number.assign(cp(number));
    p.date.assign(cp(date));
    p.amount.assign(cp(amount));
    p.payerAccount.assign(cp(payerAccount));
    return p;
}

// An order to a supplier: 18% VAT, priority 4, sent electronically, two purpose lines.
storage::OrderRecord supplierOrder() {
    storage::OrderRecord p = order("15", "03.02.2009", "1000-00", "40702810900000000001");
    p.payerName.assign(cp("ООО «Вега»"));
    p.payerInn.assign(cp("7701000001"));
    p.payerKpp.assign(cp("770101001"));
    p.payerCorrAccount.assign(cp("30101810400000000225"));
    p.payerBik.assign(cp("044525225"));
    p.payerBankShort.assign(cp("ПАО Сбербанк г.Москва"));
    p.payerBankFull.assign(cp("Публичное акционерное общество Сбербанк"));
    p.payeeName.assign(cp("АО «Бумага»"));
    p.payeeAccount.assign(cp("40702810500000000002"));
    p.payeeCorrAccount.assign(cp("30101810100000000716"));
    p.payeeBik.assign(cp("044525716"));
    p.payeeBankFull.assign(cp("Банк ВТБ (ПАО)"));
    p.payeeInn.assign(cp("7702000002"));
    p.payeeKpp.assign(cp("770201001"));
    p.vat = 1;
    p.payKind = 0;
    p.priority = 1;
    p.status = 0;
    p.purpose.assign(cp("Оплата по счету № 5\r\nза бумагу"));
    // Budget fields of a non-budget order are not sent.
    p.kbk.assign(cp("18210301000011000110"));
    return p;
}

// A tax payment: status 01, priority 6, urgent, budget fields filled.
storage::OrderRecord taxOrder() {
    storage::OrderRecord p = order("16", "15.01.2009", "3022-42", "40702810900000000009");
    p.payerName.assign(cp("ИП Орлов"));
    p.payerInn.assign(cp("660100000001"));
    p.payerBik.assign(cp("046577674"));
    p.payerCorrAccount.assign(cp("30101810500000000674"));
    p.payerBankShort.assign(cp("Уральский банк"));
    p.payeeName.assign(cp("УФК по Свердловской области"));
    p.payeeAccount.assign(cp("40101810500000010010"));
    p.payeeBik.assign(cp("046577001"));
    p.payeeBankShort.assign(cp("ГРКЦ ГУ Банка России"));
    p.payeeInn.assign(cp("6658000001"));
    p.payeeKpp.assign(cp("665801001"));
    p.vat = 1; // no tax line on a budget payment, whatever the VAT choice
    p.payKind = 3;
    p.priority = 0;
    p.status = 1;
    p.purpose.assign(cp("Налог по УСН за 4 кв. 2008"));
    p.kbk.assign(cp("18210501010011000110"));
    p.okato.assign(cp("65401000000"));
    p.basis.assign(cp("ТП"));
    p.taxPeriod.assign(cp("ГД.00.2008"));
    p.docNumber.assign(cp("0"));
    p.docDate.assign(cp("0"));
    p.taxType.assign(cp("НС"));
    return p;
}

const QDateTime created(QDate(2009, 2, 4), QTime(9, 5, 7));

} // namespace

TEST(BankExchange, BudgetAndSupplierOrdersReadBackKeyByKey) {
    const render::ExchangeFile f =
        render::buildExchangeFile({{"15_7701000001_09.plat", supplierOrder(), {}},
                                   {"16_660100000001_09.plat", taxOrder(), {}}},
                                  created);
    EXPECT_EQ(f.written, 2);
    EXPECT_TRUE(f.leftOut.isEmpty());
    const Exchange e = readExchange(f.text);
    EXPECT_EQ(e.first, QString("1CClientBankExchange"));
    const Pairs header{
        {"ВерсияФормата", "1.03"},
        {"Кодировка", "Windows"},
        {"Отправитель", "Quenmara 2.0"},
        {"ДатаСоздания", "04.02.2009"},
        {"ВремяСоздания", "09:05:07"},
        {"ДатаНачала", "15.01.2009"},
        {"ДатаКонца", "03.02.2009"},
        {"РасчСчет", "40702810900000000001"},
        {"РасчСчет", "40702810900000000009"},
        {"Документ", "Платежное поручение"},
    };
    EXPECT_EQ(e.header, header);
    const Pairs supplier{
        {"СекцияДокумент", "Платежное поручение"},
        {"Номер", "15"},
        {"Дата", "03.02.2009"},
        {"Сумма", "1000.00"},
        {"ПлательщикСчет", "40702810900000000001"},
        {"Плательщик", "ИНН 7701000001 ООО «Вега»"},
        {"ПлательщикИНН", "7701000001"},
        {"Плательщик1", "ООО «Вега»"},
        {"ПлательщикРасчСчет", "40702810900000000001"},
        {"ПлательщикБанк1", "ПАО Сбербанк г.Москва"},
        {"ПлательщикБанк2", "г. Москва"},
        {"ПлательщикБИК", "044525225"},
        {"ПлательщикКорсчет", "30101810400000000225"},
        {"ПолучательСчет", "40702810500000000002"},
        {"Получатель", "ИНН 7702000002 АО «Бумага»"},
        {"ПолучательИНН", "7702000002"},
        {"Получатель1", "АО «Бумага»"},
        {"ПолучательРасчСчет", "40702810500000000002"},
        {"ПолучательБанк1", "Банк ВТБ (ПАО)"},
        {"ПолучательБанк2", "Банк ВТБ (ПАО)"},
        {"ПолучательБИК", "044525716"},
        {"ПолучательКорсчет", "30101810100000000716"},
        {"ВидПлатежа", ""},
        {"ВидОплаты", "01"},
        {"НазначениеПлатежа", "Оплата по счету № 5 за бумагу В т.ч. НДС(18%): 152-54"},
        {"ПлательщикКПП", "770101001"},
        {"ПолучательКПП", "770201001"},
        {"Очередность", "4"},
    };
    const Pairs tax{
        {"СекцияДокумент", "Платежное поручение"},
        {"Номер", "16"},
        {"Дата", "15.01.2009"},
        {"Сумма", "3022.42"},
        {"ПлательщикСчет", "40702810900000000009"},
        {"Плательщик", "ИНН 660100000001 ИП Орлов"},
        {"ПлательщикИНН", "660100000001"},
        {"Плательщик1", "ИП Орлов"},
        {"ПлательщикРасчСчет", "40702810900000000009"},
        {"ПлательщикБанк1", "Уральский банк"},
        {"ПлательщикБанк2", "Уральский банк"},
        {"ПлательщикБИК", "046577674"},
        {"ПлательщикКорсчет", "30101810500000000674"},
        {"ПолучательСчет", "40101810500000010010"},
        {"Получатель", "ИНН 6658000001 УФК по Свердловской области"},
        {"ПолучательИНН", "6658000001"},
        {"Получатель1", "УФК по Свердловской области"},
        {"ПолучательРасчСчет", "40101810500000010010"},
        {"ПолучательБанк1", "ГРКЦ ГУ Банка России"},
        {"ПолучательБанк2", "ГРКЦ ГУ Банка России"},
        {"ПолучательБИК", "046577001"},
        {"ПолучательКорсчет", ""},
        {"ВидПлатежа", "Срочно"},
        {"ВидОплаты", "01"},
        {"НазначениеПлатежа", "Налог по УСН за 4 кв. 2008"},
        {"Код", "0"},
        {"СтатусСоставителя", "01"},
        {"ПлательщикКПП", "0"},
        {"ПолучательКПП", "665801001"},
        {"ПоказательКБК", "18210501010011000110"},
        {"ОКАТО", "65401000000"},
        {"ПоказательОснования", "ТП"},
        {"ПоказательПериода", "ГД.00.2008"},
        {"ПоказательНомера", "0"},
        {"ПоказательДаты", "0"},
        {"ПоказательТипа", "НС"},
        {"Очередность", "5"},
    };
    ASSERT_EQ(e.documents.size(), 2);
    EXPECT_EQ(e.documents[0], supplier);
    EXPECT_EQ(e.documents[1], tax);
    EXPECT_EQ(e.last, QString("КонецФайла"));
    // Code page 1251 on disk, not UTF-8.
    EXPECT_TRUE(f.text.contains(cp("Документ=Платежное поручение\r\nСекцияДокумент=")));
}

TEST(BankExchange, AmountIsRublesPointKopecks) {
    const struct {
        const char* typed;
        const char* sent;
    } rows[] = {{"1500", "1500.00"},    {"3022-42", "3022.42"}, {"7,25", "7.25"},
                {"1500.50", "1500.50"}, {"007", "7.00"},        {"0-01", "0.01"}};
    for (const auto& row : rows) {
        const render::ExchangeFile f = render::buildExchangeFile(
            {{"1.plat", order("1", "03.02.2009", row.typed, "40702810900000000001"), {}}}, created);
        const Exchange e = readExchange(f.text);
        ASSERT_EQ(e.documents.size(), 1) << row.typed;
        EXPECT_TRUE(e.documents[0].contains({QString("Сумма"), QString(row.sent)})) << row.typed;
    }
}

TEST(BankExchange, OrdersThatCannotBePaidAreLeftOutWithTheirReason) {
    const struct {
        const char* name;
        storage::OrderRecord plat;
        const char* reason;
    } rows[] = {
        {"malformed amount", order("2", "03.02.2009", "12.5", "4070"),
         "сумма «12.5» записана неверно"},
        {"empty amount", order("2", "03.02.2009", "", "4070"), "сумма не указана"},
        {"ten ruble digits", order("2", "03.02.2009", "1234567890", "4070"),
         "в сумме «1234567890» больше 9 цифр рублей"},
        {"zero amount", order("2", "03.02.2009", "0-00", "4070"), "сумма равна нулю"},
        {"no payer account", order("2", "03.02.2009", "10", ""), "не указан счет плательщика"},
        {"no date", order("2", "", "10", "4070"), "дата «» не в виде ДД.ММ.ГГГГ"},
        {"both", order("2", "31.02.2009", "1 000", ""),
         "сумма «1 000» записана неверно; не указан счет плательщика; "
         "даты «31.02.2009» нет в календаре"},
        {"not this grammar", order("2", "1.2.2009", "10", "4070"),
         "дата «1.2.2009» не в виде ДД.ММ.ГГГГ"},
    };
    for (const auto& row : rows) {
        const render::ExchangeFile f = render::buildExchangeFile(
            {{"1.plat", order("1", "3.02.2009", "10", "4070"), {}}, {"2.plat", row.plat, {}}},
            created);
        EXPECT_EQ(f.written, 1) << row.name;
        ASSERT_EQ(f.leftOut.size(), 1) << row.name;
        EXPECT_EQ(render::leftOutLine(f.leftOut[0]), QString("2.plat: ") + QString(row.reason))
            << row.name;
        ASSERT_EQ(readExchange(f.text).documents.size(), 1) << row.name;
        // A date typed without the leading zero is sent in full.
        EXPECT_TRUE(
            readExchange(f.text).documents[0].contains({QString("Дата"), QString("03.02.2009")}));
    }
}

TEST(BankExchange, ExportWritesNoFileWhenNothingIsLeft) {
    TempDir dir;
    dir.write("bad.plat", storage::recordBytes(order("1", "03.02.2009", "12.5", "4070")));
    dir.write("good.plat", storage::recordBytes(order("2", "03.02.2009", "12", "4070")));
    dir.write("out.txt", "old");

    render::ExportResult r = render::exportOrders({dir.file("missing.plat"), dir.file("bad.plat")},
                                                  dir.file("out.txt"), created);
    EXPECT_TRUE(r.io.ok);
    EXPECT_EQ(r.written, 0);
    ASSERT_EQ(r.leftOut.size(), 2);
    EXPECT_EQ(render::leftOutLine(r.leftOut[0]), QString("missing.plat: платежка не найдена"));
    EXPECT_EQ(r.leftOut[1].name, QString("bad.plat"));
    EXPECT_EQ(dir.read("out.txt"), "old");

    r = render::exportOrders({dir.file("bad.plat"), dir.file("good.plat")}, dir.file("out.txt"),
                             created);
    EXPECT_TRUE(r.io.ok) << r.io.error.toStdString();
    EXPECT_EQ(r.written, 1);
    EXPECT_EQ(readExchange(dir.read("out.txt")).documents.size(), 1);
}

namespace {

// The format's rules for an order sent to the bank, field by field; what breaks one.
QStringList ruleViolations(const storage::ExchangeSection& doc) {
    QStringList broken;
    const bool budget = !doc.value(u"СтатусСоставителя").isEmpty();
    QStringList required{"Номер",           "Дата",
                         "Сумма",           "ПлательщикСчет",
                         "Плательщик",      "ПлательщикИНН",
                         "ПлательщикБанк1", "ПлательщикБанк2",
                         "ПлательщикБИК",   "ПолучательСчет",
                         "Получатель",      "ПолучательИНН",
                         "ПолучательБанк1", "ПолучательБанк2",
                         "ПолучательБИК",   "ВидОплаты",
                         "Очередность",     "НазначениеПлатежа"};
    if (budget)
        required << "Код"
                 << "ПлательщикКПП"
                 << "ПолучательКПП"
                 << "ПоказательКБК"
                 << "ОКАТО"
                 << "ПоказательОснования"
                 << "ПоказательПериода"
                 << "ПоказательНомера"
                 << "ПоказательДаты"
                 << "ПоказательТипа";
    for (const QString& key : required)
        if (doc.value(key).isEmpty())
            broken << key + " missing";
    const auto matches = [&](const char* key, const char* pattern) {
        const QString v = doc.value(QString::fromUtf8(key));
        if (!v.isEmpty() && !QRegularExpression(QString("^(%1)$").arg(pattern)).match(v).hasMatch())
            broken << QString::fromUtf8(key) + "=" + v;
    };
    matches("Дата", R"(\d\d\.\d\d\.\d\d\d\d)");
    matches("Сумма", R"(\d+\.\d\d)");
    for (const char* key : {"ПлательщикСчет", "ПолучательСчет", "ПлательщикКорсчет"})
        matches(key, R"(\d{20})");
    for (const char* key : {"ПлательщикБИК", "ПолучательБИК"})
        matches(key, R"(\d{9})");
    for (const char* key : {"ПлательщикИНН", "ПолучательИНН"})
        matches(key, R"(\d{10}|\d{12})");
    for (const char* key : {"ПлательщикКПП", "ПолучательКПП"})
        matches(key, R"(\d{9}|0)");
    if (doc.value(u"НазначениеПлатежа").size() > 210)
        broken << "НазначениеПлатежа longer than 210";
    return broken;
}

storage::OrderRecord fullOrder(const char* number, const char* date, const char* amount,
                               std::uint8_t vat, const char* purpose) {
    storage::OrderRecord p = supplierOrder();
    p.number.assign(cp(number));
    p.date.assign(cp(date));
    p.amount.assign(cp(amount));
    p.vat = vat;
    p.priority = 0;
    p.purpose.assign(cp(purpose));
    return p;
}

// A single tax payment ("ЕНП") of 2026: the tax office as payee, every budget field "0" but
// the КБК.
storage::OrderRecord singleTaxPayment(const char* number, const char* payerKpp) {
    storage::OrderRecord p =
        fullOrder(number, "28.01.2026", "15000-00", 0, "Единый налоговый платеж");
    p.payerKpp.assign(cp(payerKpp));
    p.payeeName.assign(cp("Казначейство России (ФНС России)"));
    p.payeeInn.assign(cp("7727406020"));
    p.payeeKpp.assign(cp("770801001"));
    p.payeeAccount.assign(cp("03100643000000018500"));
    p.payeeCorrAccount.assign(cp("40102810445370000059"));
    p.payeeBik.assign(cp("017003983"));
    p.payeeBankShort.assign(cp("ОТДЕЛЕНИЕ ТУЛА БАНКА РОССИИ//УФК по Тульской области, г Тула"));
    p.status = 1;
    p.kbk.assign(cp("18201061201010000510"));
    p.okato.assign(cp("0"));
    p.basis.assign(cp("0"));
    p.taxPeriod.assign(cp("0"));
    p.docNumber.assign(cp("0"));
    p.docDate.assign(cp("0"));
    p.taxType.assign(cp("0"));
    return p;
}

QString text(std::string_view bytes) {
    return uni(bytes);
}

} // namespace

TEST(BankExchange, FiveOrdersPassTheFieldRulesAndReadBackAsSaved) {
    const QList<storage::OrderRecord> saved{
        fullOrder("21", "10.12.2025", "1000-00", 0, "Оплата по договору № 7"),
        fullOrder("22", "15.12.2025", "1200-00", 1, "Оплата по счету № 12"),
        fullOrder("23", "15.01.2026", "1220-00", 1, "Оплата по счету № 3"),
        singleTaxPayment("24", "770101001"),
        singleTaxPayment("25", ""), // an entrepreneur has no КПП
    };
    QList<render::ExchangeOrder> orders;
    for (const storage::OrderRecord& p : saved)
        orders.append({text(p.number.view()) + ".plat", p, {}});
    const render::ExchangeFile f = render::buildExchangeFile(orders, created);
    ASSERT_EQ(f.written, 5);

    const storage::ExchangeText back = storage::readExchange(f.text);
    ASSERT_TRUE(back.error.isEmpty()) << back.error.toStdString();
    ASSERT_EQ(back.documents.size(), 5);
    const QStringList vatLines{"Без НДС", "В т.ч. НДС(20%): 200-00", "В т.ч. НДС(22%): 220-00", "",
                               ""};
    for (int i = 0; i < 5; ++i) {
        const storage::ExchangeSection& doc = back.documents[i];
        const storage::OrderRecord& p = saved[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(ruleViolations(doc), QStringList());
        EXPECT_EQ(doc.value(u"Номер"), text(p.number.view()));
        EXPECT_EQ(doc.value(u"Дата"), text(p.date.view()));
        EXPECT_EQ(doc.value(u"Сумма").replace('.', '-'), text(p.amount.view()));
        for (bool payer : {true, false}) {
            const storage::OrganizationRecord party = storage::partyOrganization(p, payer);
            const QString who = payer ? "Плательщик" : "Получатель";
            const storage::BankRecord& bank = party.banks[0];
            EXPECT_EQ(doc.value(who + "Счет"), text(bank.account.view()));
            EXPECT_EQ(doc.value(who + "1"), text(party.name.view()));
            EXPECT_EQ(doc.value(who + "ИНН"), text(party.inn.view()));
            EXPECT_EQ(doc.value(who + "БИК"), text(bank.bik.view()));
            EXPECT_EQ(doc.value(who + "Корсчет"), text(bank.corrAccount.view()));
            const QString kpp = text(party.kpp.view());
            EXPECT_EQ(doc.value(who + "КПП"), kpp.isEmpty() && p.status != 0 ? "0" : kpp);
        }
        const QString purpose = text(p.purpose.view());
        EXPECT_EQ(doc.value(u"НазначениеПлатежа"),
                  vatLines[i].isEmpty() ? purpose : purpose + ' ' + vatLines[i]);
        if (p.status != 0) {
            EXPECT_EQ(doc.value(u"ПоказательКБК"), text(p.kbk.view()));
            for (const char* key : {"ОКАТО", "ПоказательОснования", "ПоказательПериода",
                                    "ПоказательНомера", "ПоказательДаты", "ПоказательТипа"})
                EXPECT_EQ(doc.value(QString::fromUtf8(key)), "0") << key;
        }
    }
}

TEST(BankExchange, BankTownComesFromTheDirectoryElseFromTheNameElseTheFullName) {
    storage::BikDirectory directory;
    directory.banks = {{"044525225", "ПАО Сбербанк", "г. Москва", {}, {}}};
    const struct {
        const char* name;
        const char* bik;
        const char* shortName;
        const char* fullName;
        const char* town;
    } rows[] = {
        {"directory", "044525225", "Сбербанк", "", "г. Москва"},
        {"name", "045773603", "ПАО Банк г.Пермь", "", "г. Пермь"},
        {"capital Г", "045773603", "ПАО БАНК Г. ПЕРМЬ", "", "г. ПЕРМЬ"},
        {"full name's town", "045773603", "Банк Урал", "АО Банк г. Екатеринбург",
         "г. Екатеринбург"},
        {"full name", "045773603", "Банк Урал", "АО Банк Урал", "АО Банк Урал"},
        {"short name only", "045773603", "Банк Урал", "", "Банк Урал"},
    };
    for (const auto& row : rows) {
        storage::OrderRecord p = order("1", "03.02.2026", "10", "40702810900000000001");
        p.payerBik.assign(cp(row.bik));
        p.payerBankShort.assign(cp(row.shortName));
        p.payerBankFull.assign(cp(row.fullName));
        const render::ExchangeFile f =
            render::buildExchangeFile({{"1.plat", p, {}}}, created, &directory);
        const storage::ExchangeText back = storage::readExchange(f.text);
        ASSERT_EQ(back.documents.size(), 1) << row.name;
        EXPECT_EQ(back.documents[0].value(u"ПлательщикБанк2"), QString(row.town)) << row.name;
    }
}

TEST(BankExchange, CodeZeroAndKppZeroOnlyOnBudgetPayments) {
    storage::OrderRecord ordinary = supplierOrder();
    ordinary.payerKpp.clear();
    ordinary.payeeKpp.clear();
    storage::OrderRecord budget = taxOrder();
    budget.payeeKpp.clear();
    const storage::ExchangeText back = storage::readExchange(
        render::buildExchangeFile({{"1.plat", ordinary, {}}, {"2.plat", budget, {}}}, created)
            .text);
    ASSERT_EQ(back.documents.size(), 2);
    EXPECT_EQ(back.documents[0].values(u"Код"), QStringList());
    EXPECT_EQ(back.documents[0].values(u"ПлательщикКПП"), QStringList{""});
    EXPECT_EQ(back.documents[0].values(u"ПолучательКПП"), QStringList{""});
    EXPECT_EQ(back.documents[1].values(u"Код"), QStringList{"0"});
    EXPECT_EQ(back.documents[1].values(u"ПлательщикКПП"), QStringList{"0"});
    EXPECT_EQ(back.documents[1].values(u"ПолучательКПП"), QStringList{"0"});
}

TEST(BankExchange, PurposeLongerThan210WithItsVatLineIsLeftOutNotCut) {
    // 190 characters: 214 with the VAT line "В т.ч. НДС(22%): 180-33" and its blank.
    const QByteArray purpose = cp("Оплата ") + QByteArray(183, 'x');
    storage::OrderRecord tooLong = fullOrder("1", "15.01.2026", "1000-00", 1, "");
    tooLong.purpose.assign(purpose);
    storage::OrderRecord fits = tooLong;
    fits.vat = 0; // 198 characters with "Без НДС"
    const render::ExchangeFile f =
        render::buildExchangeFile({{"1.plat", tooLong, {}}, {"2.plat", fits, {}}}, created);
    EXPECT_EQ(f.written, 1);
    ASSERT_EQ(f.leftOut.size(), 1);
    EXPECT_EQ(render::leftOutLine(f.leftOut[0]),
              QString("1.plat: назначение платежа со строкой НДС длиннее 210 знаков (214)"));
    EXPECT_EQ(storage::readExchange(f.text).documents[0].value(u"НазначениеПлатежа").size(), 198);
}
