#include "tformfilter.h"

#include "ui_tformfilter.h"

#include "editor/uiutil.h"
#include "storage/store.h"

#include <QTimer>

namespace archive {

TFormFilter::TFormFilter(storage::Store& store, QWidget* parent)
    : QDialog(parent), store_(store), ui(std::make_unique<Ui::TFormFilter>()) {
    ui->setupUi(this);

    connect(allPayersBox(), &QCheckBox::toggled, this, &TFormFilter::CheckBoxChange);
    connect(allPayeesBox(), &QCheckBox::toggled, this, &TFormFilter::CheckBoxChange);
    connect(payerBox(), &QComboBox::activated, this, &TFormFilter::ComboBox1Select);
    connect(payeeBox(), &QComboBox::currentIndexChanged, this, &TFormFilter::ComboBox2Change);
    connect(okButton(), &QPushButton::clicked, this, &TFormFilter::BitBtn1Click);

    editor::applyFormSize(this, store_, storage::TagFormFilter);
    FillFilter();
}

TFormFilter::~TFormFilter() = default;

QPushButton* TFormFilter::okButton() const {
    return ui->BitBtn1;
}

QCheckBox* TFormFilter::allPayersBox() const {
    return ui->CheckBox1;
}

QCheckBox* TFormFilter::allPayeesBox() const {
    return ui->CheckBox2;
}

QComboBox* TFormFilter::payerBox() const {
    return ui->ComboBox1;
}

QComboBox* TFormFilter::payeeBox() const {
    return ui->ComboBox2;
}

void TFormFilter::FillFilter() {
    stepping_ = true;
    allPayersBox()->setChecked(true);
    allPayeesBox()->setChecked(true);
    payerBox()->clear();
    payeeBox()->clear();
    payerBox()->setEnabled(store_.PayerInnCount >= 2);
    payeeBox()->setEnabled(store_.PayeeInnCount >= 2);
    for (int i = 0; i < store_.PayerInnCount; ++i)
        payerBox()->addItem(editor::toUi(store_.PayerInnTable[std::size_t(i)].Name));
    for (int i = 0; i < store_.PayeeInnCount; ++i)
        payeeBox()->addItem(editor::toUi(store_.PayeeInnTable[std::size_t(i)].Name));
    payerBox()->setCurrentIndex(-1);
    payeeBox()->setCurrentIndex(-1);
    stepping_ = false;
    CheckBoxChange();
}

FilterChoice TFormFilter::choice() const {
    return {FilterMode, payerBox()->currentIndex(), payeeBox()->currentIndex()};
}

void TFormFilter::CheckBoxChange() {
    if (stepping_)
        return;
    FilterBoxes b{allPayersBox()->isChecked(), allPayeesBox()->isChecked(),
                  payerBox()->currentIndex(), payeeBox()->currentIndex()};
    FilterMode = BoxStep(store_, b);
    stepping_ = true;
    allPayersBox()->setChecked(b.payerAll);
    allPayeesBox()->setChecked(b.payeeAll);
    payerBox()->setCurrentIndex(b.payer);
    payeeBox()->setCurrentIndex(b.payee);
    stepping_ = false;
}

void TFormFilter::ComboBox1Select(int) {
    if (QWidget* w = focusWidget())
        w->clearFocus();
}

void TFormFilter::ComboBox2Change(int) {
    if (stepping_)
        return;
    if (QWidget* w = focusWidget())
        w->clearFocus();
}

void TFormFilter::BitBtn1Click() {
    emit filterChosen(FilterMode != FilterNone);
    accept();
}

void TFormFilter::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // No control is active when the dialog opens.
    QTimer::singleShot(0, this, [this] {
        if (QWidget* w = focusWidget())
            w->clearFocus();
    });
}

} // namespace archive
