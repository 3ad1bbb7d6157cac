#include "orderdate.h"

#include "digits.h"

namespace storage {

namespace {

// The value of a run of digits, or -1 when it is empty or holds anything else.
int valueOf(std::string_view s) {
    if (!isDigits(s))
        return -1;
    int v = 0;
    for (char c : s)
        v = v * 10 + (c - '0');
    return v;
}

} // namespace

std::optional<OrderDate> OrderDate::parseStored(std::string_view text) {
    const std::size_t first = text.find('.');
    if (first != 1 && first != 2)
        return std::nullopt;
    const std::size_t second = first + 3;
    if (text.size() != second + 5 || text[second] != '.')
        return std::nullopt;
    const int day = valueOf(text.substr(0, first));
    const int month = valueOf(text.substr(first + 1, 2));
    const int year = valueOf(text.substr(second + 1));
    if (day < 1 || day > 31 || month < 1 || month > 12 || year < 1)
        return std::nullopt;
    return OrderDate(year, month, day);
}

TypedDate OrderDate::parseTyped(std::string_view text) {
    const std::optional<OrderDate> d = parseStored(text);
    if (!d || d->year() < 2000 || d->year() > 2099)
        return {{}, DateError::BadFormat};
    if (!d->isCalendarDate())
        return {{}, DateError::NotInCalendar};
    return {*d, DateError::None};
}

ShortStr<10> OrderDate::text() const {
    const QByteArray t = QStringLiteral("%1.%2.%3")
                             .arg(day_, 2, 10, QLatin1Char('0'))
                             .arg(month_, 2, 10, QLatin1Char('0'))
                             .arg(year_, 4, 10, QLatin1Char('0'))
                             .toLatin1();
    ShortStr<10> out;
    out.clear();
    out.assign(t);
    return out;
}

QString OrderDate::editorText() const {
    return QStringLiteral("%1.%2.%3")
        .arg(day_)
        .arg(month_, 2, 10, QLatin1Char('0'))
        .arg(year_, 4, 10, QLatin1Char('0'));
}

QString typedDateMessage(DateError error, const QString& typed) {
    switch (error) {
    case DateError::None:
        break;
    case DateError::BadFormat:
        return QStringLiteral("Неверный формат даты");
    case DateError::NotInCalendar:
        return QStringLiteral("Такой даты нет в календаре: %1").arg(typed);
    }
    return {};
}

} // namespace storage
