// Statements of the bank client (kl_to_1c.txt): which saved orders a statement marks accepted
// by the bank, and the statements that are refused whole.
#include "support/support.h"

#include "storage/statement.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace storage;
using testing_support::cp;
using testing_support::folderTree;
using testing_support::TempDir;

namespace {

const QString Ours = QStringLiteral("40702810900000000001");
const QString Name = QStringLiteral("15_7701000001_26.plat");

// A debit of the statement: number, date, amount, payer account.
QString debit(const QString& number, const QString& date, const QString& amount,
              const QString& account = Ours) {
    return QStringLiteral("СекцияДокумент=Платежное поручение\nНомер=%1\nДата=%2\nСумма=%3\n"
                          "ПлательщикСчет=%4\nДатаСписано=%2\nПолучатель1=АО «Бумага»\n"
                          "ПолучательСчет=40702810500000000002\nКонецДокумента\n")
        .arg(number, date, amount, account);
}

// A statement of account Ours for February 2026 with the documents given, CR LF lines.
QByteArray statement(const QStringList& documents, const char* codec = "windows-1251") {
    QString text =
        QStringLiteral(
            "1CClientBankExchange\nВерсияФормата=1.03\nКодировка=%1\nОтправитель=Банк-клиент\n"
            "ДатаНачала=01.02.2026\nДатаКонца=28.02.2026\nРасчСчет=%2\nСекцияРасчСчет\n"
            "ДатаНачала=01.02.2026\nДатаКонца=28.02.2026\nРасчСчет=%2\nНачальныйОстаток=5000.00\n"
            "ВсегоСписано=1500.00\nВсегоПоступило=0.00\nКонецРасчСчет\n")
            .arg(QByteArray(codec) == "IBM866" ? "DOS" : "Windows", Ours);
    text += documents.join(QString()) + QStringLiteral("КонецФайла\n");
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    QStringEncoder encoder(codec);
    return encoder.encode(text);
}

// A program folder whose directory has account Ours, with order 15 of 03.02.2026 for
// 1500-00 saved.
struct Folder {
    TempDir dir;
    std::unique_ptr<FolderData> s = std::make_unique<FolderData>();
    QByteArray order;

    Folder() {
        s->folder.setProgramDir(dir.path());
        QDir(dir.path()).mkpath("PP");
        s->directory.organizations[0].name.assign(cp("Вега"));
        s->directory.organizations[0].banks[2].account.assign(Ours.toLatin1());
        s->directory.organizationCount = 1;
        OrderRecord p;
        clearRecord(p);
        p.number = "15";
        p.date = "3.02.2026";
        p.amount = "1500-00";
        p.payerAccount.assign(Ours.toLatin1());
        p.payerInn = "7701000001";
        order = recordBytes(p);
        dir.write("PP/" + Name, order);
    }
    StatementOutcome import(const QByteArray& bytes) {
        dir.write("kl_to_1c.txt", bytes);
        return importStatement(s->folder, s->directory, dir.file("kl_to_1c.txt"));
    }
};

} // namespace

TEST(Statement, OnlyADebitOfTheSameAccountNumberDateAndAmountMarksTheOrder) {
    const struct {
        const char* name;
        QString debit;
    } others[] = {
        {"another number", debit("16", "03.02.2026", "1500.00")},
        {"another date", debit("15", "04.02.2026", "1500.00")},
        {"another amount", debit("15", "03.02.2026", "1500.01")},
    };
    for (const auto& row : others) {
        Folder f;
        const StatementOutcome r = f.import(statement({row.debit}));
        EXPECT_TRUE(r.error.isEmpty()) << row.name;
        EXPECT_TRUE(r.marked.isEmpty()) << row.name;
        EXPECT_EQ(r.unmatched.size(), 1) << row.name;
        EXPECT_EQ(r.notDebited, QStringList{Name + ": № 15 от 03.02.2026, 1500.00"}) << row.name;
        EXPECT_EQ(f.dir.read("PP/" + Name), f.order) << row.name;
    }

    // A debit from another account is not this statement's; a credit is not ours to mark.
    Folder f;
    QString credit = debit("15", "03.02.2026", "1500.00");
    credit.replace("ДатаСписано", "ДатаПоступило");
    StatementOutcome r =
        f.import(statement({debit("15", "03.02.2026", "1500.00", "40702810900000000999"), credit}));
    EXPECT_TRUE(r.marked.isEmpty());
    EXPECT_TRUE(r.unmatched.isEmpty());

    // The bank writes the number with a leading zero and the amount without kopecks; the
    // statement comes in the DOS code page.
    r = f.import(statement({debit("015", "03.02.2026", "1500")}, "IBM866"));
    EXPECT_EQ(r.marked, QStringList{Name});
    EXPECT_TRUE(r.unmatched.isEmpty());
    EXPECT_TRUE(r.notDebited.isEmpty());
    QByteArray accepted = f.order;
    accepted[1168] = 1;
    EXPECT_EQ(f.dir.read("PP/" + Name), accepted);
}

TEST(Statement, StatementThatCannotBeTrustedIsRefusedWholeAndChangesNothing) {
    const QByteArray whole = statement({debit("15", "03.02.2026", "1500.00")});
    QByteArray foreign = whole;
    foreign.replace(Ours.toLatin1(), "40702810900000000777");
    const struct {
        const char* name;
        QByteArray bytes;
        bool heldFolder;
        const char* reason;
    } rows[] = {
        {"truncated", whole.left(whole.indexOf(cp("КонецДокумента"))), false,
         "файл неполон: нет строки КонецФайла"},
        {"account not in the directory", foreign, false,
         "счета 40702810900000000777 нет в справочнике организаций"},
        {"not an exchange file", "Выписка", false,
         "это не файл обмена с клиент-банком (1CClientBankExchange)"},
        {"folder open only for reading", whole, true, "папка программы открыта только для чтения"},
    };
    for (const auto& row : rows) {
        Folder f;
        f.dir.write("kl_to_1c.txt", row.bytes);
        const testing_support::Tree before = folderTree(f.dir.path());
        f.s->folder.readOnly = row.heldFolder;
        const StatementOutcome r =
            importStatement(f.s->folder, f.s->directory, f.dir.file("kl_to_1c.txt"));
        EXPECT_TRUE(r.error.endsWith(QString(row.reason)))
            << row.name << ": " << r.error.toStdString();
        EXPECT_TRUE(r.marked.isEmpty()) << row.name;
        EXPECT_EQ(folderTree(f.dir.path()), before) << row.name;
    }

    // A pipe chosen by mistake is refused at once, not waited on.
    Folder f;
    ASSERT_EQ(::mkfifo(QFile::encodeName(f.dir.file("pipe")).constData(), 0600), 0);
    EXPECT_TRUE(importStatement(f.s->folder, f.s->directory, f.dir.file("pipe"))
                    .error.endsWith("Это не обычный файл"));
}
