#include "support/support.h"

#include "render/fitting.h"
#include "render/formlayout.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>

using namespace render;
using testing_support::uni;

namespace {

// Every character is 10 pixels wide, a space 4; remembers the font it was given.
class FixedMeasurer : public TextMeasurer {
public:
    void setFont(std::string_view fontFamily, int fontCellHeight, FontStyle fontStyle) override {
        family = fontFamily;
        cellHeight = fontCellHeight;
        style = fontStyle;
    }
    int textWidth(std::string_view text) override {
        ++measured;
        int w = 0;
        for (char c : text)
            w += c == ' ' ? 4 : 10;
        return w;
    }
    int textHeight() override { return cellHeight; }
    std::string family;
    int cellHeight = 0;
    FontStyle style = FontStyle::Bold;
    int measured = 0;
};

std::vector<std::string> fit(std::string_view text, int width) {
    FixedMeasurer m;
    FitRequest request;
    request.width = width;
    request.pixelsPerMmY = 10;
    const FitResult r = splitIntoLines(text, request, m);
    std::vector<std::string> lines;
    for (int i = 0; i < r.lineCount; ++i)
        lines.emplace_back(r.lines[std::size_t(i)].view());
    for (int i = r.lineCount; i < FitResult::MaxLines; ++i)
        EXPECT_TRUE(r.lines[std::size_t(i)].empty()) << "line " << i;
    return lines;
}

using Lines = std::vector<std::string>;

TEST(splitIntoLines, CandidateExactlyAsWideAsTheBoxDoesNotFit) {
    // "aa bb" is 44 pixels wide.
    EXPECT_EQ(fit("aa bb cc", 44), (Lines{"aa", "bb", "cc"}));
    EXPECT_EQ(fit("aa bb cc", 45), (Lines{"aa bb", "cc"}));
    EXPECT_EQ(fit("aa bb cc", 69), (Lines{"aa bb cc"}));
}

TEST(splitIntoLines, SeparatorRunsCollapseToOneSpace) {
    EXPECT_EQ(fit("  aa \t\r\n bb\n\ncc  ", 1000), (Lines{"aa bb cc"}));
    EXPECT_EQ(fit("aa\t\tbb\r\ncc", 45), (Lines{"aa bb", "cc"}));
}

TEST(splitIntoLines, TooWideWordEndsTheFitting) {
    EXPECT_EQ(fit(" \t\r\n ", 100), Lines{});
    // A single word as wide as the box, or wider, gives no lines.
    EXPECT_EQ(fit("abcdefghij", 100), Lines{});
    EXPECT_EQ(fit("abcdefghij", 101), (Lines{"abcdefghij"}));
    EXPECT_EQ(fit("abcdefghij a b", 50), Lines{});
    // In the middle it ends the text at the line before it.
    EXPECT_EQ(fit("aa bb cccccccc dd", 45), (Lines{"aa bb"}));
    EXPECT_EQ(fit("aa bb dd cccccccc dd", 45), (Lines{"aa bb", "dd"}));
}

TEST(splitIntoLines, AtMostFourLines) {
    EXPECT_EQ(fit("a b c d e f", 15), (Lines{"a", "b", "c", "d"}));
}

TEST(splitIntoLines, WordRangesAndRequestedFont) {
    FixedMeasurer m;
    FitRequest request;
    request.width = 45;
    request.pixelsPerMmY = 1200 / 25.4L;
    const FitResult r = splitIntoLines(" aa bb  cc dd ee", request, m);
    ASSERT_EQ(r.lineCount, 3);
    EXPECT_EQ(r.ranges[0].firstWord, 0);
    EXPECT_EQ(r.ranges[0].wordCount, 2);
    EXPECT_EQ(r.ranges[1].firstWord, 2);
    EXPECT_EQ(r.ranges[1].wordCount, 2);
    EXPECT_EQ(r.ranges[2].firstWord, 4);
    EXPECT_EQ(r.ranges[2].wordCount, 1);
    EXPECT_EQ(r.measured, 20); // "ee", the last text measured
    // Arial, 4.0 mm at 1200 dots per inch, regular.
    EXPECT_EQ(m.family, "Arial");
    EXPECT_EQ(m.cellHeight, 189);
    EXPECT_EQ(m.style, FontStyle::Regular);
}

// Regression: words were cut to 32 characters and only the first 64 words were fitted.
TEST(splitIntoLines, LongWordsAndManyWordsAreKept) {
    const std::string account(41, '4');
    EXPECT_EQ(fit("to " + account + " ok", 420), (Lines{"to", account, "ok"}));

    std::string many; // 100 one-letter words, 30 to a line
    for (int i = 0; i < 100; ++i)
        many += i ? " x" : "x";
    const Lines lines = fit(many, 30 * 10 + 29 * 4 + 1);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[3].size(), 10u * 2 - 1);
}

TEST(splitIntoLines, OnlyTheFirst255CharactersCount) {
    const std::string text = std::string(250, 'a') + " bbbbbbbbbb";
    EXPECT_EQ(fit(text, 100000), (Lines{std::string(250, 'a') + " bbbb"}));
}

TEST(fontCellHeight, RoundsHalfToEven) {
    EXPECT_EQ(fontCellHeight(1200 / 25.4L, 4), 189); // 188.98
    EXPECT_EQ(fontCellHeight(2.625L, 4), 10);        // 10.5
    EXPECT_EQ(fontCellHeight(2.875L, 4), 12);        // 11.5
    EXPECT_EQ(fontCellHeight(10, 6), 25);            // 2.5 mm
    EXPECT_EQ(fontCellHeight(10, 99), 40);           // clamped to index 7
}

struct VatCase {
    const char* name;
    const char* typed;
    int rate;
    bool budget;
    const char* line; // UTF-8
};

const VatCase vatCases[] = {
    {"Rate18", "1000.00", Vat18, false, "В т.ч. НДС(18%): 152-54"},
    {"Rate18Whole", "118.00", Vat18, false, "В т.ч. НДС(18%): 18-00"},
    {"Rate10", "110.00", Vat10, false, "В т.ч. НДС(10%): 10-00"},
    {"Rate22", "1000.00", Vat22, false, "В т.ч. НДС(22%): 180-33"},
    {"Rate20", "1000.00", Vat20, false, "В т.ч. НДС(20%): 166-67"},
    {"Rate5", "105.00", Vat5, false, "В т.ч. НДС(5%): 5-00"},
    {"Rate7", "1000.00", Vat7, false, "В т.ч. НДС(7%): 65-42"},
    {"OneKopeck", "0.01", Vat18, false, "В т.ч. НДС(18%): 0-00"},
    {"RoundsDown18", "0.03", Vat18, false, "В т.ч. НДС(18%): 0-00"}, // 0.458
    {"RoundsUp18", "0.04", Vat18, false, "В т.ч. НДС(18%): 0-01"},   // 0.610
    {"LeadingZeros", "007.08", Vat10, false, "В т.ч. НДС(10%): 0-64"},
    {"Largest", "999999999.99", Vat18, false, "В т.ч. НДС(18%): 152542372-88"},
    {"BudgetPayment", "1000.00", Vat18, true, ""},
    {"BudgetPaymentNoTax", "1000.00", VatNone, true, ""},
    {"NoTax", "1000.00", VatNone, false, "Без НДС"},
    {"NoTaxWithoutAmount", "", VatNone, false, "Без НДС"},
    {"NoKopecks", "1000", Vat18, false, ""},
    {"RejectedAmount", "", Vat18, false, ""},
    {"UnknownRate", "1000.00", 3, false, ""},
};

class VatLineTest : public testing::TestWithParam<VatCase> {};

TEST_P(VatLineTest, Line) {
    const VatCase& c = GetParam();
    EXPECT_EQ(uni(vatLine(Money::parse(c.typed), c.rate, c.budget)).toStdString(), c.line);
}

INSTANTIATE_TEST_SUITE_P(Vat, VatLineTest, testing::ValuesIn(vatCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(vatLine, FromAnAmountTypedWithoutKopecks) {
    const AmountLine line = assembleAmountLine("1000");
    EXPECT_EQ(uni(vatLine(line.amount, Vat18, false)).toStdString(), "В т.ч. НДС(18%): 152-54");
    EXPECT_EQ(vatLine(assembleAmountLine("12.5").amount, Vat18, false).size(), 0u);
}

// The integer rounding must equal rounding r/(r+100)·A in extended precision, half to even,
// for every amount; checked on the extremes and on many random amounts.
TEST(vatLine, EqualsExtendedPrecisionRounding) {
    std::mt19937_64 random(42);
    std::vector<long long> amounts = {0, 1, 2, 99, 100, 11800, 99999999999LL, 99999999998LL};
    for (int i = 0; i < 200000; ++i)
        amounts.push_back(static_cast<long long>(random() % 100000000000ULL));
    for (int rate : {Vat5, Vat7, Vat10, Vat18, Vat20, Vat22}) {
        const long double r = rate;
        for (long long kopecks : amounts) {
            const std::string typed = std::to_string(kopecks / 100) +
                                      (kopecks % 100 < 10 ? ".0" : ".") +
                                      std::to_string(kopecks % 100);
            const ParsedAmount a = Money::parse(typed);
            const long long tax = std::llrint(r / (r + 100) * (long double)kopecks);
            char expected[32];
            std::snprintf(expected, sizeof expected, "%lld-%02lld", tax / 100, tax % 100);
            const std::string line(vatLine(a, rate, false).view());
            ASSERT_EQ(line.substr(line.find(':') + 2), expected) << kopecks << " at " << r;
        }
    }
}

} // namespace

// A device that reports no size in millimetres gives infinite or NaN pixels per millimetre;
// converting those to int was undefined behaviour.
TEST(roundHalfEven, DeviceWithoutSizeGivesNoOverflowingConversion) {
    const long double inf = std::numeric_limits<long double>::infinity();
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    EXPECT_EQ(roundHalfEven(nan), 0);
    EXPECT_EQ(roundHalfEven(inf), MaxPixels);
    EXPECT_EQ(roundHalfEven(-1e30L), -MaxPixels);
    EXPECT_EQ(roundHalfEven(2.5L), 2);
    EXPECT_EQ(fontCellHeight(nan, 4), 1);
    EXPECT_EQ(fontCellHeight(inf, 4), MaxPixels);

    const DeviceMetrics noSize = DeviceMetrics::fromSize(800, 600, 0, 0, true);
    FixedMeasurer m;
    OrderInput order;
    order.amountText = "1500-00";
    const FormLayout layout = layOut(order, noSize, m);
    EXPECT_EQ(layout.geometry.pageWidth, MaxPixels);
}
