// The true-scale preview of the printed form on the main window's second page.
#pragma once

#include "render/formlayout.h"
#include "render/measure.h"

#include <QWidget>

namespace editor {

class PreviewBox : public QWidget {
    Q_OBJECT
public:
    explicit PreviewBox(QWidget* parent = nullptr);

    // Computes the frame and captions for this screen (its pixels per millimetre, no
    // offsets) and sizes the box to an A4 sheet; done once at start.
    void computeGeometry();
    // Lays an order out on the screen; the box repaints.
    void showOrder(const render::OrderInput& order);
    const render::FormLayout& layout() const { return layout_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    render::QtTextMeasurer measurer_;
    render::FormLayout layout_;
};

} // namespace editor
