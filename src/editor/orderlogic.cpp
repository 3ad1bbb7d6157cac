#include "orderlogic.h"

#include "uiutil.h"

#include "render/amount.h"
#include "render/bankexchange.h"
#include "storage/checkdigits.h"
#include "storage/choices.h"
#include "storage/orderdate.h"
#include "storage/party.h"
#include "storage/platfile.h"
#include "storage/scan.h"

#include <QDate>

namespace editor {

using storage::OrderRecord;
using storage::OrganizationRecord;
using storage::Store;

namespace {

template <std::size_t N> QStringList texts(const std::array<const char*, N>& table) {
    QStringList t;
    for (const char* s : table)
        t << QString::fromUtf8(s);
    return t;
}

} // namespace

const QStringList& payKindTexts() {
    static const QStringList t = texts(storage::PayKindChoices);
    return t;
}

const QStringList& statusTexts() {
    static const QStringList t = texts(storage::StatusChoices);
    return t;
}

namespace {

using storage::isDigit;

bool validParty(const Store& s, int index) {
    return index >= 0 && index < s.directory.organizationCount;
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
    if (s.OpenedIndex >= 0 && s.OpenedIndex < s.orders.count &&
        s.orders.items[std::size_t(s.OpenedIndex)].fileName == s.PlatFileName)
        return s.OpenedIndex;
    for (int i = 0; i < s.orders.count; ++i)
        if (s.orders.items[std::size_t(i)].fileName == s.PlatFileName)
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
    return storage::OrderDate::today().editorText();
}

CheckResult checkOrder(Store& s, OrderFields& f) {
    auto result = [&](CheckResult r) {
        s.PlatError = r;
        return r;
    };
    if (f.payer < 0 || f.payee < 0 || f.number.isEmpty() || f.date.isEmpty() ||
        f.amount.isEmpty() || f.purpose.isEmpty())
        return result(CheckMissing);
    // An amount the form cannot write out would print empty: it counts as missing.
    const QByteArray amount = storage::cp1251::fromUnicode(f.amount);
    if (storage::Money::parse(std::string_view(amount.constData(), std::size_t(amount.size())))
            .error != render::AmountValid)
        return result(CheckMissing);

    if (f.date.size() == 9)
        f.date.prepend(u'0');
    const storage::TypedDate typed =
        storage::OrderDate::parseTyped(storage::cp1251::fromUnicode(f.date).toStdString());
    if (typed.error == storage::DateError::BadFormat)
        return result(CheckBadDate);
    // A saved order's date is not typed but read from its file, as it was written: a day that
    // is not in the calendar does not keep it from being shown, printed or saved again.
    if (typed.error == storage::DateError::NotInCalendar && !s.PlatSaved)
        return result(CheckDateNotInCalendar);
    s.DateYY.assign(storage::cp1251::fromUnicode(f.date.mid(8, 2)));

    if (f.budgetPayment()) {
        const BudgetTexts& b = f.budget;
        for (const QString* t :
             {&b.kbk, &b.okato, &b.basis, &b.taxPeriod, &b.taxType, &b.docNumber, &b.docDate})
            if (t->isEmpty())
                return result(CheckBudgetMissing);
    }
    return result(CheckOk);
}

bool fillOrder(Store& s, const OrderFields& f) {
    OrderRecord& p = s.Plat;
    fromUi(f.number, p.number);
    fromUi(f.date, p.date);
    fromUi(f.amount, p.amount);
    bool named = true;
    if (!s.PlatSaved) {
        if (validParty(s, f.payer)) {
            const OrganizationRecord& payer = s.directory.organizations[std::size_t(f.payer)];
            storage::copyParty(payer, payer.bank(), storage::payerOf(p));
        }
        if (validParty(s, f.payee)) {
            const OrganizationRecord& payee = s.directory.organizations[std::size_t(f.payee)];
            storage::copyParty(payee, payee.bank(), storage::payeeOf(p));
        }
        const std::string_view inn =
            validParty(s, f.payer) ? s.directory.organizations[std::size_t(f.payer)].inn.view()
                                   : "";
        named = storage::makeOrderFileName(p.number.view(), inn, s.DateYY.view(), s.PlatFileName);
    } else {
        const OrganizationRecord& payer = s.OpenedParties[0];
        const OrganizationRecord& payee = s.OpenedParties[1];
        storage::copyParty(payer, payer.banks[0], storage::payerOf(p));
        storage::copyParty(payee, payee.banks[0], storage::payeeOf(p));
    }
    p.vat = f.vat;
    p.payKind = f.payKind;
    p.priority = f.priority;
    p.status = f.status;
    fromUi(f.budget.kbk, p.kbk);
    fromUi(f.budget.okato, p.okato);
    fromUi(f.budget.basis, p.basis);
    fromUi(f.budget.taxPeriod, p.taxPeriod);
    fromUi(f.budget.taxType, p.taxType);
    fromUi(f.budget.docNumber, p.docNumber);
    fromUi(f.budget.docDate, p.docDate);
    p.accepted = f.accepted ? 1 : 0;
    p.purpose.assign(purposeBytes(f.purpose));
    return named;
}

OrderFields fieldsFromOrder(Store& s) {
    const OrderRecord& p = s.Plat;
    OrderFields f;
    f.number = toUi(p.number);
    f.date = toUi(p.date);
    s.DateYY.clear();
    s.DateYY.append(p.date.view().substr(std::min<std::size_t>(8, p.date.size()), 2));
    f.amount = toUi(p.amount);
    s.OpenedParties[0] = storage::partyOrganization(p, true);
    s.OpenedParties[1] = storage::partyOrganization(p, false);
    f.payer = 0;
    f.payee = 0;
    f.vat = choice(p.vat, storage::VatChoiceCount);
    f.payKind = choice(p.payKind, payKindTexts().size());
    f.priority = choice(p.priority, storage::PriorityChoiceCount);
    f.status = choice(p.status, statusTexts().size());
    f.budget = {toUi(p.kbk),     toUi(p.okato),     toUi(p.basis),  toUi(p.taxPeriod),
                toUi(p.taxType), toUi(p.docNumber), toUi(p.docDate)};
    f.accepted = p.accepted == 1;
    f.purpose = purposeText(p.purpose);
    return f;
}

bool checkChange(Store& s) {
    const OrderRecord& a = s.Plat;
    const OrderRecord& b = s.PlatSnapshot;
    const bool same = a.number == b.number && a.date == b.date && a.amount == b.amount &&
                      a.vat == b.vat && a.payKind == b.payKind && a.priority == b.priority &&
                      a.status == b.status && a.purpose == b.purpose && a.kbk == b.kbk &&
                      a.okato == b.okato && a.taxPeriod == b.taxPeriod &&
                      a.docNumber == b.docNumber && a.docDate == b.docDate && a.basis == b.basis &&
                      a.taxType == b.taxType && a.accepted == b.accepted;
    s.PlatChanged = !same;
    return s.PlatChanged;
}

QString proposeNumber(const Store& s, int payer) {
    if (!validParty(s, payer))
        return QStringLiteral("1");
    const auto& inn = s.directory.organizations[std::size_t(payer)].inn;
    for (int i = 0; i < s.orders.payerCount; ++i)
        if (s.orders.payers[std::size_t(i)].inn == inn)
            return QString::number(s.orders.payers[std::size_t(i)].maxNumber + 1);
    return QStringLiteral("1");
}

QString limitMessage() {
    return QStringLiteral("Может быть сохранено только%1 платежки.").arg(storage::MaxPlats);
}

QString badNameMessage() {
    return QStringLiteral("Платежку нельзя сохранить: номер и ИНН плательщика должны "
                          "состоять только из цифр.");
}

SaveCheck prepareSaveNew(Store& s, const OrderFields& f) {
    const std::string_view inn =
        validParty(s, f.payer) ? s.directory.organizations[std::size_t(f.payer)].inn.view() : "";
    storage::ShortStr<28> name;
    storage::clearRecord(name);
    const QByteArray number = storage::cp1251::fromUnicode(f.number);
    if (!storage::makeOrderFileName(std::string_view(number.constData(), number.size()), inn,
                                    s.DateYY.view(), name))
        return SaveCheck::BadName;
    s.PlatFileName = name.view();
    if (s.orders.count >= storage::MaxPlats)
        return SaveCheck::LimitReached;
    for (int i = 0; i < s.orders.count; ++i)
        if (s.orders.items[std::size_t(i)].fileName == s.PlatFileName)
            return SaveCheck::Exists;
    // The list may not hold every file: only the current year may be loaded, and another copy
    // of the program may have saved into the folder since the last scan.
    return storage::orderFileExists(s) ? SaveCheck::Exists : SaveCheck::Ok;
}

storage::IoResult commitSaveNew(Store& s, const OrderFields& f, OrderFields& shown, bool replace,
                                bool* existed) {
    if (existed)
        *existed = false;
    if (!fillOrder(s, f))
        return storage::IoResult::failure(badNameMessage());
    const OrderRecord before = s.PlatSnapshot;
    s.PlatSnapshot = s.Plat;
    bool taken = false;
    storage::IoResult written =
        replace ? storage::saveOrderFile(s) : storage::saveNewOrderFile(s, taken);
    if (!written) {
        s.PlatSnapshot = before;
        if (existed)
            *existed = taken;
        return written;
    }
    const storage::IoResult scanned = storage::scanOrders(s);
    s.OpenedIndex = listPosition(s);
    shown = fieldsFromOrder(s);
    s.PlatSaved = true;
    return scanned;
}

SaveNewResult saveNewOrder(Store& s, const OrderFields& f, const SaveQuestions& q) {
    SaveNewResult result;
    const QString exists = QStringLiteral("Платежное поручение № %1 уже есть.").arg(f.number);
    const QString replace =
        QStringLiteral("Сохранить изменения в платежном поручении № %1 ?").arg(f.number);
    bool replacing = false;
    switch (prepareSaveNew(s, f)) {
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
    result.io = commitSaveNew(s, f, result.shown, replacing, &existed);
    // A file of the name appeared after the check: it is replaced only on the user's word.
    if (existed) {
        result.io = {};
        if (!q.ask(exists, replace))
            return result;
        result.io = commitSaveNew(s, f, result.shown, true);
    }
    result.saved = s.PlatSaved;
    return result;
}

storage::IoResult saveSaved(Store& s) {
    const OrderRecord before = s.PlatSnapshot;
    s.PlatSnapshot = s.Plat;
    storage::IoResult r = storage::saveOrderFile(s);
    if (!r)
        s.PlatSnapshot = before;
    // The list shows what the file now holds; number, payer, payee and the name stay.
    if (const int at = listPosition(s); r && at >= 0) {
        storage::OrderListItem& e = s.orders.items[std::size_t(at)];
        e.dateText.assign(s.Plat.date);
        e.amountText.assign(s.Plat.amount);
        e.accepted = s.Plat.accepted == 1 ? 1 : 0;
    }
    return r;
}

storage::IoResult storeAccepted(Store& s, bool accepted) {
    const OrderRecord before = s.Plat;
    const OrderRecord snapshot = s.PlatSnapshot;
    s.Plat.accepted = accepted ? 1 : 0;
    s.PlatSnapshot = s.Plat;
    storage::IoResult r = storage::saveOrderFile(s);
    if (!r) {
        // The file still holds what it held: so do the record, the snapshot and the list.
        s.Plat = before;
        s.PlatSnapshot = snapshot;
        return r;
    }
    if (const int at = listPosition(s); at >= 0)
        s.orders.items[std::size_t(at)].accepted = s.Plat.accepted;
    return r;
}

OrderFields newOrderFields(const Store& s, const OrderFields& current) {
    OrderFields f = current;
    f.date = todayText();
    f.accepted = false;
    auto byInn = [&](const storage::ShortStr<12>& inn) {
        if (inn.empty())
            return -1;
        for (int i = 0; i < s.directory.organizationCount; ++i)
            if (s.directory.organizations[std::size_t(i)].inn == inn)
                return i;
        return -1;
    };
    f.payer = byInn(s.OpenedParties[0].inn);
    f.payee = byInn(s.OpenedParties[1].inn);
    f.number = proposeNumber(s, f.payer);
    return f;
}

render::OrderInput orderInputFor(const Store& s, const OrderFields& f) {
    auto cp = [](const QString& t) { return storage::cp1251::fromUnicode(t); };
    render::OrderInput o;
    o.number = cp(f.number);
    o.date = cp(f.date);
    o.kindText = cp(payKindTexts().value(f.payKind));
    o.statusText = cp(statusTexts().value(f.status));
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
            p.firm = s.directory.organizations[std::size_t(index)];
            p.bankSlot = p.firm.bankNo < 4 ? p.firm.bankNo : 0;
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

QStringList partyWarnings(const render::OrderInput& order, const storage::BikDirectory* directory) {
    QStringList warnings;
    auto add = [&](const render::Party& party, const QString& role) {
        if (!party.present)
            return;
        for (const storage::DetailIssue& i : storage::checkOrganizationDetails(
                 party.firm, party.bankSlot, party.bankSlot, directory)) {
            QString text = storage::problemText(i.problem);
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

QStringList previewWarnings(const render::OrderInput& order,
                            const storage::BikDirectory* directory) {
    QStringList warnings = partyWarnings(order, directory);
    if (QString tooLong = render::purposeTooLong(order); !tooLong.isEmpty()) {
        tooLong[0] = tooLong[0].toUpper();
        warnings << tooLong + QStringLiteral(": в банк не отправить");
    }
    return warnings;
}

OrderFields clearedFields(const OrderFields& current) {
    OrderFields f;
    f.budget = current.budget;
    f.accepted = current.accepted;
    f.date = todayText();
    return f;
}

} // namespace editor
