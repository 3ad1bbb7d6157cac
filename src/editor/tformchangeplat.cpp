#include "tformchangeplat.h"

#include "ui_tformchangeplat.h"

#include "uiutil.h"

namespace editor {

TFormChangePlat::TFormChangePlat(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TFormChangePlat>()) {
    ui->setupUi(this);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    firstLine()->setMinimumWidth(360);
    connect(yesButton(), &QPushButton::clicked, this, &QDialog::accept);
    connect(noButton(), &QPushButton::clicked, this, &QDialog::reject);
}

TFormChangePlat::~TFormChangePlat() = default;

QPushButton* TFormChangePlat::yesButton() const {
    return ui->BitBtn1;
}

QPushButton* TFormChangePlat::noButton() const {
    return ui->BitBtn2;
}

QLabel* TFormChangePlat::firstLine() const {
    return ui->Panel1;
}

QLabel* TFormChangePlat::questionLine() const {
    return ui->Panel2;
}

bool TFormChangePlat::ask(const QString& line1, const QString& line2) {
    firstLine()->setText(line1);
    questionLine()->setText(line2);
    return showModal(this) == QDialog::Accepted;
}

} // namespace editor
