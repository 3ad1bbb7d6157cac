#include "orderinput.h"

#include "storage/choices.h"
#include "storage/cp1251.h"
#include "storage/party.h"

namespace render {

namespace {

template <std::size_t N> QByteArray cp(const storage::ShortStr<N>& s) {
    return s.bytes();
}

QByteArray choice(const char* utf8) {
    return storage::cp1251::fromUnicode(QString::fromUtf8(utf8));
}

Party partyOf(const storage::OrderRecord& p, bool payer) {
    Party party;
    party.present = true;
    party.firm = storage::partyOrganization(p, payer);
    party.bankSlot = 0;
    return party;
}

} // namespace

QList<QByteArray> purposeLines(std::string_view purpose) {
    QList<QByteArray> lines;
    if (purpose.empty())
        return lines;
    QByteArray current;
    for (std::size_t i = 0; i < purpose.size(); ++i) {
        const char c = purpose[i];
        if (c == '\r' || c == '\n') {
            lines << current;
            current.clear();
            if (c == '\r' && i + 1 < purpose.size() && purpose[i + 1] == '\n')
                ++i;
        } else {
            current += c;
        }
    }
    lines << current;
    return lines;
}

OrderInput orderInputFromRecord(const storage::OrderRecord& p) {
    OrderInput o;
    o.number = cp(p.number);
    o.date = cp(p.date);
    o.kindText = choice(storage::choiceText(storage::PayKindChoices, p.payKind));
    o.statusText = choice(storage::choiceText(storage::StatusChoices, p.status));
    o.amountText = cp(p.amount);
    o.purposeLines = purposeLines(p.purpose.view());
    o.payer = partyOf(p, true);
    o.payee = partyOf(p, false);
    o.vatRate = p.vat;
    o.priorityChoice = p.priority;
    o.statusChoice = p.status;
    o.budget = storage::budgetFields(p);
    return o;
}

} // namespace render
