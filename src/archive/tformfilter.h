// The filter dialog "FormFilter" of the list of saved orders: one payer, one payee or both
// are chosen from the payer and payee tables; "Все" ticked means any. "OK" tells the list
// window whether a filter was chosen, which enables or disables its "Filter" button.
#pragma once

#include "platlist.h"

#include <QDialog>
#include <memory>

namespace storage {
class Store;
}

class QCheckBox;
class QComboBox;
class QPushButton;

namespace Ui {
class TFormFilter;
}

namespace archive {

class TFormFilter : public QDialog {
    Q_OBJECT
public:
    explicit TFormFilter(storage::Store& store, QWidget* parent = nullptr);
    ~TFormFilter() override;

    // Refills the two lists from PayerInnTable and PayeeInnTable, nothing chosen, both "Все"
    // boxes ticked: no filter.
    void FillFilter();
    // The filter chosen: FilterMode and the positions chosen in the two lists.
    FilterChoice choice() const;

signals:
    // "OK": whether a filter was chosen.
    void filterChosen(bool chosen);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The controls by what they are.
    QPushButton* okButton() const;
    QCheckBox* allPayersBox() const;
    QCheckBox* allPayeesBox() const;
    QComboBox* payerBox() const;
    QComboBox* payeeBox() const;

    void CheckBoxChange(); // a "Все" box changed its state
    void ComboBox1Select(int index);
    void ComboBox2Change(int index);
    void BitBtn1Click(); // OK

    storage::Store& store_;
    std::unique_ptr<Ui::TFormFilter> ui;
    std::uint8_t FilterMode = FilterNone;
    bool stepping_ = false; // the box step is setting the boxes itself
};

} // namespace archive
