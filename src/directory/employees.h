// The employees of the organizations: one table of at most 1024 records for all of them,
// each naming its organization by its index in Firms. These functions change the table in
// memory; writing it is the caller's part.
#pragma once

#include "editor/questiondialog.h"
#include "storage/records.h"

#include <QString>
#include <array>
#include <vector>

namespace storage {
class Store;
}

namespace directory {

// The texts of an employee in the order of the dialog's boxes and of the grid's
// columns: position, surname, first name, patronymic, work, mobile and inner telephone,
// e-mail.
inline constexpr int EmplFieldCount = 8;
using EmplTexts = std::array<QString, EmplFieldCount>;

EmplTexts emplTexts(const storage::EmployeeRecord& e);

// Table indexes of the employees of organization firm, in table order.
std::vector<int> employeesOf(const storage::Store& s, int firm);

// Whether the table has room for one more employee.
bool emplTableHasRoom(const storage::Store& s);

// Appends an employee of organization firm; each text is cut to its field's capacity. False
// (and nothing changed) when the table is full or the surname is empty: an empty surname
// marks the end of the table in its file.
bool addEmployee(storage::Store& s, int firm, const EmplTexts& t);

// Stores the texts into employee index when at least one differs from what is stored (after
// cutting to capacity) and the surname is not empty. Returns whether anything was stored.
bool editEmployee(storage::Store& s, int index, const EmplTexts& t);

// "Удалить сотрудника?" about the employee of that surname.
editor::Question deleteEmployeeQuestion(const QString& surname);

// Deletes employee index; later employees move down one place.
void deleteEmployee(storage::Store& s, int index);

} // namespace directory
