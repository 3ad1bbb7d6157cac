#include "formlayout.h"

#include "storage/choices.h"
#include "storage/cp1251.h"

namespace render {

using storage::WorkText;

DeviceMetrics DeviceMetrics::fromSize(int widthPx, int heightPx, long double widthMm,
                                      long double heightMm, bool screen) {
    DeviceMetrics d;
    d.pixelsPerMmX = widthPx / widthMm;
    d.pixelsPerMmY = heightPx / heightMm;
    d.screen = screen;
    return d;
}

DeviceMetrics DeviceMetrics::fromDpi(long double dpiX, long double dpiY, int offsetX, int offsetY,
                                     bool screen) {
    DeviceMetrics d;
    d.pixelsPerMmX = dpiX / 25.4L;
    d.pixelsPerMmY = dpiY / 25.4L;
    d.offsetX = offsetX;
    d.offsetY = offsetY;
    d.screen = screen;
    return d;
}

namespace {

// Millimetres of the form to device pixels.
struct Mm {
    const DeviceMetrics& d;
    int x(long double mm) const { return roundHalfEven(mm * d.pixelsPerMmX) - d.offsetX; }
    int y(long double mm) const { return roundHalfEven(mm * d.pixelsPerMmY) - d.offsetY; }
    int w(long double mm) const { return roundHalfEven(mm * d.pixelsPerMmX); }
    int h(long double mm) const { return roundHalfEven(mm * d.pixelsPerMmY); }
};

struct RuleMm {
    int x, y, length;
};

constexpr RuleMm HorizontalMm[HorizontalRuleCount] = {
    {20, 15, 35},   {80, 15, 35},   {108, 31, 35},  {148, 31, 35},  {20, 50, 180},  {20, 55, 100},
    {120, 65, 80},  {20, 80, 115},  {120, 85, 15},  {20, 95, 180},  {120, 100, 15}, {20, 110, 115},
    {20, 115, 100}, {120, 125, 80}, {120, 130, 15}, {155, 130, 20}, {120, 135, 15}, {155, 135, 20},
    {20, 140, 180}, {20, 145, 180}, {20, 175, 180}, {80, 190, 60},  {80, 205, 60},
};

constexpr RuleMm VerticalMm[VerticalRuleCount] = {
    {40, 35, 15},   {70, 50, 5},    {120, 50, 90}, {135, 50, 90}, {70, 110, 5},
    {155, 125, 15}, {175, 125, 15}, {65, 140, 5},  {95, 140, 5},  {105, 140, 5},
    {130, 140, 5},  {165, 140, 5},  {190, 140, 5},
};

constexpr int LeftEdge = 20; // mm: the left edge of the form's texts
constexpr int TextPad = 1;   // mm: inner margin, so most texts start at 21 mm

// Font size indexes of the form.
constexpr int Size35 = 0, Size30 = 1, SizeTitle = 2, Size40 = 4, Size35b = 5;

storage::WorkText cpText(std::string_view s) {
    WorkText t;
    t.assign(s);
    return t;
}

std::string_view view(const QByteArray& b) {
    return {b.constData(), std::size_t(b.size())};
}

class Measure {
public:
    Measure(TextMeasurer& m, const DeviceMetrics& d) : m_(m), d_(d) {}
    int cell(int sizeIndex) const { return fontCellHeight(d_.pixelsPerMmY, sizeIndex); }
    // Selects the font of a size index and returns its cell height.
    int font(int sizeIndex, bool bold) {
        const int h = cell(sizeIndex);
        m_.setFont("Arial", h, bold ? FontStyle::Bold : FontStyle::Regular);
        return h;
    }
    int width(std::string_view text) { return m_.textWidth(text); }
    int height() { return m_.textHeight(); }

private:
    TextMeasurer& m_;
    const DeviceMetrics& d_;
};

int centred(int from, int length, int width) {
    return from + roundHalfEven((long double)(length - width) / 2);
}

} // namespace

const CaptionArray<QByteArray>& captionTexts() {
    static const CaptionArray<QByteArray> texts = [] {
        const char* utf8[CaptionCount] = {
            "0401060",
            "Поступ. в банк плат.",
            "Списано со сч. плат.",
            "ПЛАТЕЖНОЕ ПОРУЧЕНИЕ №",
            "Дата",
            "Вид платежа",
            "Сумма",
            "прописью",
            "ИНН",
            "КПП",
            "Сумма",
            "Сч. №",
            "Плательщик",
            "БИК",
            "Сч. №",
            "Банк плательщика",
            "БИК",
            "Сч. №",
            "Банк получателя",
            "ИНН",
            "КПП",
            "Сч. №",
            "Вид оп.",
            "Срок плат.",
            "Наз. пл.",
            "Очер. плат.",
            "Получатель",
            "Код",
            "Рез. поле",
            "Назначение платежа",
            "Подписи",
            "Отметки банка",
            "М.П.",
        };
        CaptionArray<QByteArray> t;
        for (Caption c : AllCaptions)
            t[c] = storage::cp1251::fromUnicode(QString::fromUtf8(utf8[int(c)]));
        return t;
    }();
    return texts;
}

FormGeometry computeGeometry(const DeviceMetrics& device, TextMeasurer& measurer) {
    FormGeometry g;
    g.device = device;
    const Mm mm{device};
    g.pageWidth = mm.w(210);
    g.pageHeight = mm.h(297);
    for (int i = 0; i < HorizontalRuleCount; ++i) {
        const RuleMm& r = HorizontalMm[i];
        g.horizontalRules[std::size_t(i)] = {mm.x(r.x), mm.y(r.y), mm.w(r.length)};
    }
    for (int i = 0; i < VerticalRuleCount; ++i) {
        const RuleMm& r = VerticalMm[i];
        g.verticalRules[std::size_t(i)] = {mm.x(r.x), mm.y(r.y), mm.h(r.length)};
    }
    g.boxes[0] = {mm.x(186), mm.y(15), mm.x(200), mm.y(20)};
    g.boxes[1] = {mm.x(193), mm.y(24), mm.x(200), mm.y(31)};

    Measure m(measurer, device);
    const auto& texts = captionTexts();
    auto& c = g.captions;
    const auto& H = g.horizontalRules;
    const auto& V = g.verticalRules;
    const int left = mm.x(LeftEdge + TextPad);
    const int columnA = mm.w(15), columnB = mm.w(20);

    // Selects caption i's font and returns the width of its text.
    auto place = [&](Caption i, int sizeIndex, bool bold = false) {
        c[i].fontHeight = m.font(sizeIndex, bold);
        c[i].bold = bold;
        return m.width(view(texts[i]));
    };
    auto onRule = [&](Caption i, int sizeIndex, const Rule& r, int y) {
        const int w = place(i, sizeIndex);
        c[i].x = centred(r.x, r.length, w);
        c[i].y = y;
    };
    auto inColumn = [&](Caption i, int sizeIndex, const Rule& column, int width, int y) {
        const int w = place(i, sizeIndex);
        c[i].x = centred(column.x, width, w);
        c[i].y = y;
    };
    auto at = [&](Caption i, int sizeIndex, int x, int y, bool bold = false) {
        place(i, sizeIndex, bold);
        c[i].x = x;
        c[i].y = y;
    };

    {
        const Box& b = g.boxes[0];
        const int w = place(Caption::FormCode, Size35);
        c[Caption::FormCode].x = centred(b.x1, b.x2 - b.x1, w);
        c[Caption::FormCode].y = centred(b.y1, b.y2 - b.y1, m.height());
    }
    onRule(Caption::ReceivedByPayerBank, Size30, H[0], mm.y(16));
    onRule(Caption::DebitedFromPayerAccount, Size30, H[1], mm.y(16));
    at(Caption::Title, SizeTitle, left, mm.y(26), true);
    onRule(Caption::Date, Size30, H[2], mm.y(32));
    onRule(Caption::PaymentKind, Size30, H[3], mm.y(32));
    at(Caption::AmountInWords1, Size35b, left, mm.y(39));
    at(Caption::AmountInWords2, Size35b, left, mm.y(43));
    place(Caption::PayerInn, Size40);
    g.bandOffset = roundHalfEven((long double)(H[5].y - H[4].y - m.height()) / 2);
    const int band = g.bandOffset;
    c[Caption::PayerInn].x = c[Caption::AmountInWords2].x;
    c[Caption::PayerInn].y = H[4].y + band;
    at(Caption::PayerKpp, Size40, mm.x(70 + 1), c[Caption::PayerInn].y);
    inColumn(Caption::Amount, Size35b, V[2], columnA, c[Caption::PayerKpp].y);
    inColumn(Caption::PayerAccount, Size35b, V[2], columnA, H[6].y + band);
    at(Caption::Payer, Size35b, left, mm.y(80 - 4));
    inColumn(Caption::PayerBik, Size35b, V[2], columnA, H[7].y + band);
    inColumn(Caption::PayerCorrAccount, Size35b, V[2], columnA, H[8].y + band);
    at(Caption::PayerBank, Size35b, left, mm.y(95 - 4));
    inColumn(Caption::PayeeBik, Size35b, V[2], columnA, H[9].y + band);
    inColumn(Caption::PayeeCorrAccount, Size35b, V[2], columnA, H[10].y + band);
    at(Caption::PayeeBank, Size35b, left, mm.y(110 - 4));
    at(Caption::PayeeInn, Size40, c[Caption::PayerInn].x, H[11].y + band);
    at(Caption::PayeeKpp, Size40, mm.x(70 + 1), H[11].y + band);
    inColumn(Caption::PayeeAccount, Size35b, V[2], columnA, H[11].y + band);
    inColumn(Caption::OperationKind, Size35b, V[2], columnA, H[13].y + band);
    inColumn(Caption::PaymentTerm, Size35b, V[5], columnB, H[13].y + band);
    inColumn(Caption::PaymentPurposeCode, Size35b, V[2], columnA, H[14].y + band);
    inColumn(Caption::Priority, Size35b, V[5], columnB, H[15].y + band);
    at(Caption::Payee, Size35b, left, mm.y(140 - 4));
    inColumn(Caption::Code, Size35b, V[2], columnA, H[16].y + band);
    inColumn(Caption::ReservedField, Size35b, V[5], columnB, H[17].y + band);
    at(Caption::Purpose, Size35b, left, mm.y(175 - 4));
    onRule(Caption::Signatures, Size35b, H[21], mm.y(175 + 1));
    at(Caption::BankMarks, Size35b, mm.x(80 + 60 + 16), mm.y(176));
    // "М.П." is set a little larger on the screen.
    at(Caption::Stamp, device.screen ? SizeTitle : Size35b, mm.x(80 - 35), mm.y(175 + 18));
    return g;
}

WorkText bankNameForForm(std::string_view name) {
    WorkText t;
    t.assign(name);
    const std::size_t n = t.size();
    for (std::size_t i = 0; i < n; ++i)
        if (storage::cp1251::isLowerCyrillic(static_cast<unsigned char>(t.chars[i])))
            t.chars[i] = char(static_cast<unsigned char>(t.chars[i]) - 32);
    constexpr char CapitalG = char(0xC3), SmallG = char(0xE3);
    for (std::size_t i = 1; i + 1 < n; ++i)
        if (t.chars[i] == CapitalG && t.chars[i - 1] == ' ' && t.chars[i + 1] == '.')
            t.chars[i] = SmallG;
    return t;
}

namespace {

// Fits text into two lines of width pixels: one line when it fits as it stands, else the
// first two lines that splitIntoLines breaks it into.
void fitTwoLines(std::string_view text, int width, const DeviceMetrics& device, Measure& m,
                 TextMeasurer& measurer, WorkText& line1, WorkText& line2) {
    line1.clear();
    line2.clear();
    if (text.empty())
        return;
    m.font(Size40, false);
    if (m.width(text) <= width) {
        line1.assign(text);
        return;
    }
    const FitResult r =
        splitIntoLines(text, {width, "Arial", Size40, device.pixelsPerMmY}, measurer);
    if (r.lineCount > 0)
        line1 = r.lines[0];
    if (r.lineCount > 1)
        line2 = r.lines[1];
}

// The purpose as one text: on paper its first five lines joined by single spaces; on the
// screen the whole text with every control character shown as a blank.
WorkText purposeText(const OrderInput& order, bool screen) {
    WorkText t;
    t.clear();
    if (screen) {
        for (qsizetype i = 0; i < order.purposeLines.size(); ++i) {
            if (i)
                t.append("\r\n");
            t.append(view(order.purposeLines[i]));
        }
        for (std::size_t i = 0; i < t.size(); ++i)
            if (static_cast<unsigned char>(t.chars[i]) < 32)
                t.chars[i] = ' ';
        return t;
    }
    for (qsizetype i = 0; i < order.purposeLines.size() && i < 5; ++i) {
        if (i)
            t.append(' ');
        t.append(view(order.purposeLines[i]));
    }
    return t;
}

} // namespace

WorkText printedPurpose(const OrderInput& order) {
    return purposeText(order, false);
}

WorkText taxLine(const OrderInput& order, const ParsedAmount& amount) {
    // The rate in force on the order's date.
    const storage::Day day = storage::rulesDay(view(order.date));
    return vatLine(amount, storage::vatPercent(order.vatRate, day), order.budgetPayment());
}

FieldArray<WorkText> computeFieldTexts(const OrderInput& order, const FormGeometry& g,
                                       TextMeasurer& measurer) {
    FieldArray<WorkText> f;
    const DeviceMetrics& device = g.device;
    Measure m(measurer, device);
    m.font(Size40, false);
    const int sp = m.width("  ");
    const int nameWidth = g.verticalRules[2].x - g.captions[Caption::Title].x;

    f[Field::Number] = cpText(view(order.number));
    f[Field::Date] = cpText(view(order.date));
    f[Field::PaymentKind] = cpText(view(order.kindText));
    if (order.budgetPayment())
        f[Field::PayerStatus] = cpText(view(order.statusText));

    // The fields of one party, payer or payee.
    struct PartyFields {
        Field name1, name2, inn, kpp, account, bank1, bank2, bik, corr;
    };
    auto party = [&](const Party& p, const PartyFields& to) {
        if (!p.present)
            return;
        const storage::OrganizationRecord& firm = p.firm;
        const storage::BankRecord& bank =
            firm.banks[p.bankSlot >= 0 && p.bankSlot < 4 ? p.bankSlot : 0];
        fitTwoLines(storage::shortenLegalForm(firm.name.view()).view(), nameWidth, device, m,
                    measurer, f[to.name1], f[to.name2]);
        f[to.inn].assign(firm.inn);
        f[to.kpp].assign(firm.kpp);
        f[to.account].assign(bank.account);
        const WorkText bankName =
            bankNameForForm(bank.bankShort.empty() ? bank.bankFull.view() : bank.bankShort.view());
        fitTwoLines(bankName.view(), nameWidth, device, m, measurer, f[to.bank1], f[to.bank2]);
        f[to.bik].assign(bank.bik);
        f[to.corr].assign(bank.corrAccount);
    };
    party(order.payer, {Field::PayerName1, Field::PayerName2, Field::PayerInn, Field::PayerKpp,
                        Field::PayerAccount, Field::PayerBank1, Field::PayerBank2, Field::PayerBik,
                        Field::PayerCorrAccount});

    AmountLine amount;
    if (!order.amountText.isEmpty()) {
        amount = assembleAmountLine(view(order.amountText));
        if (!amount.line.empty()) {
            const int from = g.verticalRules[0].x + sp;
            const int to = g.horizontalRules[4].x + g.horizontalRules[4].length;
            fitTwoLines(amount.line.view(), to - from, device, m, measurer,
                        f[Field::AmountInWords1], f[Field::AmountInWords2]);
            f[Field::AmountFigure].assign(amount.figure);
        }
    }
    party(order.payee, {Field::PayeeName1, Field::PayeeName2, Field::PayeeInn, Field::PayeeKpp,
                        Field::PayeeAccount, Field::PayeeBank1, Field::PayeeBank2, Field::PayeeBik,
                        Field::PayeeCorrAccount});

    f[Field::OperationKind] = cpText("01");
    // The lowest priority in force on the order's date.
    const storage::Day day = storage::rulesDay(view(order.date));
    f[Field::Priority] = cpText(view(storage::priorityText(order.priorityChoice, day).toLatin1()));

    // Purpose, with the tax line right after its last line.
    const WorkText tax = taxLine(order, amount.amount);
    const WorkText purpose = purposeText(order, device.screen);
    const int purposeWidth = g.horizontalRules[4].length - sp;
    std::size_t next = 0; // the next purpose line
    if (!purpose.empty()) {
        m.font(Size40, false);
        if (m.width(purpose.view()) <= purposeWidth) {
            f[PurposeFields[next++]] = purpose;
        } else {
            const FitResult r = splitIntoLines(
                purpose.view(), {purposeWidth, "Arial", Size40, device.pixelsPerMmY}, measurer);
            for (int i = 0; i < r.lineCount && i < 3; ++i)
                f[PurposeFields[next++]] = r.lines[std::size_t(i)];
        }
    }
    f[PurposeFields[next]] = tax;

    if (order.budgetPayment()) {
        const storage::BudgetFields& b = order.budget;
        auto text = [](const QString& t) { return cpText(view(storage::cp1251::fromUnicode(t))); };
        f[Field::BudgetClassificationCode] = text(b.kbk);
        f[Field::Okato] = text(b.okato);
        f[Field::PaymentBasis] = text(b.basis);
        f[Field::TaxPeriod] = text(b.taxPeriod);
        f[Field::TaxDocumentNumber] = text(b.docNumber);
        f[Field::TaxDocumentDate] = text(b.docDate);
        f[Field::TaxPaymentType] = text(b.taxType);
    }
    return f;
}

FieldArray<TextPlace> computeFieldPlaces(const FormGeometry& g, const FieldArray<WorkText>& texts,
                                         TextMeasurer& measurer) {
    FieldArray<TextPlace> p;
    const DeviceMetrics& device = g.device;
    const Mm mm{device};
    Measure m(measurer, device);
    const auto& c = g.captions;
    const auto& H = g.horizontalRules;
    const auto& V = g.verticalRules;
    const auto& captionText = captionTexts();
    auto width = [&](Field f) { return m.width(texts[f].view()); };

    // The number and the date are bold; they and the payment kind use the title size; all
    // are 4 mm high.
    for (Field f : AllFields) {
        p[f].fontHeight = m.cell(f <= Field::PaymentKind ? SizeTitle : Size40);
        p[f].bold = f <= Field::Date;
    }

    m.font(SizeTitle, true);
    const int titleWidth = m.width(view(captionText[Caption::Title]));
    const int gap = m.width(device.screen ? "  " : "   ");
    p[Field::Number].x = c[Caption::Title].x + titleWidth + gap;
    p[Field::Number].y = c[Caption::Title].y;
    p[Field::Date].x = centred(H[2].x, H[2].length, width(Field::Date));
    p[Field::Date].y = c[Caption::Title].y;
    m.font(SizeTitle, false);
    p[Field::PaymentKind].x = centred(H[3].x, H[2].length, width(Field::PaymentKind));
    p[Field::PaymentKind].y = c[Caption::Title].y;

    const int fh = m.font(Size40, false);
    const int sp = m.width("  ");
    {
        const Box& b = g.boxes[1];
        p[Field::PayerStatus].x = centred(b.x1, b.x2 - b.x1, width(Field::PayerStatus));
        p[Field::PayerStatus].y = centred(b.y1, b.y2 - b.y1, m.height());
    }
    const int innWidth = m.width(view(captionText[Caption::PayerInn]));
    const int kppWidth = m.width(view(captionText[Caption::PayerKpp]));
    p[Field::AmountInWords1] = {V[0].x + sp, mm.y(35 + 1), fh, false};
    p[Field::PayerInn] = {c[Caption::PayerInn].x + innWidth + sp, c[Caption::PayerInn].y, fh,
                          false};
    p[Field::PayerKpp] = {c[Caption::PayerKpp].x + kppWidth + sp, c[Caption::PayerKpp].y, fh,
                          false};
    p[Field::AmountFigure] = {V[3].x + sp, c[Caption::PayerInn].y, fh, false};
    const int r = p[Field::AmountFigure].x;  // the right-hand value column
    const int left = c[Caption::PayerInn].x; // 21 mm, where the names and the purpose start
    p[Field::PayerName1] = {left, mm.y(55 + 1), fh, false};
    p[Field::PayerAccount] = {r, c[Caption::PayerAccount].y, fh, false};
    p[Field::PayerBank1] = {left, mm.y(80 + 1), fh, false};
    p[Field::PayerBik] = {r, c[Caption::PayerBik].y, fh, false};
    p[Field::PayerCorrAccount] = {r, c[Caption::PayerCorrAccount].y, fh, false};
    p[Field::PayeeBank1] = {left, mm.y(95 + 1), fh, false};
    p[Field::PayeeBik] = {r, c[Caption::PayeeBik].y, fh, false};
    p[Field::PayeeCorrAccount] = {r, c[Caption::PayeeCorrAccount].y, fh, false};
    p[Field::PayeeInn] = {c[Caption::PayeeInn].x + innWidth + sp, c[Caption::PayeeInn].y, fh,
                          false};
    p[Field::PayeeKpp] = {c[Caption::PayeeKpp].x + kppWidth + sp, c[Caption::PayeeKpp].y, fh,
                          false};
    p[Field::PayeeAccount] = {r, c[Caption::PayeeAccount].y, fh, false};
    p[Field::PayeeName1] = {left, mm.y(115 + 1), fh, false};
    p[Field::OperationKind] = {r, c[Caption::OperationKind].y, fh, false};
    p[Field::Priority] = {V[6].x + sp, c[Caption::Priority].y, fh, false};
    p[Field::Purpose1] = {left, mm.y(145 + 1), fh, false};
    for (std::size_t i = 1; i < PurposeFields.size(); ++i)
        p[PurposeFields[i]] = {left, p[PurposeFields[i - 1]].y + fh, fh, false};
    // Second lines right under their first lines.
    auto below = [&](Field first) { return TextPlace{p[first].x, p[first].y + fh, fh, false}; };
    p[Field::PayerBank2] = below(Field::PayerBank1);
    p[Field::PayeeBank2] = below(Field::PayeeBank1);
    p[Field::PayerName2] = below(Field::PayerName1);
    p[Field::PayeeName2] = below(Field::PayeeName1);
    p[Field::AmountInWords2] = below(Field::AmountInWords1);

    // The tax row: each text centred in its cell between the vertical rules.
    const int bounds[8] = {H[18].x, V[7].x,  V[8].x,  V[9].x,
                           V[10].x, V[11].x, V[12].x, H[18].x + H[18].length};
    for (std::size_t i = 0; i < TaxRowFields.size(); ++i) {
        const Field f = TaxRowFields[i];
        p[f] = {centred(bounds[i], bounds[i + 1] - bounds[i], width(f)), H[18].y + g.bandOffset, fh,
                false};
    }
    return p;
}

FormLayout layOut(const OrderInput& order, const DeviceMetrics& device, TextMeasurer& measurer) {
    FormLayout l;
    l.geometry = computeGeometry(device, measurer);
    l.fields.texts = computeFieldTexts(order, l.geometry, measurer);
    l.fields.places = computeFieldPlaces(l.geometry, l.fields.texts, measurer);
    return l;
}

} // namespace render
