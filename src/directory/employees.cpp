#include "employees.h"

#include "orgrecords.h"

#include "editor/uiutil.h"
#include "storage/datafiles.h"
#include "storage/store.h"

namespace directory {

using editor::fromUi;
using editor::toUi;

namespace {

void storeEmpl(const EmplTexts& t, storage::EmployeeRecord& e) {
    fromUi(t[0], e.position);
    fromUi(t[1], e.surname);
    fromUi(t[2], e.firstName);
    fromUi(t[3], e.patronymic);
    fromUi(t[4], e.workPhone);
    fromUi(t[5], e.mobilePhone);
    fromUi(t[6], e.innerPhone);
    fromUi(t[7], e.email);
}

bool sameTexts(const storage::EmployeeRecord& a, const storage::EmployeeRecord& b) {
    return a.position == b.position && a.surname == b.surname && a.firstName == b.firstName &&
           a.patronymic == b.patronymic && a.workPhone == b.workPhone &&
           a.mobilePhone == b.mobilePhone && a.innerPhone == b.innerPhone && a.email == b.email;
}

} // namespace

EmplTexts emplTexts(const storage::EmployeeRecord& e) {
    return {toUi(e.position),  toUi(e.surname),     toUi(e.firstName),  toUi(e.patronymic),
            toUi(e.workPhone), toUi(e.mobilePhone), toUi(e.innerPhone), toUi(e.email)};
}

std::vector<int> employeesOf(const storage::Store& s, int firm) {
    return orgRecordsOf(s.directory.employees, s.directory.employeeCount, firm);
}

bool emplTableHasRoom(const storage::Store& s) {
    return s.directory.employeeCount < storage::MaxEmployees;
}

bool addEmployee(storage::Store& s, int firm, const EmplTexts& t) {
    return appendOrgRecord(s.directory.employees, s.directory.employeeCount, firm,
                           s.directory.organizationCount, t, 1, storeEmpl);
}

bool editEmployee(storage::Store& s, int index, const EmplTexts& t) {
    return editOrgRecord(s.directory.employees, s.directory.employeeCount, index, t, 1, storeEmpl,
                         sameTexts);
}

editor::Question deleteEmployeeQuestion(const QString& surname) {
    using Look = editor::QuestionLine::Look;
    return {QStringLiteral("Удаление"),
            {{QStringLiteral("Удалить сотрудника?")}, {surname, Look::SunkenPanel, 300}},
            QStringLiteral("YES"),
            QStringLiteral("Cancel")};
}

void deleteEmployee(storage::Store& s, int index) {
    if (index < 0 || index >= s.directory.employeeCount)
        return;
    storage::removeRecord(s.directory.employees, s.directory.employeeCount, index);
    --s.directory.employeeCount;
}

} // namespace directory
