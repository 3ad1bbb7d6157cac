#include "choices.h"

#include "orderdate.h"

#include <QDate>

namespace storage {

namespace {

constexpr Day dayOf(int year, int month, int day) {
    return year * 10000 + month * 100 + day;
}

} // namespace

Day today() {
    return OrderDate::today().dayNumber();
}

Day rulesDay(std::string_view date) {
    const std::optional<OrderDate> d = OrderDate::parseStored(date);
    return d ? d->dayNumber() : today();
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
