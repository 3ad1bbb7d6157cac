#include "preview.h"

#include <QPainter>

namespace editor {

PreviewBox::PreviewBox(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PaintBox1"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    resize(794, 1123);
}

void PreviewBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawRect(0, 0, width() - 1, height() - 1);
}

} // namespace editor
