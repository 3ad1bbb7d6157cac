// What the list of saved orders does apart from drawing: the filter of the list by payer and
// payee as the filter dialog chooses it, the selection text, the orders sent to the bank and
// the deletion question. The list window and its two dialogs call these; tests call them
// directly.
#pragma once

#include "core/orderarchive.h"
#include "editor/questiondialog.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace archive {

// The filter chosen in the filter dialog.
enum FilterModeValue : std::uint8_t {
    FilterNone = 0,
    FilterPayer = 1, // by the payer chosen in the archive's payer table
    FilterPayee = 2, // by the payee chosen in its payee table
    FilterBoth = 3
};
struct FilterChoice {
    std::uint8_t mode = FilterNone;
    int payer = -1; // position in the payer table
    int payee = -1; // position in the payee table
};

// The archive's filter for choice: the INNs of the chosen payer and payee. Nothing (the list
// then shows no order) for FilterNone or a side without a valid table position.
std::optional<core::OrderFilter> orderFilter(const storage::SavedOrders& orders,
                                             const FilterChoice& choice);

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
std::uint8_t filterBoxStep(const storage::SavedOrders& orders, FilterBoxes& boxes);

// The status text of a selection of grid rows top..bottom (the title row is row 0):
// "Selection - 3 (2..4)".
QString selectionText(int top, int bottom);

// The orders "В банк" sends, as the paths of their files: the shown rows first..last when the
// selection spans more than one row, otherwise every shown row.
QStringList ordersToSend(const core::OrderArchive& archive, const QString& ordersDir, int first,
                         int last);

// "№ 15 от 03.02.2009": the order as the deletion question names it.
QString deletionPanelText(const QString& number, const QString& date);
// "Удалить платежку ?" about the order numbered number of date.
editor::Question deleteOrderQuestion(const QString& number, const QString& date);

} // namespace archive
