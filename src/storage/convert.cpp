#include "convert.h"

#include "datafiles.h"

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

struct Party {
    ShortStr<128>& name;
    ShortStr<20>& account;
    ShortStr<20>& corrAccount;
    ShortStr<10>& bik;
    ShortStr<64>& bankShort;
    ShortStr<128>& bankFull;
    std::uint8_t& bankNo;
    ShortStr<12>& kpp;
};

void complete(const Store& s, std::string_view inn, Party p) {
    p.bankNo = 0;
    const TFirm* f = findByInn(s, inn);
    if (!f)
        return;
    const TFirmBank& b = f->Banks[0];
    p.name.assign(f->Name);
    p.kpp.assign(f->Kpp);
    p.account.assign(b.Account);
    p.corrAccount.assign(b.CorrAccount);
    p.bik.assign(b.Bik);
    p.bankShort.assign(b.BankShort);
    p.bankFull.assign(b.BankFull);
}

} // namespace

void CompletePlatParties(const Store& s, TPlat& p) {
    complete(s, p.PayerInn.view(),
             {p.PayerName, p.PayerAccount, p.PayerCorrAccount, p.PayerBik, p.PayerBankShort,
              p.PayerBankFull, p.PayerBankNo, p.PayerKpp});
    complete(s, p.PayeeInn.view(),
             {p.PayeeName, p.PayeeAccount, p.PayeeCorrAccount, p.PayeeBik, p.PayeeBankShort,
              p.PayeeBankFull, p.PayeeBankNo, p.PayeeKpp});
}

} // namespace storage
