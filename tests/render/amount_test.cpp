#include "support/support.h"

#include "render/amount.h"

#include <gtest/gtest.h>

using namespace render;
using testing_support::cps;
using testing_support::uni;

namespace {

std::string utf8(std::string_view cp1251) {
    return uni(cp1251).toStdString();
}

struct LineCase {
    const char* name;
    const char* typed;
    const char* line; // UTF-8
    const char* figure;
};

const LineCase lineCases[] = {
    // The worked examples of the form.
    {"Example1", "1234567.05",
     "Один миллион двести тридцать четыре тысячи пятьсот шестьдесят семь рублей 05 копеек",
     "1234567-05"},
    {"Example2", "21000", "Двадцать одна тысяча рублей 00 копеек", "21000-00"},
    {"Example3", "2000000,11", "Два миллиона рублей 11 копеек", "2000000-11"},
    {"Example4", "0-01", "Ноль рублей 01 копейка", "0-01"},
    {"Example5", "112", "Сто двенадцать рублей 00 копеек", "112-00"},
    {"Example6", "3022-42", "Три тысячи двадцать два рубля 42 копейки", "3022-42"},
    // 10 to 14 in every triad and in the kopecks take the "many" form.
    {"Ten", "10010010.10", "Десять миллионов десять тысяч десять рублей 10 копеек", "10010010-10"},
    {"Eleven", "111011011.11",
     "Сто одиннадцать миллионов одиннадцать тысяч одиннадцать рублей 11 копеек", "111011011-11"},
    {"Twelve", "12112012-12",
     "Двенадцать миллионов сто двенадцать тысяч двенадцать рублей 12 копеек", "12112012-12"},
    {"Thirteen", "13013113,13",
     "Тринадцать миллионов тринадцать тысяч сто тринадцать рублей 13 копеек", "13013113-13"},
    {"Fourteen", "14014014.14",
     "Четырнадцать миллионов четырнадцать тысяч четырнадцать рублей 14 копеек", "14014014-14"},
    // 21, 31 ... take the "one" form, 22 "two to four"; thousands are feminine.
    {"TwentyOne", "21021021.21",
     "Двадцать один миллион двадцать одна тысяча двадцать один рубль 21 копейка", "21021021-21"},
    {"ThirtyOne", "31031031.31",
     "Тридцать один миллион тридцать одна тысяча тридцать один рубль 31 копейка", "31031031-31"},
    {"TwentyTwo", "22022022.22",
     "Двадцать два миллиона двадцать две тысячи двадцать два рубля 22 копейки", "22022022-22"},
    {"FeminineOne", "1001001", "Один миллион одна тысяча один рубль 00 копеек", "1001001-00"},
    // Zero triads give no words; no kopecks typed gives 00.
    {"ZeroMiddleTriad", "1000500", "Один миллион пятьсот рублей 00 копеек", "1000500-00"},
    {"ZeroLowTriads", "5000000", "Пять миллионов рублей 00 копеек", "5000000-00"},
    {"NoKopecks", "1500", "Одна тысяча пятьсот рублей 00 копеек", "1500-00"},
    // Leading zeros stay in the figure and do not change the plural form.
    {"LeadingZeros", "007", "Семь рублей 00 копеек", "007-00"},
    {"LeadingZerosEleven", "0011", "Одиннадцать рублей 00 копеек", "0011-00"},
    {"Zeros", "000", "Ноль рублей 00 копеек", "0-00"},
    {"ZerosWithKopecks", "00.50", "Ноль рублей 50 копеек", "0-50"},
    {"Largest", "999999999.99",
     "Девятьсот девяносто девять миллионов девятьсот девяносто девять тысяч девятьсот "
     "девяносто девять рублей 99 копеек",
     "999999999-99"},
    // The remaining words of the tables.
    {"Words1", "987654321.04",
     "Девятьсот восемьдесят семь миллионов шестьсот пятьдесят четыре тысячи триста двадцать "
     "один рубль 04 копейки",
     "987654321-04"},
    {"Words2", "123456789",
     "Сто двадцать три миллиона четыреста пятьдесят шесть тысяч семьсот восемьдесят девять "
     "рублей 00 копеек",
     "123456789-00"},
    {"Words3", "215016017",
     "Двести пятнадцать миллионов шестнадцать тысяч семнадцать рублей 00 копеек", "215016017-00"},
    {"Words4", "840918019",
     "Восемьсот сорок миллионов девятьсот восемнадцать тысяч девятнадцать рублей 00 копеек",
     "840918019-00"},
    {"Words5", "560070090",
     "Пятьсот шестьдесят миллионов семьдесят тысяч девяносто рублей 00 копеек", "560070090-00"},
    {"Words6", "3004005", "Три миллиона четыре тысячи пять рублей 00 копеек", "3004005-00"},
    {"Words7", "6007008", "Шесть миллионов семь тысяч восемь рублей 00 копеек", "6007008-00"},
};

class AmountLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(AmountLineTest, LineAndFigure) {
    const LineCase& c = GetParam();
    const AmountLine a = assembleAmountLine(c.typed);
    EXPECT_EQ(a.amount.error, AmountValid);
    EXPECT_EQ(utf8(a.line.view()), c.line);
    EXPECT_EQ(std::string(a.figure.view()), c.figure);
    EXPECT_TRUE(a.amount.hasKopecks);
}

INSTANTIATE_TEST_SUITE_P(Amounts, AmountLineTest, testing::ValuesIn(lineCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(assembleAmountLine, MalformedAmountGivesNothing) {
    for (const char* typed : {"12.5", "1 000", "", "1234567890"}) {
        const AmountLine a = assembleAmountLine(typed);
        EXPECT_NE(a.amount.error, AmountValid) << typed;
        EXPECT_EQ(a.line.size(), 0u) << typed;
        EXPECT_EQ(a.figure.size(), 0u) << typed;
    }
    EXPECT_EQ(assembleAmountLine("1234567890").amount.error, AmountTooManyDigits);
}

TEST(amountInWords, WordsWithoutRubleWord) {
    auto words = [](const char* digits) {
        storage::WorkText t{};
        t = digits;
        amountInWords(t);
        return utf8(t.view());
    };
    EXPECT_EQ(words("5000000"), "пять миллионов");
    EXPECT_EQ(words("1000001"), "один миллион один");
    EXPECT_EQ(words("021000"), "двадцать одна тысяча");
    // No words for zero, and none rather than wrong ones for what is not 1 to 9 digits.
    EXPECT_EQ(words("0"), "");
    EXPECT_EQ(words("1234567890"), "");
    EXPECT_EQ(words("12a"), "");
    EXPECT_EQ(words(""), "");
}

} // namespace
