#include "cli.h"

#include "render/orderinput.h"
#include "render/print/formprint.h"
#include "storage/folderdata.h"
#include "storage/platfile.h"

#include <QDir>
#include <QFileInfo>

namespace app {

QString orderPath(const storage::FolderData& store, const QString& name) {
    const QByteArray local = QFile::encodeName(name);
    return storage::isPlainFileName(std::string_view(local.constData(), local.size()))
               ? store.folder.ordersDir + name
               : name;
}

int runPdf(storage::FolderData& store, const QString& outFile, const QStringList& orders,
           QTextStream& err) {
    // A missing order is named before anything is written. Each order is read as its page is
    // drawn, so that memory stays flat however many orders the file takes; one that cannot
    // be read ends the writing, and the file is then not created.
    QStringList paths;
    for (const QString& name : orders) {
        const QString path = orderPath(store, name);
        if (!QFileInfo(path).isFile()) {
            err << QStringLiteral("Платежка не найдена: %1\n").arg(QDir::toNativeSeparators(path));
            return 1;
        }
        paths << path;
    }
    storage::OrderRecord plat;
    const storage::IoResult written =
        render::writeFormsPdf(outFile, paths.size(), [&](qsizetype i, render::OrderInput& input) {
            storage::IoResult r = storage::readOrderFile(paths[i], plat);
            if (r)
                input = render::orderInputFromRecord(plat);
            return r;
        });
    if (!written) {
        err << written.error << '\n';
        return 1;
    }
    return 0;
}

} // namespace app
