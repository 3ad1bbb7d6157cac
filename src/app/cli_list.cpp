#include "cli.h"

#include "storage/cp1251.h"
#include "storage/savedorders.h"
#include "storage/scan.h"
#include "storage/store.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace app {

int runList(storage::Store& store, QTextStream& out, QTextStream& err) {
    const QFileInfo folder(store.folder.ordersDir);
    if (store.folder.readOnly && !folder.exists())
        return 0; // not made in a folder that another program holds: no saved orders
    if (!folder.isDir() || !folder.isReadable()) {
        err << QStringLiteral("Не могу прочитать папку сохраненных платежек %1\n")
                   .arg(QDir::toNativeSeparators(store.folder.ordersDir));
        return 1;
    }
    // The orders that could not be read are named on err; every other one is printed.
    const storage::IoResult scanned = storage::scanAtStart(store);
    if (!scanned)
        err << scanned.error << '\n';
    if (!scanned && storage::unreadableOrders(store).isEmpty())
        return 1;
    using storage::cp1251::toUnicode;
    for (int i = 0; i < store.orders.count; ++i) {
        const storage::OrderListItem& e = store.orders.items[std::size_t(i)];
        if (!e.problem.empty())
            continue;
        out << toUnicode(e.numberText.view()) << '\t' << toUnicode(e.dateText.view()) << '\t'
            << toUnicode(e.payerText.view()) << '\t' << toUnicode(e.payeeText.view()) << '\t'
            << toUnicode(e.amountText.view()) << '\t'
            << (e.accepted == 1 ? QStringLiteral("Оплачено") : QStringLiteral("Не оплачено"))
            << '\t' << QString::fromLatin1(e.fileName.bytes()) << '\n';
    }
    out.flush();
    return scanned ? 0 : 1;
}

int runListDeleted(storage::Store& store, QTextStream& out, QTextStream& err) {
    storage::DeletedOrders deleted;
    if (const storage::IoResult r = storage::scanDeletedOrders(store.folder.deletedDir, deleted);
        !r) {
        err << r.error << '\n';
        return 1;
    }
    using storage::cp1251::toUnicode;
    storage::FirmNames names(store);
    const auto party = [&names](std::string_view inn) {
        storage::ShortStr<128> name;
        if (!names.find(inn, name))
            name.assign(inn);
        return toUnicode(name.view());
    };
    int status = 0;
    for (const std::uint32_t i : deleted.newestFirst) {
        const storage::FolderOrder& o = deleted.scan.orders[i];
        const QString file = QFile::decodeName(o.name.bytes());
        if (o.unread) {
            err << storage::fileMessage(QStringLiteral("Не могу прочитать удаленную платежку"),
                                        store.folder.deletedDir + file, deleted.problems[i])
                << '\n';
            status = 1;
            continue;
        }
        out << toUnicode(o.number.view()) << '\t' << toUnicode(o.date.view()) << '\t'
            << party(o.payerInn.view()) << '\t' << party(o.payeeInn.view()) << '\t'
            << toUnicode(o.amount.view()) << '\t'
            << QDateTime::fromMSecsSinceEpoch(deleted.deletedNs(i) / 1000000)
                   .toString(QStringLiteral("dd.MM.yyyy hh:mm"))
            << '\t' << file << '\n';
    }
    out.flush();
    return status;
}

} // namespace app
