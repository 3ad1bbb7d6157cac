// Money: the strict grammar of a typed amount, the lenient reading of the list's sum, and the
// texts the form, the tax line, the exchange file and the list write.
#include "storage/money.h"

#include <gtest/gtest.h>

using namespace storage;

namespace {

struct StrictCase {
    const char* name;
    const char* typed;
    AmountErrorCode error;
    std::int64_t kopecks;
    int rubleWidth;
    bool hasKopecks;
};

const StrictCase strictCases[] = {
    {"RublesOnly", "1500", AmountValid, 150000, 4, false},
    {"ZeroValueIsOneDigit", "00-00", AmountValid, 0, 1, true},
    {"LeadingZerosKept", "007", AmountValid, 700, 3, false},
    {"NineDigits", "123456789.50", AmountValid, 12345678950, 9, true},
    {"Comma", "0,05", AmountValid, 5, 1, true},
    {"OneKopeckDigit", "12.5", AmountBadFormat, 0, 0, false},
    {"NoKopeckDigits", "12.", AmountBadFormat, 0, 0, false},
    {"NoRubles", ".50", AmountBadFormat, 0, 0, false},
    {"SpaceInside", "1 000", AmountBadFormat, 0, 0, false},
    {"TrailingSpace", "12 ", AmountBadFormat, 0, 0, false},
    {"TwoSeparators", "12.50.1", AmountBadFormat, 0, 0, false},
    {"ThreeKopeckDigits", "12.505", AmountBadFormat, 0, 0, false},
    {"Letters", "abc", AmountBadFormat, 0, 0, false},
    {"LetterAfterDigits", "12a", AmountBadFormat, 0, 0, false},
    {"Empty", "", AmountBadFormat, 0, 0, false},
    {"TenDigits", "1234567890", AmountTooManyDigits, 0, 0, false},
    {"TenDigitsWithKopecks", "1234567890.50", AmountTooManyDigits, 0, 0, false},
    {"TenZeros", "0000000000", AmountTooManyDigits, 0, 0, false},
    {"TwentyDigits", "99999999999999999999", AmountTooManyDigits, 0, 0, false},
    // The format is judged before the number of digits.
    {"TenDigitsBadKopecks", "1234567890.5", AmountBadFormat, 0, 0, false},
};

class ParseAmountTest : public testing::TestWithParam<StrictCase> {};

TEST_P(ParseAmountTest, ErrorValueAndDigits) {
    const StrictCase& c = GetParam();
    const ParsedAmount a = Money::parse(c.typed);
    EXPECT_EQ(a.error, c.error);
    EXPECT_EQ(a.value.kopecks(), c.kopecks);
    EXPECT_EQ(a.rubleWidth, c.rubleWidth);
    EXPECT_EQ(a.hasKopecks, c.hasKopecks);
}

INSTANTIATE_TEST_SUITE_P(Amounts, ParseAmountTest, testing::ValuesIn(strictCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Money, LenientReadingOfStoredAmounts) {
    struct Case {
        const char* text;
        std::optional<std::int64_t> kopecks;
    } cases[] = {
        {"100-00", 10000},
        {"50-50", 5050},
        {"1500,5", 150050},
        {"1.05", 105},
        {"100", 10000},
        {",5", 50},
        {"5,", 500},
        {"1,500", 150},
        {"999999999999", 99999999999900},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"1-2-3", std::nullopt},
        {"1,505", std::nullopt},
        {"12a", 1200},
        {"abc", std::nullopt},
        // The largest amount in kopecks an int64 holds, and rubles beyond it.
        {"92233720368547757,99", 9223372036854775799},
        {"92233720368547758", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<Money> m = Money::parseLenient(c.text);
        EXPECT_EQ(m ? std::optional(m->kopecks()) : std::nullopt, c.kopecks) << c.text;
    }
}

TEST(Money, Texts) {
    using K = Money::Kopecks;
    struct Case {
        std::int64_t kopecks;
        const char* separator;
        K style;
        const char* text;
    } cases[] = {
        // The form's figure and the tax line.
        {150000, "-", K::TwoDigits, "1500-00"},
        {700, "-", K::TwoDigits, "7-00"},
        {50, "-", K::TwoDigits, "0-50"},
        {9223372036854775807, "-", K::TwoDigits, "92233720368547758-07"},
        // The exchange file.
        {302242, ".", K::TwoDigits, "3022.42"},
        // The list's sum in the general number form.
        {15050, ",", K::General, "150,5"},
        {15000, ",", K::General, "150"},
        {5, ",", K::General, "0,05"},
        {15055, ".", K::General, "150.55"},
        {0, ",", K::General, "0"},
        {102400000000000, ",", K::General, "1024000000000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::string(Money::fromKopecks(c.kopecks).format(c.separator, c.style).view()),
                  c.text);
    // A locale's decimal point need not be ASCII.
    EXPECT_EQ(Money::fromKopecks(15050).toString(QStringLiteral("٫"), K::General),
              QStringLiteral("150٫5"));
}

} // namespace
