#include "budgetfields.h"

#include "cp1251.h"

namespace storage {

bool BudgetFields::anyEmpty() const {
    for (const QString* t : {&kbk, &okato, &basis, &taxPeriod, &taxType, &docNumber, &docDate})
        if (t->isEmpty())
            return true;
    return false;
}

BudgetFields budgetFields(const OrderRecord& p) {
    return {.kbk = cp1251::toUnicode(p.kbk),
            .okato = cp1251::toUnicode(p.okato),
            .basis = cp1251::toUnicode(p.basis),
            .taxPeriod = cp1251::toUnicode(p.taxPeriod),
            .taxType = cp1251::toUnicode(p.taxType),
            .docNumber = cp1251::toUnicode(p.docNumber),
            .docDate = cp1251::toUnicode(p.docDate)};
}

void setBudgetFields(OrderRecord& p, const BudgetFields& b) {
    cp1251::store(b.kbk, p.kbk);
    cp1251::store(b.okato, p.okato);
    cp1251::store(b.basis, p.basis);
    cp1251::store(b.taxPeriod, p.taxPeriod);
    cp1251::store(b.taxType, p.taxType);
    cp1251::store(b.docNumber, p.docNumber);
    cp1251::store(b.docDate, p.docDate);
}

} // namespace storage
