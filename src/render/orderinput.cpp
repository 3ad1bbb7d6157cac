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

Party partyOf(const storage::TPlat& p, bool payer) {
    Party party;
    party.present = true;
    party.firm = storage::PartyFirm(p, payer);
    party.bankSlot = 0;
    return party;
}

} // namespace

QList<QByteArray> PurposeLines(std::string_view purpose) {
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

OrderInput OrderInputFromPlat(const storage::TPlat& p) {
    OrderInput o;
    o.number = cp(p.Number);
    o.date = cp(p.Date);
    o.kindText = choice(storage::choiceText(storage::PayKindChoices, p.PayKind));
    o.statusText = choice(storage::choiceText(storage::StatusChoices, p.Status));
    o.amountText = cp(p.Amount);
    o.purposeLines = PurposeLines(p.Purpose.view());
    o.payer = partyOf(p, true);
    o.payee = partyOf(p, false);
    o.vatRate = p.Vat;
    o.priorityChoice = p.Priority;
    o.statusChoice = p.Status;
    o.budget = {cp(p.Kbk),       cp(p.Okato),   cp(p.Basis),  cp(p.TaxPeriod),
                cp(p.DocNumber), cp(p.DocDate), cp(p.TaxType)};
    return o;
}

} // namespace render
