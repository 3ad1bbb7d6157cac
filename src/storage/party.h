// The two party blocks of a payment order (payer and payee: name, bank fields, INN, KPP) and
// the copies between them and organization records.
#pragma once

#include "records.h"

namespace storage {

// References to one party block of an order record.
struct PartyFields {
    ShortStr<128>& name;
    ShortStr<20>& account;
    ShortStr<20>& corrAccount;
    ShortStr<10>& bik;
    ShortStr<64>& bankShort;
    ShortStr<128>& bankFull;
    std::uint8_t& bankNo; // reserved byte of the block
    ShortStr<12>& inn;
    ShortStr<12>& kpp;
};

PartyFields payerOf(OrderRecord& p);
PartyFields payeeOf(OrderRecord& p);

// Copies an organization's name, INN, KPP and the given bank slot into a party block; the
// reserved byte is left as it is.
void copyParty(const OrganizationRecord& from, const BankRecord& bank, PartyFields to);

// The organization record that a party block stands for: its name, INN, KPP and its bank
// fields in slot 0; everything else zero.
OrganizationRecord partyOrganization(const OrderRecord& p, bool payer);

} // namespace storage
