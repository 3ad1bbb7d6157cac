#include "money.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace storage {

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

MoneyText Money::format(std::string_view separator, Kopecks style) const {
    MoneyText out;
    char* const begin = out.chars;
    char* end = std::to_chars(begin, begin + 20, std::uint64_t(rubles())).ptr;
    const int k = kopeckPart();
    if (style == Kopecks::TwoDigits || k != 0) {
        const std::size_t room = MoneyText::capacity - std::size_t(end - begin) - 2;
        end = std::copy_n(separator.data(), std::min(separator.size(), room), end);
        *end++ = char('0' + k / 10);
        if (style == Kopecks::TwoDigits || k % 10 != 0)
            *end++ = char('0' + k % 10);
    }
    out.len = std::uint8_t(end - begin);
    return out;
}

QString Money::toString(const QString& separator, Kopecks style) const {
    const QByteArray s = separator.toUtf8();
    return QString::fromUtf8(
        format(std::string_view(s.constData(), std::size_t(s.size())), style).view());
}

} // namespace storage
