#include "organizationdetails.h"

#include "editor/uiutil.h"
#include "storage/bikdirectory.h"
#include "storage/checkdigits.h"
#include "storage/cp1251.h"
#include "storage/store.h"

#include <algorithm>
#include <iterator>

namespace directory {

using editor::fromUi;
using editor::toUi;

std::array<QString, 5> bankTexts(const storage::TFirmBank& b) {
    return {toUi(b.Account), toUi(b.CorrAccount), toUi(b.Bik), toUi(b.BankShort), toUi(b.BankFull)};
}

namespace {

template <class Field> constexpr int capacity(const Field&) {
    return int(Field::capacity);
}

std::array<int, 5> bankSlotCapacities() {
    const storage::TFirmBank b{};
    return {capacity(b.Account), capacity(b.CorrAccount), capacity(b.Bik), capacity(b.BankShort),
            capacity(b.BankFull)};
}

} // namespace

std::array<int, DetailBoxCount> detailCapacities() {
    const storage::TFirm f{};
    const std::array<int, 5> bank = bankSlotCapacities();
    return {capacity(f.Name),
            capacity(f.CertSeries),
            capacity(f.CertNumber),
            capacity(f.CertDate),
            capacity(f.CertIssuer),
            capacity(f.Ogrn),
            capacity(f.LegalAddress),
            capacity(f.PostalAddress),
            capacity(f.Phone),
            capacity(f.Fax),
            capacity(f.EMail),
            bank[0],
            bank[1],
            bank[2],
            bank[3],
            bank[4],
            capacity(f.Inn),
            capacity(f.Kpp),
            capacity(f.Okato),
            capacity(f.Okpo),
            capacity(f.Okogu),
            capacity(f.Okopf),
            capacity(f.Okfs),
            capacity(f.Okved)};
}

std::array<int, BankBoxCount> bankCapacities() {
    const std::array<int, 5> slot = bankSlotCapacities();
    std::array<int, BankBoxCount> all{};
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = slot[i % slot.size()];
    return all;
}

DetailTexts detailTexts(const storage::TFirm& f) {
    const std::array<QString, 5> bank = bankTexts(f.bank());
    return {toUi(f.Name),
            toUi(f.CertSeries),
            toUi(f.CertNumber),
            toUi(f.CertDate),
            toUi(f.CertIssuer),
            toUi(f.Ogrn),
            toUi(f.LegalAddress),
            toUi(f.PostalAddress),
            toUi(f.Phone),
            toUi(f.Fax),
            toUi(f.EMail),
            bank[0],
            bank[1],
            bank[2],
            bank[3],
            bank[4],
            toUi(f.Inn),
            toUi(f.Kpp),
            toUi(f.Okato),
            toUi(f.Okpo),
            toUi(f.Okogu),
            toUi(f.Okopf),
            toUi(f.Okfs),
            toUi(f.Okved)};
}

void storeDetails(const DetailTexts& t, storage::TFirm& f) {
    fromUi(t[0], f.Name);
    fromUi(t[1], f.CertSeries);
    fromUi(t[2], f.CertNumber);
    fromUi(t[3], f.CertDate);
    fromUi(t[4], f.CertIssuer);
    fromUi(t[5], f.Ogrn);
    fromUi(t[6], f.LegalAddress);
    fromUi(t[7], f.PostalAddress);
    fromUi(t[8], f.Phone);
    fromUi(t[9], f.Fax);
    fromUi(t[10], f.EMail);
    fromUi(t[16], f.Inn);
    fromUi(t[17], f.Kpp);
    fromUi(t[18], f.Okato);
    fromUi(t[19], f.Okpo);
    fromUi(t[20], f.Okogu);
    fromUi(t[21], f.Okopf);
    fromUi(t[22], f.Okfs);
    fromUi(t[23], f.Okved);
}

DetailsCheck checkDetails(const storage::Store& s, bool isNew, const QString& name,
                          const QString& inn) {
    if (name.trimmed().isEmpty()) // blanks only are no name either
        return DetailsCheck::NoName;
    if (inn.isEmpty())
        return DetailsCheck::NoInn;
    if (isNew) {
        const QByteArray bytes = storage::cp1251::fromUnicode(inn);
        const std::string_view typed(bytes.constData(), std::size_t(bytes.size()));
        for (int i = 0; i < s.FirmCount && i < storage::MaxFirms; ++i)
            if (s.Firms[std::size_t(i)].Inn == typed)
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

FirmBanks firmBanks(const storage::TFirm& f) {
    FirmBanks b;
    std::copy(std::begin(f.Banks), std::end(f.Banks), b.bank.begin());
    b.bankNo = f.BankNo;
    return b;
}

void setFirmBanks(const FirmBanks& b, storage::TFirm& f) {
    std::copy(b.bank.begin(), b.bank.end(), std::begin(f.Banks));
    f.BankNo = b.bankNo;
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
        storage::TFirmBank& slot = b.bank[k];
        fromUi(t[5 * k], slot.Account);
        fromUi(t[5 * k + 1], slot.CorrAccount);
        fromUi(t[5 * k + 2], slot.Bik);
        fromUi(t[5 * k + 3], slot.BankShort);
        fromUi(t[5 * k + 4], slot.BankFull);
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
    storage::TFirm f{};
    storeDetails(t, f);
    fromUi(t[BoxBankFirst], f.Banks[0].Account);
    fromUi(t[BoxBankFirst + 1], f.Banks[0].CorrAccount);
    fromUi(t[BoxBankFirst + 2], f.Banks[0].Bik);
    DetailTexts w;
    for (const storage::DetailIssue& i : storage::CheckFirmDetails(f, 0, 0, directory)) {
        const int box = i.field == storage::DetailField::Inn   ? BoxInn
                        : i.field == storage::DetailField::Kpp ? BoxInn + 1
                                                               : BoxBankFirst + bankBoxOf(i.field);
        w[std::size_t(box)] = storage::ProblemText(i.problem);
    }
    return w;
}

BankTexts bankWarnings(const BankTexts& t, const storage::BikDirectory* directory) {
    FirmBanks b;
    storeBankSlots(t, 0, b);
    storage::TFirm f{};
    setFirmBanks(b, f);
    BankTexts w;
    for (const storage::DetailIssue& i : storage::CheckFirmDetails(f, 0, 3, directory))
        if (i.bankSlot >= 0)
            w[std::size_t(5 * i.bankSlot + bankBoxOf(i.field))] = storage::ProblemText(i.problem);
    return w;
}

std::array<QString, 5> bankFilledFromDirectory(std::array<QString, 5> slot,
                                               const storage::BikDirectory& directory) {
    const storage::BikBank* bank = directory.find(QStringView(slot[2]).trimmed());
    if (!bank)
        return slot;
    const storage::BankNameLines names = storage::BankNames(*bank);
    const QString found[5] = {{}, bank->account(), {}, names.shortName, names.fullName};
    for (std::size_t i : {1u, 3u, 4u})
        if (slot[i].isEmpty())
            slot[i] = found[i];
    return slot;
}

storage::TFirm* firmSlot(storage::Store& s, int i) {
    if (i < 0 || i >= storage::MaxFirms)
        return nullptr;
    return &s.Firms[std::size_t(i)];
}

} // namespace directory
