// Check digits and formats of INN, KPP, BIK and accounts on published examples.
#include "storage/checkdigits.h"

#include <gtest/gtest.h>

using namespace storage;

namespace {

constexpr const char* Bik = "044525225";             // a Moscow bank
constexpr const char* Corr = "30101810400000000225"; // its correspondent account
constexpr const char* OtherBik = "044030653";        // a bank in another region

struct CheckCase {
    const char* name;
    DetailProblem (*check)(std::string_view, std::string_view);
    const char* value;
    const char* bik;
    DetailProblem expected;
};

DetailProblem inn(std::string_view v, std::string_view) {
    return checkInn(v);
}
DetailProblem kpp(std::string_view v, std::string_view) {
    return checkKpp(v);
}
DetailProblem bik(std::string_view v, std::string_view) {
    return checkBik(v);
}

using P = DetailProblem;
const CheckCase checkCases[] = {
    {"Inn10Valid", inn, "7707083893", "", P::None},
    {"Inn10WrongKey", inn, "7707083894", "", P::InnKey},
    {"Inn12Valid", inn, "500100732259", "", P::None},
    {"Inn12WrongFirstKey", inn, "500100732249", "", P::InnKey},
    {"Inn12WrongSecondKey", inn, "500100732258", "", P::InnKey},
    {"Inn11Digits", inn, "77070838931", "", P::InnFormat},
    {"InnWithALetter", inn, "77070838A3", "", P::InnFormat},
    {"InnEmpty", inn, "", "", P::None},
    {"KppDigits", kpp, "773601001", "", P::None},
    {"KppLettersAtFiveAndSix", kpp, "7736AB001", "", P::None},
    {"KppLetterElsewhere", kpp, "7736A100B", "", P::KppFormat},
    {"KppSmallLetters", kpp, "7736ab001", "", P::KppFormat},
    {"KppEightCharacters", kpp, "77360100", "", P::KppFormat},
    {"BikValid", bik, Bik, "", P::None},
    {"BikEightDigits", bik, "04452522", "", P::BikFormat},
    {"AccountValid", checkAccount, "40702810938000012345", Bik, P::None},
    {"AccountWrongKey", checkAccount, "40702810038000012345", Bik, P::AccountKey},
    {"AccountOfAnotherBank", checkAccount, "40702810938000012345", OtherBik, P::AccountKey},
    {"AccountShort", checkAccount, "4070281093800001234", Bik, P::AccountFormat},
    {"AccountWithBlanks", checkAccount, "40702 810 9380001234", Bik, P::AccountFormat},
    {"AccountKeyNotCheckedWithoutBik", checkAccount, "40702810038000012345", "", P::None},
    {"AccountKeyNotCheckedWithBadBik", checkAccount, "40702810038000012345", "0445", P::None},
    {"CorrValid", checkCorrAccount, Corr, Bik, P::None},
    {"CorrOfAnotherBank", checkCorrAccount, Corr, OtherBik, P::CorrKey},
    {"CorrShort", checkCorrAccount, "3010181040000000022", Bik, P::CorrFormat},
};

class CheckDigits : public testing::TestWithParam<CheckCase> {};

TEST_P(CheckDigits, Result) {
    const CheckCase& c = GetParam();
    EXPECT_EQ(int(c.check(c.value, c.bik)), int(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Published, CheckDigits, testing::ValuesIn(checkCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(CheckDigits, AnOrganizationsProblemsByFieldAndSlot) {
    OrganizationRecord f{};
    f.inn = "7707083894";
    f.kpp = "773601001";
    f.banks[0].bik = Bik;
    f.banks[0].corrAccount = Corr;
    f.banks[0].account = "40702810938000012345";
    f.banks[2].bik = OtherBik;
    f.banks[2].corrAccount = Corr;
    f.banks[3].bik = "12345";
    const QList<DetailIssue> all = checkOrganizationDetails(f, 0, 3);
    ASSERT_EQ(all.size(), 3);
    EXPECT_EQ(all[0].field, DetailField::Inn);
    EXPECT_EQ(all[0].bankSlot, -1);
    EXPECT_EQ(problemText(all[0].problem), "Неверное контрольное число ИНН");
    EXPECT_EQ(all[1].field, DetailField::CorrAccount);
    EXPECT_EQ(all[1].bankSlot, 2);
    EXPECT_EQ(all[2].field, DetailField::Bik);
    EXPECT_EQ(all[2].bankSlot, 3);
    EXPECT_EQ(checkOrganizationDetails(f, 0, 0).size(), 1);
}

} // namespace
