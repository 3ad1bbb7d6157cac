#include "employees.h"

#include "orgrecords.h"

#include "editor/uiutil.h"
#include "storage/datafiles.h"
#include "storage/store.h"

namespace directory {

using editor::fromUi;
using editor::toUi;

namespace {

void storeEmpl(const EmplTexts& t, storage::TEmpl& e) {
    fromUi(t[0], e.Position);
    fromUi(t[1], e.Surname);
    fromUi(t[2], e.FirstName);
    fromUi(t[3], e.Patronymic);
    fromUi(t[4], e.WorkPhone);
    fromUi(t[5], e.MobilePhone);
    fromUi(t[6], e.InnerPhone);
    fromUi(t[7], e.EMail);
}

bool sameTexts(const storage::TEmpl& a, const storage::TEmpl& b) {
    return a.Position == b.Position && a.Surname == b.Surname && a.FirstName == b.FirstName &&
           a.Patronymic == b.Patronymic && a.WorkPhone == b.WorkPhone &&
           a.MobilePhone == b.MobilePhone && a.InnerPhone == b.InnerPhone && a.EMail == b.EMail;
}

} // namespace

EmplTexts emplTexts(const storage::TEmpl& e) {
    return {toUi(e.Position),  toUi(e.Surname),     toUi(e.FirstName),  toUi(e.Patronymic),
            toUi(e.WorkPhone), toUi(e.MobilePhone), toUi(e.InnerPhone), toUi(e.EMail)};
}

std::vector<int> employeesOf(const storage::Store& s, int firm) {
    return orgRecordsOf(s.Employees, s.EmplCount, firm);
}

bool emplTableHasRoom(const storage::Store& s) {
    return s.EmplCount < storage::MaxEmployees;
}

bool AddEmpl(storage::Store& s, int firm, const EmplTexts& t) {
    return appendOrgRecord(s.Employees, s.EmplCount, firm, s.FirmCount, t, 1, storeEmpl);
}

bool EditEmpl(storage::Store& s, int index, const EmplTexts& t) {
    return editOrgRecord(s.Employees, s.EmplCount, index, t, 1, storeEmpl, sameTexts);
}

editor::Question deleteEmployeeQuestion(const QString& surname) {
    using Look = editor::QuestionLine::Look;
    return {QStringLiteral("Удаление"),
            {{QStringLiteral("Удалить сотрудника?")}, {surname, Look::SunkenPanel, 300}},
            QStringLiteral("YES"),
            QStringLiteral("Cancel")};
}

void DeleteEmpl(storage::Store& s, int index) {
    if (index < 0 || index >= s.EmplCount)
        return;
    storage::RemoveRecord(s.Employees, s.EmplCount, index);
    --s.EmplCount;
}

} // namespace directory
