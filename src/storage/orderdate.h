// OrderDate: the date of a payment order. The one place that reads date texts: the strict
// reading of a date typed into the editor, and the lenient reading of a date stored in an
// order file (the list, printing, the bank exchange file, statements and --check read it).
// Both read the same text grammar, a day of one or two digits, ".", a two-digit month, ".",
// a four-digit year; the typed reading also wants a year of this century and a day that
// exists in the calendar, while a stored date is taken as it was written, so that a file
// holding 31.02.2026 still opens, lists and prints as it is.
#pragma once

#include "shortstr.h"

#include <QDate>
#include <QString>
#include <cstdint>
#include <optional>
#include <string_view>

namespace storage {

// Why a typed date is refused.
enum class DateError : std::uint8_t {
    None,
    BadFormat,    // not dd.mm.20yy (nor d.mm.20yy), or the day or month out of range
    NotInCalendar // 31.02, 30.02, 29.02 of a common year ...
};

struct TypedDate;

class OrderDate {
public:
    constexpr OrderDate() = default;
    constexpr OrderDate(int year, int month, int day) : year_(year), month_(month), day_(day) {}
    static OrderDate fromQDate(const QDate& d) { return {d.year(), d.month(), d.day()}; }
    static OrderDate today() { return fromQDate(QDate::currentDate()); }

    // The strict reading of a date typed into the editor: "dd.mm.yyyy", or "d.mm.yyyy" (the
    // editor's own form of today's date); the day 1 to 31, the month 1 to 12, the year 2000
    // to 2099, and the day must exist in its month.
    static TypedDate parseTyped(std::string_view text);

    // The lenient reading of a stored date: the same grammar, any four-digit year from 1, and
    // the day 1 to 31 whatever the month. Empty for any other text.
    static std::optional<OrderDate> parseStored(std::string_view text);

    constexpr int year() const { return year_; }
    constexpr int month() const { return month_; }
    constexpr int day() const { return day_; }
    // Whether the day exists in the calendar (a stored 31.02 does not).
    bool isCalendarDate() const { return QDate::isValid(year_, month_, day_); }
    // The date as a QDate; a null date when it is not in the calendar.
    QDate toQDate() const { return isCalendarDate() ? QDate(year_, month_, day_) : QDate(); }
    // yyyymmdd: such numbers compare as the days do.
    constexpr int dayNumber() const { return year_ * 10000 + month_ * 100 + day_; }

    // "05.03.2009": the form an order stores.
    ShortStr<10> text() const;
    // "5.03.2009": the form in which the editor proposes today's date (its check adds the
    // leading zero of the day).
    QString editorText() const;

    constexpr auto operator<=>(const OrderDate&) const = default;

private:
    int year_ = 0, month_ = 0, day_ = 0;
};

struct TypedDate {
    OrderDate date; // valid only without an error
    DateError error = DateError::None;
};

// The message for a typed date refused with error: "Неверный формат даты", or "Такой даты нет
// в календаре: 31.02.2026".
QString typedDateMessage(DateError error, const QString& typed);

} // namespace storage
