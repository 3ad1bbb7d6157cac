#include "cli.h"

#include "storage/bikdirectory.h"
#include "storage/checkdigits.h"
#include "storage/cp1251.h"
#include "storage/folder.h"
#include "storage/folderdata.h"
#include "storage/orderdate.h"
#include "storage/party.h"
#include "storage/platfile.h"

namespace app {

int runCheck(storage::FolderData& store, QTextStream& out, QTextStream& err) {
    using storage::cp1251::toUnicode;
    int problems = 0;
    auto line = [&](const QStringList& columns) {
        out << columns.join(u'\t') << '\n';
        ++problems;
    };

    // The BIK directory, when one was imported: BIKs and correspondent accounts are also
    // looked up in it.
    bool failed = false;
    storage::BikDirectory bik;
    if (storage::IoResult loaded = storage::loadBikDirectory(store.folder.dataDir, bik); !loaded) {
        err << loaded.error << '\n';
        failed = true;
    }

    // The directory: every bank slot of every organization.
    for (int f = 0; f < store.directory.organizationCount; ++f) {
        const storage::OrganizationRecord& firm = store.directory.organizations[std::size_t(f)];
        for (const storage::DetailIssue& i : storage::checkOrganizationDetails(firm, 0, 3, &bik))
            line({toUnicode(firm.name.view()), storage::fieldCaption(i.field),
                  i.bankSlot < 0 ? QString() : QStringLiteral("Банк %1").arg(i.bankSlot + 1),
                  storage::problemText(i.problem)});
    }

    // The saved orders, every one in the folder, read as they are (no scan: a scan renames).
    if (storage::IoResult readable = storage::checkFolderReadable(store.folder.ordersDir);
        !readable) {
        err << readable.error << '\n';
        return 1;
    }
    for (const storage::FolderEntry& e : storage::listFiles(store.folder.ordersDir, u".plat")) {
        if (e.size != qint64(sizeof(storage::OrderRecord))) {
            err << storage::fileMessage(QStringLiteral("Не могу прочитать платежку"),
                                        store.folder.ordersDir + e.name,
                                        storage::wrongSizeReason(e.size, storage::PlatFileSize))
                << '\n';
            failed = true;
            continue;
        }
        storage::OrderRecord plat;
        if (storage::IoResult r = storage::readOrderFile(store.folder.ordersDir + e.name, plat);
            !r) {
            err << r.error << '\n';
            failed = true;
            continue;
        }
        // The date as the list, the form and the bank exchange file read it.
        const std::optional<storage::OrderDate> date =
            storage::OrderDate::parseStored(plat.date.view());
        if (!date || !date->isCalendarDate())
            line({e.name, QString(), QStringLiteral("Дата"),
                  storage::typedDateMessage(date ? storage::DateError::NotInCalendar
                                                 : storage::DateError::BadFormat,
                                            toUnicode(plat.date.view()))});
        for (bool payer : {true, false})
            for (const storage::DetailIssue& i : storage::checkOrganizationDetails(
                     storage::partyOrganization(plat, payer), 0, 0, &bik))
                line({e.name, payer ? QStringLiteral("Плательщик") : QStringLiteral("Получатель"),
                      storage::fieldCaption(i.field), storage::problemText(i.problem)});
    }
    out.flush();
    return problems > 0 || failed ? 1 : 0;
}

} // namespace app
