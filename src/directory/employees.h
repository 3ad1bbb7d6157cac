// An employee as the employee dialog and list show it: the texts, taken from a record and
// stored into one cut to each field's capacity, and the question before a deletion.
#pragma once

#include "editor/questiondialog.h"
#include "storage/records.h"

#include <QString>
#include <array>

namespace directory {

// The texts of an employee in the order of the dialog's boxes and of the grid's columns:
// position, surname, first name, patronymic, work, mobile and inner telephone, e-mail.
inline constexpr int EmployeeFieldCount = 8;
using EmployeeTexts = std::array<QString, EmployeeFieldCount>;

EmployeeTexts employeeTexts(const storage::EmployeeRecord& e);
// An employee record of the texts (the organization number left 0), each cut to its capacity.
storage::EmployeeRecord employeeRecord(const EmployeeTexts& t);

// "Удалить сотрудника?" about the employee of that surname.
editor::Question deleteEmployeeQuestion(const QString& surname);

} // namespace directory
