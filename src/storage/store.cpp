#include "store.h"

#include <QDir>

namespace storage {

Store::Store() {
    clearRecord(Plat);
    clearRecord(PlatSnapshot);
    clearRecord(PlatFileName);
}

} // namespace storage
