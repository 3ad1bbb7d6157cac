#include "opening.h"

#include "storage/platfile.h"

#include <QDir>

namespace archive {

using storage::Store;

CheckSaveResult checkSave(Store& s, editor::OrderFields f, const SaveQuestions& q) {
    CheckSaveResult result;
    if (editor::checkOrder(s, f) != editor::CheckOk)
        return result; // an incomplete order is not offered
    const QString& n = f.number;
    const QString saveChanges = QStringLiteral("Сохранить изменения в платежном поручении № %1 ?");
    if (s.PlatSaved) {
        editor::fillOrder(s, f);
        if (editor::checkChange(s) &&
            q.ask(QStringLiteral("Платежное поручение № %1 было изменено.").arg(n),
                  saveChanges.arg(n)))
            result.io = editor::saveSaved(s);
        return result;
    }
    if (!q.ask(QStringLiteral("Новое платежное поручение."),
               QStringLiteral("Сохранить платежное поручение № %1 ?").arg(n)))
        return result;
    const editor::SaveNewResult saved = editor::saveNewOrder(s, f, q);
    result.io = saved.io;
    result.savedNew = saved.saved;
    return result;
}

storage::IoResult openListed(Store& s, const storage::ShortStr<28>& fileName) {
    const storage::ShortStr<28> before = s.PlatFileName;
    s.PlatFileName = fileName;
    s.PlatError = 0;
    storage::IoResult r = storage::openOrderFile(s);
    if (r && s.PlatError == 1)
        r = storage::IoResult::failure(
            QStringLiteral("Нет файла платежки %1")
                .arg(QDir::toNativeSeparators(s.folder.ordersDir +
                                              QString::fromLatin1(fileName.bytes()))));
    if (!r) {
        s.PlatFileName = before;
        return r;
    }
    s.OpenedIndex = -1;
    for (int i = 0; i < s.orders.count; ++i)
        if (s.orders.items[std::size_t(i)].fileName == fileName) {
            s.OpenedIndex = i;
            break;
        }
    return r;
}

} // namespace archive
