// The budget code tables, the code look-up, the tax period builder and the entry step.
#include "editor/budgetfieldsstate.h"
#include "editor/taxcodes.h"
#include "storage/cp1251.h"

#include <QCryptographicHash>
#include <gtest/gtest.h>

using namespace editor;

namespace {

QByteArray bytes(const char16_t* text) {
    return storage::cp1251::fromUnicode(QString::fromUtf16(text));
}

// SHA-1 of the code page 1251 bytes of all rows, each "code<TAB>text<LF>", computed from the
// code lists independently of this program: a slip in any letter, blank or dash shows here.
std::string digest(CodeTable table) {
    QByteArray all;
    for (const CodeRow& r : table)
        all += bytes(r.code) + '\t' + bytes(r.text) + '\n';
    return QCryptographicHash::hash(all, QCryptographicHash::Sha1).toHex().toStdString();
}

} // namespace

TEST(TaxCodes, TablesAreTranscribedExactly) {
    EXPECT_EQ(digest(KbkTable), "a4b3d533b98cf00638fe0398bc9b231e4a765c20");
    EXPECT_EQ(digest(BasisTable), "f6ab1bb6704596b71960f35c3473683869f557e5");
    EXPECT_EQ(digest(TaxTypeTable), "318c88e06361ceda154720a21af92101556cf927");
    EXPECT_EQ(digest(OkatoTable), "f6b18d1772950a3bdb782400a796e50b86d1b990");
    EXPECT_EQ(PeriodKindTable.size(), 4u);

    // The rows that are easiest to get wrong, so that a failure says which.
    struct Row {
        CodeTable table;
        int pos;
        const char* code;
        const char* text;
    };
    const Row rows[] = {
        {KbkTable, 0, "18210301000011000110",
         "НДС на товары (работы, услуги), реализуемые на территории РФ"},
        {KbkTable, 9, "18210102030011000110",
         "НДФЛ с доходов, полученных физическими лицами – нерезидентами"},
        {KbkTable, 16, "18210501010011000110",
         "Налог, взимаемый с налогоплательщиков, выбравших в качестве объекта налогообложения "
         "доходы"},
        {KbkTable, 22, "39310202090071000160",
         "Страховые взносы на обязательное социальное страхование на случай временной "
         "нетрудоспособности и в связи с материнством"},
        {TaxTypeTable, 5, "ПЕ", "уплата пени "},
        {OkatoTable, 0, "65201000002", "Махневское муниципальное образование"},
        {OkatoTable, 56, "65401000000", "муниципальное образование город Екатеринбург"},
        {OkatoTable, 62, "65420000000", "городской округ Верхняя Пышма"},
        {OkatoTable, 70, "65445000000", "городский округ Карпинск"},
        {OkatoTable, 80, "65476000000", "городской округ Нижний Тагил"},
        {OkatoTable, 83, "65480000000", "городской округ Первоуральск"},
        {OkatoTable, 88, "65492000000", "Серовский городской округ"},
        {OkatoTable, 92, "65570000000", "муниципальное образование \"поселок Уральский\""},
        {OkatoTable, 93, "65572000000", "городской округ ЗАТО Свободный"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(QString::fromUtf16(r.table[r.pos].code), QString::fromUtf8(r.code)) << r.pos;
        EXPECT_EQ(QString::fromUtf16(r.table[r.pos].text), QString::fromUtf8(r.text)) << r.pos;
    }
    EXPECT_TRUE(bytes(KbkTable[5].text)
                    .contains(storage::cp1251::fromUnicode(QStringLiteral("с  доходов"))));
    EXPECT_TRUE(bytes(KbkTable[17].text)
                    .endsWith(storage::cp1251::fromUnicode(QStringLiteral("расходов"))));
    EXPECT_TRUE(bytes(KbkTable[10].text).contains(" \x96 ")); // the code page's en dash
    EXPECT_EQ(bytes(BasisTable[3].code), QByteArray("\x50\x43"));
    EXPECT_EQ(bytes(PeriodKindTable[1].code), QByteArray("\x4B\x42"));
}

TEST(TaxCodes, ShortcutsChooseTheListedCodes) {
    const char* okato[] = {"65401000000", "65476000000", "65420000000", "65480000000",
                           "65492000000"};
    for (std::size_t i = 0; i < OkatoShortcuts.size(); ++i)
        EXPECT_EQ(QString::fromUtf16(OkatoTable[OkatoShortcuts[i].row].code), okato[i]) << i;
    EXPECT_EQ(QString::fromUtf16(KbkTable[KbkShortcuts[1].row].code), "18210501020011000110");
}

TEST(TaxCodes, FindCodeComparesExactly) {
    struct Case {
        const char* name;
        CodeTable table;
        QString text;
        int row;
    };
    const Case cases[] = {
        {"last row", OkatoTable, QStringLiteral("65572000000"), 93},
        {"Latin PC", BasisTable, QStringLiteral("PC"), 3},
        {"Cyrillic РС is another code", BasisTable, QStringLiteral("РС"), -1},
        {"trailing blank", TaxTypeTable, QStringLiteral("ПЕ "), -1},
        {"prefix", OkatoTable, QStringLiteral("65401"), -1},
        {"empty", KbkTable, QString(), -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(findCode(c.table, c.text), c.row) << c.name;
}

TEST(TaxCodes, TaxPeriods) {
    struct Case {
        int kind;
        int year;
        QStringList periods;
    };
    const Case cases[] = {
        {1, 2007, {"KB.01.2007", "KB.02.2007", "KB.03.2007", "KB.04.2007"}},
        {2, 2007, {QStringLiteral("ПЛ.01.2007"), QStringLiteral("ПЛ.02.2007")}},
        {3, 2007, {QStringLiteral("ГД.00.2006")}},
        {4, 2007, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(taxPeriods(c.kind, c.year), c.periods) << c.kind;
    const QStringList months = taxPeriods(0, 2007);
    ASSERT_EQ(months.size(), 12);
    EXPECT_EQ(months.at(8), QStringLiteral("МС.09.2007"));
    EXPECT_EQ(months.last(), QStringLiteral("МС.12.2007"));
}

TEST(BudgetFieldsState, PeriodKindAndDocuments) {
    BudgetFieldsState f(2007);
    EXPECT_EQ(f.enter(BudgetField::Kbk, 3), std::nullopt); // active from the start
    EXPECT_EQ(f.listFor(BudgetField::Period, -1).selected, -1);
    // A kind outside the table builds nothing and is not remembered.
    EXPECT_EQ(f.buildPeriods(1).size(), 4);
    EXPECT_EQ(f.buildPeriods(7), QStringList{});
    EXPECT_EQ(f.listFor(BudgetField::Period, -1).selected, 1);
    // A click into the documents empties the list every time, even when they are active.
    EXPECT_EQ(f.clickDocument(), DescriptionList{});
    EXPECT_EQ(f.clickDocument(), DescriptionList{});
    EXPECT_EQ(f.active(), BudgetField::Document);
}
