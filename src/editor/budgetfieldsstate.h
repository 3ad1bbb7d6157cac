// The behaviour of the budget dialog without its widgets: which field is active, what the
// shared description list shows for it, and the tax period builder with its last period kind.
#pragma once

#include "taxcodes.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace editor {

// The fields of the budget dialog whose descriptions the description list can show; the
// document number and date count as one field without descriptions.
enum class BudgetField { Kbk, Okato, Basis, Period, Type, Document };

// What the description list shows: its rows, the caption of its group and the selected row
// (-1 for none).
struct DescriptionList {
    QStringList items;
    QString caption;
    int selected = -1;

    bool operator==(const DescriptionList&) const = default;
};

class BudgetFieldsState {
public:
    // year: the calendar year the program started in; tax periods are built for it.
    explicit BudgetFieldsState(int year);

    BudgetField active() const { return active_; }
    int lastPeriodKind() const { return lastPeriodKind_; }
    int year() const { return year_; }

    // The code table behind a field's own list; empty for the tax period and the documents.
    static CodeTable table(BudgetField field);

    // The description list of a field whose own list has row ownRow selected (-1 for none).
    // The tax period ignores ownRow and selects the last period kind instead.
    DescriptionList listFor(BudgetField field, int ownRow) const;

    // The entry step: when field is not the active field it becomes it, and the returned list
    // replaces the description list; when it is, nothing changes and nothing is returned.
    std::optional<DescriptionList> enter(BudgetField field, int ownRow);

    // A click into the document number or date: the documents become the active field and
    // the description list is emptied, every time.
    DescriptionList clickDocument();

    // The tax period texts of a kind for the program's year; the kind is remembered as the
    // last period kind. An unknown kind gives no texts and is not remembered.
    QStringList buildPeriods(int kind);

private:
    BudgetField active_ = BudgetField::Kbk;
    int lastPeriodKind_ = -1;
    int year_;
};

} // namespace editor
