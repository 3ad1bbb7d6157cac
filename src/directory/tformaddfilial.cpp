#include "tformaddfilial.h"

#include "ui_tformaddfilial.h"

namespace directory {

TFormAddFilial::TFormAddFilial(QWidget* parent)
    : RecordDialog(parent), ui(std::make_unique<Ui::TFormAddFilial>()) {
    ui->setupUi(this);
    setUp({ui->Edit1, ui->Edit2, ui->Edit3}, {96, 32, 48}, 0, QStringLiteral("Введите \"Адрес\""),
          ui->BitBtn1, ui->BitBtn2);
}

TFormAddFilial::~TFormAddFilial() = default;

} // namespace directory
