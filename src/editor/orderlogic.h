// What the editor computes for the order on screen apart from its controls: the texts of its
// fixed choices, what the form shows and what the preview warns about. The order itself, its
// check and its saving are the order document's (core/orderdocument.h).
#pragma once

#include "core/orderdocument.h"
#include "render/formlayout.h"
#include "storage/fileio.h"

#include <QString>
#include <QStringList>

namespace storage {
class BikDirectory;
class Store;
} // namespace storage

namespace editor {

using core::BudgetFields;
using core::CheckResult;
using core::clearedFields;
using core::OrderFields;
using core::purposeBytes;
using core::SaveQuestions;
using core::todayText;
using enum core::CheckResult;
using SaveNewResult = core::SaveResult;

// What the budget dialog is opened with: the order's texts, whether the order is saved (dark
// blue texts) and whether the bank has accepted it (nothing can be changed); and what it gives
// back: the texts its boxes hold, and whether the single tax payment was chosen (the editor
// then sets the payer status "01").
struct BudgetRequest {
    BudgetFields fields;
    bool saved = false;
    bool locked = false;
};
struct BudgetAnswer {
    BudgetFields fields;
    bool singleTaxPayment = false;
};

// The two fixed choice tables of the editor, in index order. The texts of the VAT and
// priority choices depend on the order's date (storage/choices.h).
const QStringList& payKindTexts(); // "Электронно", "Почтой", "Телеграфом", "Срочно"
const QStringList& statusTexts(); // "Нет", "01", "02"

// What the form shows of the order on screen: for a new order the organizations chosen in
// the pickers with their chosen bank slots, for a saved order the parties kept with it.
render::OrderInput orderInputFor(const core::OrderDocument& document, const OrderFields& fields);

// The failed check-digit and format checks of the parties of an order, one text each, payer
// first ("Получатель: счет не соответствует БИК"); with a BIK directory, also what it does not
// confirm of their banks. They are warnings: the order can still be saved and printed.
QStringList partyWarnings(const render::OrderInput& order,
                          const storage::BikDirectory* directory = nullptr);

// What the preview page warns about: the parties' warnings, then a purpose that is too long,
// with its VAT line, for the bank's exchange file.
QStringList previewWarnings(const render::OrderInput& order,
                            const storage::BikDirectory* directory);

// The steps of the order document on the order on screen that the store holds, for the list
// window's offer to save until it works with the document itself: the check (which gives a
// nine-character date its leading "0" in fields.date), taking the fields into the record, the
// change check, and saving a saved or a new order.
CheckResult checkOrder(storage::Store& s, OrderFields& fields);
bool fillOrder(storage::Store& s, const OrderFields& fields);
bool checkChange(storage::Store& s);
storage::IoResult saveSaved(storage::Store& s);
SaveNewResult saveNewOrder(storage::Store& s, const OrderFields& fields, const SaveQuestions& q);

} // namespace editor
