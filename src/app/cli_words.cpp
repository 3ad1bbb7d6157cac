#include "cli.h"

namespace app {

int runWords(const QString&, QTextStream&, QTextStream&, QTextStream& err) {
    err << "--words: not built yet\n";
    return 1;
}

} // namespace app
