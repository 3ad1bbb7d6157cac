// The texts of the four choice bytes of a payment order (value added tax, kind of payment,
// priority, payer status), in index order, as UTF-8.
#pragma once

#include <array>

namespace storage {

inline constexpr std::array<const char*, 3> VatChoices{"Без НДС", "18%", "10%"};
inline constexpr std::array<const char*, 4> PayKindChoices{"Электронно", "Почтой", "Телеграфом",
                                                           "Срочно"};
inline constexpr std::array<const char*, 2> PriorityChoices{"6", "4"};
inline constexpr std::array<const char*, 3> StatusChoices{"Нет", "01", "02"};

// The text of choice value v, or an empty text for a value outside the table.
template <std::size_t N>
const char* choiceText(const std::array<const char*, N>& table, unsigned v) {
    return v < N ? table[v] : "";
}

} // namespace storage
