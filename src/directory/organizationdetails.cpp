#include "organizationdetails.h"

#include "core/directory.h"
#include "editor/uiutil.h"
#include "storage/bikdirectory.h"
#include "storage/checkdigits.h"
#include "storage/cp1251.h"

#include <algorithm>
#include <iterator>

namespace directory {

using editor::fromUi;
using editor::toUi;

std::array<QString, 5> bankTexts(const storage::BankRecord& b) {
    return {toUi(b.account), toUi(b.corrAccount), toUi(b.bik), toUi(b.bankShort), toUi(b.bankFull)};
}

namespace {

template <class Field> constexpr int capacity(const Field&) {
    return int(Field::capacity);
}

std::array<int, 5> bankSlotCapacities() {
    const storage::BankRecord b{};
    return {capacity(b.account), capacity(b.corrAccount), capacity(b.bik), capacity(b.bankShort),
            capacity(b.bankFull)};
}

} // namespace

std::array<int, DetailBoxCount> detailCapacities() {
    const storage::OrganizationRecord f{};
    const std::array<int, 5> bank = bankSlotCapacities();
    return {capacity(f.name),
            capacity(f.certSeries),
            capacity(f.certNumber),
            capacity(f.certDate),
            capacity(f.certIssuer),
            capacity(f.ogrn),
            capacity(f.legalAddress),
            capacity(f.postalAddress),
            capacity(f.phone),
            capacity(f.fax),
            capacity(f.email),
            bank[0],
            bank[1],
            bank[2],
            bank[3],
            bank[4],
            capacity(f.inn),
            capacity(f.kpp),
            capacity(f.okato),
            capacity(f.okpo),
            capacity(f.okogu),
            capacity(f.okopf),
            capacity(f.okfs),
            capacity(f.okved)};
}

std::array<int, BankBoxCount> bankCapacities() {
    const std::array<int, 5> slot = bankSlotCapacities();
    std::array<int, BankBoxCount> all{};
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = slot[i % slot.size()];
    return all;
}

DetailTexts detailTexts(const storage::OrganizationRecord& f) {
    const std::array<QString, 5> bank = bankTexts(f.bank());
    return {toUi(f.name),
            toUi(f.certSeries),
            toUi(f.certNumber),
            toUi(f.certDate),
            toUi(f.certIssuer),
            toUi(f.ogrn),
            toUi(f.legalAddress),
            toUi(f.postalAddress),
            toUi(f.phone),
            toUi(f.fax),
            toUi(f.email),
            bank[0],
            bank[1],
            bank[2],
            bank[3],
            bank[4],
            toUi(f.inn),
            toUi(f.kpp),
            toUi(f.okato),
            toUi(f.okpo),
            toUi(f.okogu),
            toUi(f.okopf),
            toUi(f.okfs),
            toUi(f.okved)};
}

void storeDetails(const DetailTexts& t, storage::OrganizationRecord& f) {
    fromUi(t[0], f.name);
    fromUi(t[1], f.certSeries);
    fromUi(t[2], f.certNumber);
    fromUi(t[3], f.certDate);
    fromUi(t[4], f.certIssuer);
    fromUi(t[5], f.ogrn);
    fromUi(t[6], f.legalAddress);
    fromUi(t[7], f.postalAddress);
    fromUi(t[8], f.phone);
    fromUi(t[9], f.fax);
    fromUi(t[10], f.email);
    fromUi(t[16], f.inn);
    fromUi(t[17], f.kpp);
    fromUi(t[18], f.okato);
    fromUi(t[19], f.okpo);
    fromUi(t[20], f.okogu);
    fromUi(t[21], f.okopf);
    fromUi(t[22], f.okfs);
    fromUi(t[23], f.okved);
}

DetailsCheck checkDetails(const core::Directory& directory, bool isNew, const QString& name,
                          const QString& inn) {
    if (name.trimmed().isEmpty()) // blanks only are no name either
        return DetailsCheck::NoName;
    if (inn.isEmpty())
        return DetailsCheck::NoInn;
    if (isNew) {
        const QByteArray bytes = storage::cp1251::fromUnicode(inn);
        const std::string_view typed(bytes.constData(), std::size_t(bytes.size()));
        if (directory.innInUse(typed))
            return DetailsCheck::DuplicateInn;
    }
    return DetailsCheck::Ok;
}

QString detailsMessage(DetailsCheck c) {
    switch (c) {
    case DetailsCheck::Ok:
        break;
    case DetailsCheck::NoName:
        return QStringLiteral("Введите название организации");
    case DetailsCheck::NoInn:
        return QStringLiteral("Введите ИНН");
    case DetailsCheck::DuplicateInn:
        return QStringLiteral("Такая организация уже есть");
    }
    return {};
}

FirmBanks firmBanks(const storage::OrganizationRecord& f) {
    FirmBanks b;
    std::copy(std::begin(f.banks), std::end(f.banks), b.bank.begin());
    b.bankNo = f.bankNo;
    return b;
}

void setFirmBanks(const FirmBanks& b, storage::OrganizationRecord& f) {
    std::copy(b.bank.begin(), b.bank.end(), std::begin(f.banks));
    f.bankNo = b.bankNo;
}

BankTexts bankSlotTexts(const FirmBanks& b) {
    BankTexts t;
    for (std::size_t k = 0; k < 4; ++k) {
        const std::array<QString, 5> slot = bankTexts(b.bank[k]);
        std::copy(slot.begin(), slot.end(), t.begin() + std::ptrdiff_t(5 * k));
    }
    return t;
}

void storeBankSlots(const BankTexts& t, int bankNo, FirmBanks& b) {
    for (std::size_t k = 0; k < 4; ++k) {
        storage::BankRecord& slot = b.bank[k];
        fromUi(t[5 * k], slot.account);
        fromUi(t[5 * k + 1], slot.corrAccount);
        fromUi(t[5 * k + 2], slot.bik);
        fromUi(t[5 * k + 3], slot.bankShort);
        fromUi(t[5 * k + 4], slot.bankFull);
    }
    b.bankNo = std::uint8_t(bankNo >= 0 && bankNo < 4 ? bankNo : 0);
}

namespace {

// The box of a bank field within its slot's five boxes.
int bankBoxOf(storage::DetailField field) {
    switch (field) {
    case storage::DetailField::Account:
        return 0;
    case storage::DetailField::CorrAccount:
        return 1;
    default:
        return 2;
    }
}

} // namespace

DetailTexts detailWarnings(const DetailTexts& t, const storage::BikDirectory* directory) {
    storage::OrganizationRecord f{};
    storeDetails(t, f);
    fromUi(t[BoxBankFirst], f.banks[0].account);
    fromUi(t[BoxBankFirst + 1], f.banks[0].corrAccount);
    fromUi(t[BoxBankFirst + 2], f.banks[0].bik);
    DetailTexts w;
    for (const storage::DetailIssue& i : storage::checkOrganizationDetails(f, 0, 0, directory)) {
        const int box = i.field == storage::DetailField::Inn   ? BoxInn
                        : i.field == storage::DetailField::Kpp ? BoxInn + 1
                                                               : BoxBankFirst + bankBoxOf(i.field);
        w[std::size_t(box)] = storage::problemText(i.problem);
    }
    return w;
}

BankTexts bankWarnings(const BankTexts& t, const storage::BikDirectory* directory) {
    FirmBanks b;
    storeBankSlots(t, 0, b);
    storage::OrganizationRecord f{};
    setFirmBanks(b, f);
    BankTexts w;
    for (const storage::DetailIssue& i : storage::checkOrganizationDetails(f, 0, 3, directory))
        if (i.bankSlot >= 0)
            w[std::size_t(5 * i.bankSlot + bankBoxOf(i.field))] = storage::problemText(i.problem);
    return w;
}

std::array<QString, 5> bankFilledFromDirectory(std::array<QString, 5> slot,
                                               const storage::BikDirectory& directory) {
    const storage::BikBank* bank = directory.find(QStringView(slot[2]).trimmed());
    if (!bank)
        return slot;
    const storage::BankNameLines names = storage::bankNames(*bank);
    const QString found[5] = {{}, bank->account(), {}, names.shortName, names.fullName};
    for (std::size_t i : {1u, 3u, 4u})
        if (slot[i].isEmpty())
            slot[i] = found[i];
    return slot;
}

} // namespace directory
