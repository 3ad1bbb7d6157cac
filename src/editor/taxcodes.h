// The code tables of budget payments (КБК, ОКАТО, payment basis, payment type, tax period
// kinds), the look-up of a code in its table, the tax period builder and the rows the shortcut
// menus of the budget dialog choose. The editor uses the same tables to find the list position
// of a code loaded from a saved order.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <span>

namespace editor {

// One row of a code table: the code as it is stored in the order and its description.
struct CodeRow {
    const char16_t* code;
    const char16_t* text;
};

// One kind of tax period: its name in the description list, its two-letter code and the number
// of periods of that kind in a year.
struct PeriodKind {
    const char16_t* name;
    const char16_t* code;
    int periods;
};

extern const std::array<CodeRow, 23> KbkTable;
extern const std::array<CodeRow, 10> BasisTable;
extern const std::array<CodeRow, 10> TaxTypeTable;
extern const std::array<PeriodKind, 4> PeriodKindTable;
extern const std::array<CodeRow, 94> OkatoTable;

// Position of "год" in PeriodKindTable: its single period is the previous year as a whole.
inline constexpr int PeriodKindYear = 3;

using CodeTable = std::span<const CodeRow>;

// The codes and the descriptions of a table, in table order.
QStringList codesOf(CodeTable table);
QStringList textsOf(CodeTable table);
QStringList periodKindNames();

// Position of the first row whose code equals text exactly (length and case included), or -1.
int findCode(CodeTable table, const QString& text);

// The tax period texts of a kind for a year, first period first: for 2007 "МС.01.2007" to
// "МС.12.2007", "KB.01.2007" to "KB.04.2007", "ПЛ.01.2007" and "ПЛ.02.2007", and for "год" the
// single text "ГД.00.2006". Each is ten characters long for a four-digit year. An unknown kind
// gives no texts.
QStringList taxPeriods(int kind, int year);

// An entry of a shortcut menu: its caption and the row of the field's table it chooses.
struct Shortcut {
    const char16_t* caption;
    int row;
};

// The most used territories (rows of OkatoTable) and the two simplified-tax КБК (rows of
// KbkTable).
extern const std::array<Shortcut, 5> OkatoShortcuts;
extern const std::array<Shortcut, 2> KbkShortcuts;

} // namespace editor
