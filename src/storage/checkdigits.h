// Check digits and formats of an organization's details: INN, KPP, BIK, the settlement
// account and the correspondent account. The results are warnings: the program stores and
// prints details that fail them (test data, foreign banks, old records). An empty field is
// never a problem here.
#pragma once

#include "records.h"

#include <QList>
#include <QString>
#include <cstdint>
#include <string_view>

namespace storage {

class BikDirectory;

enum class DetailProblem : std::uint8_t {
    None,
    InnFormat, // not 10 or 12 digits
    InnKey,    // a control digit does not match
    KppFormat, // not 9 characters: digits, capital Latin letters allowed at 5 and 6
    BikFormat, // not 9 digits
    AccountFormat,
    AccountKey, // the account's key does not match the BIK
    CorrFormat,
    CorrKey, // the correspondent account's key does not match the BIK
    // Against the BIK directory, when one is imported:
    BikUnknown,         // the directory has no such BIK
    BankClosed,         // the bank's participation in payments has ended
    CorrNotInDirectory, // the correspondent account is not one of the bank's in the directory
};

// Each check takes the field as stored (code page 1251 bytes).
DetailProblem checkInn(std::string_view inn);
DetailProblem checkKpp(std::string_view kpp);
DetailProblem checkBik(std::string_view bik);
// The key of an account is checked only with a valid BIK: a settlement account together
// with the BIK's last three digits, a correspondent account with "0" and the BIK's fifth and
// sixth digits; weights 7, 1, 3 repeated, the sum must end in 0.
DetailProblem checkAccount(std::string_view account, std::string_view bik);
DetailProblem checkCorrAccount(std::string_view corrAccount, std::string_view bik);

// What is wrong, as a sentence for a tooltip ("Неверное контрольное число ИНН").
QString problemText(DetailProblem problem);

enum class DetailField : std::uint8_t { Inn, Kpp, Account, CorrAccount, Bik };
// The caption of a field: "ИНН", "КПП", "Р/Сч.", "К/Сч.", "БИК".
QString fieldCaption(DetailField field);

struct DetailIssue {
    DetailField field;
    int bankSlot; // 0..3 for the bank fields, -1 for INN and KPP
    DetailProblem problem;
};

// The problems of an organization's INN and KPP and of its bank slots from firstSlot to
// lastSlot, in that order. With a BIK directory (not empty: one was imported), a well-formed
// BIK is also looked up: unknown, closed, or a well-formed correspondent account that is not
// the bank's.
QList<DetailIssue> checkOrganizationDetails(const OrganizationRecord& firm, int firstSlot,
                                            int lastSlot, const BikDirectory* directory = nullptr);

} // namespace storage
