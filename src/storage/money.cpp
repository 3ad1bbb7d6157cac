#include "money.h"

#include <limits>

namespace storage {

namespace {

constexpr bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr bool isSeparator(char c) {
    return c == ',' || c == '-' || c == '.';
}

} // namespace

ParsedAmount ParseAmount(std::string_view text) {
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
        r.AmountError = AmountBadFormat;
        return r;
    }
    if (rubles > MaxRubleDigits) {
        r.AmountError = AmountTooManyDigits;
        return r;
    }
    std::int64_t kopecks = value * 100;
    if (hasKopecks)
        kopecks += (text[rubles + 1] - '0') * 10 + (text[rubles + 2] - '0');
    r.Value = Money::fromKopecks(kopecks);
    r.RubleWidth = std::uint8_t(value == 0 ? 1 : rubles);
    r.HasKopecks = hasKopecks;
    return r;
}

std::optional<Money> Money::parseLenient(std::string_view text) {
    constexpr std::int64_t maxRubles = std::numeric_limits<std::int64_t>::max() / 100 - 1;
    std::int64_t rubles = 0;
    std::int64_t kopecks = 0;
    int digits = 0;
    int fraction = -1; // digits after the separator; -1 before it
    for (char c : text) {
        if (!isDigit(c)) {
            if (fraction >= 0)
                return std::nullopt; // a second separator
            fraction = 0;
            continue;
        }
        ++digits;
        const int d = c - '0';
        if (fraction < 0) {
            if (rubles > (maxRubles - d) / 10)
                return std::nullopt;
            rubles = rubles * 10 + d;
        } else if (fraction < 2) {
            kopecks += d * (fraction == 0 ? 10 : 1);
            ++fraction;
        } else if (d != 0) {
            return std::nullopt; // a part of a kopeck
        }
    }
    if (digits == 0)
        return std::nullopt;
    return Money(rubles * 100 + kopecks);
}

MoneyText Money::format(std::string_view separator, Kopecks style, int minRubleDigits) const {
    // The digits are written from the right end of a buffer that holds any int64 of rubles.
    char digits[24];
    char* const end = digits + sizeof digits;
    char* p = end;
    std::int64_t rubles = this->rubles();
    do {
        *--p = char('0' + rubles % 10);
        rubles /= 10;
    } while (rubles > 0);
    while (end - p < minRubleDigits && p > digits)
        *--p = '0';

    MoneyText out{};
    out.assign(std::string_view(p, std::size_t(end - p)));
    const int k = kopeckPart();
    if (style == Kopecks::General && k == 0)
        return out;
    out.append(separator);
    out.append(char('0' + k / 10));
    if (style == Kopecks::TwoDigits || k % 10 != 0)
        out.append(char('0' + k % 10));
    return out;
}

QString Money::toString(const QString& separator, Kopecks style) const {
    const QByteArray s = separator.toUtf8();
    return QString::fromUtf8(
        format(std::string_view(s.constData(), std::size_t(s.size())), style).view());
}

} // namespace storage
