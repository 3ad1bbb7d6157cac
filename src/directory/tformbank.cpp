#include "tformbank.h"

#include "ui_tformbank.h"

#include "editor/uiutil.h"
#include "storage/store.h"

#include <QButtonGroup>
#include <QShowEvent>

namespace directory {

using namespace Qt::StringLiterals;

TFormBank::TFormBank(storage::Store& store, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TFormBank>()) {
    ui->setupUi(this);
    edits_ = {ui->Edit1,  ui->Edit2,  ui->Edit3,  ui->Edit4,  ui->Edit5,  ui->Edit6,  ui->Edit7,
              ui->Edit8,  ui->Edit9,  ui->Edit10, ui->Edit11, ui->Edit12, ui->Edit13, ui->Edit14,
              ui->Edit15, ui->Edit16, ui->Edit17, ui->Edit18, ui->Edit19, ui->Edit20};
    const std::array<int, BankBoxCount> capacities = bankCapacities();
    for (std::size_t i = 0; i < edits_.size(); ++i)
        editor::restrictToCp1251(edits_[i], capacities[i]);
    radio_ = new QButtonGroup(this);
    radio_->addButton(ui->RadioButton1, 0);
    radio_->addButton(ui->RadioButton2, 1);
    radio_->addButton(ui->RadioButton3, 2);
    radio_->addButton(ui->RadioButton4, 3);

    // Check digits are warnings, shown on the boxes while they are typed or filled.
    for (QLineEdit* e : edits_)
        connect(e, &QLineEdit::textChanged, this, &TFormBank::showWarnings);

    connect(okButton(), &QPushButton::clicked, this, &TFormBank::Button1Click);

    editor::applyFormSize(this, store, storage::TagFormBank);
}

TFormBank::~TFormBank() = default;

QPushButton* TFormBank::okButton() const {
    return ui->Button1;
}

QTabWidget* TFormBank::slotPages() const {
    return ui->PageControl1;
}

QGroupBox* TFormBank::slotChoice() const {
    return ui->RadioGroup1;
}

void TFormBank::showWarnings() {
    BankTexts t;
    for (std::size_t i = 0; i < t.size(); ++i)
        t[i] = edits_[i]->text();
    const BankTexts warnings = bankWarnings(t);
    for (std::size_t i = 0; i < warnings.size(); ++i)
        editor::showFieldProblem(edits_[i], warnings[i]);
}

void TFormBank::setEditable(bool editable) {
    for (QLineEdit* e : edits_)
        e->setReadOnly(!editable);
    slotChoice()->setEnabled(editable);
}

FirmBanks TFormBank::editBanks(const FirmBanks& banks, EditMode mode, int page,
                               const QString& name) {
    setBanks(banks, mode, page, name);
    editor::showModal(this);
    return banks_;
}

void TFormBank::setBanks(const FirmBanks& banks, EditMode mode, int page, const QString& name) {
    banks_ = banks;
    mode_ = mode;
    page_ = page >= 0 && page < 4 ? page : 0;
    name_ = name;
}

void TFormBank::FillEdit() {
    const BankTexts t = bankSlotTexts(banks_);
    for (std::size_t i = 0; i < t.size(); ++i) {
        edits_[i]->setText(t[i]);
        edits_[i]->setCursorPosition(0);
    }
}

void TFormBank::FillBank() {
    BankTexts t;
    for (std::size_t i = 0; i < t.size(); ++i)
        t[i] = edits_[i]->text();
    storeBankSlots(t, radio_->checkedId(), banks_);
}

void TFormBank::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    slotPages()->setCurrentIndex(page_);
    FillEdit();
    constexpr qsizetype maxCaption = 145;
    switch (mode_) {
    case EditMode::New:
        setWindowTitle(name_ + u" - Новая организация"_s);
        break;
    case EditMode::Edit:
        setWindowTitle((name_ + u" - Редактирование"_s).left(maxCaption));
        break;
    case EditMode::View:
        setWindowTitle(name_);
        break;
    }
    setEditable(mode_ != EditMode::View);
    radio_->button(page_)->setChecked(true);
}

void TFormBank::Button1Click() {
    accept();
}

void TFormBank::done(int result) {
    if (isVisible() && mode_ != EditMode::View) // boxes were filled on showing
        FillBank();
    else
        setEditable(true);
    QDialog::done(result);
}

} // namespace directory
