#include "support/support.h"

#include "render/formlayout.h"
#include "render/orderinput.h"
#include "render/print/formprint.h"
#include "storage/choices.h"

#include <QDir>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <functional>
#include <gtest/gtest.h>

using namespace render;
using testing_support::cp;
using testing_support::cps;
using testing_support::TempDir;
using testing_support::uni;

namespace {

// Every character is 10 pixels wide, a blank 5 (unless told otherwise); the height is the
// cell height asked for.
class FixedMeasurer : public TextMeasurer {
public:
    explicit FixedMeasurer(int character = 10, int blank = 5) : char_(character), blank_(blank) {}
    void setFont(std::string_view, int cell, FontStyle) override { cell_ = cell; }
    int textWidth(std::string_view t) override {
        int w = 0;
        for (char c : t)
            w += c == ' ' ? blank_ : char_;
        return w;
    }
    int textHeight() override { return cell_; }

private:
    int char_, blank_;
    int cell_ = 0;
};

// 10 pixels per millimetre, no offsets: positions in tenths of a millimetre.
const DeviceMetrics Paper = DeviceMetrics::fromDpi(254, 254, 0, 0, false);
const DeviceMetrics Screen = DeviceMetrics::fromDpi(254, 254, 0, 0, true);

OrderInput sampleOrder() {
    OrderInput o;
    o.number = "15";
    o.date = "03.02.2009";
    o.kindText = cp("Электронно");
    o.statusText = "01";
    o.amountText = "1000-00";
    o.purposeLines = {cp("Оплата по счету 5")};
    o.payer.present = true;
    o.payer.firm.name = cps("Общество с ограниченной ответственностью  Вега");
    o.payer.firm.inn = "1234567890";
    o.payer.firm.kpp = "660101001";
    o.payer.bankSlot = 2;
    o.payer.firm.banks[2].account = "40702810000000000001";
    o.payer.firm.banks[2].bik = "046577674";
    o.payer.firm.banks[2].corrAccount = "30101810100000000674";
    o.payer.firm.banks[2].bankFull = cps("банк Восток г.Тверь");
    o.payee.present = true;
    o.payee.firm.name = cps("Получатель");
    o.payee.firm.banks[0].bankShort = cps("гор. банк г Омск г.");
    o.payee.firm.banks[0].bankFull = cps("не этот");
    o.statusChoice = 1;
    o.budget = {.kbk = "18210501010011000110",
                .okato = "65401000000",
                .basis = QStringLiteral("ТП"),
                .taxPeriod = "KB.01.2009",
                .taxType = QStringLiteral("НС"),
                .docNumber = "7",
                .docDate = "01.02.2009"};
    return o;
}

FieldArray<storage::WorkText> textsOf(const OrderInput& o, const DeviceMetrics& d = Paper,
                                      FixedMeasurer m = FixedMeasurer()) {
    return computeFieldTexts(o, computeGeometry(d, m), m);
}

std::string field(const FieldArray<storage::WorkText>& t, Field f) {
    return std::string(t[f].view());
}

} // namespace

TEST(FormGeometry, ScreenOfTheExampleGivesItsPaintBoxSize) {
    FixedMeasurer m;
    const FormGeometry g = computeGeometry(DeviceMetrics::fromSize(1280, 1024, 340, 270, true), m);
    EXPECT_EQ(g.pageWidth, 791);
    EXPECT_EQ(g.pageHeight, 1126);
}

TEST(FormGeometry, MillimetresBecomePixelsLessThePrintableAreaOffset) {
    FixedMeasurer m;
    const FormGeometry g = computeGeometry(DeviceMetrics::fromDpi(1200, 1200, 167, 167, false), m);
    // H4: (20, 50) mm, 180 mm long at 1200 dpi (47.244 px/mm).
    EXPECT_EQ(g.horizontalRules[4].x, 945 - 167);
    EXPECT_EQ(g.horizontalRules[4].y, 2362 - 167);
    EXPECT_EQ(g.horizontalRules[4].length, 8504);
    EXPECT_EQ(g.verticalRules[2].length, 4252); // 90 mm
    EXPECT_EQ(g.boxes[1].x1, 9118 - 167);
    EXPECT_EQ(g.captions[Caption::Title].x, 992 - 167); // 21 mm
}

TEST(FormGeometry, CaptionPlacesFollowTheTable) {
    FixedMeasurer m;
    const FormGeometry g = computeGeometry(Paper, m);
    const auto& c = g.captions;
    // c centres a 4 mm line in the 5 mm band: (50 - 40) / 2 = 5 tenths.
    EXPECT_EQ(g.bandOffset, 5);
    EXPECT_EQ(c[Caption::Title].x, 210);
    EXPECT_EQ(c[Caption::Title].y, 260);
    EXPECT_TRUE(c[Caption::Title].bold);
    EXPECT_EQ(c[Caption::Title].fontHeight, 40);
    EXPECT_EQ(c[Caption::ReceivedByPayerBank].fontHeight, 30);
    EXPECT_EQ(c[Caption::AmountInWords1].fontHeight, 35);
    // "ИНН" 30 wide centred nowhere: x of "прописью", band below H4.
    EXPECT_EQ(c[Caption::PayerInn].x, 210);
    EXPECT_EQ(c[Caption::PayerInn].y, 505);
    EXPECT_EQ(c[Caption::PayerKpp].x, 710);
    // "Сумма" (50 px) centred in the 150 px column A from V2 = 1200.
    EXPECT_EQ(c[Caption::Amount].x, 1250);
    EXPECT_EQ(c[Caption::Payer].y, 760);
    EXPECT_EQ(c[Caption::PayeeInn].y, 1105);
    // "Срок плат." (95 px) in column B (200 px) from V5 = 1550: 1550 + round(52.5) = 1602.
    EXPECT_EQ(c[Caption::PaymentTerm].x, 1602);
    // "Подписи" (70 px) centred on H21 (800, 600 long).
    EXPECT_EQ(c[Caption::Signatures].x, 1065);
    EXPECT_EQ(c[Caption::Signatures].y, 1760);
    EXPECT_EQ(c[Caption::BankMarks].x, 1560);
    EXPECT_EQ(c[Caption::Stamp].x, 450);
    EXPECT_EQ(c[Caption::Stamp].y, 1930);
    // "0401060" (70 px, 35 high) centred in box B1 (140 x 50).
    EXPECT_EQ(c[Caption::FormCode].x, 1895);
    EXPECT_EQ(c[Caption::FormCode].y, 158);
    // "М.П." is 3.5 mm on paper and 4 mm on the screen.
    EXPECT_EQ(c[Caption::Stamp].fontHeight, 35);
    EXPECT_EQ(computeGeometry(Screen, m).captions[Caption::Stamp].fontHeight, 40);
}

TEST(FormFields, TextsOfAnOrder) {
    const auto t = textsOf(sampleOrder());
    EXPECT_EQ(field(t, Field::Number), "15");
    EXPECT_EQ(field(t, Field::Date), "03.02.2009");
    EXPECT_EQ(field(t, Field::PaymentKind), cps("Электронно"));
    EXPECT_EQ(field(t, Field::PayerStatus), "01");
    EXPECT_EQ(field(t, Field::PayerName1), cps("ООО Вега"));
    EXPECT_EQ(field(t, Field::PayerInn), "1234567890");
    EXPECT_EQ(field(t, Field::PayerAccount), "40702810000000000001"); // the chosen bank slot
    EXPECT_EQ(field(t, Field::PayerBank1), cps("БАНК ВОСТОК г.ТВЕРЬ"));
    // A г at the start, or without a period after it, is a capital too; BankShort wins.
    EXPECT_EQ(field(t, Field::PayeeBank1), cps("ГОР. БАНК Г ОМСК г."));
    EXPECT_EQ(field(t, Field::AmountFigure), "1000-00");
    EXPECT_EQ(field(t, Field::AmountInWords1), cps("Одна тысяча рублей 00 копеек"));
    EXPECT_EQ(field(t, Field::OperationKind), "01");
    EXPECT_EQ(field(t, Field::Priority), "6");
    EXPECT_EQ(field(t, Field::Purpose1), cps("Оплата по счету 5"));
    EXPECT_EQ(field(t, Field::Purpose2), ""); // no tax line for a budget payment
    EXPECT_EQ(field(t, Field::BudgetClassificationCode), "18210501010011000110");
    EXPECT_EQ(field(t, Field::TaxPaymentType), cps("НС"));
    for (Field f : {Field::Unused22, Field::Unused23, Field::Unused24, Field::Unused25,
                    Field::Unused26, Field::Unused27, Field::Unused28})
        EXPECT_EQ(field(t, f), "") << int(f);
}

TEST(FormFields, NonBudgetPaymentHasNoStatusNorTaxRowButATaxLine) {
    OrderInput o = sampleOrder();
    o.statusChoice = 0;
    o.vatRate = 1;
    o.priorityChoice = 1;
    auto t = textsOf(o);
    EXPECT_EQ(field(t, Field::PayerStatus), "");
    for (Field f : TaxRowFields)
        EXPECT_EQ(field(t, f), "") << int(f);
    EXPECT_EQ(field(t, Field::Purpose1), cps("Оплата по счету 5"));
    EXPECT_EQ(field(t, Field::Purpose2), cps("В т.ч. НДС(18%): 152-54"));
    EXPECT_EQ(field(t, Field::Priority), "4");

    o.vatRate = 0;
    o.purposeLines.clear();
    t = textsOf(o);
    EXPECT_EQ(field(t, Field::Purpose1), cps("Без НДС"));
}

TEST(FormFields, LongPurposeKeepsThreeLinesThenTheTaxLine) {
    OrderInput o = sampleOrder();
    o.statusChoice = 0;
    o.vatRate = 2;
    o.amountText = "110-00";
    // With 40-pixel characters a line of the 1790-pixel purpose box holds 8 words of 4
    // characters: 50 words need 7 lines.
    QByteArray words;
    for (int i = 0; i < 50; ++i)
        words += QByteArray(4, char('a' + i % 26)) + ' ';
    o.purposeLines = {words.left(100), words.mid(100)};
    const auto t = textsOf(o, Paper, FixedMeasurer(40, 40));
    EXPECT_EQ(field(t, Field::Purpose1), "aaaa bbbb cccc dddd eeee ffff gggg hhhh");
    EXPECT_EQ(field(t, Field::Purpose3), "qqqq rrrr ssss tttt uuuu vvvv wwww xxxx");
    EXPECT_EQ(field(t, Field::Purpose4), cps("В т.ч. НДС(10%): 10-00"));
}

TEST(FormFields, PurposeLinesOnPaperAndOnTheScreen) {
    OrderInput o = sampleOrder();
    o.statusChoice = 0;
    o.purposeLines = {"a", "b", "c", "d", "e", "f"};
    EXPECT_EQ(field(textsOf(o, Paper), Field::Purpose1), "a b c d e");
    EXPECT_EQ(field(textsOf(o, Screen), Field::Purpose1), "a  b  c  d  e  f");
}

TEST(FormFields, NameExactlyAsWideAsItsBoxStaysOnOneLine) {
    // The box for names is V2 - 21 mm = 990 px; with 10-pixel blanks 99 characters fill it.
    OrderInput o = sampleOrder();
    const std::string exact = std::string(49, 'x') + " " + std::string(49, 'y');
    o.payee.firm.name = exact;
    auto t = textsOf(o, Paper, FixedMeasurer(10, 10));
    EXPECT_EQ(field(t, Field::PayeeName1), exact);
    EXPECT_EQ(field(t, Field::PayeeName2), "");
    o.payee.firm.name = exact + "z";
    t = textsOf(o, Paper, FixedMeasurer(10, 10));
    EXPECT_EQ(field(t, Field::PayeeName1), std::string(49, 'x'));
    EXPECT_EQ(field(t, Field::PayeeName2), std::string(49, 'y') + "z");
}

TEST(FormFields, MissingPartsLeaveTheirFieldsEmpty) {
    OrderInput o;
    const auto t = textsOf(o);
    for (Field f : AllFields) {
        if (f == Field::OperationKind)
            EXPECT_EQ(field(t, f), "01");
        else if (f == Field::Priority) // no date: the lowest priority of today
            EXPECT_EQ(field(t, f), storage::priorityText(0, storage::today()).toStdString());
        else if (f == Field::Purpose1)
            EXPECT_EQ(field(t, f), cps("Без НДС"));
        else
            EXPECT_EQ(field(t, f), "") << int(f);
    }
    OrderInput bad = sampleOrder();
    bad.amountText = "12.5";
    const auto b = textsOf(bad);
    EXPECT_EQ(field(b, Field::AmountInWords1), "");
    EXPECT_EQ(field(b, Field::AmountFigure), "");
    EXPECT_EQ(field(b, Field::AmountInWords2), "");
}

TEST(FormFields, FieldPlacesFollowTheTable) {
    FixedMeasurer m;
    const FormLayout l = layOut(sampleOrder(), Paper, m);
    const auto& p = l.fields.places;
    const auto& c = l.geometry.captions;
    // Title of 19 characters and 2 blanks (200 px) + three blanks (15 px).
    EXPECT_EQ(p[Field::Number].x, 210 + 200 + 15);
    EXPECT_EQ(p[Field::Number].y, 260);
    EXPECT_TRUE(p[Field::Number].bold);
    EXPECT_FALSE(p[Field::PaymentKind].bold);
    EXPECT_EQ(p[Field::AmountInWords1].x, 400 + 10);
    EXPECT_EQ(p[Field::AmountInWords1].y, 360);
    EXPECT_EQ(p[Field::AmountFigure].x, 1350 + 10); // R
    EXPECT_EQ(p[Field::PayerAccount].x, p[Field::AmountFigure].x);
    EXPECT_EQ(p[Field::PayerInn].x, 210 + 30 + 10);
    EXPECT_EQ(p[Field::PayerName1].y, 560);
    EXPECT_EQ(p[Field::PayerName2].y, 600);
    EXPECT_EQ(p[Field::Purpose1].y, 1460);
    EXPECT_EQ(p[Field::Purpose4].y, 1580);
    EXPECT_EQ(p[Field::Priority].x, 1750 + 10);
    EXPECT_EQ(p[Field::Priority].y, c[Caption::Priority].y);
    // "01" (20 px) centred in box B2 (70 x 70).
    EXPECT_EQ(p[Field::PayerStatus].x, 1955);
    EXPECT_EQ(p[Field::PayerStatus].y, 255);
    // The tax row: КБК between 20 mm and V7.
    EXPECT_EQ(p[Field::BudgetClassificationCode].x, 200 + (450 - 200) / 2);
    EXPECT_EQ(p[Field::TaxPaymentType].x, 1900 + (100 - 20) / 2);
    EXPECT_EQ(p[Field::TaxPaymentType].y, 1405);
    // The screen sets the number two blanks after the title.
    FixedMeasurer s;
    EXPECT_EQ(layOut(sampleOrder(), Screen, s).fields.places[Field::Number].x, 210 + 200 + 10);
}

namespace {

struct PdfWord {
    double x, y; // top-left, millimetres
    QString text;
};

QList<PdfWord> pdfWords(const QString& pdf, int page) {
    QProcess p;
    p.start("pdftotext",
            {"-bbox", "-f", QString::number(page), "-l", QString::number(page), pdf, "-"});
    if (!p.waitForFinished(30000))
        return {};
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="[\d.]+">([^<]*)</word>)re");
    QList<PdfWord> words;
    for (auto it = word.globalMatch(out); it.hasNext();) {
        const auto m = it.next();
        words << PdfWord{m.captured(1).toDouble() * 25.4 / 72, m.captured(2).toDouble() * 25.4 / 72,
                         m.captured(3).replace("&quot;", "\"")};
    }
    return words;
}

// The word of the PDF nearest to (x, y) millimetres with the given text.
const PdfWord* find(const QList<PdfWord>& words, const QString& text, double x, double y) {
    const PdfWord* best = nullptr;
    for (const PdfWord& w : words)
        if (w.text == text &&
            (!best || std::hypot(w.x - x, w.y - y) < std::hypot(best->x - x, best->y - y)))
            best = &w;
    return best;
}

} // namespace

TEST(FormPdf, EveryCaptionAndFieldStandsWhereTheLayoutPutsIt) {
    TempDir dir;
    OrderInput budget = sampleOrder();
    OrderInput plain = sampleOrder();
    plain.statusChoice = 0;
    plain.vatRate = 1;
    const QString pdf = dir.file("forms.pdf");
    ASSERT_TRUE(writeFormsPdf(pdf, {budget, plain, OrderInput{}}));

    constexpr double pxToMm = 25.4 / 1200;
    for (int page = 1; page <= 3; ++page) {
        const OrderInput& order = page == 1 ? budget : page == 2 ? plain : OrderInput{};
        const QList<PdfWord> words = pdfWords(pdf, page);
        ASSERT_FALSE(words.isEmpty()) << "pdftotext found no text on page " << page;
        QtTextMeasurer m;
        const FormLayout l = layOut(order, DeviceMetrics::fromDpi(1200, 1200, 0, 0, false), m);
        auto expectAt = [&](const QString& text, const TextPlace& place, const char* what, int i) {
            const QString first = text.section(' ', 0, 0, QString::SectionSkipEmpty);
            if (first.isEmpty())
                return;
            const double x = place.x * pxToMm, y = place.y * pxToMm;
            const PdfWord* w = find(words, first, x, y);
            ASSERT_NE(w, nullptr) << what << ' ' << i << " \"" << first.toStdString()
                                  << "\" missing";
            EXPECT_NEAR(w->x, x, 0.3) << what << ' ' << i << ' ' << first.toStdString();
            EXPECT_NEAR(w->y, y, 0.3) << what << ' ' << i << ' ' << first.toStdString();
        };
        for (Caption c : AllCaptions)
            expectAt(uni(captionTexts()[c].toStdString()), l.geometry.captions[c], "caption",
                     int(c));
        for (Field f : AllFields)
            expectAt(uni(l.fields.texts[f].view()), l.fields.places[f], "field", int(f));
    }

    // The table's own millimetres, read back from the paper.
    const QList<PdfWord> words = pdfWords(pdf, 2);
    const PdfWord* title = find(words, QString::fromUtf8("ПЛАТЕЖНОЕ"), 21, 26);
    ASSERT_NE(title, nullptr);
    EXPECT_NEAR(title->x, 21, 0.3);
    EXPECT_NEAR(title->y, 26, 0.3);
    const PdfWord* payer = find(words, QString::fromUtf8("Плательщик"), 21, 76);
    ASSERT_NE(payer, nullptr);
    EXPECT_NEAR(payer->y, 76, 0.3);
    const PdfWord* tax = find(words, QString::fromUtf8("НДС(18%):"), 40, 150);
    ASSERT_NE(tax, nullptr); // the tax line follows the purpose
    EXPECT_NEAR(tax->y, 146 + 4, 0.3);
}

// The tax line and the priority follow the rules of the order's date, on paper.
TEST(FormPdf, RateAndPriorityOfTheOrdersDate) {
    struct {
        const char* date;
        const char* rate; // the word of the tax line that names the rate
        const char* tax;
        const char* priority;
    } const cases[] = {
        {"03.02.2009", "НДС(18%):", "152-54", "6"},
        {"31.12.2025", "НДС(20%):", "166-67", "5"},
        {"01.01.2026", "НДС(22%):", "180-33", "5"},
    };
    TempDir dir;
    QList<OrderInput> orders;
    for (const auto& c : cases) {
        OrderInput o = sampleOrder();
        o.statusChoice = 0;
        o.vatRate = 1;
        o.date = c.date;
        orders << o;
    }
    const QString pdf = dir.file("rates.pdf");
    ASSERT_TRUE(writeFormsPdf(pdf, orders));
    QtTextMeasurer m;
    const FormLayout l = layOut(orders[0], DeviceMetrics::fromDpi(1200, 1200, 0, 0, false), m);
    const TextPlace& priority = l.fields.places[Field::Priority];
    for (int page = 1; page <= int(std::size(cases)); ++page) {
        const auto& c = cases[page - 1];
        QStringList texts;
        const QList<PdfWord> words = pdfWords(pdf, page);
        for (const PdfWord& w : words)
            texts << w.text;
        EXPECT_TRUE(texts.contains(QString::fromUtf8(c.rate))) << c.date;
        EXPECT_TRUE(texts.contains(c.tax)) << c.date;
        const PdfWord* p =
            find(words, c.priority, priority.x * 25.4 / 1200, priority.y * 25.4 / 1200);
        ASSERT_NE(p, nullptr) << c.date;
        EXPECT_NEAR(p->x, priority.x * 25.4 / 1200, 0.3) << c.date;
    }
}

TEST(FormPrint, PrintsTheOrderAsItStandsOnePageAJob) {
    TempDir dir;
    auto print = [&](const OrderInput& order, const QString& name) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.file(name));
        EXPECT_TRUE(printForm(printer, order));
        QList<QString> words;
        for (const PdfWord& w : pdfWords(dir.file(name), 1))
            words << w.text;
        return words;
    };
    OrderInput order = sampleOrder();
    const auto first = print(order, "1.pdf");
    EXPECT_EQ(print(order, "2.pdf"), first);
    order.amountText = "2000-00";
    const auto changed = print(order, "3.pdf");
    EXPECT_NE(changed, first);
    EXPECT_TRUE(changed.contains("2000-00"));
    EXPECT_TRUE(changed.contains(QString::fromUtf8("Две")));

    // The printable area starts inside the sheet: the form still stands at its millimetres.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.file("4.pdf"));
    printer.setPageMargins(QMarginsF(5, 7, 5, 5), QPageLayout::Millimeter);
    ASSERT_TRUE(printForm(printer, order));
    const QList<PdfWord> words = pdfWords(dir.file("4.pdf"), 1);
    const PdfWord* title = find(words, QString::fromUtf8("ПЛАТЕЖНОЕ"), 21, 26);
    ASSERT_NE(title, nullptr);
    EXPECT_NEAR(title->x, 21, 0.3);
    EXPECT_NEAR(title->y, 26, 0.3);
}

// Orders given one at a time: a failure to give one ends the writing and leaves the file that
// was there before as it was, reported with the failure's own message.
TEST(FormPdf, FailedOrderLeavesTheOldFile) {
    TempDir dir;
    dir.write("forms.pdf", "old");
    const OrderInput order = sampleOrder();
    const storage::IoResult r =
        writeFormsPdf(dir.file("forms.pdf"), 3, [&](qsizetype i, OrderInput& input) {
            if (i == 2)
                return storage::IoResult::failure("order 3 is gone");
            input = order;
            return storage::IoResult{};
        });
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "order 3 is gone");
    EXPECT_EQ(dir.read("forms.pdf"), "old");
    ASSERT_TRUE(writeFormsPdf(dir.file("forms.pdf"), 2, [&](qsizetype, OrderInput& input) {
        input = order;
        return storage::IoResult{};
    }));
    EXPECT_TRUE(dir.read("forms.pdf").startsWith("%PDF"));
    EXPECT_EQ(pdfWords(dir.file("forms.pdf"), 2).isEmpty(), false);
}

// A full disk cut the PDF of --pdf and of printing into a file short, and the cut file was
// reported as written. Both go through the atomic writer now: the failure names the file and
// its reason, and the old file stays.
TEST(FormPdf, FullDiskLeavesTheOldFileAndSaysWhy) {
    TempDir dir;
    const OrderInput order = sampleOrder();
    const std::pair<const char*, std::function<storage::IoResult(const QString&)>> writers[] = {
        {"--pdf",
         [&](const QString& path) {
             return writeFormsPdf(path, {order, order});
         }},
        {"printing into a file", [&](const QString& path) {
             QPrinter printer(QPrinter::HighResolution);
             printer.setOutputFormat(QPrinter::PdfFormat);
             printer.setOutputFileName(path);
             return printForm(printer, order);
         }}};
    for (const auto& [name, write] : writers) {
        dir.write("out.pdf", "old");
        storage::IoResult r;
        {
            testing_support::FileSizeLimit full(300);
            r = write(dir.file("out.pdf"));
        }
        EXPECT_FALSE(r.ok) << name;
        EXPECT_EQ(r.error, "Не могу записать файл " +
                               QDir::toNativeSeparators(dir.file("out.pdf")) +
                               ": Файл слишком велик")
            << name;
        EXPECT_EQ(dir.read("out.pdf"), "old") << name;
    }
}
