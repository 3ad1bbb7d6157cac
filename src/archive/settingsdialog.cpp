#include "settingsdialog.h"

#include "ui_settingsdialog.h"

#include "core/settings.h"
#include "editor/uiutil.h"

#include <QMessageBox>

namespace archive {

SettingsDialog::SettingsDialog(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::SettingsDialog>()) {
    ui->setupUi(this);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    connect(ui->okButton, &QToolButton::clicked, this, &QDialog::accept);
}

SettingsDialog::~SettingsDialog() = default;

SettingsChoice SettingsDialog::edit(const SettingsChoice& choice) {
    ui->currentYearCheck->setChecked(choice.currentYearOnly);
    ui->usnRatesCheck->setChecked(choice.usnVatRates);
    editor::showModal(this);
    return {ui->currentYearCheck->isChecked(), ui->usnRatesCheck->isChecked()};
}

void editSettings(QWidget* parent, SettingsDialog& dialog, core::Settings& settings) {
    const SettingsChoice chosen = dialog.edit({settings.currentYearOnly(), settings.usnVatRates()});
    settings.setCurrentYearOnly(chosen.currentYearOnly);
    settings.setUsnVatRates(chosen.usnVatRates);
    if (const storage::IoResult r = settings.saveSettings(); !r)
        QMessageBox::critical(parent, parent ? parent->windowTitle() : QString(), r.error);
}

} // namespace archive
