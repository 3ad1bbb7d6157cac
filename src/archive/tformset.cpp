#include "tformset.h"

#include "ui_tformset.h"

#include "storage/store.h"

namespace archive {

TFormSet::TFormSet(storage::Store& store, QWidget* parent)
    : QDialog(parent), store_(store), ui(std::make_unique<Ui::TFormSet>()) {
    ui->setupUi(this);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    ui->CheckBox3->setChecked(store_.CurrentYearOnly() == 1);
    ui->CheckBox4->setChecked(store_.UsnVatRates() == 1);
    connect(ui->CheckBox3, &QCheckBox::clicked, this, &TFormSet::CheckBox3Click);
    connect(ui->CheckBox4, &QCheckBox::clicked, this,
            [this](bool checked) { store_.UsnVatRates() = checked ? 1 : 0; });
    connect(ui->SpeedButton1, &QToolButton::clicked, this, &QDialog::accept);
}

TFormSet::~TFormSet() = default;

void TFormSet::CheckBox3Click(bool checked) {
    store_.CurrentYearOnly() = checked ? 1 : 0;
}

} // namespace archive
