// The two party blocks of a payment order (payer and payee: name, bank fields, INN, KPP) and
// the copies between them and organization records.
#pragma once

#include "records.h"

namespace storage {

// References to one party block of an order record.
struct PlatParty {
    ShortStr<128>& Name;
    ShortStr<20>& Account;
    ShortStr<20>& CorrAccount;
    ShortStr<10>& Bik;
    ShortStr<64>& BankShort;
    ShortStr<128>& BankFull;
    std::uint8_t& BankNo; // reserved byte of the block
    ShortStr<12>& Inn;
    ShortStr<12>& Kpp;
};

PlatParty PayerOf(TPlat& p);
PlatParty PayeeOf(TPlat& p);

// Copies an organization's name, INN, KPP and the given bank slot into a party block; the
// reserved byte is left as it is.
void CopyParty(const TFirm& from, const TFirmBank& bank, PlatParty to);

// The organization record that a party block stands for: its name, INN, KPP and its bank
// fields in slot 0; everything else zero.
TFirm PartyFirm(const TPlat& p, bool payer);

} // namespace storage
