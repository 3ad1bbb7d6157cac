#include "settingsdialog.h"

#include "ui_settingsdialog.h"

#include "storage/store.h"

namespace archive {

SettingsDialog::SettingsDialog(storage::Store& store, QWidget* parent)
    : QDialog(parent), store_(store), ui(std::make_unique<Ui::SettingsDialog>()) {
    ui->setupUi(this);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    ui->currentYearCheck->setChecked(store_.settings.currentYearOnly() == 1);
    ui->usnRatesCheck->setChecked(store_.settings.usnVatRates() == 1);
    connect(ui->currentYearCheck, &QCheckBox::clicked, this, &SettingsDialog::setCurrentYearOnly);
    connect(ui->usnRatesCheck, &QCheckBox::clicked, this,
            [this](bool checked) { store_.settings.usnVatRates() = checked ? 1 : 0; });
    connect(ui->okButton, &QToolButton::clicked, this, &QDialog::accept);
}

SettingsDialog::~SettingsDialog() = default;

void SettingsDialog::setCurrentYearOnly(bool checked) {
    store_.settings.currentYearOnly() = checked ? 1 : 0;
}

} // namespace archive
