// The seven texts of a budget payment (the tax row of the form): how the budget dialog edits
// them, the document keeps them, the form prints them, all as one value; the order record holds
// them as code page 1251 fields.
#pragma once

#include "records.h"

#include <QString>

namespace storage {

struct BudgetFields {
    QString kbk, okato, basis, taxPeriod, taxType, docNumber, docDate;

    bool operator==(const BudgetFields&) const = default;
    // Whether one of the seven is empty (a budget payment needs all of them).
    bool anyEmpty() const;
};

// The budget texts of an order record.
BudgetFields budgetFields(const OrderRecord& order);
// Stores the budget texts in the record as code page 1251, each cut to its field.
void setBudgetFields(OrderRecord& order, const BudgetFields& fields);

} // namespace storage
