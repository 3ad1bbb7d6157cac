#include "cli.h"

#include "render/orderinput.h"
#include "render/print/formprint.h"
#include "storage/platfile.h"
#include "storage/store.h"

#include <QDir>
#include <QFileInfo>

namespace app {

int runPdf(storage::Store& store, const QString& outFile, const QStringList& orders,
           QTextStream& err) {
    // Every order is read before anything is written, so a missing one leaves no file.
    QList<render::OrderInput> inputs;
    for (const QString& name : orders) {
        const QByteArray local = QFile::encodeName(name);
        const QString path =
            storage::isPlainFileName(std::string_view(local.constData(), local.size()))
                ? store.PlatDir + name
                : name;
        if (!QFileInfo(path).isFile()) {
            err << QStringLiteral("Платежка не найдена: %1\n").arg(QDir::toNativeSeparators(path));
            return 1;
        }
        storage::TPlat plat;
        if (storage::IoResult r = storage::ReadPlatFile(path, plat); !r) {
            err << r.error << '\n';
            return 1;
        }
        inputs << render::OrderInputFromPlat(plat);
    }
    if (storage::IoResult r = render::WriteFormsPdf(outFile, inputs); !r) {
        err << r.error << '\n';
        return 1;
    }
    return 0;
}

} // namespace app
