#include "tformaddempl.h"

#include "ui_tformaddempl.h"

namespace directory {

TFormAddEmpl::TFormAddEmpl(QWidget* parent)
    : RecordDialog(parent), ui(std::make_unique<Ui::TFormAddEmpl>()) {
    ui->setupUi(this);
    // Position, surname, first name, patronymic, the three telephones, e-mail; the surname is
    // required.
    setUp({ui->Edit1, ui->Edit2, ui->Edit3, ui->Edit4, ui->Edit5, ui->Edit6, ui->Edit7, ui->Edit8},
          {48, 16, 16, 16, 16, 16, 8, 48}, 1, QStringLiteral("Введите фамилию сотрудника"),
          ui->BitBtn1, ui->BitBtn2);
}

TFormAddEmpl::~TFormAddEmpl() = default;

} // namespace directory
