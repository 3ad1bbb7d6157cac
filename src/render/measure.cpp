#include "measure.h"

#include "storage/cp1251.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <algorithm>
#include <cmath>

namespace render {

QFont fontForCellHeight(const QString& family, int cellHeight, FontStyle style,
                        const QPaintDevice* device) {
    QFont font(family);
    font.setBold(style == FontStyle::Bold);
    font.setKerning(false);
    auto cellAt = [&](int pixelSize) {
        font.setPixelSize(pixelSize);
        const QFontMetrics m(font, device);
        return m.ascent() + m.descent();
    };
    if (cellHeight < 1)
        cellHeight = 1;

    // Start from Arial's proportion, correct once by the measured one, then step to the
    // exact height. A new pixel size costs a font engine, so few sizes are tried.
    int size = std::max(1, int(std::lround(cellHeight / 1.117)));
    int cell = cellAt(size);
    if (cell != cellHeight && cell > 0) {
        const int guess = std::max(1, int(std::lround(double(size) * cellHeight / cell)));
        if (guess != size) {
            size = guess;
            cell = cellAt(size);
        }
    }
    for (int step = 0; step < 16 && cell > cellHeight && size > 1; ++step)
        cell = cellAt(--size);
    for (int step = 0; step < 16 && cell < cellHeight; ++step) {
        const int next = cellAt(size + 1);
        if (next > cellHeight)
            break;
        ++size;
        cell = next;
    }
    font.setPixelSize(size);
    return font;
}

// One font with the advances of the 256 code page 1251 characters in 1/64 pixel, filled on
// first use (-1: not yet measured).
struct QtTextMeasurer::Face {
    QString family;
    int cellHeight;
    FontStyle style;
    QFont font;
    QFontMetricsF metrics;
    std::array<std::int32_t, 256> advance;

    Face(std::string_view name, int cell, FontStyle st, const QPaintDevice* device)
        : family(QString::fromLatin1(name.data(), qsizetype(name.size()))), cellHeight(cell),
          style(st), font(fontForCellHeight(family, cell, st, device)), metrics(font, device) {
        advance.fill(-1);
    }

    bool is(std::string_view name, int cell, FontStyle st) const {
        return cellHeight == cell && style == st &&
               family == QLatin1String(name.data(), qsizetype(name.size()));
    }

    std::int32_t advanceOf(unsigned char c) {
        std::int32_t& a = advance[c];
        if (a < 0) {
            // Measured as a text, not as a lone character, so that characters the text
            // engine draws with no width (the soft hyphen) count as it draws them.
            const char byte = char(c);
            const QString s = storage::cp1251::toUnicode(std::string_view(&byte, 1));
            a = std::int32_t(std::lround(metrics.horizontalAdvance(s) * 64));
        }
        return a;
    }
};

QtTextMeasurer::QtTextMeasurer(const QPaintDevice* device) : device_(device) {}

QtTextMeasurer::~QtTextMeasurer() = default;

QtTextMeasurer::Face& QtTextMeasurer::faceFor(std::string_view family, int cellHeight,
                                              FontStyle style) {
    if (current_ && current_->is(family, cellHeight, style))
        return *current_;
    for (const auto& f : faces_)
        if (f->is(family, cellHeight, style))
            return *f;
    faces_.push_back(std::make_unique<Face>(family, cellHeight, style, device_));
    return *faces_.back();
}

void QtTextMeasurer::setFont(std::string_view family, int cellHeight, FontStyle style) {
    current_ = &faceFor(family, cellHeight, style);
}

int QtTextMeasurer::textHeight() {
    if (!current_)
        return QFontMetrics(defaultFont_, device_).height();
    return QFontMetrics(current_->font, device_).height();
}

int QtTextMeasurer::textWidth(std::string_view text) {
    if (!current_)
        return QFontMetrics(defaultFont_, device_)
            .horizontalAdvance(storage::cp1251::toUnicode(text));
    std::int64_t sum = 0;
    for (char c : text)
        sum += current_->advanceOf(static_cast<unsigned char>(c));
    // Rounded as Qt rounds a text's advance: halves up.
    return int((sum + 32) >> 6);
}

const QFont& QtTextMeasurer::font() const {
    return current_ ? current_->font : defaultFont_;
}

} // namespace render
