#include "branches.h"

#include "editor/uiutil.h"

namespace directory {

using editor::fromUi;
using editor::toUi;

BranchTexts branchTexts(const storage::BranchRecord& b) {
    return {toUi(b.address), toUi(b.phone), toUi(b.email)};
}

storage::BranchRecord branchRecord(const BranchTexts& t) {
    storage::BranchRecord b;
    storage::clearRecord(b);
    fromUi(t[0], b.address);
    fromUi(t[1], b.phone);
    fromUi(t[2], b.email);
    return b;
}

QString branchLimitText() {
    return QStringLiteral("Может быть сохранено только %1 филиалов для всех организаций.")
        .arg(storage::MaxFilials);
}

editor::Question deleteBranchQuestion(const QString& name) {
    using Look = editor::QuestionLine::Look;
    return {QStringLiteral("Удалить филиал организации"),
            {{QStringLiteral("Удалить филиал организации")}, {name, Look::SunkenPanel, 300, true}},
            QStringLiteral("YES"),
            QStringLiteral("Cancel")};
}

} // namespace directory
