#include "employees.h"

#include "editor/uiutil.h"

namespace directory {

using editor::fromUi;
using editor::toUi;

EmployeeTexts employeeTexts(const storage::EmployeeRecord& e) {
    return {toUi(e.position),  toUi(e.surname),     toUi(e.firstName),  toUi(e.patronymic),
            toUi(e.workPhone), toUi(e.mobilePhone), toUi(e.innerPhone), toUi(e.email)};
}

storage::EmployeeRecord employeeRecord(const EmployeeTexts& t) {
    storage::EmployeeRecord e;
    storage::clearRecord(e);
    fromUi(t[0], e.position);
    fromUi(t[1], e.surname);
    fromUi(t[2], e.firstName);
    fromUi(t[3], e.patronymic);
    fromUi(t[4], e.workPhone);
    fromUi(t[5], e.mobilePhone);
    fromUi(t[6], e.innerPhone);
    fromUi(t[7], e.email);
    return e;
}

editor::Question deleteEmployeeQuestion(const QString& surname) {
    using Look = editor::QuestionLine::Look;
    return {QStringLiteral("Удаление"),
            {{QStringLiteral("Удалить сотрудника?")}, {surname, Look::SunkenPanel, 300}},
            QStringLiteral("YES"),
            QStringLiteral("Cancel")};
}

} // namespace directory
