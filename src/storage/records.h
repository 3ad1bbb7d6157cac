// The records of the data files, byte for byte: organizations, payment orders, branches,
// employees, and the layouts of the earlier version that start-up converts. Every record is
// plain bytes (texts and 16-bit numbers of shortstr.h), read and written in one piece.
#pragma once

#include "shortstr.h"

#include <cstddef>
#include <cstdint>

namespace storage {

// One of the four bank slots of an organization.
struct BankRecord {
    ShortStr<20> account;     // "Р/Сч."
    ShortStr<20> corrAccount; // "К/Сч."
    ShortStr<10> bik;         // "БИК"
    ShortStr<64> bankShort;   // "Сокр. название"
    ShortStr<128> bankFull;   // "Полн. название"
};
static_assert(sizeof(BankRecord) == 247);

// An organization of the directory. An empty name marks a free slot.
struct OrganizationRecord {
    ShortStr<128> name;
    ShortStr<4> certSeries;
    ShortStr<12> certNumber;
    ShortStr<12> certDate;
    ShortStr<255> certIssuer;
    ShortStr<16> ogrn;
    ShortStr<96> legalAddress;
    ShortStr<96> postalAddress;
    ShortStr<32> phone;
    ShortStr<32> fax;
    ShortStr<48> email;
    std::uint8_t reserved1[49];
    BankRecord banks[4];
    ShortStr<12> inn;
    ShortStr<12> kpp;
    ShortStr<12> okato;
    ShortStr<12> okpo;
    ShortStr<8> okogu;
    ShortStr<4> okopf;
    ShortStr<4> okfs;
    ShortStr<128> okved;
    std::uint8_t bankNo; // 0..3, the slot used in payment orders
    std::uint8_t reserved2;
    std::uint8_t branchNo; // index of the linked branch in the branch table
    std::uint8_t flags;    // bit 7: the list shows the linked branch's contacts

    static constexpr std::uint8_t UseBranch = 0x80;
    bool usesBranch() const { return (flags & UseBranch) != 0; }
    // The bank slot that bankNo selects; a damaged bankNo above 3 selects slot 0.
    const BankRecord& bank() const { return banks[bankNo < 4 ? bankNo : 0]; }
};
static_assert(sizeof(OrganizationRecord) == 1983);
static_assert(offsetof(OrganizationRecord, reserved1) == 742);
static_assert(offsetof(OrganizationRecord, banks) == 791);
static_assert(offsetof(OrganizationRecord, inn) == 1779);
static_assert(offsetof(OrganizationRecord, okved) == 1850);
static_assert(offsetof(OrganizationRecord, bankNo) == 1979);
static_assert(offsetof(OrganizationRecord, flags) == 1982);

// One payment order; one such record is one order file.
struct OrderRecord {
    ShortStr<128> payerName;
    ShortStr<20> payerAccount;
    ShortStr<20> payerCorrAccount;
    ShortStr<10> payerBik;
    ShortStr<64> payerBankShort;
    ShortStr<128> payerBankFull;
    std::uint8_t payerBankNo; // reserved, carried unchanged
    ShortStr<12> payerInn;
    ShortStr<12> payerKpp;
    ShortStr<128> payeeName;
    ShortStr<20> payeeAccount;
    ShortStr<20> payeeCorrAccount;
    ShortStr<10> payeeBik;
    ShortStr<64> payeeBankShort;
    ShortStr<128> payeeBankFull;
    std::uint8_t payeeBankNo; // reserved, carried unchanged
    ShortStr<12> payeeInn;
    ShortStr<12> payeeKpp;
    ShortStr<5> number;
    ShortStr<10> date; // dd.mm.yyyy
    ShortStr<12> amount;
    std::uint8_t vat; // 0 "Без НДС", 1 "18%", 2 "10%"
    std::uint8_t payKind; // 0 "Электронно", 1 "Почтой", 2 "Телеграфом", 3 "Срочно"
    std::uint8_t priority; // 0 "6", 1 "4"
    std::uint8_t status;   // 0 "Нет", 1 "01", 2 "02"
    ShortStr<255> purpose;
    ShortStr<20> kbk;
    ShortStr<11> okato;
    ShortStr<10> taxPeriod;
    ShortStr<10> docNumber;
    ShortStr<10> docDate;
    ShortStr<2> basis;
    ShortStr<2> taxType;
    std::uint8_t accepted; // 1 when the bank has accepted the order
};
static_assert(sizeof(OrderRecord) == 1169);
static_assert(offsetof(OrderRecord, payerBankNo) == 376);
static_assert(offsetof(OrderRecord, payeeName) == 403);
static_assert(offsetof(OrderRecord, payeeBankNo) == 779);
static_assert(offsetof(OrderRecord, number) == 806);
static_assert(offsetof(OrderRecord, vat) == 836);
static_assert(offsetof(OrderRecord, purpose) == 840);
static_assert(offsetof(OrderRecord, kbk) == 1096);
static_assert(offsetof(OrderRecord, basis) == 1162);
static_assert(offsetof(OrderRecord, accepted) == 1168);

// A branch of an organization. An empty address marks a free record.
struct BranchRecord {
    U16 organizationNo; // index of the owner in the directory
    ShortStr<96> address;
    ShortStr<32> phone;
    ShortStr<48> email;
    std::uint8_t reserved;
};
static_assert(sizeof(BranchRecord) == 182);

// An employee of an organization. An empty surname marks a free record.
struct EmployeeRecord {
    U16 organizationNo; // index of the employer in the directory
    ShortStr<48> position;
    ShortStr<16> surname;
    ShortStr<16> firstName;
    ShortStr<16> patronymic;
    ShortStr<16> workPhone;
    ShortStr<16> mobilePhone;
    ShortStr<8> innerPhone;
    ShortStr<48> email;
};
static_assert(sizeof(EmployeeRecord) == 194);
static_assert(offsetof(EmployeeRecord, surname) == 51);
static_assert(offsetof(EmployeeRecord, email) == 145);

// Organization record of the first version (directory files of 189824 bytes).
struct OldBankRecord {
    ShortStr<20> account;
    ShortStr<20> corrAccount;
    ShortStr<10> bik;
    ShortStr<128> bankShort;
    ShortStr<255> bankFull;
};
static_assert(sizeof(OldBankRecord) == 438);

struct OldOrganizationRecord {
    ShortStr<128> name;
    ShortStr<4> certSeries;
    ShortStr<12> certNumber;
    ShortStr<12> certDate;
    ShortStr<255> certIssuer;
    ShortStr<16> ogrn;
    ShortStr<128> legalAddress;
    ShortStr<128> postalAddress;
    ShortStr<64> phone;
    ShortStr<64> fax;
    ShortStr<64> email;
    OldBankRecord banks[4];
    ShortStr<12> inn;
    ShortStr<12> kpp;
    ShortStr<12> okato;
    ShortStr<12> okpo;
    ShortStr<8> okogu;
    ShortStr<4> okopf;
    ShortStr<4> okfs;
    ShortStr<255> okved;
    std::uint8_t bankNo;
};
static_assert(sizeof(OldOrganizationRecord) == 2966);
static_assert(offsetof(OldOrganizationRecord, banks) == 886);
static_assert(offsetof(OldOrganizationRecord, inn) == 2638);
static_assert(offsetof(OldOrganizationRecord, okved) == 2709);

// Payment order record of the first version (order files of 389 bytes).
struct OldOrderRecord {
    ShortStr<5> number;
    ShortStr<10> date;
    ShortStr<12> amount;
    ShortStr<12> payerInn;
    ShortStr<12> payeeInn;
    std::uint8_t vat;
    std::uint8_t payKind;
    std::uint8_t priority;
    std::uint8_t status;
    ShortStr<255> purpose;
    ShortStr<20> kbk;
    ShortStr<11> okato;
    ShortStr<10> taxPeriod;
    ShortStr<10> docNumber;
    ShortStr<10> docDate;
    ShortStr<2> basis;
    ShortStr<2> taxType;
    std::uint8_t accepted;
};
static_assert(sizeof(OldOrderRecord) == 389);
static_assert(offsetof(OldOrderRecord, purpose) == 60);
static_assert(offsetof(OldOrderRecord, kbk) == 316);
static_assert(offsetof(OldOrderRecord, accepted) == 388);

// Sizes of the data files.
inline constexpr int MaxFirms = 256;
inline constexpr int MaxFirmsInUse = 254; // "New" and "Restore" stop here
inline constexpr int MaxFilials = 256;
inline constexpr int MaxEmployees = 1024;
inline constexpr int Firms1Slots = 64;
inline constexpr qint64 FirmsFileSize = qint64(MaxFirms) * sizeof(OrganizationRecord);     // 507648
inline constexpr qint64 Firms1FileSize = qint64(Firms1Slots) * sizeof(OrganizationRecord); // 126912
inline constexpr qint64 FilialFileSize = qint64(MaxFilials) * sizeof(BranchRecord);        // 46592
inline constexpr qint64 EmployeeFileSize = qint64(MaxEmployees) * sizeof(EmployeeRecord);  // 198656
inline constexpr qint64 PlatFileSize = sizeof(OrderRecord);                                // 1169
inline constexpr qint64 FirmsOldFileSize = 64 * qint64(sizeof(OldOrganizationRecord));     // 189824
inline constexpr qint64 PlatOldFileSize = sizeof(OldOrderRecord);                          // 389
static_assert(FirmsFileSize == 507648 && Firms1FileSize == 126912);
static_assert(FilialFileSize == 46592 && EmployeeFileSize == 198656);
static_assert(FirmsOldFileSize == 189824);

} // namespace storage
