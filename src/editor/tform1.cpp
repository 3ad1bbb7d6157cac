#include "tform1.h"

#include "ui_tform1.h"

#include "storage/store.h"

namespace editor {

TForm1::TForm1(storage::Store& store, QWidget* parent)
    : QMainWindow(parent), store_(store), ui(std::make_unique<Ui::TForm1>()) {
    ui->setupUi(this);
}

TForm1::~TForm1() = default;

} // namespace editor
