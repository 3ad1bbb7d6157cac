#include "cli.h"

#include "core/engine.h"
#include "storage/cp1251.h"
#include "storage/folderdata.h"
#include "storage/savedorders.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace app {

int runList(storage::FolderData& store, QTextStream& out, QTextStream& err) {
    const QFileInfo folder(store.folder.ordersDir);
    if (store.folder.readOnly && !folder.exists())
        return 0; // not made in a folder that another program holds: no saved orders
    if (!folder.isDir() || !folder.isReadable()) {
        err << QStringLiteral("Не могу прочитать папку сохраненных платежек %1\n")
                   .arg(QDir::toNativeSeparators(store.folder.ordersDir));
        return 1;
    }
    // The orders that could not be read are named on err; every other one is printed.
    core::Engine engine(store);
    core::OrderArchive& archive = engine.archive;
    const storage::IoResult scanned = archive.scan();
    if (!scanned)
        err << scanned.error << '\n';
    const storage::SavedOrders& orders = archive.orders();
    if (!scanned && orders.problems().empty())
        return 1;
    using storage::cp1251::toUnicode;
    for (int row = 0; row < archive.rowCount(); ++row) {
        if (orders.row(archive.orderAt(row)).problem)
            continue;
        for (int column = 0; column < core::OrderArchive::ColumnCount; ++column)
            out << archive.cellText(row, column) << '\t';
        out << archive.fileNameAt(row) << '\n';
    }
    out.flush();
    return scanned ? 0 : 1;
}

int runListDeleted(storage::FolderData& store, QTextStream& out, QTextStream& err) {
    storage::DeletedOrders deleted;
    if (const storage::IoResult r = storage::scanDeletedOrders(store.folder.deletedDir, deleted);
        !r) {
        err << r.error << '\n';
        return 1;
    }
    using storage::cp1251::toUnicode;
    const core::Engine engine(store);
    const auto party = [&engine](std::string_view inn) { return engine.archive.partyName(inn); };
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
