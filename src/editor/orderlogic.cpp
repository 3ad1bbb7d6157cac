#include "orderlogic.h"

#include "uiutil.h"

#include "render/bankexchange.h"
#include "storage/checkdigits.h"
#include "storage/choices.h"

namespace editor {

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

render::OrderInput orderInputFor(const core::OrderDocument& document, const OrderFields& f) {
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
        if (document.isSaved()) {
            p.present = true;
            p.firm = document.openedParty(opened);
            p.bankSlot = 0;
        } else if (index >= 0 && index < document.organizationCount()) {
            p.present = true;
            p.firm = document.organization(index);
            p.bankSlot = p.firm.bankNo < 4 ? p.firm.bankNo : 0;
        }
        return p;
    };
    o.payer = party(f.payer, 0);
    o.payee = party(f.payee, 1);
    o.vatRate = f.vat;
    o.priorityChoice = f.priority;
    o.statusChoice = f.status;
    o.budget = f.budget;
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

} // namespace editor
