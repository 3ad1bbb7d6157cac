#include "employeedialog.h"

#include "ui_employeedialog.h"

namespace directory {

EmployeeDialog::EmployeeDialog(QWidget* parent)
    : RecordDialog(parent), ui(std::make_unique<Ui::EmployeeDialog>()) {
    ui->setupUi(this);
    // Position, surname, first name, patronymic, the three telephones, e-mail; the surname is
    // required.
    setUp({ui->positionEdit, ui->surnameEdit, ui->firstNameEdit, ui->patronymicEdit,
           ui->workPhoneEdit, ui->mobilePhoneEdit, ui->innerPhoneEdit, ui->emailEdit},
          {48, 16, 16, 16, 16, 16, 8, 48}, 1, QStringLiteral("Введите фамилию сотрудника"),
          ui->yesButton, ui->noButton);
}

EmployeeDialog::~EmployeeDialog() = default;

} // namespace directory
