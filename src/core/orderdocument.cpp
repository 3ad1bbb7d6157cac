#include "orderdocument.h"

#include "storage/choices.h"
#include "storage/cp1251.h"
#include "storage/money.h"
#include "storage/orderdate.h"
#include "storage/party.h"
#include "storage/platfile.h"

namespace core {

using storage::OrderRecord;
using storage::OrganizationRecord;

namespace {

using storage::cp1251::store;
using storage::cp1251::toUnicode;

QString purposeText(const storage::ShortStr<255>& purpose) {
    QString t = toUnicode(purpose);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(u'\r', u'\n');
    return t;
}

std::uint8_t choice(std::uint8_t value, std::size_t count) {
    return value < count ? value : 0;
}

// The two-digit year of a checked date, for the file name.
std::string_view yearDigits(const QByteArray& date) {
    return storage::dateYearDigits(std::string_view(date.constData(), std::size_t(date.size())));
}

// The date as it is checked and saved: a nine-character date ("5.03.2009", as today's date is
// written) gets its leading "0".
QString checkedDate(const QString& date) {
    return date.size() == 9 ? QStringLiteral("0") + date : date;
}

} // namespace

QByteArray purposeBytes(const QString& purpose) {
    QString t = purpose;
    t.replace(u'\n', QStringLiteral("\r\n"));
    return storage::cp1251::fromUnicode(t);
}

QString todayText() {
    return storage::OrderDate::today().editorText();
}

OrderFields clearedFields(const OrderFields& current) {
    OrderFields f;
    f.budget = current.budget;
    f.accepted = current.accepted;
    f.date = todayText();
    return f;
}

OrderDocument::OrderDocument(ProgramFolder& folder, const Directory& directory,
                             OrderArchive& archive)
    : folder_(folder), directory_(directory), archive_(archive) {
    storage::clearRecord(record_);
    storage::clearRecord(snapshot_);
    storage::clearRecord(fileName_);
}

OrganizationRecord OrderDocument::openedParty(int which) const {
    return storage::partyOrganization(record_, which == 0);
}

bool OrderDocument::validParty(int index) const {
    return index >= 0 && index < organizationCount();
}

OrderFields OrderDocument::fields() const {
    const OrderRecord& p = record_;
    OrderFields f;
    f.number = toUnicode(p.number);
    f.date = toUnicode(p.date);
    f.amount = toUnicode(p.amount);
    f.payer = 0;
    f.payee = 0;
    f.vat = choice(p.vat, storage::VatChoiceCount);
    f.payKind = choice(p.payKind, storage::PayKindChoices.size());
    f.priority = choice(p.priority, storage::PriorityChoiceCount);
    f.status = choice(p.status, storage::StatusChoices.size());
    f.budget = budget();
    f.accepted = p.accepted == 1;
    f.purpose = purposeText(p.purpose);
    return f;
}

BudgetFields OrderDocument::budget() const {
    return storage::budgetFields(record_);
}

void OrderDocument::setBudget(const BudgetFields& b) {
    storage::setBudgetFields(record_, b);
}

OrderCheck OrderDocument::check(const OrderFields& f) const {
    OrderCheck c;
    c.date = checkedDate(f.date);
    auto result = [&](CheckResult r) {
        c.result = r;
        return c;
    };
    if (f.payer < 0 || f.payee < 0 || f.number.isEmpty() || f.date.isEmpty() ||
        f.amount.isEmpty() || f.purpose.isEmpty())
        return result(CheckMissing);
    // An amount the form cannot write out would print empty: it counts as missing.
    const QByteArray amount = storage::cp1251::fromUnicode(f.amount);
    if (storage::Money::parse(std::string_view(amount.constData(), std::size_t(amount.size())))
            .error != storage::AmountValid)
        return result(CheckMissing);
    const storage::TypedDate typed =
        storage::OrderDate::parseTyped(storage::cp1251::fromUnicode(c.date).toStdString());
    if (typed.error == storage::DateError::BadFormat)
        return result(CheckBadDate);
    // A saved order's date is not typed but read from its file, as it was written: a day that
    // is not in the calendar does not keep it from being shown, printed or saved again.
    if (typed.error == storage::DateError::NotInCalendar && !isSaved())
        return result(CheckDateNotInCalendar);
    if (f.budgetPayment() && f.budget.anyEmpty())
        return result(CheckBudgetMissing);
    return result(CheckOk);
}

bool OrderDocument::update(const OrderFields& f) {
    OrderRecord& p = record_;
    store(f.number, p.number);
    store(f.date, p.date);
    store(f.amount, p.amount);
    bool named = true;
    if (!isSaved()) {
        if (validParty(f.payer)) {
            const OrganizationRecord& payer = organization(f.payer);
            storage::copyParty(payer, payer.bank(), storage::payerOf(p));
        }
        if (validParty(f.payee)) {
            const OrganizationRecord& payee = organization(f.payee);
            storage::copyParty(payee, payee.bank(), storage::payeeOf(p));
        }
        const std::string_view inn = validParty(f.payer) ? organization(f.payer).inn.view() : "";
        const QByteArray date = storage::cp1251::fromUnicode(checkedDate(f.date));
        named = storage::makeOrderFileName(p.number.view(), inn, yearDigits(date), fileName_);
    } else {
        const OrganizationRecord payer = openedParty(0);
        const OrganizationRecord payee = openedParty(1);
        storage::copyParty(payer, payer.banks[0], storage::payerOf(p));
        storage::copyParty(payee, payee.banks[0], storage::payeeOf(p));
    }
    p.vat = f.vat;
    p.payKind = f.payKind;
    p.priority = f.priority;
    p.status = f.status;
    setBudget(f.budget);
    p.accepted = f.accepted ? 1 : 0;
    p.purpose.assign(purposeBytes(f.purpose));
    return named;
}

bool OrderDocument::isModified() const {
    const OrderRecord& a = record_;
    const OrderRecord& b = snapshot_;
    const bool same = a.number == b.number && a.date == b.date && a.amount == b.amount &&
                      a.vat == b.vat && a.payKind == b.payKind && a.priority == b.priority &&
                      a.status == b.status && a.purpose == b.purpose && a.kbk == b.kbk &&
                      a.okato == b.okato && a.taxPeriod == b.taxPeriod &&
                      a.docNumber == b.docNumber && a.docDate == b.docDate && a.basis == b.basis &&
                      a.taxType == b.taxType && a.accepted == b.accepted;
    return !same;
}

QString OrderDocument::proposeNumber(int payer) const {
    if (!validParty(payer))
        return QStringLiteral("1");
    return QString::number(archive_.highestNumber(organization(payer).inn.view()) + 1);
}

OrderFields OrderDocument::newOrderFields(const OrderFields& current) const {
    OrderFields f = current;
    f.date = todayText();
    f.accepted = false;
    auto byInn = [&](const storage::ShortStr<12>& inn) {
        if (inn.empty())
            return -1;
        for (int i = 0; i < organizationCount(); ++i)
            if (organization(i).inn == inn)
                return i;
        return -1;
    };
    f.payer = byInn(record_.payerInn);
    f.payee = byInn(record_.payeeInn);
    f.number = proposeNumber(f.payer);
    return f;
}

QString OrderDocument::badNameMessage() {
    return QStringLiteral("Платежку нельзя сохранить: номер и ИНН плательщика должны "
                          "состоять только из цифр.");
}

// --- saving -------------------------------------------------------------------------------

OrderDocument::NewCheck OrderDocument::prepareSaveNew(const OrderFields& f) {
    const std::string_view inn = validParty(f.payer) ? organization(f.payer).inn.view() : "";
    storage::ShortStr<28> name;
    storage::clearRecord(name);
    const QByteArray number = storage::cp1251::fromUnicode(f.number);
    const QByteArray date = storage::cp1251::fromUnicode(checkedDate(f.date));
    if (!storage::makeOrderFileName(std::string_view(number.constData(), number.size()), inn,
                                    yearDigits(date), name))
        return NewCheck::BadName;
    fileName_ = name.view();
    // The archive may not list every file: only the current year may be listed, and another
    // copy of the program may have saved into the folder since it was read.
    return archive_.isListed(fileName_.view()) ||
                   storage::orderFileExists(folder_.state(), fileName_.view())
               ? NewCheck::Exists
               : NewCheck::Ok;
}

// Writes the record under its name: the record becomes the snapshot, which stays as it was
// when the write fails. Without replace the file is only created (existed is set when a file
// of the name is there by then).
storage::IoResult OrderDocument::write(bool replace, bool* existed) {
    const OrderRecord before = snapshot_;
    snapshot_ = record_;
    storage::IoResult r =
        replace ? storage::saveOrderFile(folder_.state(), fileName_.view(), record_)
                : storage::saveNewOrderFile(folder_.state(), fileName_.view(), record_, *existed);
    if (!r)
        snapshot_ = before;
    else
        archive_.refreshOrder(fileName());
    return r;
}

// Writes the new order and turns it into the saved order on screen. Without replace the file
// is only created: when a file of its name exists by then, nothing is written, the order
// stays new and existed is set.
storage::IoResult OrderDocument::commitSaveNew(const OrderFields& f, bool replace, bool* existed) {
    *existed = false;
    if (!update(f))
        return storage::IoResult::failure(badNameMessage());
    storage::IoResult r = write(replace, existed);
    if (r)
        saved_ = true;
    return r;
}

SaveResult OrderDocument::saveNew(const OrderFields& f, const SaveQuestions& q) {
    SaveResult result;
    const QString exists = QStringLiteral("Платежное поручение № %1 уже есть.").arg(f.number);
    const QString replace =
        QStringLiteral("Сохранить изменения в платежном поручении № %1 ?").arg(f.number);
    bool replacing = false;
    switch (prepareSaveNew(f)) {
    case NewCheck::BadName:
        q.tell(badNameMessage());
        return result;
    case NewCheck::Exists:
        if (!q.ask(exists, replace))
            return result;
        replacing = true;
        break;
    case NewCheck::Ok:
        break;
    }
    bool existed = false;
    result.io = commitSaveNew(f, replacing, &existed);
    // A file of the name appeared after the check: it is replaced only on the user's word.
    if (existed) {
        result.io = {};
        if (!q.ask(exists, replace))
            return result;
        result.io = commitSaveNew(f, true, &existed);
    }
    result.saved = isSaved();
    return result;
}

storage::IoResult OrderDocument::writeSaved() {
    storage::IoResult r = write(true, nullptr);
    if (r)
        emit saved(fileName(), false);
    return r;
}

SaveResult OrderDocument::save(const OrderFields& f, const SaveQuestions& q) {
    if (isSaved()) {
        update(f);
        SaveResult result;
        result.io = writeSaved();
        result.saved = result.io.ok;
        return result;
    }
    SaveResult result = saveNew(f, q);
    if (result.saved)
        emit saved(fileName(), true);
    return result;
}

storage::IoResult OrderDocument::setAccepted(bool accepted) {
    const OrderRecord before = record_;
    record_.accepted = accepted ? 1 : 0;
    storage::IoResult r = write(true, nullptr);
    if (!r) {
        // The file still holds what it held: so do the record and the snapshot.
        record_ = before;
        return r;
    }
    emit saved(fileName(), false);
    return r;
}

// --- opening, new, clearing, following the archive ------------------------------------------

storage::IoResult OrderDocument::open(const QString& name) {
    const QByteArray n = name.toLatin1();
    OrderRecord read;
    if (storage::IoResult r = storage::openOrderFile(
            folder_.state(), std::string_view(n.constData(), std::size_t(n.size())), read);
        !r)
        return r;
    record_ = read;
    snapshot_ = read;
    fileName_.assign(n);
    saved_ = true;
    emit changed();
    return {};
}

void OrderDocument::startNew() {
    saved_ = false;
    emit changed();
}

void OrderDocument::clear() {
    saved_ = false;
    emit cleared();
}

void OrderDocument::followFile(const QString& name) {
    if (!saved_ || name != fileName())
        return;
    OrderRecord onDisk;
    const QByteArray n = name.toLatin1();
    if (storage::openOrderFile(folder_.state(),
                               std::string_view(n.constData(), std::size_t(n.size())), onDisk)) {
        record_.accepted = onDisk.accepted;
        snapshot_.accepted = onDisk.accepted;
    }
}

void OrderDocument::followRemoval(const QString& name) {
    if (saved_ && name == fileName() &&
        !storage::orderFileExists(folder_.state(), fileName_.view()))
        clear();
}

} // namespace core
