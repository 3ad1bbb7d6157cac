#include "tformfilter.h"

#include "ui_tformfilter.h"

#include "editor/uiutil.h"
#include "storage/store.h"

#include <QTimer>

namespace archive {

TFormFilter::TFormFilter(storage::Store& store, QWidget* parent)
    : QDialog(parent), store_(store), ui(std::make_unique<Ui::TFormFilter>()) {
    ui->setupUi(this);

    connect(ui->CheckBox1, &QCheckBox::toggled, this, &TFormFilter::CheckBoxChange);
    connect(ui->CheckBox2, &QCheckBox::toggled, this, &TFormFilter::CheckBoxChange);
    connect(ui->ComboBox1, &QComboBox::activated, this, &TFormFilter::ComboBox1Select);
    connect(ui->ComboBox2, &QComboBox::currentIndexChanged, this, &TFormFilter::ComboBox2Change);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &TFormFilter::BitBtn1Click);

    editor::applyFormSize(this, store_, storage::TagFormFilter);
    FillFilter();
}

TFormFilter::~TFormFilter() = default;

void TFormFilter::FillFilter() {
    stepping_ = true;
    ui->CheckBox1->setChecked(true);
    ui->CheckBox2->setChecked(true);
    ui->ComboBox1->clear();
    ui->ComboBox2->clear();
    ui->ComboBox1->setEnabled(store_.PayerInnCount >= 2);
    ui->ComboBox2->setEnabled(store_.PayeeInnCount >= 2);
    for (int i = 0; i < store_.PayerInnCount; ++i)
        ui->ComboBox1->addItem(editor::toUi(store_.PayerInnTable[std::size_t(i)].Name));
    for (int i = 0; i < store_.PayeeInnCount; ++i)
        ui->ComboBox2->addItem(editor::toUi(store_.PayeeInnTable[std::size_t(i)].Name));
    ui->ComboBox1->setCurrentIndex(-1);
    ui->ComboBox2->setCurrentIndex(-1);
    stepping_ = false;
    CheckBoxChange();
}

FilterChoice TFormFilter::choice() const {
    return {FilterMode, ui->ComboBox1->currentIndex(), ui->ComboBox2->currentIndex()};
}

void TFormFilter::CheckBoxChange() {
    if (stepping_)
        return;
    FilterBoxes b{ui->CheckBox1->isChecked(), ui->CheckBox2->isChecked(),
                  ui->ComboBox1->currentIndex(), ui->ComboBox2->currentIndex()};
    FilterMode = BoxStep(store_, b);
    stepping_ = true;
    ui->CheckBox1->setChecked(b.payerAll);
    ui->CheckBox2->setChecked(b.payeeAll);
    ui->ComboBox1->setCurrentIndex(b.payer);
    ui->ComboBox2->setCurrentIndex(b.payee);
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
