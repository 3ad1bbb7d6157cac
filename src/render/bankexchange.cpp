#include "bankexchange.h"

#include "amount.h"
#include "formlayout.h"
#include "orderinput.h"

#include "storage/bikdirectory.h"
#include "storage/cp1251.h"
#include "storage/orderdate.h"
#include "storage/party.h"
#include "storage/platfile.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QTime>

namespace render {

using namespace Qt::StringLiterals;

namespace {

QByteArray cp(const char* utf8) {
    return storage::cp1251::fromUnicode(QString::fromUtf8(utf8));
}

std::string_view view(const QByteArray& b) {
    return {b.constData(), std::size_t(b.size())};
}

// Appends one "key=value" line. A value never holds a line break (a damaged record could
// otherwise add lines of its own to the file): characters below code 32 become blanks.
void line(QByteArray& out, const char* key, QByteArray value = {}) {
    for (char& c : value)
        if (static_cast<unsigned char>(c) < 32)
            c = ' ';
    out += cp(key);
    out += '=';
    out += value;
    out += "\r\n";
}

void mark(QByteArray& out, const char* text) {
    out += cp(text);
    out += "\r\n";
}

QString dateText(const QDate& d) {
    return d.toString(u"dd.MM.yyyy"_s);
}

struct Purpose {
    QByteArray text;
    bool withTax = false;
};

// The printed purpose and, after a blank, the VAT line.
Purpose purposeAndTax(const OrderInput& order) {
    Purpose p{printedPurpose(order).bytes()};
    const QByteArray tax =
        taxLine(order, assembleAmountLine(view(order.amountText)).amount).bytes();
    p.withTax = !tax.isEmpty();
    if (!p.text.isEmpty() && p.withTax)
        p.text += ' ';
    p.text += tax;
    return p;
}

QString tooLong(const Purpose& p) {
    if (p.text.size() <= ExchangePurposeLimit) // one byte a character
        return {};
    return u"назначение платежа%1 длиннее %2 знаков (%3)"_s.arg(
        p.withTax ? u" со строкой НДС"_s : QString(), QString::number(ExchangePurposeLimit),
        QString::number(p.text.size()));
}

// One order checked and prepared for its section.
struct Checked {
    QStringList reasons;
    AmountLine amount;
    QDate date;
    QByteArray purpose;
};

Checked check(const storage::OrderRecord& p) {
    Checked c;
    const OrderInput order = orderInputFromRecord(p);
    const QByteArray amountText = p.amount.bytes();
    if (amountText.isEmpty()) {
        c.reasons << u"сумма не указана"_s;
    } else {
        c.amount = assembleAmountLine(view(amountText));
        const QString shown = storage::cp1251::toUnicode(amountText);
        if (c.amount.amount.error == AmountTooManyDigits)
            c.reasons << u"в сумме «%1» больше 9 цифр рублей"_s.arg(shown);
        else if (c.amount.amount.error != AmountValid)
            c.reasons << u"сумма «%1» записана неверно"_s.arg(shown);
        else if (c.amount.amount.value == storage::Money())
            c.reasons << u"сумма равна нулю"_s;
    }
    if (p.payerAccount.empty())
        c.reasons << u"не указан счет плательщика"_s;
    const std::optional<storage::OrderDate> date = storage::OrderDate::parseStored(p.date.view());
    c.date = date ? date->toQDate() : QDate();
    if (!date)
        c.reasons << u"дата «%1» не в виде ДД.ММ.ГГГГ"_s.arg(
            storage::cp1251::toUnicode(p.date.bytes()));
    else if (!c.date.isValid())
        c.reasons << u"даты «%1» нет в календаре"_s.arg(storage::cp1251::toUnicode(p.date.bytes()));
    // Cut, the purpose would lose its end (the VAT line first) without anybody noticing.
    const Purpose purpose = purposeAndTax(order);
    if (const QString reason = tooLong(purpose); !reason.isEmpty())
        c.reasons << reason;
    c.purpose = purpose.text;
    return c;
}

void party(QByteArray& out, const storage::OrderRecord& p, bool payer,
           const storage::BikDirectory* directory) {
    const storage::OrganizationRecord f = storage::partyOrganization(p, payer);
    const storage::BankRecord& bank = f.banks[0];
    const char* const keys[] = {
        payer ? "ПлательщикСчет" : "ПолучательСчет",
        payer ? "Плательщик" : "Получатель",
        payer ? "ПлательщикИНН" : "ПолучательИНН",
        payer ? "Плательщик1" : "Получатель1",
        payer ? "ПлательщикРасчСчет" : "ПолучательРасчСчет",
        payer ? "ПлательщикБанк1" : "ПолучательБанк1",
        payer ? "ПлательщикБанк2" : "ПолучательБанк2",
        payer ? "ПлательщикБИК" : "ПолучательБИК",
        payer ? "ПлательщикКорсчет" : "ПолучательКорсчет",
    };
    // The bank's name as the form takes it: the short name, else the full one.
    const QByteArray bankName =
        bank.bankShort.empty() ? bank.bankFull.bytes() : bank.bankShort.bytes();
    line(out, keys[0], bank.account.bytes());
    line(out, keys[1], cp("ИНН ") + f.inn.bytes() + ' ' + f.name.bytes());
    line(out, keys[2], f.inn.bytes());
    line(out, keys[3], f.name.bytes());
    line(out, keys[4], bank.account.bytes());
    line(out, keys[5], bankName);
    // The bank's town is required by bank clients: never sent empty while a name is known.
    line(
        out, keys[6],
        storage::bankTown(directory, bank.bik.view(), bank.bankShort.view(), bank.bankFull.view()));
    line(out, keys[7], bank.bik.bytes());
    line(out, keys[8], bank.corrAccount.bytes());
}

void section(QByteArray& out, const storage::OrderRecord& p, const Checked& c,
             const storage::BikDirectory* directory) {
    const OrderInput order = orderInputFromRecord(p);
    mark(out, "СекцияДокумент=Платежное поручение");
    line(out, "Номер", p.number.bytes());
    line(out, "Дата", dateText(c.date).toLatin1());
    // Rubles, ".", two kopeck digits: "3022-42" is 3022.42, "1500" 1500.00, "007" 7.00.
    line(out, "Сумма", c.amount.amount.value.format(".").bytes());
    party(out, p, true, directory);
    party(out, p, false, directory);
    // "Электронно" is the bank client's own way of sending; the other kinds are named.
    line(out, "ВидПлатежа", p.payKind == 0 ? QByteArray() : order.kindText);
    line(out, "ВидОплаты", "01");

    line(out, "НазначениеПлатежа", c.purpose);

    // A budget payment names its payment's identifier, "0" when it has none (this program
    // keeps none), and a party without a КПП as "0".
    const bool budget = order.budgetPayment();
    const auto kpp = [budget](const QByteArray& k) {
        return budget && k.isEmpty() ? QByteArray("0") : k;
    };
    if (budget) {
        line(out, "Код", "0");
        line(out, "СтатусСоставителя", order.statusText);
    }
    line(out, "ПлательщикКПП", kpp(p.payerKpp.bytes()));
    line(out, "ПолучательКПП", kpp(p.payeeKpp.bytes()));
    if (budget) {
        line(out, "ПоказательКБК", p.kbk.bytes());
        line(out, "ОКАТО", p.okato.bytes());
        line(out, "ПоказательОснования", p.basis.bytes());
        line(out, "ПоказательПериода", p.taxPeriod.bytes());
        line(out, "ПоказательНомера", p.docNumber.bytes());
        line(out, "ПоказательДаты", p.docDate.bytes());
        line(out, "ПоказательТипа", p.taxType.bytes());
    }
    // Priority 6 was abolished in 2014; 5 is the lowest priority in force.
    line(out, "Очередность", p.priority == 1 ? "4" : "5");
    mark(out, "КонецДокумента");
}

} // namespace

QByteArray exchangePurpose(const OrderInput& order) {
    return purposeAndTax(order).text;
}

QString purposeTooLong(const OrderInput& order) {
    return tooLong(purposeAndTax(order));
}

ExchangeFile buildExchangeFile(const QList<ExchangeOrder>& orders, const QDateTime& created,
                               const storage::BikDirectory* directory) {
    ExchangeFile file;
    QByteArray sections;
    QList<QByteArray> accounts;
    QDate first, last;
    for (const ExchangeOrder& o : orders) {
        if (!o.readError.isEmpty()) {
            file.leftOut.append({o.name, o.readError});
            continue;
        }
        const Checked c = check(o.plat);
        if (!c.reasons.isEmpty()) {
            file.leftOut.append({o.name, c.reasons.join(u"; "_s)});
            continue;
        }
        section(sections, o.plat, c, directory);
        ++file.written;
        const QByteArray account = o.plat.payerAccount.bytes();
        if (!accounts.contains(account))
            accounts << account;
        if (!first.isValid() || c.date < first)
            first = c.date;
        if (!last.isValid() || c.date > last)
            last = c.date;
    }
    if (file.written == 0)
        return file;

    QByteArray& out = file.text;
    mark(out, "1CClientBankExchange");
    line(out, "ВерсияФормата", "1.03");
    line(out, "Кодировка", "Windows");
    line(out, "Отправитель", "Quenmara " QUENMARA_VERSION);
    line(out, "ДатаСоздания", dateText(created.date()).toLatin1());
    line(out, "ВремяСоздания", created.time().toString(u"hh:mm:ss"_s).toLatin1());
    line(out, "ДатаНачала", dateText(first).toLatin1());
    line(out, "ДатаКонца", dateText(last).toLatin1());
    for (const QByteArray& account : accounts)
        line(out, "РасчСчет", account);
    line(out, "Документ", cp("Платежное поручение"));
    out += sections;
    mark(out, "КонецФайла");
    return file;
}

ExportResult exportOrders(const QStringList& paths, const QString& outFile,
                          const QDateTime& created, const storage::BikDirectory* directory) {
    QList<ExchangeOrder> orders(paths.size());
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QFileInfo info(paths[i]);
        orders[i].name = info.fileName();
        if (!info.isFile())
            orders[i].readError = u"платежка не найдена"_s;
        else if (const storage::IoResult r = storage::readOrderFile(paths[i], orders[i].plat); !r)
            orders[i].readError = r.error;
    }
    const ExchangeFile file = buildExchangeFile(orders, created, directory);
    ExportResult result;
    result.leftOut = file.leftOut;
    result.written = file.written;
    if (file.written > 0)
        result.io = storage::writeFileAtomic(outFile, file.text);
    if (!result.io)
        result.written = 0;
    return result;
}

QString leftOutLine(const LeftOutOrder& order) {
    return order.name + u": "_s + order.reason;
}

QString exportWrittenLine(int written, const QString& outFile) {
    const QString file = QDir::toNativeSeparators(outFile);
    if (written <= 0)
        return u"Ни одна платежка не записана; файл %1 не записан."_s.arg(file);
    switch (pluralForm(unsigned(written))) {
    case PluralForm::One:
        return u"В файл %1 записана %2 платежка."_s.arg(file, QString::number(written));
    case PluralForm::TwoToFour:
        return u"В файл %1 записаны %2 платежки."_s.arg(file, QString::number(written));
    case PluralForm::Many:
        break;
    }
    return u"В файл %1 записано %2 платежек."_s.arg(file, QString::number(written));
}

QString exportReport(const ExportResult& result, const QString& outFile) {
    QString text = exportWrittenLine(result.written, outFile);
    if (!result.leftOut.isEmpty()) {
        text += u"\n\nНе записаны:"_s;
        for (const LeftOutOrder& o : result.leftOut)
            text += u'\n' + leftOutLine(o);
    }
    return text;
}

} // namespace render
