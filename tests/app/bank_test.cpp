// The road to the bank and back through the program itself: orders exported for the bank
// client, its statement marking the debited ones paid, and the BIK directory that --check
// compares the banks with.
#include "support/support.h"

#include "program.h"

#include "ed807gen.h"
#include "storage/records.h"

#include <QDir>
#include <gtest/gtest.h>

using testing_support::cp;
using testing_support::Outcome;
using testing_support::runProgram;
using testing_support::TempDir;
using testing_support::uni;

namespace {

const char* const Account = "40702810938000012345";

// The directory with one organization that pays from Account at bank 044525225.
void prepareDirectory(const TempDir& dir, const char* bik = "044525225") {
    std::array<storage::OrganizationRecord, storage::MaxFirms> firms{};
    storage::clearRecord(firms);
    firms[0].name.assign(cp("ООО «Вега»"));
    firms[0].inn = "7701000001";
    firms[0].banks[0].account = Account;
    firms[0].banks[0].bik.assign(std::string_view(bik));
    QDir(dir.path()).mkpath("Data");
    QDir(dir.path()).mkpath("PP");
    dir.write("Data/Firms", storage::recordBytes(firms));
}

QString saveOrder(const TempDir& dir, int number, const char* date, const char* amount) {
    storage::OrderRecord p;
    storage::clearRecord(p);
    p.number.assign(QByteArray::number(number));
    p.date.assign(std::string_view(date));
    p.amount.assign(std::string_view(amount));
    p.payerName.assign(cp("ООО «Вега»"));
    p.payerInn = "7701000001";
    p.payerAccount = Account;
    p.payerBik = "044525225";
    p.payeeName.assign(cp("АО «Бумага»"));
    p.payeeInn = "7707083893";
    p.payeeAccount = "40702810500000000002";
    p.purpose.assign(cp("Оплата по счету"));
    const QString name = QString("%1_7701000001_26.plat").arg(number);
    dir.write("PP/" + name, storage::recordBytes(p));
    return name;
}

// The statement the bank client gives back for an exported file: the documents of the
// numbers debited, each with its ДатаСписано, the others left out, and one debit of the
// bank's own that no saved order stands for.
QByteArray statementFrom(const QByteArray& exported, const QStringList& debited) {
    const QStringList sections = uni(exported.toStdString()).split("СекцияДокумент=");
    QString text = sections[0];
    for (qsizetype i = 1; i < sections.size(); ++i) {
        const QString number = sections[i].section("Номер=", 1).section("\r\n", 0, 0);
        if (!debited.contains(number))
            continue;
        const QString date = sections[i].section("Дата=", 1).section("\r\n", 0, 0);
        QString doc = "СекцияДокумент=" + sections[i];
        doc.replace("КонецДокумента", "ДатаСписано=" + date + "\r\nКонецДокумента");
        doc.remove("КонецФайла\r\n");
        text += doc;
    }
    text += QString("СекцияДокумент=Банковский ордер\r\nНомер=99\r\nДата=10.02.2026\r\n"
                    "Сумма=150.00\r\nПлательщикСчет=%1\r\nДатаСписано=10.02.2026\r\n"
                    "Получатель1=Комиссия банка\r\nКонецДокумента\r\nКонецФайла\r\n")
                .arg(Account);
    return cp(text.toUtf8().constData());
}

} // namespace

TEST(BankRoad, StatementOfExportedOrdersMarksTheDebitedOnesAndASecondImportChangesNothing) {
    TempDir dir, elsewhere;
    prepareDirectory(dir);
    const QStringList names{saveOrder(dir, 1, "02.02.2026", "1000-00"),
                            saveOrder(dir, 2, "03.02.2026", "2000-00"),
                            saveOrder(dir, 3, "04.02.2026", "3000-00")};
    const QString exported = elsewhere.file("1c_to_kl.txt");
    ASSERT_EQ(runProgram(QStringList{"--dir", dir.path(), "--export", exported} + names).status, 0);
    elsewhere.write("kl_to_1c.txt", statementFrom(elsewhere.read("1c_to_kl.txt"), {"1", "2"}));
    const QByteArray third = dir.read("PP/" + names[2]);

    const QStringList import{"--dir", dir.path(), "--import-statement",
                             elsewhere.file("kl_to_1c.txt")};
    Outcome r = runProgram(import);
    EXPECT_EQ(r.status, 1); // the bank's own debit is a line left aside
    EXPECT_EQ(r.out.toStdString(),
              "Отмечено оплаченными: 2.\nНе списана по выписке: 3_7701000001_26.plat: "
              "№ 3 от 04.02.2026, 3000.00\n");
    EXPECT_TRUE(r.err.contains("Нет среди сохраненных платежек: № 99 от 10.02.2026, 150.00, "
                               "Комиссия банка\n"))
        << r.err.toStdString();
    for (const QString& name : names.first(2))
        EXPECT_EQ(dir.read("PP/" + name).at(1168), '\x01') << name.toStdString();
    EXPECT_EQ(dir.read("PP/" + names[2]), third);
    const QString list = runProgram({"--dir", dir.path(), "--list"}).out;
    EXPECT_TRUE(list.contains("2\t03.02.2026\tООО «Вега»\t7707083893\t2000-00\tОплачено"))
        << list.toStdString();

    const testing_support::Tree before = testing_support::folderTree(dir.path());
    r = runProgram(import);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.startsWith("Отмечено оплаченными: 0. Уже были отмечены: 2.\n"))
        << r.out.toStdString();
    EXPECT_EQ(testing_support::folderTree(dir.path()), before);

    EXPECT_EQ(runProgram({"--dir", dir.path(), "--import-statement"}).status, 2);
}

TEST(BankRoad, ImportedBikDirectoryNamesTheBankTownAndCheckReportsUnknownBanks) {
    TempDir dir, elsewhere;
    prepareDirectory(dir, "045004225"); // a BIK the directory does not know
    const QString name = saveOrder(dir, 1, "02.02.2026", "1000-00");
    QList<datagen::Ed807Bank> banks = datagen::ed807Banks(2);
    banks[0].bik = "044525225";
    banks[0].town = "Москва";
    banks[0].accounts = {datagen::correspondentAccount("044525225")};
    ASSERT_TRUE(datagen::writeZip(elsewhere.file("ED807.zip"), "20260115_ED807_full.xml",
                                  datagen::ed807Message(banks, QDate(2026, 1, 15))));

    Outcome r = runProgram({"--dir", dir.path(), "--import-bik", elsewhere.file("ED807.zip")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.toStdString(), "Загружен справочник БИК от 15.01.2026 (записей: 2).\n");
    EXPECT_TRUE(dir.exists("Data/Bik"));

    r = runProgram({"--dir", dir.path(), "--check"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.toStdString(), "ООО «Вега»\tБИК\tБанк 1\tБИК не найден в справочнике БИК\n");

    // The order's bank (044525225, no town in its name) is sent with the directory's town.
    ASSERT_EQ(runProgram({"--dir", dir.path(), "--export", elsewhere.file("out.txt"), name}).status,
              0);
    EXPECT_TRUE(elsewhere.read("out.txt").contains(cp("ПлательщикБанк2=г. Москва\r\n")));

    EXPECT_EQ(runProgram({"--dir", dir.path(), "--import-bik", elsewhere.file("none.zip")}).status,
              1);
}
