#include "cli.h"

#include "render/bankexchange.h"
#include "storage/store.h"

#include <QDateTime>

namespace app {

int runExport(storage::Store& store, const QString& outFile, const QStringList& orders,
              QTextStream& out, QTextStream& err) {
    QStringList paths;
    for (const QString& name : orders)
        paths << orderPath(store, name);
    const render::ExportResult r =
        render::ExportOrders(paths, outFile, QDateTime::currentDateTime());
    for (const render::LeftOutOrder& o : r.leftOut)
        err << render::LeftOutLine(o) << '\n';
    if (!r.io) {
        err << r.io.error << '\n';
        return 1;
    }
    (r.written > 0 ? out : err) << render::ExportWrittenLine(r.written, outFile) << '\n';
    return r.leftOut.isEmpty() ? 0 : 1;
}

} // namespace app
