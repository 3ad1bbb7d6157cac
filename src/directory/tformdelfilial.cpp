#include "tformdelfilial.h"

#include "ui_tformdelfilial.h"

namespace directory {

TFormDelFilial::TFormDelFilial(QWidget* parent)
    : PanelQuestion(parent), ui(std::make_unique<Ui::TFormDelFilial>()) {
    ui->setupUi(this);
    setUp(ui->Panel1, ui->BitBtn1, ui->BitBtn2);
}

TFormDelFilial::~TFormDelFilial() = default;

} // namespace directory
