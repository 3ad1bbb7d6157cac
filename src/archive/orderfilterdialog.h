// The filter dialog "FormFilter" of the list of saved orders: one payer, one payee or both
// are chosen from the payer and payee tables; "Все" ticked means any. "OK" tells the list
// window whether a filter was chosen, which enables or disables its "Filter" button.
#pragma once

#include "core/settings.h"

#include "orderlist.h"

#include <QDialog>
#include <memory>

class QCheckBox;
class QComboBox;
class QPushButton;

namespace Ui {
class OrderFilterDialog;
}

namespace archive {

class OrderFilterDialog : public QDialog {
    Q_OBJECT
public:
    OrderFilterDialog(const core::OrderArchive& archive, core::Settings& settings,
                      QWidget* parent = nullptr);
    ~OrderFilterDialog() override;

    // Refills the two lists from the archive's payer and payee tables, nothing chosen, both
    // "Все" boxes ticked: no filter.
    void refill();
    // The filter chosen: filterMode_ and the positions chosen in the two lists.
    FilterChoice choice() const;

signals:
    // "OK": whether a filter was chosen.
    void filterChosen(bool chosen);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void stepBoxes(); // a "Все" box changed its state
    void payerChosen(int index);
    void payeeChanged(int index);
    void confirm();

    const core::OrderArchive& archive_;
    std::unique_ptr<Ui::OrderFilterDialog> ui;
    std::uint8_t filterMode_ = FilterNone;
    bool stepping_ = false; // the box step is setting the boxes itself
};

} // namespace archive
