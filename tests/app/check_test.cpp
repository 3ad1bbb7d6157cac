// --check: the check-digit and format problems of the directory and of the saved orders, one
// tab-separated line each, through the program itself.
#include "support/support.h"

#include "program.h"

#include "storage/records.h"
#include "storage/shortstr.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <gtest/gtest.h>

using testing_support::cps;
using testing_support::Outcome;
using testing_support::runProgram;
using testing_support::TempDir;

namespace {

// Every file of the folder with a hash of its content.
QStringList snapshot(const TempDir& dir) {
    QStringList files;
    for (QDirIterator it(dir.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        files << path + ' ' +
                     QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1).toHex();
    }
    files.sort();
    return files;
}

// A folder with one clean organization, one with known problems, and an order whose payee
// has the correspondent account of another bank.
void prepare(const TempDir& dir, bool withProblems) {
    std::array<storage::OrganizationRecord, storage::MaxFirms> firms{};
    storage::clearRecord(firms);
    storage::OrganizationRecord& clean = firms[0];
    clean.name = "Clean";
    clean.inn = "7707083893";
    clean.kpp = "773601001";
    clean.banks[0].account = "40702810938000012345";
    clean.banks[0].corrAccount = "30101810400000000225";
    clean.banks[0].bik = "044525225";
    if (withProblems) {
        storage::OrganizationRecord& vega = firms[1];
        vega.name = cps("Вега");
        vega.inn = "7707083894";
        vega.kpp = "77360100";
        vega.banks[1] = clean.banks[0];
        vega.banks[1].account = "40702810038000012345";
    }
    QDir(dir.path()).mkpath("Data");
    QDir(dir.path()).mkpath("PP");
    dir.write("Data/Firms", storage::recordBytes(firms));

    storage::OrderRecord p;
    storage::clearRecord(p);
    p.number = "7"; // not the number of the file name: a scan would rename the file
    p.date = "01.02.2026";
    p.payerInn = clean.inn;
    p.payerAccount = clean.banks[0].account;
    p.payerCorrAccount = clean.banks[0].corrAccount;
    p.payerBik = clean.banks[0].bik;
    p.payeeInn = "500100732259";
    p.payeeBik = withProblems ? "044030653" : "044525225";
    p.payeeCorrAccount = "30101810400000000225";
    dir.write("PP/1_7707083893_26.plat", storage::recordBytes(p));
}

} // namespace

TEST(CheckMode, ListsTheProblemsOfTheDirectoryAndTheOrdersAndChangesNothing) {
    TempDir dir;
    prepare(dir, true);
    const QStringList before = snapshot(dir);
    const Outcome r = runProgram({"--dir", dir.path(), "--check"});
    EXPECT_EQ(r.status, 1) << r.err.toStdString();
    EXPECT_EQ(r.out.toStdString(), "Вега\tИНН\t\tНеверное контрольное число ИНН\n"
                                   "Вега\tКПП\t\tКПП должен состоять из 9 цифр (5-й и 6-й знаки "
                                   "могут быть заглавными латинскими буквами)\n"
                                   "Вега\tР/Сч.\tБанк 2\tСчет не соответствует БИК\n"
                                   "1_7707083893_26.plat\tПолучатель\tК/Сч.\tКорр. счет не "
                                   "соответствует БИК\n");
    EXPECT_EQ(snapshot(dir), before);
}

TEST(CheckMode, CleanFolderPrintsNothingAndAUsageErrorGivesTwo) {
    TempDir dir;
    prepare(dir, false);
    const Outcome clean = runProgram({"--dir", dir.path(), "--check"});
    EXPECT_EQ(clean.status, 0) << clean.err.toStdString();
    EXPECT_EQ(clean.out, QString());
    EXPECT_EQ(runProgram({"--dir", dir.path(), "--check", "--list"}).status, 2);
}
