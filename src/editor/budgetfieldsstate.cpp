#include "budgetfieldsstate.h"

namespace editor {

BudgetFieldsState::BudgetFieldsState(int year) : year_(year) {}

CodeTable BudgetFieldsState::table(BudgetField field) {
    switch (field) {
    case BudgetField::Kbk:
        return KbkTable;
    case BudgetField::Okato:
        return OkatoTable;
    case BudgetField::Basis:
        return BasisTable;
    case BudgetField::Type:
        return TaxTypeTable;
    case BudgetField::Period:
    case BudgetField::Document:
        break;
    }
    return {};
}

DescriptionList BudgetFieldsState::listFor(BudgetField field, int ownRow) const {
    switch (field) {
    case BudgetField::Kbk:
        return {textsOf(KbkTable), QStringLiteral("КБК"), ownRow};
    case BudgetField::Okato:
        return {textsOf(OkatoTable),
                ownRow >= 0 ? QStringLiteral("ОКАТО - Свердловская область")
                            : QStringLiteral("ОКАТО"),
                ownRow};
    case BudgetField::Basis:
        return {textsOf(BasisTable), QStringLiteral("Основание платежа"), ownRow};
    case BudgetField::Period:
        return {periodKindNames(), QStringLiteral("Налоговый период"), lastPeriodKind_};
    case BudgetField::Type:
        return {textsOf(TaxTypeTable), QStringLiteral("Тип платежа"), ownRow};
    case BudgetField::Document:
        break;
    }
    return {};
}

std::optional<DescriptionList> BudgetFieldsState::enter(BudgetField field, int ownRow) {
    if (field == active_)
        return std::nullopt;
    active_ = field;
    return listFor(field, ownRow);
}

DescriptionList BudgetFieldsState::clickDocument() {
    active_ = BudgetField::Document;
    return {};
}

QStringList BudgetFieldsState::buildPeriods(int kind) {
    QStringList periods = taxPeriods(kind, year_);
    if (!periods.isEmpty())
        lastPeriodKind_ = kind;
    return periods;
}

} // namespace editor
