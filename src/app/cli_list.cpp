#include "cli.h"

#include "storage/cp1251.h"
#include "storage/scan.h"
#include "storage/store.h"

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

} // namespace app
