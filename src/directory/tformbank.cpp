#include "tformbank.h"

#include "ui_tformbank.h"

#include "tformrekvizit.h"

#include "editor/links.h"
#include "editor/uiutil.h"
#include "storage/store.h"

#include <QButtonGroup>
#include <QShowEvent>

namespace directory {

using namespace Qt::StringLiterals;

TFormBank::TFormBank(storage::Store& store, editor::Windows& windows, QWidget* parent)
    : QDialog(parent), store_(store), windows_(windows), ui(std::make_unique<Ui::TFormBank>()) {
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

    connect(ui->Button1, &QPushButton::clicked, this, &TFormBank::Button1Click);

    editor::applyFormSize(this, store_, storage::TagFormBank);
}

TFormBank::~TFormBank() = default;

void TFormBank::setBoxes(const storage::TFirm* firm) {
    const BankTexts t = firm ? bankSlotTexts(*firm) : BankTexts{};
    for (std::size_t i = 0; i < t.size(); ++i) {
        edits_[i]->setText(t[i]);
        edits_[i]->setCursorPosition(0);
    }
}

void TFormBank::storeInto(storage::TFirm* firm) const {
    if (!firm)
        return;
    BankTexts t;
    for (std::size_t i = 0; i < t.size(); ++i)
        t[i] = edits_[i]->text();
    storeBankSlots(t, radio_->checkedId(), *firm);
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
    ui->RadioGroup1->setEnabled(editable);
}

void TFormBank::FillEdit() {
    setBoxes(firmSlot(store_, store_.CurFirm));
}

void TFormBank::FillEditNew() {
    setBoxes(firmSlot(store_, store_.FirmCount));
}

void TFormBank::FillBank() {
    storeInto(firmSlot(store_, store_.CurFirm));
}

void TFormBank::FillBankNew() {
    storeInto(firmSlot(store_, store_.FirmCount));
}

void TFormBank::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    // The page and the choice follow the organization current in the list, also while a new
    // organization is being assembled.
    const storage::TFirm* current = firmSlot(store_, store_.CurFirm);
    const int bankNo = current ? bankIndex(*current) : 0;
    ui->PageControl1->setCurrentIndex(bankNo);

    const QString storedName = current ? editor::toUi(current->Name) : QString();
    constexpr qsizetype maxCaption = 145;
    switch (store_.EditMode) {
    case 0: {
        const auto* details = qobject_cast<TFormRekvizit*>(windows_.formRekvizit);
        const QString name = details ? details->boxTexts()[BoxName] : QString();
        FillEditNew();
        setWindowTitle(name + u" - Новая организация"_s);
        setEditable(true);
        break;
    }
    case 1:
        FillEdit();
        setWindowTitle((storedName + u" - Редактирование"_s).left(maxCaption));
        setEditable(true);
        break;
    default:
        FillEdit();
        setWindowTitle(storedName);
        setEditable(false);
        break;
    }
    radio_->button(bankNo)->setChecked(true);
}

void TFormBank::Button1Click() {
    accept();
}

void TFormBank::done(int result) {
    const bool shown = isVisible(); // boxes were filled on showing
    if (shown && store_.EditMode == 0)
        FillBankNew();
    else if (shown && store_.EditMode == 1)
        FillBank();
    else
        setEditable(true);
    QDialog::done(result);
}

} // namespace directory
