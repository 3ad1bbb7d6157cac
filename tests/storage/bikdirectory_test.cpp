// The BIK directory: the Bank of Russia's ED807 message read zipped or not, in either code
// page; the Data/Bik file kept from it; the look-up of a bank's details in it.
#include "support/support.h"

#include "ed807gen.h"

#include "storage/bikdirectory.h"
#include "storage/checkdigits.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace storage;
using testing_support::cp;
using testing_support::TempDir;

namespace {

const QDate Day(2026, 1, 15);

// Three banks as the directory describes them: one in force, one whose participation ended
// (with a closed account besides), one with two correspondent accounts.
QList<datagen::Ed807Bank> threeBanks() {
    QList<datagen::Ed807Bank> banks = datagen::ed807Banks(3);
    datagen::Ed807Bank& closed = banks[0];
    closed.bik = "045773603";
    closed.name = "АО «Уралбанк»";
    closed.town = "Пермь";
    closed.accounts = {};
    closed.closedAccounts = {"30101810900000000603"};
    closed.dateOut = QDate(2025, 3, 1);
    datagen::Ed807Bank& inForce = banks[1];
    inForce.bik = "044525225";
    inForce.name = "ПАО Сбербанк";
    inForce.town = "Москва";
    inForce.accounts = {"30101810400000000225"};
    datagen::Ed807Bank& twoAccounts = banks[2];
    twoAccounts.bik = "046577674";
    twoAccounts.name = "Уральский банк";
    twoAccounts.townKind = "п";
    twoAccounts.town = "Верх-Нейвинский";
    twoAccounts.accounts = {datagen::correspondentAccount("046577674", 0),
                            datagen::correspondentAccount("046577674", 1)};
    return banks;
}

} // namespace

TEST(BikDirectory, ReadsTheMessageZippedOrNotInEitherCodePage) {
    TempDir dir;
    const QByteArray cp1251 = datagen::ed807Message(threeBanks(), Day);
    ASSERT_TRUE(datagen::writeZip(dir.file("bik.zip"), "20260115_ED807_full.xml", cp1251));
    const struct {
        const char* name;
        QByteArray bytes;
    } rows[] = {
        {"windows-1251", cp1251},
        {"UTF-8", datagen::ed807Message(threeBanks(), Day, "UTF-8")},
        {"zipped", dir.read("bik.zip")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const BikImport r = readBikMessage(row.bytes);
        ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
        EXPECT_TRUE(r.leftOut.isEmpty());
        EXPECT_EQ(r.directory.date, Day);
        ASSERT_EQ(r.directory.banks.size(), 3);
        const BikBank* sber = r.directory.find(std::string_view("044525225"));
        ASSERT_NE(sber, nullptr);
        EXPECT_EQ(sber->name, QString("ПАО Сбербанк"));
        EXPECT_EQ(sber->town, QString("г. Москва"));
        EXPECT_EQ(sber->accounts, QStringList{"30101810400000000225"});
        EXPECT_FALSE(sber->isClosed());
        const BikBank* closed = r.directory.find(u"045773603");
        ASSERT_NE(closed, nullptr);
        EXPECT_EQ(closed->closed, QDate(2025, 3, 1));
        EXPECT_TRUE(closed->accounts.isEmpty()); // its one account was struck out
        EXPECT_EQ(r.directory.find(u"046577674")->accounts.size(), 2);
        EXPECT_EQ(r.directory.find(u"046577674")->town, QString("п. Верх-Нейвинский"));
        EXPECT_EQ(r.directory.find(u"044525000"), nullptr);
    }
}

TEST(BikDirectory, BrokenMessagesAreRefusedWithTheirReasonAndBadEntriesLeftOut) {
    TempDir dir;
    const QByteArray whole = datagen::ed807Message(threeBanks(), Day);
    ASSERT_TRUE(datagen::writeZip(dir.file("other.zip"), "readme.txt", "no directory"));
    const struct {
        const char* name;
        QByteArray bytes;
        const char* error;
    } rows[] = {
        {"truncated", whole.left(whole.size() / 2),
         "Справочник БИК не прочитан: файл поврежден или неполон"},
        {"another message", "<?xml version=\"1.0\"?><ED101/>",
         "Справочник БИК не прочитан: это не справочник БИК (сообщение ED807)"},
        {"zip without XML", dir.read("other.zip"),
         "Справочник БИК не прочитан: в архиве нет файла .xml"},
        {"damaged zip", QByteArray("PK\x03\x04garbage", 11),
         "Справочник БИК не прочитан: архив zip поврежден или не является архивом"},
        {"no bank", datagen::ed807Message({}, Day),
         "Справочник БИК не прочитан: в нем нет ни одного банка"},
    };
    for (const auto& row : rows) {
        const BikImport r = readBikMessage(row.bytes);
        EXPECT_TRUE(r.error.startsWith(QString(row.error)))
            << row.name << ": " << r.error.toStdString();
        EXPECT_TRUE(r.directory.isEmpty()) << row.name;
    }

    QList<datagen::Ed807Bank> banks = threeBanks();
    banks[0].bik = "04577360";
    const BikImport r = readBikMessage(datagen::ed807Message(banks, Day));
    EXPECT_EQ(r.leftOut, QStringList{"запись с БИК «04577360»: БИК должен состоять из 9 цифр"});
    EXPECT_EQ(r.directory.banks.size(), 2);
}

TEST(BikDirectory, ImportKeepsDataBikThatReadsBackAndADamagedFileIsRefused) {
    TempDir dir;
    QDir(dir.path()).mkpath("Data");
    const QString data = dir.file("Data/");
    dir.write("bik.xml", datagen::ed807Message(threeBanks(), Day));

    BikDirectory loaded;
    EXPECT_TRUE(loadBikDirectory(data, loaded)); // none imported yet
    EXPECT_TRUE(loaded.isEmpty());

    // Another program holds the folder: nothing is written.
    EXPECT_FALSE(importBikDirectory(data, true, dir.file("bik.xml")).error.isEmpty());
    EXPECT_FALSE(dir.exists("Data/Bik"));

    const BikImport imported = importBikDirectory(data, false, dir.file("bik.xml"));
    ASSERT_TRUE(imported.error.isEmpty()) << imported.error.toStdString();
    EXPECT_EQ(bikImportReport(imported),
              QString("Загружен справочник БИК от 15.01.2026 (записей: 3)."));
    ASSERT_TRUE(loadBikDirectory(data, loaded));
    EXPECT_EQ(bikFileBytes(loaded), dir.read("Data/Bik"));
    EXPECT_EQ(loaded.date, Day);
    EXPECT_EQ(loaded.find(u"045773603")->closed, QDate(2025, 3, 1));

    // A message that cannot be read keeps the directory imported before.
    dir.write("bad.xml", "<ED807");
    EXPECT_FALSE(importBikDirectory(data, false, dir.file("bad.xml")).error.isEmpty());
    EXPECT_EQ(bikFileBytes(loaded), dir.read("Data/Bik"));

    dir.write("Data/Bik", dir.read("Data/Bik").replace("044525225", "04452522X"));
    const IoResult damaged = loadBikDirectory(data, loaded);
    EXPECT_FALSE(damaged);
    EXPECT_TRUE(damaged.error.contains("Data/Bik")) << damaged.error.toStdString();
    EXPECT_TRUE(loaded.isEmpty());
}

TEST(BikDirectory, BankDetailsAreLookedUpWhenTheBikIsWellFormed) {
    const BikDirectory d = readBikMessage(datagen::ed807Message(threeBanks(), Day)).directory;
    const auto problems = [&d](const QString& bik, const QString& corr) {
        OrganizationRecord f{};
        f.banks[1].bik.assign(bik.toLatin1());
        f.banks[1].corrAccount.assign(corr.toLatin1());
        QStringList out;
        for (const DetailIssue& i : checkOrganizationDetails(f, 1, 1, &d))
            out << fieldCaption(i.field) + ": " + problemText(i.problem);
        return out;
    };
    EXPECT_EQ(problems("044525225", "30101810400000000225"), QStringList());
    EXPECT_EQ(problems("044525225", ""), QStringList());
    EXPECT_EQ(problems("044525000", ""), QStringList{"БИК: БИК не найден в справочнике БИК"});
    EXPECT_EQ(problems("045773603", ""),
              QStringList{"БИК: Банк больше не участвует в расчетах (по справочнику БИК)"});
    // Either of the two accounts is the bank's; a third that fits the BIK is not.
    EXPECT_EQ(problems("046577674", datagen::correspondentAccount("046577674", 1)), QStringList());
    EXPECT_EQ(problems("046577674", datagen::correspondentAccount("046577674", 2)),
              QStringList{"К/Сч.: Корр. счет не совпадает со справочником БИК"});
    // A malformed BIK or account is told as such, not looked up.
    EXPECT_EQ(problems("04452522", ""), QStringList{"БИК: БИК должен состоять из 9 цифр"});
    EXPECT_EQ(problems("044525225", "30101810400000000226"),
              QStringList{"К/Сч.: Корр. счет не соответствует БИК"});

    const BikBank& sber = *d.find(u"044525225");
    EXPECT_EQ(bankNames(sber).shortName, QString("ПАО Сбербанк г. Москва"));
    EXPECT_EQ(bankNames(sber).fullName, QString("ПАО Сбербанк г. Москва"));
}
