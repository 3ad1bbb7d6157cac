// Fitting texts into the boxes of the payment order form, and the line that states the value
// added tax contained in the amount. Texts are code page 1251 bytes; widths are pixels of the
// target device, measured through a TextMeasurer.
#pragma once

#include "amount.h"
#include "measure.h"

#include "storage/words.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace render {

// Font heights of the form in millimetres (cell heights), by size index 0 to 7.
inline constexpr std::array<double, 8> FontSizeTable{3.5, 3.0, 4.0, 3.0, 4.0, 3.5, 2.5, 4.0};

// Rounds to the nearest integer, an exact half to the even neighbour (computed in extended
// precision in the default rounding mode). Device pixels never come near the limits: a
// value beyond ±MaxPixels (a device that reports no size gives infinities) is held at it,
// and NaN gives 0, so that no conversion to int overflows.
inline constexpr int MaxPixels = 1 << 24;
int roundHalfEven(long double x);

// The cell height in device pixels of font size sizeIndex (clamped to 0..7) on a device
// with pixelsPerMm vertical pixels per millimetre: roundHalfEven(pixelsPerMm × height),
// at least 1.
int fontCellHeight(long double pixelsPerMm, int sizeIndex);

// What splitIntoLines fits into.
struct FitRequest {
    int width = 0;                       // available width, device pixels
    std::string_view fontName = "Arial"; // font family
    int fontSize = 4;                    // index into FontSizeTable
    long double pixelsPerMmY = 0;        // vertical pixels per millimetre of the device
};

// The words of one fitted line: the index of its first word among the words of the text
// (as storage::splitWords finds them, counting from 0) and how many words it has.
struct FitRange {
    int firstWord = 0;
    int wordCount = 0;
};

struct FitResult {
    static constexpr int MaxLines = 4;
    // Lines 0 .. FitLineCount-1 hold the fitted lines, words joined by single spaces; the
    // others are empty.
    std::array<storage::WorkText, MaxLines> lines{};
    int lineCount = 0;
    std::array<FitRange, MaxLines> ranges{};
    // The width of the last text measured.
    int measured = 0;
};

// Breaks text (at most its first 255 characters are used) into at most four lines, each
// narrower than request.FitWidth (strictly) in the requested font, regular style, at the
// cell height fontCellHeight(request.pixelsPerMmY, request.fontSize). Words are
// separated by any characters of code 32 or less, and are never cut. Lines are filled
// greedily in order; a word that alone is as wide as the box or wider ends the fitting:
// the lines before it remain, it and every word after it are dropped, so a text whose first
// word is too wide gives no lines. Words that would need a fifth line are dropped too.
FitResult splitIntoLines(std::string_view text, const FitRequest& request, TextMeasurer& measurer);

// Rates of value added tax that the tax line knows, in percent; VatNone is no tax.
enum VatRate : int {
    VatNone = 0,
    Vat5 = 5,
    Vat7 = 7,
    Vat10 = 10,
    Vat18 = 18,
    Vat20 = 20,
    Vat22 = 22
};

// The caption of a rate: "Без НДС" for VatNone, "18%" and the like for a known rate, in
// code page 1251; empty for any other value.
std::string_view vatCaption(int percent);

// The tax line under the purpose of payment: empty for a budget payment; "Без НДС" for
// VatNone; for a known rate r "В т.ч. НДС(18%): 152-54", the tax contained in the amount
// (r/(r+100) of it, rounded to the kopeck, an exact half to even). Empty when the amount
// has no ruble or kopeck digits (a rejected amount) or for a rate the line does not know.
storage::WorkText vatLine(const ParsedAmount& amount, int percent, bool budgetPayment);

} // namespace render
