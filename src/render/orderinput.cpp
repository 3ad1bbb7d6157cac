#include "orderinput.h"

#include "storage/choices.h"
#include "storage/cp1251.h"

namespace render {

namespace {

template <std::size_t N> QByteArray cp(const storage::ShortStr<N>& s) {
    return s.bytes();
}

QByteArray choice(const char* utf8) {
    return storage::cp1251::fromUnicode(QString::fromUtf8(utf8));
}

template <class Name, class Bank, class Code>
Party partyOf(const Name& name, const Bank& account, const Bank& corr, const auto& bik,
              const auto& bankShort, const auto& bankFull, const Code& inn, const Code& kpp) {
    Party p;
    p.present = true;
    storage::clearRecord(p.firm);
    p.firm.Name.assign(name);
    p.firm.Banks[0].Account.assign(account);
    p.firm.Banks[0].CorrAccount.assign(corr);
    p.firm.Banks[0].Bik.assign(bik);
    p.firm.Banks[0].BankShort.assign(bankShort);
    p.firm.Banks[0].BankFull.assign(bankFull);
    p.firm.Inn.assign(inn);
    p.firm.Kpp.assign(kpp);
    p.bankSlot = 0;
    return p;
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
    o.payer = partyOf(p.PayerName, p.PayerAccount, p.PayerCorrAccount, p.PayerBik, p.PayerBankShort,
                      p.PayerBankFull, p.PayerInn, p.PayerKpp);
    o.payee = partyOf(p.PayeeName, p.PayeeAccount, p.PayeeCorrAccount, p.PayeeBik, p.PayeeBankShort,
                      p.PayeeBankFull, p.PayeeInn, p.PayeeKpp);
    o.vatRate = p.Vat;
    o.priorityChoice = p.Priority;
    o.statusChoice = p.Status;
    o.budget = {cp(p.Kbk),       cp(p.Okato),   cp(p.Basis),  cp(p.TaxPeriod),
                cp(p.DocNumber), cp(p.DocDate), cp(p.TaxType)};
    return o;
}

} // namespace render
