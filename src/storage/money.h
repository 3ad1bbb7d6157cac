// Money: an amount in whole kopecks, never a floating-point number. The one place that reads
// amount texts (the strict grammar of an amount typed into an order, and the lenient reading
// the list of saved orders sums) and writes amounts as text (the tax line, the bank exchange
// file and the list's sum).
#pragma once

#include "digits.h"
#include "shortstr.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <string_view>

namespace storage {

// The text of an amount: ASCII digits and the separator asked for.
using MoneyText = ShortStr<31>;

struct ParsedAmount;

class Money {
public:
    constexpr Money() = default;
    static constexpr Money fromKopecks(std::int64_t kopecks) { return Money(kopecks); }

    constexpr std::int64_t kopecks() const { return kopecks_; }
    constexpr std::int64_t rubles() const { return kopecks_ / 100; }
    constexpr int kopeckPart() const { return int(kopecks_ % 100); }

    // The largest amount that the lenient reading gives for a text of n characters (n digits
    // of rubles): what a sum of many stored amounts can be bounded by.
    static constexpr std::int64_t maxLenientKopecks(int n) {
        std::int64_t rubles = 1;
        for (int i = 0; i < n; ++i)
            rubles *= 10;
        return (rubles - 1) * 100;
    }

    // The amount as the list of saved orders reads a stored amount text: digits with at most
    // one other character between or around them, which stands for the decimal separator
    // ("1500-50", "1500,5", "100", ",5" and "12a" are amounts). Empty for anything else, for
    // digits beyond the kopecks that are not 0, and for rubles that an int64 of kopecks
    // cannot hold.
    static std::optional<Money> parseLenient(std::string_view text);

    // The strict grammar of an amount typed into an order (see ParsedAmount below).
    static ParsedAmount parse(std::string_view text);

    // How format writes the kopecks.
    enum class Kopecks : std::uint8_t {
        TwoDigits, // always the separator and two digits: "1500-00", "3022.42"
        General,   // the general number form: none for whole rubles, no trailing zero
                   // ("150", "150,5", "0,05")
    };
    // The rubles in decimal, then the separator and the kopecks as style says. For amounts
    // of 0 or more.
    MoneyText format(std::string_view separator, Kopecks style = Kopecks::TwoDigits) const;
    // The same as a QString, with a separator such as the locale's decimal point.
    QString toString(const QString& separator, Kopecks style) const;

    constexpr Money operator+(Money o) const { return Money(kopecks_ + o.kopecks_); }
    constexpr Money& operator+=(Money o) { return *this = *this + o; }
    constexpr auto operator<=>(const Money&) const = default;

private:
    constexpr explicit Money(std::int64_t kopecks) : kopecks_(kopecks) {}
    std::int64_t kopecks_ = 0;
};

enum AmountErrorCode : std::uint8_t {
    AmountValid = 0,
    AmountBadFormat = 1,     // not rubles, optionally followed by a separator and 2 kopeck digits
    AmountTooManyDigits = 2, // 10 or more ruble digits
};

// An amount typed into an order, read by Money::parse.
// Sixteen bytes, so that it is returned in registers.
struct ParsedAmount {
    Money value; // 0 on an error
    AmountErrorCode error = AmountValid;
    // The number of ruble digits typed, leading zeros of a non-zero value included (a zero
    // value counts 1): the figure of the form shows them. 0 on an error.
    std::uint8_t rubleWidth = 0;
    // Two kopeck digits were typed (or, in an amount line, filled in as "00").
    bool hasKopecks = false;
};
static_assert(sizeof(ParsedAmount) == 16);

inline constexpr int MaxRubleDigits = 9;

// The strict grammar of an amount typed into an order: one or more ruble digits, optionally
// followed by one separator ("," "-" or ".") and exactly two kopeck digits; nothing else, not
// even a space. More than 9 ruble digits is AmountTooManyDigits; any other fault
// AmountBadFormat. The format is checked before the number of digits, so "1234567890.5" is a
// bad format.
// Inline: every amount line parses its amount, and a call would cost the copy of the result
// through memory.
inline ParsedAmount Money::parse(std::string_view text) {
    constexpr auto isSeparator = [](char c) { return c == ',' || c == '-' || c == '.'; };
    ParsedAmount r;
    const std::size_t n = text.size();
    std::size_t rubles = 0;
    std::int64_t value = 0;
    while (rubles < n && isDigit(text[rubles])) {
        // 10 digits or more are refused below; stop the value growing before it wraps.
        if (rubles <= MaxRubleDigits)
            value = value * 10 + (text[rubles] - '0');
        ++rubles;
    }
    // Whatever else follows the ruble digits (a second separator, another character, fewer
    // or more kopeck digits) is a bad format.
    const bool hasKopecks = rubles < n;
    const bool wellFormed =
        rubles > 0 && (!hasKopecks || (n == rubles + 3 && isSeparator(text[rubles]) &&
                                       isDigit(text[rubles + 1]) && isDigit(text[rubles + 2])));
    if (!wellFormed) {
        r.error = AmountBadFormat;
        return r;
    }
    if (rubles > MaxRubleDigits) {
        r.error = AmountTooManyDigits;
        return r;
    }
    std::int64_t kopecks = value * 100;
    if (hasKopecks)
        kopecks += (text[rubles + 1] - '0') * 10 + (text[rubles + 2] - '0');
    r.value = fromKopecks(kopecks);
    r.rubleWidth = std::uint8_t(value == 0 ? 1 : rubles);
    r.hasKopecks = hasKopecks;
    return r;
}

} // namespace storage
