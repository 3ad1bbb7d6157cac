// The amount of a payment order in figures and in Russian words: the rubles in words
// (amountInWords), and the amount line and figure that the form prints from the amount text the
// user typed, read by the money type's grammar (Money::parse). All texts are code page 1251 bytes.
// The word tables are converted once, at first use; after that nothing here allocates: an amount
// line is built in fixed buffers.
#pragma once

#include "storage/money.h"
#include "storage/shortstr.h"
#include "storage/words.h"

#include <cstdint>
#include <string_view>

namespace render {

// The amount's grammar lives with the money type; the form reads it under these names.
using storage::AmountErrorCode;
using storage::Money;
using storage::ParsedAmount;
using enum storage::AmountErrorCode;

// Replaces text, which holds at most 9 decimal digits (the ruble digits of an amount),
// with their value in Russian words: lower case, without the ruble word, masculine units and
// millions, feminine thousands, single spaces. The value 0 gives an empty text (the amount
// line writes "ноль" itself); so does a text that is not 1 to 9 digits.
void amountInWords(storage::WorkText& text);

// The form a Russian noun takes after a count, from its last two digits: One for 1, 21, 101
// ("1 платежка"), TwoToFour for 2 to 4, 22 to 24... ("3 платежки"), Many for the rest and
// for every number whose tens digit is 1 ("11 платежек", "25 платежек").
enum class PluralForm : std::uint8_t { One = 0, TwoToFour = 1, Many = 2 };
PluralForm pluralForm(unsigned count);

// The amount as the form prints it.
struct AmountLine {
    // Sets only the lengths: the characters behind a text's length are never read, and
    // clearing them would cost more than building the line.
    AmountLine() {
        line.len = 0;
        figure.len = 0;
    }
    // The parsed amount; after a successful parse HasKopecks is always set (kopecks "00"
    // when none were typed), which is what vatLine needs.
    ParsedAmount amount;
    // The amount in words before fitting into its box, for example "Две тысячи рублей 05
    // копеек". Empty on an error.
    storage::WorkText line;
    // Ruble digits, "-", kopeck digits, for example "007-00". Empty on an error.
    storage::ShortStr<12> figure;
};

// Builds the amount line and figure from the amount text the user typed. On an error the
// line and figure are empty and Amount.error says why.
AmountLine assembleAmountLine(std::string_view amountText);

} // namespace render
