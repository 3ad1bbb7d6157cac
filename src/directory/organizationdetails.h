// The organization details and bank details as the windows show them: the texts of their
// boxes taken from a record, stored back into it cut to each field's capacity, and the checks
// of the details window before a record is stored.
#pragma once

#include "storage/records.h"

#include <QString>
#include <array>

namespace core {
class Directory;
}
namespace storage {
class BikDirectory;
} // namespace storage

namespace directory {

// Texts of the details window's 24 boxes, at indexes 0..23: name, certificate
// (series, number, date, issuer), ОГРН, legal and postal address, phone, fax, e-mail, the
// selected bank slot (account, corr. account, БИК, short and full bank name), then ИНН, КПП,
// ОКАТО, ОКПО, ОКОГУ, ОКОПФ, ОКФС, ОКВЭД.
inline constexpr int DetailBoxCount = 24;
using DetailTexts = std::array<QString, DetailBoxCount>;

// Box indexes the windows refer to by meaning.
enum DetailBox : int {
    BoxName = 0,
    BoxBankFirst = 11, // 11..15: the selected bank slot, read-only
    BoxBankLast = 15,
    BoxInn = 16,
};

// How many characters each of the 24 boxes holds: the capacity of its field.
std::array<int, DetailBoxCount> detailCapacities();

// All 24 boxes of f; the bank boxes show the slot BankNo selects.
DetailTexts detailTexts(const storage::OrganizationRecord& f);
// The five bank boxes of one slot: account, corr. account, БИК, short name, full name.
std::array<QString, 5> bankTexts(const storage::BankRecord& b);

// Stores every box but the bank boxes into f, each cut to its field's capacity. The bank
// slots, BankNo, the branch link and the reserved bytes stay as they are.
void storeDetails(const DetailTexts& t, storage::OrganizationRecord& f);

// Result of the checks made before the details window stores a record, in their order.
enum class DetailsCheck { Ok, NoName, NoInn, DuplicateInn };

// Checks the name and ИНН boxes. A new organization (isNew) must not have the ИНН of an
// organization in use (exact comparison of the whole text); an edited one may.
DetailsCheck checkDetails(const core::Directory& directory, bool isNew, const QString& name,
                          const QString& inn);
// The message the window shows for a failed check; empty for Ok.
QString detailsMessage(DetailsCheck c);

// The bank part of an organization: its four bank slots and the one used in payment orders.
// The bank window edits such a copy; the details window stores it with the organization.
struct FirmBanks {
    std::array<storage::BankRecord, 4> bank{};
    std::uint8_t bankNo = 0;
};
FirmBanks firmBanks(const storage::OrganizationRecord& f);
void setFirmBanks(const FirmBanks& b, storage::OrganizationRecord& f);

// Texts of the bank window's 20 boxes: slot k (0..3) at 5k..5k+4, in the order of
// bankTexts.
inline constexpr int BankBoxCount = 20;
using BankTexts = std::array<QString, BankBoxCount>;

BankTexts bankSlotTexts(const FirmBanks& b);
// How many characters each of the 20 boxes holds.
std::array<int, BankBoxCount> bankCapacities();
// Stores the 20 boxes into the four bank slots of b, each cut to its field's capacity, and
// bankNo (0..3; anything else gives 0) as the slot used.
void storeBankSlots(const BankTexts& t, int bankNo, FirmBanks& b);

// The check-digit warnings of the boxes (storage/checkdigits.h), each box's problem as a
// sentence at its index, empty where there is none: ИНН, КПП and the bank boxes of the
// details window; the account, corr. account and БИК boxes of each slot of the bank window.
// With a BIK directory, also a BIK it does not know, a bank whose participation ended and a
// correspondent account that is not the bank's.
DetailTexts detailWarnings(const DetailTexts& t, const storage::BikDirectory* directory = nullptr);
BankTexts bankWarnings(const BankTexts& t, const storage::BikDirectory* directory = nullptr);

// The boxes of one bank slot (as bankTexts orders them) after a BIK was typed: when the
// directory knows the BIK, the correspondent account and the short and full names it gives
// are put into those of the three boxes that are empty; the others stay as typed.
std::array<QString, 5> bankFilledFromDirectory(std::array<QString, 5> slot,
                                               const storage::BikDirectory& directory);

// The slot BankNo selects, as an index 0..3 (a damaged value above 3 gives 0).
inline int bankIndex(const storage::OrganizationRecord& f) {
    return f.bankNo < 4 ? f.bankNo : 0;
}
inline int bankIndex(const FirmBanks& b) {
    return b.bankNo < 4 ? b.bankNo : 0;
}

// How the details and bank windows are opened: a new organization, an existing one edited, or
// one only looked at.
enum class EditMode { New, Edit, View };

} // namespace directory
