#include "choices.h"

#include "digits.h"

#include <QDate>

namespace storage {

namespace {

// The value of a run of 1 to 4 decimal digits, or -1.
int digitsValue(std::string_view s) {
    if (s.empty() || s.size() > 4)
        return -1;
    int v = 0;
    for (char c : s) {
        if (!isDigit(c))
            return -1;
        v = v * 10 + (c - '0');
    }
    return v;
}

constexpr Day dayOf(int year, int month, int day) {
    return year * 10000 + month * 100 + day;
}

} // namespace

Day orderDay(std::string_view date) {
    const std::size_t first = date.find('.');
    if (first != 1 && first != 2)
        return 0;
    const std::size_t second = first + 3;
    if (date.size() != second + 5 || date[second] != '.')
        return 0;
    const int day = digitsValue(date.substr(0, first));
    const int month = digitsValue(date.substr(first + 1, 2));
    const int year = digitsValue(date.substr(second + 1));
    if (day < 1 || day > 31 || month < 1 || month > 12 || year < 1)
        return 0;
    return dayOf(year, month, day);
}

Day today() {
    const QDate d = QDate::currentDate();
    return dayOf(d.year(), d.month(), d.day());
}

Day rulesDay(std::string_view date) {
    const Day d = orderDay(date);
    return d ? d : today();
}

int standardVatPercent(Day day) {
    if (day < dayOf(2004, 1, 1))
        return 20;
    if (day < dayOf(2019, 1, 1))
        return 18;
    if (day < dayOf(2026, 1, 1))
        return 20;
    return 22;
}

int vatPercent(unsigned choice, Day day) {
    switch (choice) {
    case VatChoiceNone:
        return 0;
    case VatChoiceStandard:
        return standardVatPercent(day);
    case VatChoiceReduced:
        return 10;
    case VatChoiceUsn5:
        return 5;
    case VatChoiceUsn7:
        return 7;
    default:
        return -1;
    }
}

QString vatChoiceText(unsigned choice, Day day) {
    const int percent = vatPercent(choice, day);
    if (percent < 0)
        return {};
    if (percent == 0)
        return QStringLiteral("Без НДС");
    return QString::number(percent) + u'%';
}

std::uint8_t nextVatChoice(std::uint8_t choice, bool usnRates) {
    const unsigned count = usnRates ? VatChoiceCount : unsigned(VatChoiceUsn5);
    return choice + 1u < count ? std::uint8_t(choice + 1) : std::uint8_t(VatChoiceNone);
}

QString priorityText(unsigned choice, Day day) {
    if (choice == 1)
        return QStringLiteral("4");
    return day >= dayOf(2014, 1, 1) ? QStringLiteral("5") : QStringLiteral("6");
}

} // namespace storage
