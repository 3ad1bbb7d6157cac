// The main window: one payment order is composed, checked, previewed, printed and saved here.
#pragma once

#include <QMainWindow>
#include <memory>

namespace storage {
class Store;
}

namespace Ui {
class TForm1;
}

namespace editor {

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(storage::Store& store, QWidget* parent = nullptr);
    ~TForm1() override;

private:
    storage::Store& store_;
    std::unique_ptr<Ui::TForm1> ui;
};

} // namespace editor
