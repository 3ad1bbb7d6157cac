// Measuring with the real font. "Arial" must resolve to Liberation Sans, whose widths are
// Arial's; with another font the widths below mean nothing.
#include "support/support.h"

#include "render/fitting.h"
#include "render/measure.h"

#include "storage/cp1251.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace render;
using testing_support::cps;

namespace {

class RealFont : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(QFontInfo(QFont(QStringLiteral("Arial"))).family(),
                  QStringLiteral("Liberation Sans"));
        ASSERT_TRUE(dir_.isValid());
        pdf_ = std::make_unique<QPdfWriter>(dir_.filePath(QStringLiteral("m.pdf")));
        pdf_->setResolution(1200);
    }
    QTemporaryDir dir_;
    std::unique_ptr<QPdfWriter> pdf_;
};

int cellOf(const QFont& f, const QPaintDevice* device) {
    const QFontMetrics m(f, device);
    return m.ascent() + m.descent();
}

TEST_F(RealFont, CellHeightIsExactWherePossible) {
    for (const QPaintDevice* device : {static_cast<const QPaintDevice*>(pdf_.get()),
                                       static_cast<const QPaintDevice*>(nullptr)}) {
        for (FontStyle style : {FontStyle::Regular, FontStyle::Bold}) {
            std::vector<int> cells = {189, 236, 165, 142};
            for (int c = 8; c <= 40; ++c)
                cells.push_back(c);
            for (int cell : cells) {
                const QFont f = fontForCellHeight(QStringLiteral("Arial"), cell, style, device);
                EXPECT_EQ(f.bold(), style == FontStyle::Bold);
                EXPECT_FALSE(f.kerning());
                const int got = cellOf(f, device);
                EXPECT_LE(got, cell) << "cell " << cell;
                if (got != cell) {
                    // Only when the next pixel size jumps past the height.
                    QFont bigger = f;
                    bigger.setPixelSize(f.pixelSize() + 1);
                    EXPECT_GT(cellOf(bigger, device), cell) << "cell " << cell;
                }
            }
        }
    }
    // 4.0 mm at 1200 dots per inch: the em is the cell divided by about 1.117.
    const QFont f = fontForCellHeight(QStringLiteral("Arial"), 189, FontStyle::Regular);
    EXPECT_EQ(f.pixelSize(), 169);
}

TEST_F(RealFont, WidthsEqualQtTextWidths) {
    std::string all; // every code page 1251 character from the space up
    for (int b = 32; b < 256; ++b)
        all += char(b);
    const std::vector<std::string> texts = {
        all,
        cps("Оплата по договору № 15 от 01.02.2024 за товары, в т.ч. НДС(18%): 152-54"),
        cps("ОБЩЕСТВО С ОГРАНИЧЕННОЙ ОТВЕТСТВЕННОСТЬЮ «ВЕГА» г.ТВЕРЬ"),
        "soft\xADhyphen AVAVA To Wa 1111",
        "",
    };
    for (const QPaintDevice* device : {static_cast<const QPaintDevice*>(pdf_.get()),
                                       static_cast<const QPaintDevice*>(nullptr)}) {
        QtTextMeasurer m(device);
        for (int cell : {189, 16, 19})
            for (FontStyle style : {FontStyle::Regular, FontStyle::Bold}) {
                m.setFont("Arial", cell, style);
                EXPECT_EQ(cellOf(m.font(), device), cell);
                const QFontMetrics qt(m.font(), device);
                for (const std::string& t : texts)
                    EXPECT_EQ(m.textWidth(t), qt.horizontalAdvance(storage::cp1251::toUnicode(t)))
                        << "cell " << cell << ": " << t.substr(0, 20);
            }
    }
}

// The layout's purpose box: 180 mm less two spaces, 4.0 mm Arial, 1200 dots per inch.
TEST_F(RealFont, PurposeLinesAreGreedyAndNarrowerThanTheBox) {
    const std::string purpose =
        cps("Оплата по счету № 1234 от 15.03.2024 за поставку канцелярских товаров и "
            "расходных материалов для оргтехники согласно договору поставки № 77/П-2024 от "
            "10.01.2024, бумаги офисной формата А4 и прочих товаров "
            "по спецификации № 3 к договору. Сумма 118000-00");
    ASSERT_LE(purpose.size(), 255u);
    QtTextMeasurer m(pdf_.get());
    FitRequest request;
    request.pixelsPerMmY = 1200 / 25.4L;
    m.setFont("Arial", fontCellHeight(request.pixelsPerMmY, 4), FontStyle::Regular);
    request.width = roundHalfEven(180 * 1200 / 25.4L) - m.textWidth("  ");
    const FitResult r = splitIntoLines(purpose, request, m);

    ASSERT_EQ(r.lineCount, 3);
    std::string joined;
    for (int i = 0; i < r.lineCount; ++i) {
        const std::string_view line = r.lines[std::size_t(i)].view();
        EXPECT_LT(m.textWidth(line), request.width);
        if (i + 1 < r.lineCount) {
            // The next line's first word did not fit after this line.
            const std::string_view next = r.lines[std::size_t(i + 1)].view();
            const std::string longer =
                std::string(line) + " " + std::string(next.substr(0, next.find(' ')));
            EXPECT_GE(m.textWidth(longer), request.width);
        }
        joined += (i ? " " : "") + std::string(line);
    }
    EXPECT_EQ(joined, purpose);
}

} // namespace
