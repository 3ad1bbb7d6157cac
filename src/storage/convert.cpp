#include "convert.h"

#include "datafiles.h"
#include "party.h"

namespace storage {

OrganizationRecord convertOldOrganization(const OldOrganizationRecord& old) {
    OrganizationRecord f;
    clearRecord(f);
    copyOrganizationTexts(old, f);
    for (int k = 0; k < 4; ++k) {
        const OldBankRecord& from = old.banks[k];
        BankRecord& to = f.banks[k];
        to.account.assign(from.account);
        to.corrAccount.assign(from.corrAccount);
        to.bik.assign(from.bik);
        to.bankShort.assign(from.bankShort);
        to.bankFull.assign(from.bankFull);
    }
    f.bankNo = old.bankNo;
    return f;
}

OrderRecord convertOldOrder(const OldOrderRecord& old) {
    OrderRecord p;
    clearRecord(p);
    p.number.assign(old.number);
    p.date.assign(old.date);
    p.amount.assign(old.amount);
    p.payerInn.assign(old.payerInn);
    p.payeeInn.assign(old.payeeInn);
    p.vat = old.vat;
    p.payKind = old.payKind;
    p.priority = old.priority;
    p.status = old.status;
    p.purpose.assign(old.purpose);
    p.kbk.assign(old.kbk);
    p.okato.assign(old.okato);
    p.taxPeriod.assign(old.taxPeriod);
    p.docNumber.assign(old.docNumber);
    p.docDate.assign(old.docDate);
    p.basis.assign(old.basis);
    p.taxType.assign(old.taxType);
    p.accepted = old.accepted;
    return p;
}

namespace {

const OrganizationRecord* findByInn(const DirectoryTables& d, std::string_view inn) {
    for (int i = 0; i < d.organizationCount && i < MaxFirms; ++i)
        if (d.organizations[std::size_t(i)].inn == inn)
            return &d.organizations[std::size_t(i)];
    for (int i = 0; i < d.deletedCount && i < MaxFirms; ++i)
        if (d.deleted[std::size_t(i)].inn == inn)
            return &d.deleted[std::size_t(i)];
    return nullptr;
}

// Completes one party block from the first organization with its INN, bank slot 0.
void complete(const DirectoryTables& d, PartyFields p) {
    p.bankNo = 0;
    if (const OrganizationRecord* f = findByInn(d, p.inn.view()))
        copyParty(*f, f->banks[0], p);
}

} // namespace

void completeOrderParties(const DirectoryTables& d, OrderRecord& p) {
    complete(d, payerOf(p));
    complete(d, payeeOf(p));
}

} // namespace storage
