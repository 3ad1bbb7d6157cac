// The questions the organization list asks before it deletes an organization, and how many
// saved orders name an organization.
#pragma once

#include "editor/questiondialog.h"
#include "storage/fileio.h"

#include <QString>
#include <string_view>
#include <vector>

namespace core {
class Directory;
}
namespace directory {

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
// orders naming it (ordersWithInn of them), one for its branches, one for its employees, each
// only when it has any.
std::vector<DeletionQuestion> deletionQuestions(const core::Directory& directory, int firm,
                                                int ordersWithInn);

// "Удалить организацию ?" about the organization named name, and the further question asked
// for each of the deletionQuestions ("Все равно удалить ?").
editor::Question deleteOrganizationQuestion(const QString& name);
editor::Question furtherDeletionQuestion(const DeletionQuestion& q, const QString& name);

} // namespace directory
