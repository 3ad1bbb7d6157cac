#include "statement.h"

#include "orderdate.h"

#include "cp1251.h"
#include "exchangeread.h"
#include "folder.h"

#include <QDir>

#include <cstddef>

namespace storage {

using namespace Qt::StringLiterals;

namespace {

// The largest statement read: a year of a busy account is a few megabytes.
constexpr qint64 MaxStatementBytes = 64LL * 1024 * 1024;

QDate dateOf(const QString& text) {
    return QDate::fromString(text.trimmed(), u"d.M.yyyy"_s);
}

QString dateText(const QDate& d) {
    return d.toString(u"dd.MM.yyyy"_s);
}

// An order number without its leading zeros: the bank may write "015" for "15".
QString numberKey(QString n) {
    n = n.trimmed();
    while (n.size() > 1 && n.startsWith(u'0'))
        n.remove(0, 1);
    return n;
}

std::optional<Money> amountOf(std::string_view text) {
    const ParsedAmount strict = Money::parse(text);
    if (strict.error == AmountValid)
        return strict.value;
    return Money::parseLenient(text);
}

QString amountText(const std::optional<Money>& m, const QString& asWritten) {
    return m ? m->toString(u"."_s, Money::Kopecks::TwoDigits) : asWritten;
}

// A saved order of the folder.
struct Saved {
    QString name;
    QByteArray bytes; // the whole file, so that marking changes one byte and nothing else
    OrderRecord plat;
    QDate date;
    std::optional<Money> amount;
    bool matched = false;
};

std::vector<Saved> savedOrders(const QString& ordersDir,
                               const std::function<bool(const QString&)>& read,
                               QStringList& failures) {
    std::vector<Saved> orders;
    for (const QString& name : listFileNames(ordersDir, u".plat")) {
        if (read && !read(name))
            continue;
        if (fileSize(ordersDir + name) != qint64(sizeof(OrderRecord)))
            continue;
        Saved o;
        o.name = name;
        if (const IoResult r = readFile(ordersDir + name, o.bytes, sizeof(OrderRecord)); !r) {
            failures << r.error;
            continue;
        }
        if (o.bytes.size() != qsizetype(sizeof(OrderRecord)))
            continue;
        recordFromBytes(o.plat, o.bytes.constData());
        if (const std::optional<OrderDate> d = OrderDate::parseStored(o.plat.date.view()))
            o.date = d->toQDate();
        o.amount = amountOf(o.plat.amount.view());
        orders.push_back(std::move(o));
    }
    return orders;
}

bool accountKnown(const DirectoryTables& directory, const QString& account) {
    const QByteArray a = account.toLatin1();
    for (int f = 0; f < directory.organizationCount; ++f)
        for (const BankRecord& b : directory.organizations[std::size_t(f)].banks)
            if (b.account.bytes() == a)
                return true;
    return false;
}

bool matches(const Saved& o, const StatementDebit& d) {
    return !o.matched && o.plat.payerAccount.bytes() == d.payerAccount.toLatin1() &&
           numberKey(cp1251::toUnicode(o.plat.number.view())) == numberKey(d.number) &&
           o.date.isValid() && o.date == d.date && o.amount && o.amount == d.amount;
}

} // namespace

Statement readStatement(const QByteArray& bytes) {
    Statement st;
    const ExchangeText t = readExchange(bytes);
    if (!t.error.isEmpty()) {
        st.error = t.error;
        return st;
    }
    st.accounts = t.header.values(u"РасчСчет");
    for (const ExchangeSection& a : t.accounts)
        if (const QString acc = a.value(u"РасчСчет"); !acc.isEmpty() && !st.accounts.contains(acc))
            st.accounts << acc;
    st.accounts.removeAll(QString());
    if (st.accounts.isEmpty()) {
        st.error = u"в выписке не указан расчетный счет"_s;
        return st;
    }
    st.from = dateOf(t.header.value(u"ДатаНачала"));
    st.to = dateOf(t.header.value(u"ДатаКонца"));
    for (const ExchangeSection& a : t.accounts) {
        if (const QDate d = dateOf(a.value(u"ДатаНачала"));
            d.isValid() && (!st.from.isValid() || d < st.from))
            st.from = d;
        if (const QDate d = dateOf(a.value(u"ДатаКонца"));
            d.isValid() && (!st.to.isValid() || d > st.to))
            st.to = d;
    }
    for (const ExchangeSection& doc : t.documents) {
        if (doc.value(u"ДатаСписано").isEmpty())
            continue;
        StatementDebit d;
        d.payerAccount = doc.value(u"ПлательщикСчет");
        if (d.payerAccount.isEmpty())
            d.payerAccount = doc.value(u"ПлательщикРасчСчет");
        if (!st.accounts.contains(d.payerAccount))
            continue;
        d.number = doc.value(u"Номер");
        d.date = dateOf(doc.value(u"Дата"));
        const QString amount = doc.value(u"Сумма");
        d.amount = Money::parseLenient(amount.toLatin1().toStdString());
        d.payee = doc.value(u"Получатель1");
        if (d.payee.isEmpty())
            d.payee = doc.value(u"Получатель");
        d.text =
            u"№ %1 от %2, %3"_s.arg(d.number, doc.value(u"Дата"), amountText(d.amount, amount));
        if (!d.payee.isEmpty())
            d.text += u", "_s + d.payee;
        st.debits.append(std::move(d));
    }
    return st;
}

StatementOutcome importStatement(const FolderState& folder, const DirectoryTables& directory,
                                 const QString& path, const StatementScope& mayConcern) {
    StatementOutcome out;
    const QString refused = u"Выписка %1 не загружена: "_s.arg(QDir::toNativeSeparators(path));
    if (folder.readOnly) {
        out.error = refused + u"папка программы открыта только для чтения"_s;
        return out;
    }
    QByteArray bytes;
    if (const IoResult r = readChosenFile(path, bytes, MaxStatementBytes); !r) {
        out.error = r.error;
        return out;
    }
    const Statement st = readStatement(bytes);
    if (!st.error.isEmpty()) {
        out.error = refused + st.error;
        return out;
    }
    for (const QString& account : st.accounts)
        if (!accountKnown(directory, account)) {
            out.error = refused + u"счета %1 нет в справочнике организаций"_s.arg(account);
            return out;
        }

    std::function<bool(const QString&)> read;
    if (mayConcern)
        read = [&mayConcern, &st](const QString& name) { return mayConcern(st, name); };
    std::vector<Saved> orders = savedOrders(folder.ordersDir, read, out.failures);
    for (const StatementDebit& d : st.debits) {
        Saved* found = nullptr;
        for (Saved& o : orders)
            if (matches(o, d)) {
                found = &o;
                break;
            }
        if (!found) {
            out.unmatched << d.text;
            continue;
        }
        found->matched = true;
        if (found->plat.accepted == 1) {
            ++out.alreadyMarked;
            continue;
        }
        QByteArray marked = found->bytes;
        marked[offsetof(OrderRecord, accepted)] = 1;
        if (const IoResult w = writeFileAtomic(folder.ordersDir + found->name, marked); !w) {
            out.failures << w.error;
            continue;
        }
        out.marked << found->name;
    }
    for (const Saved& o : orders) {
        if (o.matched || !st.accounts.contains(QString::fromLatin1(o.plat.payerAccount.bytes())))
            continue;
        if (!o.date.isValid() || (st.from.isValid() && o.date < st.from) ||
            (st.to.isValid() && o.date > st.to))
            continue;
        out.notDebited << u"%1: № %2 от %3, %4"_s.arg(
            o.name, cp1251::toUnicode(o.plat.number.view()), dateText(o.date),
            amountText(o.amount, cp1251::toUnicode(o.plat.amount.view())));
    }
    return out;
}

QString statementMarkedLine(const StatementOutcome& outcome) {
    QString text = u"Отмечено оплаченными: %1."_s.arg(outcome.marked.size());
    if (outcome.alreadyMarked > 0)
        text += u" Уже были отмечены: %1."_s.arg(outcome.alreadyMarked);
    return text;
}

QString statementReport(const StatementOutcome& outcome) {
    if (!outcome.error.isEmpty())
        return outcome.error;
    QString text = statementMarkedLine(outcome);
    const auto list = [&text](const QString& title, const QStringList& lines) {
        if (lines.isEmpty())
            return;
        text += u"\n\n"_s + title;
        for (const QString& l : lines)
            text += u"\n"_s + l;
    };
    list(u"В выписке, но нет среди сохраненных платежек:"_s, outcome.unmatched);
    list(u"Сохранены, но не списаны по выписке:"_s, outcome.notDebited);
    list(u"Не удалось отметить:"_s, outcome.failures);
    return text;
}

} // namespace storage
