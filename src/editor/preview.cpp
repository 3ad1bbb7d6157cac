#include "preview.h"

#include "render/formpaint.h"

#include <QPainter>

namespace editor {

PreviewBox::PreviewBox(QWidget* parent) : QWidget(parent), measurer_(this) {
    setObjectName(QStringLiteral("previewBox"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void PreviewBox::computeGeometry() {
    const auto device = render::DeviceMetrics::fromDpi(physicalDpiX(), physicalDpiY(), 0, 0, true);
    layout_.geometry = render::computeGeometry(device, measurer_);
    setFixedSize(layout_.geometry.pageWidth, layout_.geometry.pageHeight);
}

void PreviewBox::showOrder(const render::OrderInput& order) {
    layout_.fields.texts = render::computeFieldTexts(order, layout_.geometry, measurer_);
    layout_.fields.places =
        render::computeFieldPlaces(layout_.geometry, layout_.fields.texts, measurer_);
    update();
}

void PreviewBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    render::paintForm(painter, layout_);
}

} // namespace editor
