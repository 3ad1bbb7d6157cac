// The budget-payment dialog "Налоги": КБК, ОКАТО, payment basis, tax period, document number
// and date, payment type, with a shared description list from which a code can be chosen by its
// description, shortcut menus for the most used codes and a tax period builder. It is created
// once at program start; it gets the seven texts of the order on screen each time it opens and
// gives back what its boxes hold when it closes.
#pragma once

#include "budgetfieldsstate.h"

#include "orderlogic.h"

#include <QDialog>
#include <memory>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;

namespace core {
class Settings;
}

namespace Ui {
class BudgetFieldsDialog;
}

namespace editor {

class BudgetFieldsDialog : public QDialog {
    Q_OBJECT
public:
    explicit BudgetFieldsDialog(core::Settings& settings, QWidget* parent = nullptr);
    ~BudgetFieldsDialog() override;

    // Shows the dialog modally with the request's texts and gives back what it holds when
    // closed, however it was closed.
    BudgetAnswer edit(const BudgetRequest& request);

    // Shows the request's texts, colour and lock without opening the dialog. КБК, ОКАТО,
    // basis and payment type select the row of their list whose code is equal; a code that is
    // in no row is shown as it is, with no row selected.
    void load(const BudgetRequest& request);
    // The seven texts as the boxes hold them.
    core::BudgetFields fields() const;

    // The single tax payment ("ЕНП"): fills the seven fields as banks expect it (КБК
    // 18201061201010000510, every other field "0"); every field stays editable.
    void fillSingleTaxPayment();
    // Whether the single tax payment was chosen since the dialog was last shown: the editor
    // then sets the payer status "01".
    bool singleTaxPaymentChosen() const { return singleTaxChosen_; }

    // Dark blue texts for a saved order, black for a new one.
    void setSavedColour(bool saved);

    // The lock of an order the bank has accepted: nothing can be changed while it holds.
    void setLocked(bool locked);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Shows the seven texts; a code list selects the row of an equal code.
    void showTexts(const core::BudgetFields& t);
    QComboBox* ownList(BudgetField field) const;
    int selectedRow(BudgetField field) const;
    void showDescriptions(const DescriptionList& list);
    void selectRow(BudgetField field, int row);
    void loadCode(BudgetField field, const QString& text);

    void enterField(BudgetField field);
    void clickDocument();
    void chooseCode(BudgetField field, int row);
    void typeCode(BudgetField field);
    void chooseDescription(int row);
    void chooseShortcut(BudgetField field, int row);

    std::unique_ptr<Ui::BudgetFieldsDialog> ui;
    BudgetFieldsState fields_;
    QMenu* okatoMenu_ = nullptr; // ОКАТО shortcuts
    QMenu* kbkMenu_ = nullptr;   // КБК shortcuts
    bool singleTaxChosen_ = false;
};

} // namespace editor
