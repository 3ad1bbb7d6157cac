// What the list of saved orders does apart from drawing: the texts of its cells, the filter
// of the list by payer and payee, the selection text and the exact sum of the selected
// amounts, the orders sent to the bank, and taking a deleted order out of the list. The list window
// and its two dialogs call these; tests call them directly.
#pragma once

#include "editor/questiondialog.h"
#include "storage/money.h"
#include "storage/store.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

namespace archive {

// What the grid of the list window shows.
enum class ListMode : std::uint8_t {
    Nothing = 0, // an empty list: four blank rows
    All = 1,     // PlatList
    Filtered = 2 // FilterList
};

using PlatItems = std::array<storage::OrderListItem, storage::MaxPlats>;

// The six column titles: "№", "Дата.", "Плательщик", "Кому", "Сумма", "Состояние".
const QStringList& orderColumnTitles();
inline constexpr int PlatColumns = 6;

// The text of one cell of a listed order (column 0..5).
QString orderCellText(const storage::OrderListItem& item, int column);

// The filter chosen in the filter dialog.
enum FilterModeValue : std::uint8_t {
    FilterNone = 0,
    FilterPayer = 1, // by the payer chosen in PayerInnTable
    FilterPayee = 2, // by the payee chosen in PayeeInnTable
    FilterBoth = 3
};
struct FilterChoice {
    std::uint8_t mode = FilterNone;
    int payer = -1; // position in PayerInnTable
    int payee = -1; // position in PayeeInnTable
};

// Copies the entries of PlatList that match the filter, in list order, into out and returns
// their number. INNs are compared exactly; a filter side without a valid table position
// matches nothing, and FilterNone copies nothing.
int filterOrders(const storage::Store& s, const FilterChoice& choice, PlatItems& out);

// The state of the filter dialog's two "Все" boxes and lists.
struct FilterBoxes {
    bool payerAll = true; // "Все" ticked: any payer
    bool payeeAll = true;
    int payer = -1; // position chosen in the payer list, -1 for none
    int payee = -1;
};

// The step that follows every change of a "Все" box: a side with fewer than two entries in
// its table is ticked again, a cleared side without a chosen entry gets the first one, and
// the filter mode follows from the two boxes.
std::uint8_t filterBoxStep(const storage::Store& s, FilterBoxes& boxes);

// The status text of a selection of grid rows top..bottom (the title row is row 0):
// "Selection - 3 (2..4)".
QString selectionText(int top, int bottom);

// The sum of the amounts of the listed entries first..last (0-based; rows beyond count are
// blank rows and add nothing), each read as Money::parseLenient reads it.
struct SelectionSum {
    bool any = false; // the selection holds at least one listed order
    storage::Money total;
    QString error; // an amount is not a number: why; the sum is then not shown
};
SelectionSum sumAmounts(const PlatItems& items, int count, int first, int last);

// The orders "В банк" sends, as the paths of their files: the listed entries first..last
// when the selection spans more than one row, otherwise every listed entry (rows beyond
// count are blank rows and send nothing).
QStringList ordersToSend(const storage::Store& s, const PlatItems& items, int count, int first,
                         int last);

// "№ 15 от 03.02.2009": the order as the deletion question names it.
QString deletionPanelText(const storage::OrderListItem& item);
// "Удалить платежку ?" about the listed order item.
editor::Question deleteOrderQuestion(const storage::OrderListItem& item);

// True when the listed order at position is the saved order on screen in the editor.
bool shownInEditor(const storage::Store& s, int position);

// Takes the entry at position out of PlatList: the later entries move up one place, the freed
// last entry is cleared and PlatCount is lowered; OpenedIndex keeps pointing at the order on
// screen. Returns the position that becomes current: the same one, or the new last entry
// when the last was removed (-1 for an empty list).
int removeListEntry(storage::Store& s, int position);

} // namespace archive
