#include "tformset.h"

#include "ui_tformset.h"

#include "storage/store.h"

namespace archive {

TFormSet::TFormSet(storage::Store& store, QWidget* parent)
    : QDialog(parent), store_(store), ui(std::make_unique<Ui::TFormSet>()) {
    ui->setupUi(this);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    currentYearBox()->setChecked(store_.CurrentYearOnly() == 1);
    usnRatesBox()->setChecked(store_.UsnVatRates() == 1);
    connect(currentYearBox(), &QCheckBox::clicked, this, &TFormSet::CheckBox3Click);
    connect(usnRatesBox(), &QCheckBox::clicked, this,
            [this](bool checked) { store_.UsnVatRates() = checked ? 1 : 0; });
    connect(okButton(), &QToolButton::clicked, this, &QDialog::accept);
}

TFormSet::~TFormSet() = default;

QCheckBox* TFormSet::currentYearBox() const {
    return ui->CheckBox3;
}

QCheckBox* TFormSet::usnRatesBox() const {
    return ui->CheckBox4;
}

QToolButton* TFormSet::okButton() const {
    return ui->SpeedButton1;
}

void TFormSet::CheckBox3Click(bool checked) {
    store_.CurrentYearOnly() = checked ? 1 : 0;
}

} // namespace archive
