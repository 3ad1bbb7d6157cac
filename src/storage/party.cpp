#include "party.h"

namespace storage {

PlatParty PayerOf(TPlat& p) {
    return {p.PayerName,     p.PayerAccount, p.PayerCorrAccount, p.PayerBik, p.PayerBankShort,
            p.PayerBankFull, p.PayerBankNo,  p.PayerInn,         p.PayerKpp};
}

PlatParty PayeeOf(TPlat& p) {
    return {p.PayeeName,     p.PayeeAccount, p.PayeeCorrAccount, p.PayeeBik, p.PayeeBankShort,
            p.PayeeBankFull, p.PayeeBankNo,  p.PayeeInn,         p.PayeeKpp};
}

void CopyParty(const TFirm& from, const TFirmBank& bank, PlatParty to) {
    to.Name.assign(from.Name);
    to.Account.assign(bank.Account);
    to.CorrAccount.assign(bank.CorrAccount);
    to.Bik.assign(bank.Bik);
    to.BankShort.assign(bank.BankShort);
    to.BankFull.assign(bank.BankFull);
    to.Inn.assign(from.Inn);
    to.Kpp.assign(from.Kpp);
}

TFirm PartyFirm(const TPlat& p, bool payer) {
    TPlat& record = const_cast<TPlat&>(p); // read only: the block's references are not written
    const PlatParty block = payer ? PayerOf(record) : PayeeOf(record);
    TFirm f;
    clearRecord(f);
    f.Name.assign(block.Name);
    f.Banks[0].Account.assign(block.Account);
    f.Banks[0].CorrAccount.assign(block.CorrAccount);
    f.Banks[0].Bik.assign(block.Bik);
    f.Banks[0].BankShort.assign(block.BankShort);
    f.Banks[0].BankFull.assign(block.BankFull);
    f.Inn.assign(block.Inn);
    f.Kpp.assign(block.Kpp);
    return f;
}

} // namespace storage
