#include "checkdigits.h"

#include "bikdirectory.h"
#include "digits.h"

#include <algorithm>
#include <array>

namespace storage {

namespace {

bool allDigits(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return isDigit(c); });
}

// The control digit of the leading weights.size() digits of s: the weighted sum modulo 11,
// then modulo 10.
template <std::size_t N> int innControl(std::string_view s, const std::array<int, N>& weights) {
    int sum = 0;
    for (std::size_t i = 0; i < N; ++i)
        sum += (s[i] - '0') * weights[i];
    return sum % 11 % 10;
}

// The 23 digits of a bank key (three from the BIK, the 20 of the account) weighted 7, 1, 3
// repeated must sum to a multiple of 10.
bool accountKeyMatches(std::string_view bikPart, std::string_view account) {
    static constexpr int weights[3] = {7, 1, 3};
    int sum = 0;
    int i = 0;
    for (std::string_view part : {bikPart, account})
        for (char c : part)
            sum += (c - '0') * weights[i++ % 3];
    return sum % 10 == 0;
}

DetailProblem checkAccount(std::string_view account, std::string_view bik, bool corr) {
    if (account.empty())
        return DetailProblem::None;
    if (account.size() != 20 || !allDigits(account))
        return corr ? DetailProblem::CorrFormat : DetailProblem::AccountFormat;
    if (bik.empty() || checkBik(bik) != DetailProblem::None)
        return DetailProblem::None; // without a valid BIK the key cannot be checked
    const std::string bikPart =
        corr ? "0" + std::string(bik.substr(4, 2)) : std::string(bik.substr(6, 3));
    if (accountKeyMatches(bikPart, account))
        return DetailProblem::None;
    return corr ? DetailProblem::CorrKey : DetailProblem::AccountKey;
}

} // namespace

DetailProblem checkInn(std::string_view inn) {
    if (inn.empty())
        return DetailProblem::None;
    if ((inn.size() != 10 && inn.size() != 12) || !allDigits(inn))
        return DetailProblem::InnFormat;
    if (inn.size() == 10) {
        static constexpr std::array<int, 9> w10{2, 4, 10, 3, 5, 9, 4, 6, 8};
        return innControl(inn, w10) == inn[9] - '0' ? DetailProblem::None : DetailProblem::InnKey;
    }
    static constexpr std::array<int, 10> w11{7, 2, 4, 10, 3, 5, 9, 4, 6, 8};
    static constexpr std::array<int, 11> w12{3, 7, 2, 4, 10, 3, 5, 9, 4, 6, 8};
    return innControl(inn, w11) == inn[10] - '0' && innControl(inn, w12) == inn[11] - '0'
               ? DetailProblem::None
               : DetailProblem::InnKey;
}

DetailProblem checkKpp(std::string_view kpp) {
    if (kpp.empty())
        return DetailProblem::None;
    if (kpp.size() != 9)
        return DetailProblem::KppFormat;
    for (std::size_t i = 0; i < kpp.size(); ++i) {
        const char c = kpp[i];
        const bool letterAllowed = i == 4 || i == 5;
        if (!isDigit(c) && !(letterAllowed && c >= 'A' && c <= 'Z'))
            return DetailProblem::KppFormat;
    }
    return DetailProblem::None;
}

DetailProblem checkBik(std::string_view bik) {
    if (bik.empty() || (bik.size() == 9 && allDigits(bik)))
        return DetailProblem::None;
    return DetailProblem::BikFormat;
}

DetailProblem checkAccount(std::string_view account, std::string_view bik) {
    return checkAccount(account, bik, false);
}

DetailProblem checkCorrAccount(std::string_view corrAccount, std::string_view bik) {
    return checkAccount(corrAccount, bik, true);
}

QString problemText(DetailProblem problem) {
    switch (problem) {
    case DetailProblem::None:
        break;
    case DetailProblem::InnFormat:
        return QStringLiteral("ИНН должен состоять из 10 или 12 цифр");
    case DetailProblem::InnKey:
        return QStringLiteral("Неверное контрольное число ИНН");
    case DetailProblem::KppFormat:
        return QStringLiteral("КПП должен состоять из 9 цифр (5-й и 6-й знаки могут быть "
                              "заглавными латинскими буквами)");
    case DetailProblem::BikFormat:
        return QStringLiteral("БИК должен состоять из 9 цифр");
    case DetailProblem::AccountFormat:
        return QStringLiteral("Счет должен состоять из 20 цифр");
    case DetailProblem::AccountKey:
        return QStringLiteral("Счет не соответствует БИК");
    case DetailProblem::CorrFormat:
        return QStringLiteral("Корр. счет должен состоять из 20 цифр");
    case DetailProblem::CorrKey:
        return QStringLiteral("Корр. счет не соответствует БИК");
    case DetailProblem::BikUnknown:
        return QStringLiteral("БИК не найден в справочнике БИК");
    case DetailProblem::BankClosed:
        return QStringLiteral("Банк больше не участвует в расчетах (по справочнику БИК)");
    case DetailProblem::CorrNotInDirectory:
        return QStringLiteral("Корр. счет не совпадает со справочником БИК");
    }
    return {};
}

QString fieldCaption(DetailField field) {
    switch (field) {
    case DetailField::Inn:
        return QStringLiteral("ИНН");
    case DetailField::Kpp:
        return QStringLiteral("КПП");
    case DetailField::Account:
        return QStringLiteral("Р/Сч.");
    case DetailField::CorrAccount:
        return QStringLiteral("К/Сч.");
    case DetailField::Bik:
        return QStringLiteral("БИК");
    }
    return {};
}

namespace {

// The problems of one bank's BIK and correspondent account against the directory.
QList<DetailIssue> directoryIssues(const BankRecord& bank, int slot,
                                   const BikDirectory& directory) {
    QList<DetailIssue> issues;
    const std::string_view bik = bank.bik.view();
    if (bik.empty() || checkBik(bik) != DetailProblem::None)
        return issues;
    const BikBank* known = directory.find(bik);
    if (!known) {
        issues.append({DetailField::Bik, slot, DetailProblem::BikUnknown});
        return issues;
    }
    if (known->isClosed())
        issues.append({DetailField::Bik, slot, DetailProblem::BankClosed});
    // Only an account that is itself well formed and fits the BIK is compared: otherwise its
    // own fault is the one to tell.
    const std::string_view corr = bank.corrAccount.view();
    if (!corr.empty() && !known->accounts.isEmpty() &&
        checkCorrAccount(corr, bik) == DetailProblem::None &&
        !known->accounts.contains(QLatin1StringView(corr.data(), qsizetype(corr.size()))))
        issues.append({DetailField::CorrAccount, slot, DetailProblem::CorrNotInDirectory});
    return issues;
}

} // namespace

QList<DetailIssue> checkOrganizationDetails(const OrganizationRecord& firm, int firstSlot,
                                            int lastSlot, const BikDirectory* directory) {
    QList<DetailIssue> issues;
    auto add = [&](DetailField field, int slot, DetailProblem problem) {
        if (problem != DetailProblem::None)
            issues.append({field, slot, problem});
    };
    add(DetailField::Inn, -1, checkInn(firm.inn.view()));
    add(DetailField::Kpp, -1, checkKpp(firm.kpp.view()));
    for (int slot = std::max(firstSlot, 0); slot <= std::min(lastSlot, 3); ++slot) {
        const BankRecord& bank = firm.banks[std::size_t(slot)];
        add(DetailField::Account, slot, checkAccount(bank.account.view(), bank.bik.view()));
        add(DetailField::CorrAccount, slot,
            checkCorrAccount(bank.corrAccount.view(), bank.bik.view()));
        add(DetailField::Bik, slot, checkBik(bank.bik.view()));
        if (directory && !directory->isEmpty())
            issues += directoryIssues(bank, slot, *directory);
    }
    return issues;
}

} // namespace storage
