#include "support/support.h"

#include "core/engine.h"
#include "directory/organizationcard.h"
#include "directory/organizationdetails.h"
#include "storage/folderdata.h"

#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <gtest/gtest.h>

using namespace directory;
using testing_support::cp;
using testing_support::TempDir;

namespace {

std::unique_ptr<storage::FolderData> storeWithInns(std::initializer_list<const char*> inns) {
    auto s = std::make_unique<storage::FolderData>();
    for (const char* inn : inns) {
        storage::OrganizationRecord& f =
            s->directory.organizations[std::size_t(s->directory.organizationCount++)];
        f.name = "x";
        f.inn = inn;
    }
    return s;
}

DetailTexts numberedBoxes() {
    DetailTexts t;
    for (int i = 0; i < DetailBoxCount; ++i)
        t[std::size_t(i)] = QStringLiteral("E%1").arg(i + 1);
    return t;
}

} // namespace

TEST(DetailsCheck, NameThenInnThenDuplicateOnlyForNew) {
    const auto s = storeWithInns({"7701", "7702"});
    s->directory.organizations[2].inn = "7703"; // beyond FirmCount: not an organization
    struct Row {
        const char* name;
        bool isNew;
        const char* orgName;
        const char* inn;
        DetailsCheck expected;
    } rows[] = {
        {"both empty: only the name is asked for", true, "", "", DetailsCheck::NoName},
        {"empty name, ИНН typed", true, "", "7701", DetailsCheck::NoName},
        {"empty ИНН", true, "ООО Ромашка", "", DetailsCheck::NoInn},
        {"edit with empty ИНН", false, "ООО Ромашка", "", DetailsCheck::NoInn},
        {"new with an existing ИНН", true, "ООО Ромашка", "7702", DetailsCheck::DuplicateInn},
        {"edit to an existing ИНН", false, "ООО Ромашка", "7702", DetailsCheck::Ok},
        {"prefix of an existing ИНН", true, "ООО Ромашка", "770", DetailsCheck::Ok},
        {"longer than an existing ИНН", true, "ООО Ромашка", "77010", DetailsCheck::Ok},
        {"ИНН of a free slot", true, "ООО Ромашка", "7703", DetailsCheck::Ok},
    };
    core::Engine engine(*s);
    for (const Row& r : rows)
        EXPECT_EQ(checkDetails(engine.directory, r.isNew, QString::fromUtf8(r.orgName),
                               QString::fromUtf8(r.inn)),
                  r.expected)
            << r.name;
    EXPECT_EQ(detailsMessage(DetailsCheck::NoName), QStringLiteral("Введите название организации"));
    EXPECT_EQ(detailsMessage(DetailsCheck::NoInn), QStringLiteral("Введите ИНН"));
    EXPECT_EQ(detailsMessage(DetailsCheck::DuplicateInn),
              QStringLiteral("Такая организация уже есть"));
    EXPECT_EQ(detailsMessage(DetailsCheck::Ok), QString());
}

TEST(DetailTexts, StoredCutToCapacityWithoutTouchingBanksOrLink) {
    storage::OrganizationRecord f;
    storage::clearRecord(f);
    f.banks[1].account = "40702810000000000001";
    f.bankNo = 1;
    f.branchNo = 7;
    f.flags = 0x81;
    f.reserved1[0] = 0x55;

    DetailTexts t = numberedBoxes();
    t[BoxName] = QString(200, u'Я');
    t[4] = QString(300, u'в'); // issuer, 255
    t[BoxInn] = QStringLiteral("123456789012345");
    t[BoxBankFirst] = QStringLiteral("typed into a read-only box");
    storeDetails(t, f);

    EXPECT_EQ(f.name.size(), 128u);
    EXPECT_EQ(f.name.bytes(), cp(QString(128, u'Я').toUtf8().constData()));
    EXPECT_EQ(f.certIssuer.size(), 255u);
    EXPECT_EQ(f.inn.view(), "123456789012");
    EXPECT_EQ(f.okved.view(), "E24");
    EXPECT_EQ(f.email.view(), "E11");
    EXPECT_EQ(f.banks[1].account.view(), "40702810000000000001");
    EXPECT_EQ(f.bankNo, 1);
    EXPECT_EQ(f.branchNo, 7);
    EXPECT_EQ(f.flags, 0x81);
    EXPECT_EQ(f.reserved1[0], 0x55);
}

TEST(BankSlots, StoredCutToCapacityAndChosenSlot) {
    storage::OrganizationRecord f;
    storage::clearRecord(f);
    BankTexts t;
    for (int k = 0; k < 4; ++k) {
        t[std::size_t(5 * k)] = QString(25, QChar(u'1' + k)); // 25-digit account
        t[std::size_t(5 * k + 1)] = QString(21, u'2');
        t[std::size_t(5 * k + 2)] = QString(11, u'3');
        t[std::size_t(5 * k + 3)] = QString(70, u'Б');
        t[std::size_t(5 * k + 4)] = QString(130, u'Ж');
    }
    FirmBanks b;
    storeBankSlots(t, 2, b);
    setFirmBanks(b, f);
    EXPECT_EQ(f.bankNo, 2);
    EXPECT_EQ(f.banks[0].account.view(), std::string(20, '1'));
    EXPECT_EQ(f.banks[3].account.view(), std::string(20, '4'));
    EXPECT_EQ(f.banks[2].corrAccount.size(), 20u);
    EXPECT_EQ(f.banks[2].bik.size(), 10u);
    EXPECT_EQ(f.banks[2].bankShort.size(), 64u);
    EXPECT_EQ(f.banks[2].bankFull.size(), 128u);
    EXPECT_EQ(bankSlotTexts(b)[10], QString(20, u'3'));

    // The details window shows the chosen slot: account, corr., БИК, short, full.
    const DetailTexts shown = detailTexts(f);
    EXPECT_EQ(shown[BoxBankFirst], QString(20, u'3'));
    EXPECT_EQ(shown[BoxBankLast], QString(128, u'Ж'));

    storeBankSlots(t, -1, b); // no choice made
    EXPECT_EQ(b.bankNo, 0);
    f.bankNo = 9; // damaged record
    EXPECT_EQ(bankIndex(f), 0);
}

TEST(Card, EmptyOrganizationHasSeventeenBareLines) {
    const QStringList lines = cardLines(DetailTexts{});
    const QStringList expected = {
        QStringLiteral("Название организации\t"),
        QStringLiteral("Свидетельство о регистрации\tСерия  №  от  г., выдано "),
        QStringLiteral("ОГРН \t"),
        QStringLiteral("Юридический адрес\t"),
        QStringLiteral("Почтовый адрес\t"),
        QStringLiteral("Телефон\t"),
        QStringLiteral("Факс\t"),
        QStringLiteral("E-Mail \t"),
        QStringLiteral("Банк\tР/Сч.   К/Сч.  БИК "),
        QStringLiteral("ИНН\t"),
        QStringLiteral("КПП\t"),
        QStringLiteral("ОКАТО\t"),
        QStringLiteral("ОКПО\t"),
        QStringLiteral("ОКОГУ\t"),
        QStringLiteral("ОКОПФ\t"),
        QStringLiteral("ОКФС\t"),
        QStringLiteral("ОКВЭД\t"),
    };
    EXPECT_EQ(lines.size(), CardLineCount);
    EXPECT_EQ(lines, expected);
}

TEST(Card, BoxesJoinedInTheirPlaces) {
    const QStringList lines = cardLines(numberedBoxes());
    EXPECT_EQ(lines[0], QStringLiteral("Название организации\tE1"));
    EXPECT_EQ(lines[1],
              QStringLiteral("Свидетельство о регистрации\tСерия E2 № E3 от E4 г., выдано E5"));
    EXPECT_EQ(lines[2], QStringLiteral("ОГРН \tE6"));
    EXPECT_EQ(lines[7], QStringLiteral("E-Mail \tE11"));
    // Account, full bank name, corr. account, БИК; the short name (E15) is left out.
    EXPECT_EQ(lines[8], QStringLiteral("Банк\tР/Сч. E12 E16 К/Сч. E13 БИК E14"));
    EXPECT_EQ(lines[9], QStringLiteral("ИНН\tE17"));
    EXPECT_EQ(lines[16], QStringLiteral("ОКВЭД\tE24"));
}

TEST(Card, TextLinesAsTheTextAreaHoldsThem) {
    struct Row {
        const char* name;
        QString text;
        QStringList expected;
    } rows[] = {
        {"empty text", QString(), {}},
        {"one line", QStringLiteral("a"), {QStringLiteral("a")}},
        {"break at the end", QStringLiteral("a\n"), {QStringLiteral("a")}},
        {"empty line inside", QStringLiteral("a\n\nb"), {"a", "", "b"}},
        {"only a break", QStringLiteral("\n"), {QString()}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(textLines(r.text), r.expected) << r.name;
}

TEST(Card, FileBytesInCp1251WithCrLf) {
    EXPECT_EQ(cardFileBytes({QStringLiteral("ИНН\t77"), QString(), QStringLiteral("№ 5")}),
              cp("ИНН\t77\r\n\r\n№ 5\r\n"));
    EXPECT_EQ(cardFileBytes({}), QByteArray());
}

TEST(Card, FileNameAlwaysGetsTxt) {
    EXPECT_EQ(cardFileName(QStringLiteral("/tmp/card")), QStringLiteral("/tmp/card.txt"));
    EXPECT_EQ(cardFileName(QStringLiteral("/tmp/card.txt")), QStringLiteral("/tmp/card.txt.txt"));
}

TEST(Card, PrintLinesIndentedAndCutTo255) {
    EXPECT_TRUE(cardPrintLines({}).isEmpty());
    const QString l249(249, u'ж'), l250(250, u'ж');
    const QStringList out = cardPrintLines({QStringLiteral("ИНН\t77"), l249, l250, QString()});
    ASSERT_EQ(out.size(), 8);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(out[i], QString()) << i;
    EXPECT_EQ(out[4], QStringLiteral("      ИНН\t77"));
    EXPECT_EQ(out[5].size(), 255);
    EXPECT_EQ(out[6], QStringLiteral("      ") + QString(249, u'ж'));
    EXPECT_EQ(out[7], QStringLiteral("      "));
}

// The printed text is read back from a PDF: every line is there, in order, and a line wider
// than the page continues below instead of running off the paper.
TEST(Card, PrintedTextKeepsLongLinesOnThePaper) {
    TempDir dir;
    const QString pdf = dir.file("card.pdf");
    QStringList lines = cardPrintLines(cardLines(numberedBoxes()));
    QString longLine;
    for (int i = 0; i < 40; ++i)
        longLine += QStringLiteral("слово%1 ").arg(i);
    lines.append(longLine);
    {
        QPdfWriter writer(pdf);
        writer.setResolution(300);
        QPainter painter(&writer);
        QFont font(QStringLiteral("Arial"));
        font.setPointSize(10);
        printTextLines(painter, writer, font, cardTabStop(QFontMetricsF(font), CardIndent), lines);
    }
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_TRUE(text.contains(QStringLiteral("Название организации"))) << text.toStdString();
    EXPECT_LT(text.indexOf(QStringLiteral("E1")), text.indexOf(QStringLiteral("ОКВЭД")));
    EXPECT_TRUE(text.contains(QStringLiteral("слово0")));
    EXPECT_TRUE(text.contains(QStringLiteral("слово39"))) << text.toStdString();
}
