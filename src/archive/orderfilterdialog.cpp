#include "orderfilterdialog.h"

#include "ui_orderfilterdialog.h"

#include "editor/uiutil.h"
#include "storage/store.h"

#include <QTimer>

namespace archive {

OrderFilterDialog::OrderFilterDialog(storage::Store& store, core::Settings& settings,
                                     QWidget* parent)
    : QDialog(parent), store_(store), ui(std::make_unique<Ui::OrderFilterDialog>()) {
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
    ui->payerCombo->setEnabled(store_.orders.payerCount >= 2);
    ui->payeeCombo->setEnabled(store_.orders.payeeCount >= 2);
    for (int i = 0; i < store_.orders.payerCount; ++i)
        ui->payerCombo->addItem(editor::toUi(store_.orders.payers[std::size_t(i)].name));
    for (int i = 0; i < store_.orders.payeeCount; ++i)
        ui->payeeCombo->addItem(editor::toUi(store_.orders.payees[std::size_t(i)].name));
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
    filterMode_ = filterBoxStep(store_, b);
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
