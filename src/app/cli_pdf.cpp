#include "cli.h"

namespace app {

int runPdf(storage::Store&, const QString&, const QStringList&, QTextStream& err) {
    err << "--pdf: not built yet\n";
    return 1;
}

} // namespace app
