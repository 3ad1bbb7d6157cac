#include "tformchangeplat.h"

#include "ui_tformchangeplat.h"

#include "uiutil.h"

namespace editor {

TFormChangePlat::TFormChangePlat(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TFormChangePlat>()) {
    ui->setupUi(this);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    ui->Panel1->setMinimumWidth(360);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

TFormChangePlat::~TFormChangePlat() = default;

bool TFormChangePlat::ask(const QString& line1, const QString& line2) {
    ui->Panel1->setText(line1);
    ui->Panel2->setText(line2);
    return showModal(this) == QDialog::Accepted;
}

} // namespace editor
