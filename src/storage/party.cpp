#include "party.h"

namespace storage {

PartyFields payerOf(OrderRecord& p) {
    return {p.payerName,     p.payerAccount, p.payerCorrAccount, p.payerBik, p.payerBankShort,
            p.payerBankFull, p.payerBankNo,  p.payerInn,         p.payerKpp};
}

PartyFields payeeOf(OrderRecord& p) {
    return {p.payeeName,     p.payeeAccount, p.payeeCorrAccount, p.payeeBik, p.payeeBankShort,
            p.payeeBankFull, p.payeeBankNo,  p.payeeInn,         p.payeeKpp};
}

void copyParty(const OrganizationRecord& from, const BankRecord& bank, PartyFields to) {
    to.name.assign(from.name);
    to.account.assign(bank.account);
    to.corrAccount.assign(bank.corrAccount);
    to.bik.assign(bank.bik);
    to.bankShort.assign(bank.bankShort);
    to.bankFull.assign(bank.bankFull);
    to.inn.assign(from.inn);
    to.kpp.assign(from.kpp);
}

OrganizationRecord partyOrganization(const OrderRecord& p, bool payer) {
    OrderRecord& record =
        const_cast<OrderRecord&>(p); // read only: the block's references are not written
    const PartyFields block = payer ? payerOf(record) : payeeOf(record);
    OrganizationRecord f;
    clearRecord(f);
    f.name.assign(block.name);
    f.banks[0].account.assign(block.account);
    f.banks[0].corrAccount.assign(block.corrAccount);
    f.banks[0].bik.assign(block.bik);
    f.banks[0].bankShort.assign(block.bankShort);
    f.banks[0].bankFull.assign(block.bankFull);
    f.inn.assign(block.inn);
    f.kpp.assign(block.kpp);
    return f;
}

} // namespace storage
