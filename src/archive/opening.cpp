#include "opening.h"

namespace archive {

CheckSaveResult checkSave(core::OrderDocument& document, core::OrderFields f,
                          const SaveQuestions& q) {
    CheckSaveResult result;
    const core::OrderCheck checked = document.check(f);
    if (checked.result != core::CheckOk)
        return result; // an incomplete order is not offered
    f.date = checked.date;
    const QString& n = f.number;
    const QString saveChanges = QStringLiteral("Сохранить изменения в платежном поручении № %1 ?");
    if (document.isSaved()) {
        document.update(f);
        if (document.isModified() &&
            q.ask(QStringLiteral("Платежное поручение № %1 было изменено.").arg(n),
                  saveChanges.arg(n)))
            result.io = document.writeSaved();
        return result;
    }
    if (!q.ask(QStringLiteral("Новое платежное поручение."),
               QStringLiteral("Сохранить платежное поручение № %1 ?").arg(n)))
        return result;
    const core::SaveResult saved = document.save(f, q);
    result.io = saved.io;
    result.savedNew = saved.saved;
    return result;
}

} // namespace archive
