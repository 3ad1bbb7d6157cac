#include "orderlogic.h"

#include "uiutil.h"

#include "render/amount.h"
#include "render/bankexchange.h"
#include "storage/checkdigits.h"
#include "storage/choices.h"
#include "storage/party.h"
#include "storage/platfile.h"
#include "storage/scan.h"

#include <QDate>

namespace editor {

using storage::Store;
using storage::TFirm;
using storage::TPlat;

namespace {

template <std::size_t N> QStringList texts(const std::array<const char*, N>& table) {
    QStringList t;
    for (const char* s : table)
        t << QString::fromUtf8(s);
    return t;
}

} // namespace

const QStringList& PayKindTexts() {
    static const QStringList t = texts(storage::PayKindChoices);
    return t;
}

const QStringList& StatusTexts() {
    static const QStringList t = texts(storage::StatusChoices);
    return t;
}

namespace {

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool validParty(const Store& s, int index) {
    return index >= 0 && index < s.FirmCount;
}

QString purposeText(const storage::ShortStr<255>& purpose) {
    QString text = toUi(purpose);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

std::uint8_t choice(std::uint8_t value, qsizetype count) {
    return value < count ? value : 0;
}

// The position of the order on screen in the list of saved orders, or -1.
int listPosition(const Store& s) {
    if (s.OpenedIndex >= 0 && s.OpenedIndex < s.PlatCount &&
        s.PlatList[std::size_t(s.OpenedIndex)].FileName == s.PlatFileName)
        return s.OpenedIndex;
    for (int i = 0; i < s.PlatCount; ++i)
        if (s.PlatList[std::size_t(i)].FileName == s.PlatFileName)
            return i;
    return -1;
}

} // namespace

QByteArray purposeBytes(const QString& purpose) {
    QString text = purpose;
    text.replace(u'\n', QStringLiteral("\r\n"));
    return storage::cp1251::fromUnicode(text);
}

QString todayText() {
    const QDate d = QDate::currentDate();
    return QStringLiteral("%1.%2.%3")
        .arg(d.day())
        .arg(d.month(), 2, 10, QLatin1Char('0'))
        .arg(d.year(), 4, 10, QLatin1Char('0'));
}

CheckResult CheckPlat(Store& s, OrderFields& f) {
    auto result = [&](CheckResult r) {
        s.PlatError = r;
        return r;
    };
    if (f.payer < 0 || f.payee < 0 || f.number.isEmpty() || f.date.isEmpty() ||
        f.amount.isEmpty() || f.purpose.isEmpty())
        return result(CheckMissing);
    // An amount the form cannot write out would print empty: it counts as missing.
    const QByteArray amount = storage::cp1251::fromUnicode(f.amount);
    if (render::ParseAmount(std::string_view(amount.constData(), std::size_t(amount.size())))
            .AmountError != render::AmountValid)
        return result(CheckMissing);

    if (f.date.size() == 9)
        f.date.prepend(u'0');
    const QString& d = f.date;
    // dd.mm.20yy: day tens 0..3, month tens 0..1, years 2000 to 2099.
    const bool form = d.size() == 10 && d[2] == u'.' && d[5] == u'.' && d[0] >= u'0' &&
                      d[0] <= u'3' && isDigit(d[1]) && (d[3] == u'0' || d[3] == u'1') &&
                      isDigit(d[4]) && d[6] == u'2' && d[7] == u'0' && isDigit(d[8]) &&
                      isDigit(d[9]);
    if (!form)
        return result(CheckBadDate);
    const int day = d.mid(0, 2).toInt();
    const int month = d.mid(3, 2).toInt();
    s.DateYY.assign(storage::cp1251::fromUnicode(d.mid(8, 2)));
    if (day < 1 || day > 31 || month < 1 || month > 12)
        return result(CheckBadDate);

    if (f.budgetPayment()) {
        const BudgetTexts& b = f.budget;
        for (const QString* t :
             {&b.kbk, &b.okato, &b.basis, &b.taxPeriod, &b.taxType, &b.docNumber, &b.docDate})
            if (t->isEmpty())
                return result(CheckBudgetMissing);
    }
    return result(CheckOk);
}

bool FillPlat(Store& s, const OrderFields& f) {
    TPlat& p = s.Plat;
    fromUi(f.number, p.Number);
    fromUi(f.date, p.Date);
    fromUi(f.amount, p.Amount);
    bool named = true;
    if (!s.PlatSaved) {
        if (validParty(s, f.payer)) {
            const TFirm& payer = s.Firms[std::size_t(f.payer)];
            storage::CopyParty(payer, payer.bank(), storage::PayerOf(p));
        }
        if (validParty(s, f.payee)) {
            const TFirm& payee = s.Firms[std::size_t(f.payee)];
            storage::CopyParty(payee, payee.bank(), storage::PayeeOf(p));
        }
        const std::string_view inn =
            validParty(s, f.payer) ? s.Firms[std::size_t(f.payer)].Inn.view() : "";
        named = storage::MakePlatFileName(p.Number.view(), inn, s.DateYY.view(), s.PlatFileName);
    } else {
        const TFirm& payer = s.OpenedParties[0];
        const TFirm& payee = s.OpenedParties[1];
        storage::CopyParty(payer, payer.Banks[0], storage::PayerOf(p));
        storage::CopyParty(payee, payee.Banks[0], storage::PayeeOf(p));
    }
    p.Vat = f.vat;
    p.PayKind = f.payKind;
    p.Priority = f.priority;
    p.Status = f.status;
    fromUi(f.budget.kbk, p.Kbk);
    fromUi(f.budget.okato, p.Okato);
    fromUi(f.budget.basis, p.Basis);
    fromUi(f.budget.taxPeriod, p.TaxPeriod);
    fromUi(f.budget.taxType, p.TaxType);
    fromUi(f.budget.docNumber, p.DocNumber);
    fromUi(f.budget.docDate, p.DocDate);
    p.Accepted = f.accepted ? 1 : 0;
    p.Purpose.assign(purposeBytes(f.purpose));
    return named;
}

OrderFields FillFromPlat(Store& s) {
    const TPlat& p = s.Plat;
    OrderFields f;
    f.number = toUi(p.Number);
    f.date = toUi(p.Date);
    s.DateYY.clear();
    s.DateYY.append(p.Date.view().substr(std::min<std::size_t>(8, p.Date.size()), 2));
    f.amount = toUi(p.Amount);
    s.OpenedParties[0] = storage::PartyFirm(p, true);
    s.OpenedParties[1] = storage::PartyFirm(p, false);
    f.payer = 0;
    f.payee = 0;
    f.vat = choice(p.Vat, storage::VatChoiceCount);
    f.payKind = choice(p.PayKind, PayKindTexts().size());
    f.priority = choice(p.Priority, storage::PriorityChoiceCount);
    f.status = choice(p.Status, StatusTexts().size());
    f.budget = {toUi(p.Kbk),     toUi(p.Okato),     toUi(p.Basis),  toUi(p.TaxPeriod),
                toUi(p.TaxType), toUi(p.DocNumber), toUi(p.DocDate)};
    f.accepted = p.Accepted == 1;
    f.purpose = purposeText(p.Purpose);
    return f;
}

bool CheckChange(Store& s) {
    const TPlat& a = s.Plat;
    const TPlat& b = s.PlatSnapshot;
    const bool same = a.Number == b.Number && a.Date == b.Date && a.Amount == b.Amount &&
                      a.Vat == b.Vat && a.PayKind == b.PayKind && a.Priority == b.Priority &&
                      a.Status == b.Status && a.Purpose == b.Purpose && a.Kbk == b.Kbk &&
                      a.Okato == b.Okato && a.TaxPeriod == b.TaxPeriod &&
                      a.DocNumber == b.DocNumber && a.DocDate == b.DocDate && a.Basis == b.Basis &&
                      a.TaxType == b.TaxType && a.Accepted == b.Accepted;
    s.PlatChanged = !same;
    return s.PlatChanged;
}

QString ProposeNumber(const Store& s, int payer) {
    if (!validParty(s, payer))
        return QStringLiteral("1");
    const auto& inn = s.Firms[std::size_t(payer)].Inn;
    for (int i = 0; i < s.PayerInnCount; ++i)
        if (s.PayerInnTable[std::size_t(i)].Inn == inn)
            return QString::number(s.PayerInnTable[std::size_t(i)].MaxNumber + 1);
    return QStringLiteral("1");
}

QString limitMessage() {
    return QStringLiteral("Может быть сохранено только%1 платежки.").arg(storage::MaxPlats);
}

QString badNameMessage() {
    return QStringLiteral("Платежку нельзя сохранить: номер и ИНН плательщика должны "
                          "состоять только из цифр.");
}

SaveCheck PrepareSaveNew(Store& s, const OrderFields& f) {
    const std::string_view inn =
        validParty(s, f.payer) ? s.Firms[std::size_t(f.payer)].Inn.view() : "";
    storage::ShortStr<28> name;
    storage::clearRecord(name);
    const QByteArray number = storage::cp1251::fromUnicode(f.number);
    if (!storage::MakePlatFileName(std::string_view(number.constData(), number.size()), inn,
                                   s.DateYY.view(), name))
        return SaveCheck::BadName;
    s.PlatFileName = name.view();
    if (s.PlatCount >= storage::MaxPlats)
        return SaveCheck::LimitReached;
    for (int i = 0; i < s.PlatCount; ++i)
        if (s.PlatList[std::size_t(i)].FileName == s.PlatFileName)
            return SaveCheck::Exists;
    // The list may not hold every file: only the current year may be loaded, and another copy
    // of the program may have saved into the folder since the last scan.
    return storage::PlatFileExists(s) ? SaveCheck::Exists : SaveCheck::Ok;
}

storage::IoResult CommitSaveNew(Store& s, const OrderFields& f, OrderFields& shown, bool replace,
                                bool* existed) {
    if (existed)
        *existed = false;
    if (!FillPlat(s, f))
        return storage::IoResult::failure(badNameMessage());
    const TPlat before = s.PlatSnapshot;
    s.PlatSnapshot = s.Plat;
    bool taken = false;
    storage::IoResult written =
        replace ? storage::SaveFilePlat(s) : storage::SaveFilePlatNew(s, taken);
    if (!written) {
        s.PlatSnapshot = before;
        if (existed)
            *existed = taken;
        return written;
    }
    const storage::IoResult scanned = storage::FindFilesPlat(s);
    s.OpenedIndex = listPosition(s);
    shown = FillFromPlat(s);
    s.PlatSaved = true;
    return scanned;
}

SaveNewResult SaveNewOrder(Store& s, const OrderFields& f, const SaveQuestions& q) {
    SaveNewResult result;
    const QString exists = QStringLiteral("Платежное поручение № %1 уже есть.").arg(f.number);
    const QString replace =
        QStringLiteral("Сохранить изменения в платежном поручении № %1 ?").arg(f.number);
    bool replacing = false;
    switch (PrepareSaveNew(s, f)) {
    case SaveCheck::BadName:
        q.tell(badNameMessage());
        return result;
    case SaveCheck::LimitReached:
        q.tell(limitMessage());
        return result;
    case SaveCheck::Exists:
        if (!q.ask(exists, replace))
            return result;
        replacing = true;
        break;
    case SaveCheck::Ok:
        break;
    }
    bool existed = false;
    result.io = CommitSaveNew(s, f, result.shown, replacing, &existed);
    // A file of the name appeared after the check: it is replaced only on the user's word.
    if (existed) {
        result.io = {};
        if (!q.ask(exists, replace))
            return result;
        result.io = CommitSaveNew(s, f, result.shown, true);
    }
    result.saved = s.PlatSaved;
    return result;
}

storage::IoResult SaveSaved(Store& s) {
    const TPlat before = s.PlatSnapshot;
    s.PlatSnapshot = s.Plat;
    storage::IoResult r = storage::SaveFilePlat(s);
    if (!r)
        s.PlatSnapshot = before;
    // The list shows what the file now holds; number, payer, payee and the name stay.
    if (const int at = listPosition(s); r && at >= 0) {
        storage::TPlatItem& e = s.PlatList[std::size_t(at)];
        e.DateText.assign(s.Plat.Date);
        e.AmountText.assign(s.Plat.Amount);
        e.Accepted = s.Plat.Accepted == 1 ? 1 : 0;
    }
    return r;
}

storage::IoResult StoreAccepted(Store& s, bool accepted) {
    const TPlat before = s.Plat;
    const TPlat snapshot = s.PlatSnapshot;
    s.Plat.Accepted = accepted ? 1 : 0;
    s.PlatSnapshot = s.Plat;
    storage::IoResult r = storage::SaveFilePlat(s);
    if (!r) {
        // The file still holds what it held: so do the record, the snapshot and the list.
        s.Plat = before;
        s.PlatSnapshot = snapshot;
        return r;
    }
    if (const int at = listPosition(s); at >= 0)
        s.PlatList[std::size_t(at)].Accepted = s.Plat.Accepted;
    return r;
}

OrderFields NewOrderFields(const Store& s, const OrderFields& current) {
    OrderFields f = current;
    f.date = todayText();
    f.accepted = false;
    auto byInn = [&](const storage::ShortStr<12>& inn) {
        if (inn.empty())
            return -1;
        for (int i = 0; i < s.FirmCount; ++i)
            if (s.Firms[std::size_t(i)].Inn == inn)
                return i;
        return -1;
    };
    f.payer = byInn(s.OpenedParties[0].Inn);
    f.payee = byInn(s.OpenedParties[1].Inn);
    f.number = ProposeNumber(s, f.payer);
    return f;
}

render::OrderInput OrderInputFor(const Store& s, const OrderFields& f) {
    auto cp = [](const QString& t) { return storage::cp1251::fromUnicode(t); };
    render::OrderInput o;
    o.number = cp(f.number);
    o.date = cp(f.date);
    o.kindText = cp(PayKindTexts().value(f.payKind));
    o.statusText = cp(StatusTexts().value(f.status));
    o.amountText = cp(f.amount);
    if (!f.purpose.isEmpty())
        for (const QString& line : f.purpose.split(u'\n'))
            o.purposeLines << cp(line);
    auto party = [&](int index, int opened) {
        render::Party p;
        if (s.PlatSaved) {
            p.present = true;
            p.firm = s.OpenedParties[std::size_t(opened)];
            p.bankSlot = 0;
        } else if (validParty(s, index)) {
            p.present = true;
            p.firm = s.Firms[std::size_t(index)];
            p.bankSlot = p.firm.BankNo < 4 ? p.firm.BankNo : 0;
        }
        return p;
    };
    o.payer = party(f.payer, 0);
    o.payee = party(f.payee, 1);
    o.vatRate = f.vat;
    o.priorityChoice = f.priority;
    o.statusChoice = f.status;
    const BudgetTexts& b = f.budget;
    o.budget = {cp(b.kbk),       cp(b.okato),   cp(b.basis),  cp(b.taxPeriod),
                cp(b.docNumber), cp(b.docDate), cp(b.taxType)};
    return o;
}

QStringList PartyWarnings(const render::OrderInput& order, const storage::BikDirectory* directory) {
    QStringList warnings;
    auto add = [&](const render::Party& party, const QString& role) {
        if (!party.present)
            return;
        for (const storage::DetailIssue& i :
             storage::CheckFirmDetails(party.firm, party.bankSlot, party.bankSlot, directory)) {
            QString text = storage::ProblemText(i.problem);
            // "Счет не ..." reads "счет не ..." after the party; "ИНН должен ..." stays.
            if (text.size() > 1 && text[1].isLower())
                text[0] = text[0].toLower();
            warnings << role + QStringLiteral(": ") + text;
        }
    };
    add(order.payer, QStringLiteral("Плательщик"));
    add(order.payee, QStringLiteral("Получатель"));
    return warnings;
}

QStringList PreviewWarnings(const render::OrderInput& order,
                            const storage::BikDirectory* directory) {
    QStringList warnings = PartyWarnings(order, directory);
    if (QString tooLong = render::PurposeTooLong(order); !tooLong.isEmpty()) {
        tooLong[0] = tooLong[0].toUpper();
        warnings << tooLong + QStringLiteral(": в банк не отправить");
    }
    return warnings;
}

OrderFields ClearedFields(const OrderFields& current) {
    OrderFields f;
    f.budget = current.budget;
    f.accepted = current.accepted;
    f.date = todayText();
    return f;
}

} // namespace editor
