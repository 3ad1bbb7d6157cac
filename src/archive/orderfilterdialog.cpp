#include "orderfilterdialog.h"

#include "ui_orderfilterdialog.h"

#include "editor/uiutil.h"

#include <QTimer>

namespace archive {

OrderFilterDialog::OrderFilterDialog(const core::OrderArchive& archive, core::Settings& settings,
                                     QWidget* parent)
    : QDialog(parent), archive_(archive), ui(std::make_unique<Ui::OrderFilterDialog>()) {
    ui->setupUi(this);

    connect(ui->allPayersCheck, &QCheckBox::toggled, this, &OrderFilterDialog::stepBoxes);
    connect(ui->allPayeesCheck, &QCheckBox::toggled, this, &OrderFilterDialog::stepBoxes);
    connect(ui->payerCombo, &QComboBox::activated, this, &OrderFilterDialog::payerChosen);
    connect(ui->payeeCombo, &QComboBox::currentIndexChanged, this,
            &OrderFilterDialog::payeeChanged);
    connect(ui->okButton, &QPushButton::clicked, this, &OrderFilterDialog::confirm);

    editor::applyFormSize(this, settings, core::WindowTag::OrderFilter);
    refill();
}

OrderFilterDialog::~OrderFilterDialog() = default;

void OrderFilterDialog::refill() {
    stepping_ = true;
    ui->allPayersCheck->setChecked(true);
    ui->allPayeesCheck->setChecked(true);
    ui->payerCombo->clear();
    ui->payeeCombo->clear();
    const storage::SavedOrders& orders = archive_.orders();
    ui->payerCombo->setEnabled(orders.payers().size() >= 2);
    ui->payeeCombo->setEnabled(orders.payees().size() >= 2);
    QStringList payers, payees;
    for (const storage::OrderPayer& p : orders.payers())
        payers << editor::toUi(orders.party(p.party).name);
    for (const std::uint32_t p : orders.payees())
        payees << editor::toUi(orders.party(p).name);
    ui->payerCombo->addItems(payers);
    ui->payeeCombo->addItems(payees);
    ui->payerCombo->setCurrentIndex(-1);
    ui->payeeCombo->setCurrentIndex(-1);
    stepping_ = false;
    stepBoxes();
}

FilterChoice OrderFilterDialog::choice() const {
    return {filterMode_, ui->payerCombo->currentIndex(), ui->payeeCombo->currentIndex()};
}

void OrderFilterDialog::stepBoxes() {
    if (stepping_)
        return;
    FilterBoxes b{ui->allPayersCheck->isChecked(), ui->allPayeesCheck->isChecked(),
                  ui->payerCombo->currentIndex(), ui->payeeCombo->currentIndex()};
    filterMode_ = filterBoxStep(archive_.orders(), b);
    stepping_ = true;
    ui->allPayersCheck->setChecked(b.payerAll);
    ui->allPayeesCheck->setChecked(b.payeeAll);
    ui->payerCombo->setCurrentIndex(b.payer);
    ui->payeeCombo->setCurrentIndex(b.payee);
    stepping_ = false;
}

void OrderFilterDialog::payerChosen(int) {
    if (QWidget* w = focusWidget())
        w->clearFocus();
}

void OrderFilterDialog::payeeChanged(int) {
    if (stepping_)
        return;
    if (QWidget* w = focusWidget())
        w->clearFocus();
}

void OrderFilterDialog::confirm() {
    emit filterChosen(filterMode_ != FilterNone);
    accept();
}

void OrderFilterDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // No control is active when the dialog opens.
    QTimer::singleShot(0, this, [this] {
        if (QWidget* w = focusWidget())
            w->clearFocus();
    });
}

} // namespace archive
