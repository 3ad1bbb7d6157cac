#include "render/bankexchange.h"

#include "support/support.h"

#include "storage/platfile.h"

#include <QFile>
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

storage::TPlat order(const char* number, const char* date, const char* amount,
                     const char* payerAccount) {
    storage::TPlat p;
    storage::clearRecord(p);
    p.Number.assign(cp(number));
    p.Date.assign(cp(date));
    p.Amount.assign(cp(amount));
    p.PayerAccount.assign(cp(payerAccount));
    return p;
}

// An order to a supplier: 18% VAT, priority 4, sent electronically, two purpose lines.
storage::TPlat supplierOrder() {
    storage::TPlat p = order("15", "03.02.2009", "1000-00", "40702810900000000001");
    p.PayerName.assign(cp("ООО «Вега»"));
    p.PayerInn.assign(cp("7701000001"));
    p.PayerKpp.assign(cp("770101001"));
    p.PayerCorrAccount.assign(cp("30101810400000000225"));
    p.PayerBik.assign(cp("044525225"));
    p.PayerBankShort.assign(cp("ПАО Сбербанк г.Москва"));
    p.PayerBankFull.assign(cp("Публичное акционерное общество Сбербанк"));
    p.PayeeName.assign(cp("АО «Бумага»"));
    p.PayeeAccount.assign(cp("40702810500000000002"));
    p.PayeeCorrAccount.assign(cp("30101810100000000716"));
    p.PayeeBik.assign(cp("044525716"));
    p.PayeeBankFull.assign(cp("Банк ВТБ (ПАО)"));
    p.PayeeInn.assign(cp("7702000002"));
    p.PayeeKpp.assign(cp("770201001"));
    p.Vat = 1;
    p.PayKind = 0;
    p.Priority = 1;
    p.Status = 0;
    p.Purpose.assign(cp("Оплата по счету № 5\r\nза бумагу"));
    // Budget fields of a non-budget order are not sent.
    p.Kbk.assign(cp("18210301000011000110"));
    return p;
}

// A tax payment: status 01, priority 6, urgent, budget fields filled.
storage::TPlat taxOrder() {
    storage::TPlat p = order("16", "15.01.2009", "3022-42", "40702810900000000009");
    p.PayerName.assign(cp("ИП Орлов"));
    p.PayerInn.assign(cp("660100000001"));
    p.PayerBik.assign(cp("046577674"));
    p.PayerCorrAccount.assign(cp("30101810500000000674"));
    p.PayerBankShort.assign(cp("Уральский банк"));
    p.PayeeName.assign(cp("УФК по Свердловской области"));
    p.PayeeAccount.assign(cp("40101810500000010010"));
    p.PayeeBik.assign(cp("046577001"));
    p.PayeeBankShort.assign(cp("ГРКЦ ГУ Банка России"));
    p.PayeeInn.assign(cp("6658000001"));
    p.PayeeKpp.assign(cp("665801001"));
    p.Vat = 1; // no tax line on a budget payment, whatever the VAT choice
    p.PayKind = 3;
    p.Priority = 0;
    p.Status = 1;
    p.Purpose.assign(cp("Налог по УСН за 4 кв. 2008"));
    p.Kbk.assign(cp("18210501010011000110"));
    p.Okato.assign(cp("65401000000"));
    p.Basis.assign(cp("ТП"));
    p.TaxPeriod.assign(cp("ГД.00.2008"));
    p.DocNumber.assign(cp("0"));
    p.DocDate.assign(cp("0"));
    p.TaxType.assign(cp("НС"));
    return p;
}

const QDateTime created(QDate(2009, 2, 4), QTime(9, 5, 7));

} // namespace

TEST(BankExchange, BudgetAndSupplierOrdersReadBackKeyByKey) {
    const render::ExchangeFile f =
        render::BuildExchangeFile({{"15_7701000001_09.plat", supplierOrder(), {}},
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
        {"ПлательщикБИК", "044525225"},
        {"ПлательщикКорсчет", "30101810400000000225"},
        {"ПолучательСчет", "40702810500000000002"},
        {"Получатель", "ИНН 7702000002 АО «Бумага»"},
        {"ПолучательИНН", "7702000002"},
        {"Получатель1", "АО «Бумага»"},
        {"ПолучательРасчСчет", "40702810500000000002"},
        {"ПолучательБанк1", "Банк ВТБ (ПАО)"},
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
        {"ПлательщикБИК", "046577674"},
        {"ПлательщикКорсчет", "30101810500000000674"},
        {"ПолучательСчет", "40101810500000010010"},
        {"Получатель", "ИНН 6658000001 УФК по Свердловской области"},
        {"ПолучательИНН", "6658000001"},
        {"Получатель1", "УФК по Свердловской области"},
        {"ПолучательРасчСчет", "40101810500000010010"},
        {"ПолучательБанк1", "ГРКЦ ГУ Банка России"},
        {"ПолучательБИК", "046577001"},
        {"ПолучательКорсчет", ""},
        {"ВидПлатежа", "Срочно"},
        {"ВидОплаты", "01"},
        {"НазначениеПлатежа", "Налог по УСН за 4 кв. 2008"},
        {"СтатусСоставителя", "01"},
        {"ПлательщикКПП", ""},
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
        const render::ExchangeFile f = render::BuildExchangeFile(
            {{"1.plat", order("1", "03.02.2009", row.typed, "40702810900000000001"), {}}}, created);
        const Exchange e = readExchange(f.text);
        ASSERT_EQ(e.documents.size(), 1) << row.typed;
        EXPECT_TRUE(e.documents[0].contains({QString("Сумма"), QString(row.sent)})) << row.typed;
    }
}

TEST(BankExchange, OrdersThatCannotBePaidAreLeftOutWithTheirReason) {
    const struct {
        const char* name;
        storage::TPlat plat;
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
         "дата «31.02.2009» не в виде ДД.ММ.ГГГГ"},
    };
    for (const auto& row : rows) {
        const render::ExchangeFile f = render::BuildExchangeFile(
            {{"1.plat", order("1", "3.02.2009", "10", "4070"), {}}, {"2.plat", row.plat, {}}},
            created);
        EXPECT_EQ(f.written, 1) << row.name;
        ASSERT_EQ(f.leftOut.size(), 1) << row.name;
        EXPECT_EQ(render::LeftOutLine(f.leftOut[0]), QString("2.plat: ") + QString(row.reason))
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

    render::ExportResult r = render::ExportOrders({dir.file("missing.plat"), dir.file("bad.plat")},
                                                  dir.file("out.txt"), created);
    EXPECT_TRUE(r.io.ok);
    EXPECT_EQ(r.written, 0);
    ASSERT_EQ(r.leftOut.size(), 2);
    EXPECT_EQ(render::LeftOutLine(r.leftOut[0]), QString("missing.plat: платежка не найдена"));
    EXPECT_EQ(r.leftOut[1].name, QString("bad.plat"));
    EXPECT_EQ(dir.read("out.txt"), "old");

    r = render::ExportOrders({dir.file("bad.plat"), dir.file("good.plat")}, dir.file("out.txt"),
                             created);
    EXPECT_TRUE(r.io.ok) << r.io.error.toStdString();
    EXPECT_EQ(r.written, 1);
    EXPECT_EQ(readExchange(dir.read("out.txt")).documents.size(), 1);
}
