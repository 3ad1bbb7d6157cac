// What the organization list does to the directory: deleting an organization with its
// branches and employees into the deleted list, restoring one, the questions asked before a
// deletion, and keeping the main window's payer and payee choices on the same organizations.
// These functions work on the program's data; the windows only show their results.
#pragma once

#include "editor/questiondialog.h"
#include "storage/fileio.h"

#include <QByteArray>
#include <QString>
#include <string_view>
#include <vector>

namespace storage {
class Store;
}

namespace directory {

// Whether another organization may be created or restored (fewer than 254 in use).
bool firmListHasRoom(const storage::Store& s);

// Number of saved orders of the list whose payer or payee INN equals inn (same length, same
// characters). Every order file of the list is read into a record of its own, so the order
// on screen and its file name stay as they are; a file that cannot be read is skipped.
int countOrdersWithInn(const storage::Store& s, std::string_view inn);

// First lines of the questions asked before a deletion, for n orders, branches, employees:
// "Найдены 3 платежки в которых  есть удаляемая организация.", "В удаляемой организации
// есть 2 филиала.", "Список сотрудников = 5.".
QString ordersFoundText(int n);
QString filialsFoundText(int n);
QString employeesFoundText(int n);

struct DeletionQuestion {
    QString line1;
    QString line2;
};

// The questions to ask, in order, before organization firm is deleted: one for the saved
// orders naming it, one for its branches, one for its employees, each only when it has any.
std::vector<DeletionQuestion> deletionQuestions(const storage::Store& s, int firm);

// "Удалить организацию ?" about the organization named name, and the further question asked
// for each of the deletionQuestions ("Все равно удалить ?").
editor::Question deleteOrganizationQuestion(const QString& name);
editor::Question furtherDeletionQuestion(const DeletionQuestion& q, const QString& name);

// Deletes organization firm in memory: its employees, then its branches (each time the first
// one left), then it moves to the end of the deleted list (whose oldest entry is dropped when
// the list is full) and leaves Firms; branches and employees of later organizations follow
// their organization down one index. FirmCount, FirmDelCount, CurFirm, CurFirmDel and
// FirmShow are kept up to date. Returns the set of files (directorysave.h) to write.
unsigned deleteOrganization(storage::Store& s, int firm);

// deleteOrganization, then writes the files; on a write failure nothing stays changed.
storage::IoResult deleteOrganizationAndSave(storage::Store& s, int firm);

// Puts deleted organization index back at the end of Firms and takes it out of the deleted
// list; it comes back without branches (and so without a branch link) and without
// employees. Nothing happens when the list has no room. Returns the set of files to write.
unsigned restoreOrganization(storage::Store& s, int index);

// restoreOrganization, then writes the files; on a write failure nothing stays changed.
storage::IoResult restoreOrganizationAndSave(storage::Store& s, int index);

// Where a picker position (an index in Firms, -1 for none) points after organization removed
// left Firms: later organizations move up one place; the removed one leaves no choice.
int positionAfterRemoval(int position, int removed);

// The branch links of all organizations in use (FilialNo and Flags of each), to tell whether
// a window changed any.
QByteArray firmLinks(const storage::Store& s);

} // namespace directory
