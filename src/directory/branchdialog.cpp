#include "branchdialog.h"

#include "ui_branchdialog.h"

namespace directory {

BranchDialog::BranchDialog(QWidget* parent)
    : RecordDialog(parent), ui(std::make_unique<Ui::BranchDialog>()) {
    ui->setupUi(this);
    setUp({ui->addressEdit, ui->phoneEdit, ui->emailEdit}, {96, 32, 48}, 0,
          QStringLiteral("Введите \"Адрес\""), ui->yesButton, ui->noButton);
}

BranchDialog::~BranchDialog() = default;

} // namespace directory
