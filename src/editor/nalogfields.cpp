#include "nalogfields.h"

namespace editor {

NalogFields::NalogFields(int year) : year_(year) {}

CodeTable NalogFields::table(NalogField field) {
    switch (field) {
    case NalogField::Kbk:
        return KbkTable;
    case NalogField::Okato:
        return OkatoTable;
    case NalogField::Basis:
        return BasisTable;
    case NalogField::Type:
        return TaxTypeTable;
    case NalogField::Period:
    case NalogField::Document:
        break;
    }
    return {};
}

DescriptionList NalogFields::listFor(NalogField field, int ownRow) const {
    switch (field) {
    case NalogField::Kbk:
        return {textsOf(KbkTable), QStringLiteral("КБК"), ownRow};
    case NalogField::Okato:
        return {textsOf(OkatoTable),
                ownRow >= 0 ? QStringLiteral("ОКАТО - Свердловская область")
                            : QStringLiteral("ОКАТО"),
                ownRow};
    case NalogField::Basis:
        return {textsOf(BasisTable), QStringLiteral("Основание платежа"), ownRow};
    case NalogField::Period:
        return {periodKindNames(), QStringLiteral("Налоговый период"), lastPeriodKind_};
    case NalogField::Type:
        return {textsOf(TaxTypeTable), QStringLiteral("Тип платежа"), ownRow};
    case NalogField::Document:
        break;
    }
    return {};
}

std::optional<DescriptionList> NalogFields::enter(NalogField field, int ownRow) {
    if (field == active_)
        return std::nullopt;
    active_ = field;
    return listFor(field, ownRow);
}

DescriptionList NalogFields::clickDocument() {
    active_ = NalogField::Document;
    return {};
}

QStringList NalogFields::buildPeriods(int kind) {
    QStringList periods = taxPeriods(kind, year_);
    if (!periods.isEmpty())
        lastPeriodKind_ = kind;
    return periods;
}

} // namespace editor
