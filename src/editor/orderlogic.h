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

} // namespace editor
