#include "formpaint.h"

#include "storage/cp1251.h"

#include <QFontMetrics>
#include <QPainter>

namespace render {

namespace {

void drawText(QPainter& painter, const TextPlace& place, std::string_view text) {
    if (text.empty())
        return;
    const QFont font =
        fontForCellHeight(QStringLiteral("Arial"), place.fontHeight,
                          place.bold ? FontStyle::Bold : FontStyle::Regular, painter.device());
    painter.setFont(font);
    const QFontMetrics metrics(font, painter.device());
    painter.drawText(QPoint(place.x, place.y + metrics.ascent()), storage::cp1251::toUnicode(text));
}

} // namespace

void paintForm(QPainter& painter, const FormLayout& layout) {
    const FormGeometry& g = layout.geometry;
    painter.save();
    QPen pen(Qt::black);
    pen.setWidth(g.device.screen ? 0 : 4);
    pen.setCapStyle(Qt::SquareCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    if (g.device.screen)
        painter.drawRect(0, 0, g.pageWidth - 1, g.pageHeight - 1);
    for (const Rule& r : g.horizontalRules)
        painter.drawLine(r.x, r.y, r.x + r.length, r.y);
    for (const Rule& r : g.verticalRules)
        painter.drawLine(r.x, r.y, r.x, r.y + r.length);
    for (const Box& b : g.boxes)
        painter.drawRect(QRect(QPoint(b.x1, b.y1), QPoint(b.x2, b.y2)).adjusted(0, 0, -1, -1));

    const auto& captions = captionTexts();
    for (Caption c : AllCaptions) {
        const QByteArray& t = captions[c];
        drawText(painter, g.captions[c], std::string_view(t.constData(), std::size_t(t.size())));
    }
    for (Field f : AllFields)
        drawText(painter, layout.fields.places[f], layout.fields.texts[f].view());
    painter.restore();
}

} // namespace render
