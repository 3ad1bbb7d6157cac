#include "employees.h"

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

std::vector<int> FillEmpl(const storage::Store& s, int firm) {
    std::vector<int> list;
    for (int i = 0; i < s.EmplCount; ++i)
        if (s.Employees[std::size_t(i)].FirmNo == firm)
            list.push_back(i);
    return list;
}

bool emplTableHasRoom(const storage::Store& s) {
    return s.EmplCount < storage::MaxEmployees;
}

bool AddEmpl(storage::Store& s, int firm, const EmplTexts& t) {
    if (!emplTableHasRoom(s) || firm < 0 || firm >= s.FirmCount || t[1].isEmpty())
        return false;
    storage::TEmpl& e = s.Employees[std::size_t(s.EmplCount)];
    storage::clearRecord(e);
    e.FirmNo = std::uint16_t(firm);
    storeEmpl(t, e);
    ++s.EmplCount;
    return true;
}

bool EditEmpl(storage::Store& s, int index, const EmplTexts& t) {
    if (index < 0 || index >= s.EmplCount || t[1].isEmpty())
        return false;
    storage::TEmpl& e = s.Employees[std::size_t(index)];
    storage::TEmpl edited = e;
    storeEmpl(t, edited);
    if (sameTexts(edited, e))
        return false;
    e = edited;
    return true;
}

void DeleteEmpl(storage::Store& s, int index) {
    if (index < 0 || index >= s.EmplCount)
        return;
    storage::RemoveRecord(s.Employees, s.EmplCount, index);
    --s.EmplCount;
}

} // namespace directory
