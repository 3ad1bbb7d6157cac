// The texts of the four choice bytes of a payment order (value added tax, kind of payment,
// priority, payer status), as UTF-8, and the rules of the order's date that two of them
// follow: the standard rate of value added tax and the lowest payment priority.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include <QString>

namespace storage {

inline constexpr std::array<const char*, 4> PayKindChoices{"Электронно", "Почтой", "Телеграфом",
                                                           "Срочно"};
inline constexpr std::array<const char*, 3> StatusChoices{"Нет", "01", "02"};

// The text of choice value v, or an empty text for a value outside the table.
template <std::size_t N>
const char* choiceText(const std::array<const char*, N>& table, unsigned v) {
    return v < N ? table[v] : "";
}

// A calendar day as the number yyyymmdd: such numbers compare as the days do.
using Day = int;

// Today's date.
Day today();
// The day whose rules an order follows: its own date read as a stored date (OrderDate), or
// today's when it has none.
Day rulesDay(std::string_view date);

// The stored VAT choice. 1 is the standard rate in force on the order's date; 3 and 4 are the
// rates of the simplified tax system, offered only with the setting UsnVatRates.
enum VatChoice : std::uint8_t {
    VatChoiceNone = 0,
    VatChoiceStandard = 1,
    VatChoiceReduced = 2,
    VatChoiceUsn5 = 3,
    VatChoiceUsn7 = 4
};
inline constexpr unsigned VatChoiceCount = 5;

// The standard rate on day: 20 % up to 2003, 18 % from 2004 to 2018, 20 % from 2019 to 2025,
// 22 % from 2026.
int standardVatPercent(Day day);
// The rate of choice on day in percent: 0 for VatChoiceNone, -1 for a value outside the choices.
int vatPercent(unsigned choice, Day day);
// "Без НДС", "22%", "10%", "5%", "7%"; empty for a value outside the choices.
QString vatChoiceText(unsigned choice, Day day);
// The choice that a click on the "НДС" group gives: 0, 1, 2 and back to 0, or with usnRates
// through 3 and 4. A stored 3 or 4 while the setting is off goes on to 0; so does any value
// outside the choices.
std::uint8_t nextVatChoice(std::uint8_t choice, bool usnRates);

// The stored priority choice: 0 the lowest priority, 1 "4".
inline constexpr unsigned PriorityChoiceCount = 2;
// "4" for choice 1; for any other value the lowest priority on day: "5" from 01.01.2014 (the
// order of payments has five groups since), "6" before.
QString priorityText(unsigned choice, Day day);

} // namespace storage
