// The true-scale preview of the printed form on the main window's second page.
#pragma once

#include <QWidget>

namespace editor {

class PreviewBox : public QWidget {
    Q_OBJECT
public:
    explicit PreviewBox(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace editor
