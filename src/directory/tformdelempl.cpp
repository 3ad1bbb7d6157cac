#include "tformdelempl.h"

#include "ui_tformdelempl.h"

namespace directory {

TFormDelEmpl::TFormDelEmpl(QWidget* parent)
    : PanelQuestion(parent), ui(std::make_unique<Ui::TFormDelEmpl>()) {
    ui->setupUi(this);
    setUp(ui->Panel1, ui->BitBtn1, ui->BitBtn2);
}

TFormDelEmpl::~TFormDelEmpl() = default;

} // namespace directory
