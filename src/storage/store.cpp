#include "store.h"

#include <QDir>

namespace storage {

Store::Store() {
    clearRecord(FirmShow);
    clearRecord(Plat);
    clearRecord(PlatSnapshot);
    clearRecord(PlatFileName);
    clearRecord(OpenedParties);
    clearRecord(DateYY);
}

} // namespace storage
