// The records of the data files, byte for byte: organizations, payment orders, branches,
// employees, and the layouts of the earlier version that start-up converts. Every record is
// plain bytes (texts and 16-bit numbers of shortstr.h), read and written in one piece.
#pragma once

#include "shortstr.h"

#include <cstddef>
#include <cstdint>

namespace storage {

// One of the four bank slots of an organization.
struct TFirmBank {
    ShortStr<20> Account;     // "Р/Сч."
    ShortStr<20> CorrAccount; // "К/Сч."
    ShortStr<10> Bik;         // "БИК"
    ShortStr<64> BankShort;   // "Сокр. название"
    ShortStr<128> BankFull;   // "Полн. название"
};
static_assert(sizeof(TFirmBank) == 247);

// An organization of the directory. An empty Name marks a free slot.
struct TFirm {
    ShortStr<128> Name;
    ShortStr<4> CertSeries;
    ShortStr<12> CertNumber;
    ShortStr<12> CertDate;
    ShortStr<255> CertIssuer;
    ShortStr<16> Ogrn;
    ShortStr<96> LegalAddress;
    ShortStr<96> PostalAddress;
    ShortStr<32> Phone;
    ShortStr<32> Fax;
    ShortStr<48> EMail;
    std::uint8_t Reserved1[49];
    TFirmBank Banks[4];
    ShortStr<12> Inn;
    ShortStr<12> Kpp;
    ShortStr<12> Okato;
    ShortStr<12> Okpo;
    ShortStr<8> Okogu;
    ShortStr<4> Okopf;
    ShortStr<4> Okfs;
    ShortStr<128> Okved;
    std::uint8_t BankNo; // 0..3, the slot used in payment orders
    std::uint8_t Reserved2;
    std::uint8_t FilialNo; // index of the linked branch in the branch table
    std::uint8_t Flags;    // bit 7: the list shows the linked branch's contacts

    static constexpr std::uint8_t UseFilial = 0x80;
    bool useFilial() const { return (Flags & UseFilial) != 0; }
    // The bank slot that BankNo selects; a damaged BankNo above 3 selects slot 0.
    const TFirmBank& bank() const { return Banks[BankNo < 4 ? BankNo : 0]; }
};
static_assert(sizeof(TFirm) == 1983);
static_assert(offsetof(TFirm, Reserved1) == 742);
static_assert(offsetof(TFirm, Banks) == 791);
static_assert(offsetof(TFirm, Inn) == 1779);
static_assert(offsetof(TFirm, Okved) == 1850);
static_assert(offsetof(TFirm, BankNo) == 1979);
static_assert(offsetof(TFirm, Flags) == 1982);

// One payment order; one such record is one order file.
struct TPlat {
    ShortStr<128> PayerName;
    ShortStr<20> PayerAccount;
    ShortStr<20> PayerCorrAccount;
    ShortStr<10> PayerBik;
    ShortStr<64> PayerBankShort;
    ShortStr<128> PayerBankFull;
    std::uint8_t PayerBankNo; // reserved, carried unchanged
    ShortStr<12> PayerInn;
    ShortStr<12> PayerKpp;
    ShortStr<128> PayeeName;
    ShortStr<20> PayeeAccount;
    ShortStr<20> PayeeCorrAccount;
    ShortStr<10> PayeeBik;
    ShortStr<64> PayeeBankShort;
    ShortStr<128> PayeeBankFull;
    std::uint8_t PayeeBankNo; // reserved, carried unchanged
    ShortStr<12> PayeeInn;
    ShortStr<12> PayeeKpp;
    ShortStr<5> Number;
    ShortStr<10> Date; // dd.mm.yyyy
    ShortStr<12> Amount;
    std::uint8_t Vat; // 0 "Без НДС", 1 "18%", 2 "10%"
    std::uint8_t PayKind; // 0 "Электронно", 1 "Почтой", 2 "Телеграфом", 3 "Срочно"
    std::uint8_t Priority; // 0 "6", 1 "4"
    std::uint8_t Status;   // 0 "Нет", 1 "01", 2 "02"
    ShortStr<255> Purpose;
    ShortStr<20> Kbk;
    ShortStr<11> Okato;
    ShortStr<10> TaxPeriod;
    ShortStr<10> DocNumber;
    ShortStr<10> DocDate;
    ShortStr<2> Basis;
    ShortStr<2> TaxType;
    std::uint8_t Accepted; // 1 when the bank has accepted the order
};
static_assert(sizeof(TPlat) == 1169);
static_assert(offsetof(TPlat, PayerBankNo) == 376);
static_assert(offsetof(TPlat, PayeeName) == 403);
static_assert(offsetof(TPlat, PayeeBankNo) == 779);
static_assert(offsetof(TPlat, Number) == 806);
static_assert(offsetof(TPlat, Vat) == 836);
static_assert(offsetof(TPlat, Purpose) == 840);
static_assert(offsetof(TPlat, Kbk) == 1096);
static_assert(offsetof(TPlat, Basis) == 1162);
static_assert(offsetof(TPlat, Accepted) == 1168);

// A branch of an organization. An empty Address marks a free record.
struct TFilial {
    U16 FirmNo; // index in Firms of the owner
    ShortStr<96> Address;
    ShortStr<32> Phone;
    ShortStr<48> EMail;
    std::uint8_t Reserved;
};
static_assert(sizeof(TFilial) == 182);

// An employee of an organization. An empty Surname marks a free record.
struct TEmpl {
    U16 FirmNo; // index in Firms of the employer
    ShortStr<48> Position;
    ShortStr<16> Surname;
    ShortStr<16> FirstName;
    ShortStr<16> Patronymic;
    ShortStr<16> WorkPhone;
    ShortStr<16> MobilePhone;
    ShortStr<8> InnerPhone;
    ShortStr<48> EMail;
};
static_assert(sizeof(TEmpl) == 194);
static_assert(offsetof(TEmpl, Surname) == 51);
static_assert(offsetof(TEmpl, EMail) == 145);

// Organization record of the first version (directory files of 189824 bytes).
struct TFirmBankOld {
    ShortStr<20> Account;
    ShortStr<20> CorrAccount;
    ShortStr<10> Bik;
    ShortStr<128> BankShort;
    ShortStr<255> BankFull;
};
static_assert(sizeof(TFirmBankOld) == 438);

struct FirmOld {
    ShortStr<128> Name;
    ShortStr<4> CertSeries;
    ShortStr<12> CertNumber;
    ShortStr<12> CertDate;
    ShortStr<255> CertIssuer;
    ShortStr<16> Ogrn;
    ShortStr<128> LegalAddress;
    ShortStr<128> PostalAddress;
    ShortStr<64> Phone;
    ShortStr<64> Fax;
    ShortStr<64> EMail;
    TFirmBankOld Banks[4];
    ShortStr<12> Inn;
    ShortStr<12> Kpp;
    ShortStr<12> Okato;
    ShortStr<12> Okpo;
    ShortStr<8> Okogu;
    ShortStr<4> Okopf;
    ShortStr<4> Okfs;
    ShortStr<255> Okved;
    std::uint8_t BankNo;
};
static_assert(sizeof(FirmOld) == 2966);
static_assert(offsetof(FirmOld, Banks) == 886);
static_assert(offsetof(FirmOld, Inn) == 2638);
static_assert(offsetof(FirmOld, Okved) == 2709);

// Payment order record of the first version (order files of 389 bytes).
struct PlatOld {
    ShortStr<5> Number;
    ShortStr<10> Date;
    ShortStr<12> Amount;
    ShortStr<12> PayerInn;
    ShortStr<12> PayeeInn;
    std::uint8_t Vat;
    std::uint8_t PayKind;
    std::uint8_t Priority;
    std::uint8_t Status;
    ShortStr<255> Purpose;
    ShortStr<20> Kbk;
    ShortStr<11> Okato;
    ShortStr<10> TaxPeriod;
    ShortStr<10> DocNumber;
    ShortStr<10> DocDate;
    ShortStr<2> Basis;
    ShortStr<2> TaxType;
    std::uint8_t Accepted;
};
static_assert(sizeof(PlatOld) == 389);
static_assert(offsetof(PlatOld, Purpose) == 60);
static_assert(offsetof(PlatOld, Kbk) == 316);
static_assert(offsetof(PlatOld, Accepted) == 388);

// Sizes of the data files.
inline constexpr int MaxFirms = 256;
inline constexpr int MaxFirmsInUse = 254; // "New" and "Restore" stop here
inline constexpr int MaxFilials = 256;
inline constexpr int MaxEmployees = 1024;
inline constexpr int MaxPlats = 1024;
inline constexpr int Firms1Slots = 64;
inline constexpr qint64 FirmsFileSize = qint64(MaxFirms) * sizeof(TFirm);        // 507648
inline constexpr qint64 Firms1FileSize = qint64(Firms1Slots) * sizeof(TFirm);    // 126912
inline constexpr qint64 FilialFileSize = qint64(MaxFilials) * sizeof(TFilial);   // 46592
inline constexpr qint64 EmployeeFileSize = qint64(MaxEmployees) * sizeof(TEmpl); // 198656
inline constexpr qint64 PlatFileSize = sizeof(TPlat);                            // 1169
inline constexpr qint64 FirmsOldFileSize = 64 * qint64(sizeof(FirmOld));         // 189824
inline constexpr qint64 PlatOldFileSize = sizeof(PlatOld);                       // 389
static_assert(FirmsFileSize == 507648 && Firms1FileSize == 126912);
static_assert(FilialFileSize == 46592 && EmployeeFileSize == 198656);
static_assert(FirmsOldFileSize == 189824);

} // namespace storage
