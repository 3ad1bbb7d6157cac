#include "organizationlist.h"

#include "core/directory.h"
#include "render/amount.h"

#include <algorithm>

namespace directory {

namespace {

using render::PluralForm;

// The word among three that goes with count.
QString plural(int count, const char* one, const char* twoToFour, const char* many) {
    switch (render::pluralForm(unsigned(count))) {
    case PluralForm::One:
        return QString::fromUtf8(one);
    case PluralForm::TwoToFour:
        return QString::fromUtf8(twoToFour);
    case PluralForm::Many:
        break;
    }
    return QString::fromUtf8(many);
}

} // namespace

QString ordersFoundText(int n) {
    return QStringLiteral("%1 %2 %3 %4  есть удаляемая организация.")
        .arg(plural(n, "Найдена", "Найдены", "Найдено"))
        .arg(n)
        .arg(plural(n, "платежка", "платежки", "платежек"),
             plural(n, "в которой", "в которых", "в которых"));
}

QString filialsFoundText(int n) {
    return QStringLiteral("В удаляемой организации есть %1 %2.")
        .arg(n)
        .arg(plural(n, "филиал", "филиала", "филиалов"));
}

QString employeesFoundText(int n) {
    return QStringLiteral("Список сотрудников = %1.").arg(n);
}

std::vector<DeletionQuestion> deletionQuestions(const core::Directory& directory, int firm,
                                                int ordersWithInn) {
    std::vector<DeletionQuestion> questions;
    if (firm < 0 || firm >= directory.organizationCount())
        return questions;
    if (ordersWithInn > 0)
        questions.push_back({ordersFoundText(ordersWithInn), QString()});
    if (const int n = int(directory.branchesOf(firm).size()); n > 0)
        questions.push_back(
            {filialsFoundText(n), QStringLiteral("Будет удалена организация и все ее филиалы.")});
    if (const int n = int(directory.employeesOf(firm).size()); n > 0)
        questions.push_back({employeesFoundText(n),
                             QStringLiteral("Будет удалена организация и список сотрудников.")});
    return questions;
}

editor::Question deleteOrganizationQuestion(const QString& name) {
    using Look = editor::QuestionLine::Look;
    return {QStringLiteral("Удалить организацию"),
            {{QStringLiteral("Удалить организацию ?")}, {name, Look::SunkenPanel, 360, true}}};
}

editor::Question furtherDeletionQuestion(const DeletionQuestion& q, const QString& name) {
    using Look = editor::QuestionLine::Look;
    editor::Question question{QStringLiteral("Удалить организацию"), {{q.line1}}};
    if (!q.line2.isEmpty())
        question.lines.push_back({q.line2});
    question.lines.push_back({QStringLiteral("Все равно удалить ?")});
    question.lines.push_back({name, Look::SunkenPanel, 420, true});
    return question;
}

} // namespace directory
