#include "cli.h"

namespace app {

int runList(storage::Store&, QTextStream&, QTextStream& err) {
    err << "--list: not built yet\n";
    return 1;
}

} // namespace app
