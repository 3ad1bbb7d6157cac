#include "convert.h"

#include "datafiles.h"
#include "party.h"

namespace storage {

TFirm ConvertFirmOld(const FirmOld& old) {
    TFirm f;
    clearRecord(f);
    CopyFirmTexts(old, f);
    for (int k = 0; k < 4; ++k) {
        const TFirmBankOld& from = old.Banks[k];
        TFirmBank& to = f.Banks[k];
        to.Account.assign(from.Account);
        to.CorrAccount.assign(from.CorrAccount);
        to.Bik.assign(from.Bik);
        to.BankShort.assign(from.BankShort);
        to.BankFull.assign(from.BankFull);
    }
    f.BankNo = old.BankNo;
    return f;
}

TPlat ConvertPlatOld(const PlatOld& old) {
    TPlat p;
    clearRecord(p);
    p.Number.assign(old.Number);
    p.Date.assign(old.Date);
    p.Amount.assign(old.Amount);
    p.PayerInn.assign(old.PayerInn);
    p.PayeeInn.assign(old.PayeeInn);
    p.Vat = old.Vat;
    p.PayKind = old.PayKind;
    p.Priority = old.Priority;
    p.Status = old.Status;
    p.Purpose.assign(old.Purpose);
    p.Kbk.assign(old.Kbk);
    p.Okato.assign(old.Okato);
    p.TaxPeriod.assign(old.TaxPeriod);
    p.DocNumber.assign(old.DocNumber);
    p.DocDate.assign(old.DocDate);
    p.Basis.assign(old.Basis);
    p.TaxType.assign(old.TaxType);
    p.Accepted = old.Accepted;
    return p;
}

namespace {

const TFirm* findByInn(const Store& s, std::string_view inn) {
    for (int i = 0; i < s.FirmCount && i < MaxFirms; ++i)
        if (s.Firms[std::size_t(i)].Inn == inn)
            return &s.Firms[std::size_t(i)];
    for (int i = 0; i < s.FirmDelCount && i < MaxFirms; ++i)
        if (s.FirmsDel[std::size_t(i)].Inn == inn)
            return &s.FirmsDel[std::size_t(i)];
    return nullptr;
}

// Completes one party block from the first organization with its INN, bank slot 0.
void complete(const Store& s, PlatParty p) {
    p.BankNo = 0;
    if (const TFirm* f = findByInn(s, p.Inn.view()))
        CopyParty(*f, f->Banks[0], p);
}

} // namespace

void CompletePlatParties(const Store& s, TPlat& p) {
    complete(s, PayerOf(p));
    complete(s, PayeeOf(p));
}

} // namespace storage
