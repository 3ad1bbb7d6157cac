// The archive of saved orders as the list window uses it: every order however many, the rows
// that sort, search and filter leave, the index it keeps, and the changes that say which order
// changed.
#include "support/support.h"

#include "core/engine.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <gtest/gtest.h>

using testing_support::cp;
using testing_support::cps;
using testing_support::PlatFields;
using testing_support::platFile;
using testing_support::TempDir;

namespace {

struct Archive {
    TempDir dir;
    std::unique_ptr<storage::FolderData> data = std::make_unique<storage::FolderData>();
    core::Engine engine{*data};
    core::OrderArchive& archive = engine.archive;

    Archive() {
        data->folder.setProgramDir(dir.path());
        for (const char* sub : {"Data", "PP", "PPDel"})
            QDir(dir.path()).mkpath(QLatin1String(sub));
        storage::OrganizationRecord& o = data->directory.organizations[0];
        o.name.assign(cps("Общество с ограниченной ответственностью Вега"));
        o.inn = "7701000001";
        o.banks[0].account = "40702810900000000001";
        data->directory.organizationCount = 1;
    }
    static QString name(int number, const char* payer = "7701000001") {
        return QStringLiteral("%1_%2_26.plat").arg(number).arg(QLatin1String(payer));
    }
    void put(int number, const char* payee, const char* amount, const char* purpose = "",
             const char* payer = "7701000001") const {
        const std::string n = std::to_string(number);
        dir.write("PP/" + name(number, payer),
                  platFile({n.c_str(), payer, "03.02.2026", payee, amount, 0, purpose}));
    }
    QStringList column(int c) const {
        QStringList out;
        for (int row = 0; row < archive.rowCount(); ++row)
            out << archive.cellText(row, c);
        return out;
    }
};

} // namespace

TEST(OrderArchive, ShowsEveryOrderBeyond1024WithSortSearchAndFilterTogether) {
    Archive a;
    for (int n = 1; n <= 1100; ++n)
        a.put(n, n % 2 ? "7702000002" : "5500000003", n % 100 == 7 ? "9-00" : "10-00",
              n % 100 == 7 ? "Оплата аренды" : "Оплата товара");
    a.put(1101, "7702000002", "1-00", "Оплата аренды", "4400000004");
    ASSERT_TRUE(a.archive.scan(2026));
    EXPECT_EQ(a.archive.rowCount(), 1101) << "no ceiling of 1024";
    EXPECT_EQ(a.archive.cellText(1099, 0), "1100");
    EXPECT_EQ(a.archive.cellText(0, 2), "ООО Вега") << "the directory's name, shortened";
    EXPECT_EQ(a.archive.cellText(1100, 2), "4400000004");
    EXPECT_EQ(a.archive.highestNumber("7701000001"), 1100u);
    EXPECT_EQ(a.archive.highestNumber("4400000004"), 1101u);
    EXPECT_EQ(a.archive.highestNumber("1234567890"), 0u);

    // The orders of one payee whose purpose has a word starting "аренд", the highest number
    // first; then by amount, equal amounts in the order of the list.
    a.archive.setFilter({std::string("7701000001"), std::string("7702000002")});
    a.archive.setSearch(QStringLiteral("АРЕНД"));
    a.archive.sort(0, Qt::DescendingOrder);
    const QStringList numbers = a.column(0);
    ASSERT_EQ(numbers.size(), 11);
    EXPECT_EQ(numbers.first(), "1007");
    EXPECT_EQ(numbers.last(), "7");
    EXPECT_EQ(a.archive.sum(0, 10).total.kopecks(), 9900);
    a.archive.setFilter({});
    a.archive.sort(4, Qt::AscendingOrder);
    EXPECT_EQ(a.column(0).mid(0, 3), (QStringList{"1101", "7", "107"}));
    a.archive.setSearch(QStringLiteral("9-0 аренды"));
    EXPECT_EQ(a.archive.rowCount(), 11) << "the amount as written, with another separator too";
    a.archive.setSearch({});
    EXPECT_EQ(a.archive.rowCount(), 1101);
    EXPECT_EQ(a.archive.ordersWithParty("7702000002"), 551);
}

TEST(OrderArchive, IndexIsWrittenButNotByAReadOnlyRunAndADamagedOneLosesNothing) {
    Archive a;
    a.put(1, "7702000002", "10-00");
    a.put(2, "7702000002", "20-00");
    const QString index = a.dir.file("Data/Index");

    a.data->folder.readOnly = true;
    ASSERT_TRUE(a.archive.scan(2026));
    EXPECT_FALSE(QFile::exists(index));
    EXPECT_EQ(a.archive.rowCount(), 2);

    a.data->folder.readOnly = false;
    ASSERT_TRUE(a.archive.scan(2026));
    ASSERT_TRUE(QFile::exists(index));
    QFile f(index);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.resize(f.size() / 2);
    f.close();
    // An order changed behind the program's back, same size.
    a.put(2, "7702000002", "30-00");
    ASSERT_TRUE(a.archive.scan(2026));
    EXPECT_EQ(a.column(4), (QStringList{"10-00", "30-00"}));
}

TEST(OrderArchive, EveryChangeWritesItsFilesAndSaysWhichOrderChanged) {
    Archive a;
    a.put(1, "7702000002", "10-00");
    storage::OrderRecord paid;
    storage::clearRecord(paid);
    paid.number = "2";
    paid.date = "03.02.2026";
    paid.amount = "1500-00";
    paid.payerInn = "7701000001";
    paid.payerAccount = "40702810900000000001";
    a.dir.write("PP/" + Archive::name(2), storage::recordBytes(paid));
    ASSERT_TRUE(a.archive.scan(2026));
    QSignalSpy changed(&a.archive, &core::OrderArchive::orderChanged);
    QSignalSpy removed(&a.archive, &core::OrderArchive::orderRemoved);

    // A save of the 1025th order or of any other: its file is read again and listed.
    a.put(1025, "7702000002", "5-00");
    a.archive.refreshOrder(Archive::name(1025));
    EXPECT_EQ(a.column(0), (QStringList{"1", "2", "1025"}));
    EXPECT_EQ(changed.takeFirst().at(0).toString(), Archive::name(1025));
    EXPECT_EQ(a.archive.highestNumber("7701000001"), 1025u);

    ASSERT_TRUE(a.archive.deleteOrder(Archive::name(1).toStdString()));
    EXPECT_EQ(removed.takeFirst().at(0).toString(), Archive::name(1));
    EXPECT_EQ(a.column(0), (QStringList{"2", "1025"}));
    bool taken = true;
    ASSERT_TRUE(a.archive.restoreOrder("1_7701000001_26.pdel", taken));
    EXPECT_FALSE(taken);
    EXPECT_EQ(a.column(0), (QStringList{"1", "2", "1025"}));
    EXPECT_EQ(changed.takeFirst().at(0).toString(), Archive::name(1));

    // A statement that shows order 2 debited marks it paid; its row follows.
    const QString statement = QStringLiteral(
        "1CClientBankExchange\nВерсияФормата=1.03\nКодировка=Windows\nДатаНачала=01.02.2026\n"
        "ДатаКонца=28.02.2026\nРасчСчет=40702810900000000001\nСекцияДокумент=Платежное "
        "поручение\nНомер=2\nДата=03.02.2026\nСумма=1500.00\nПлательщикСчет=40702810900000000001\n"
        "ДатаСписано=03.02.2026\nКонецДокумента\nКонецФайла\n");
    a.dir.write("kl_to_1c.txt", cp(statement.toStdString().c_str()));
    const storage::StatementOutcome r = a.archive.importStatement(a.dir.file("kl_to_1c.txt"));
    EXPECT_EQ(r.marked, QStringList{Archive::name(2)}) << r.error.toStdString();
    EXPECT_EQ(a.column(5), (QStringList{"Не оплачено", "Оплачено", "Не оплачено"}));
    EXPECT_EQ(changed.takeFirst().at(0).toString(), Archive::name(2));
    EXPECT_TRUE(removed.isEmpty());

    // A file gone behind the program's back leaves the list when it is read again.
    QFile::remove(a.dir.file("PP/" + Archive::name(1025)));
    a.archive.refreshOrder(Archive::name(1025));
    EXPECT_EQ(removed.takeFirst().at(0).toString(), Archive::name(1025));
    EXPECT_EQ(a.archive.rowCount(), 2);
}
