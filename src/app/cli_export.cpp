#include "cli.h"

#include "render/bankexchange.h"
#include "storage/bikdirectory.h"
#include "storage/folderdata.h"

#include <QDateTime>

namespace app {

int runExport(storage::FolderData& store, const QString& outFile, const QStringList& orders,
              QTextStream& out, QTextStream& err) {
    QStringList paths;
    for (const QString& name : orders)
        paths << orderPath(store, name);
    // Without a readable BIK directory the banks' towns come from their names.
    storage::BikDirectory bik;
    if (storage::IoResult loaded = storage::loadBikDirectory(store.folder.dataDir, bik); !loaded)
        err << loaded.error << '\n';
    const render::ExportResult r =
        render::exportOrders(paths, outFile, QDateTime::currentDateTime(), &bik);
    for (const render::LeftOutOrder& o : r.leftOut)
        err << render::leftOutLine(o) << '\n';
    if (!r.io) {
        err << r.io.error << '\n';
        return 1;
    }
    (r.written > 0 ? out : err) << render::exportWrittenLine(r.written, outFile) << '\n';
    return r.leftOut.isEmpty() ? 0 : 1;
}

} // namespace app
