#include "settingsdialog.h"

#include "ui_settingsdialog.h"

#include "storage/store.h"

namespace archive {

SettingsDialog::SettingsDialog(storage::Store& store, QWidget* parent)
    : QDialog(parent), store_(store), ui(std::make_unique<Ui::SettingsDialog>()) {
    ui->setupUi(this);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    ui->currentYearCheck->setChecked(store_.CurrentYearOnly() == 1);
    ui->usnRatesCheck->setChecked(store_.UsnVatRates() == 1);
    connect(ui->currentYearCheck, &QCheckBox::clicked, this, &SettingsDialog::setCurrentYearOnly);
    connect(ui->usnRatesCheck, &QCheckBox::clicked, this,
            [this](bool checked) { store_.UsnVatRates() = checked ? 1 : 0; });
    connect(ui->okButton, &QToolButton::clicked, this, &QDialog::accept);
}

SettingsDialog::~SettingsDialog() = default;

void SettingsDialog::setCurrentYearOnly(bool checked) {
    store_.CurrentYearOnly() = checked ? 1 : 0;
}

} // namespace archive
