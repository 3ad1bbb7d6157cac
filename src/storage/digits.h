// The decimal digits 0..9 of the record texts, whose code page 1251 digits are those of ASCII:
// the one test of a digit that the program's grammars (numbers, dates, amounts, file names,
// check digits) share.
#pragma once

#include <QChar>
#include <string_view>

namespace storage {

constexpr bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
inline bool isDigit(QChar c) {
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// A text made only of the digits 0..9, and not empty (a file name part, for one).
constexpr bool isDigits(std::string_view s) {
    if (s.empty())
        return false;
    for (char c : s)
        if (!isDigit(c))
            return false;
    return true;
}

} // namespace storage
