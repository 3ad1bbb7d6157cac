#include "bankaccountsdialog.h"

#include "ui_bankaccountsdialog.h"

#include "core/programfolder.h"
#include "editor/uiutil.h"

#include <QButtonGroup>
#include <QShowEvent>

namespace directory {

using namespace Qt::StringLiterals;

BankAccountsDialog::BankAccountsDialog(const core::ProgramFolder& folder, core::Settings& settings,
                                       QWidget* parent)
    : QDialog(parent), folder_(folder), ui(std::make_unique<Ui::BankAccountsDialog>()) {
    ui->setupUi(this);
    edits_ = {ui->slot1AccountEdit,     ui->slot1CorrAccountEdit, ui->slot1BikEdit,
              ui->slot1BankShortEdit,   ui->slot1BankFullEdit,    ui->slot2AccountEdit,
              ui->slot2CorrAccountEdit, ui->slot2BikEdit,         ui->slot2BankShortEdit,
              ui->slot2BankFullEdit,    ui->slot3AccountEdit,     ui->slot3CorrAccountEdit,
              ui->slot3BikEdit,         ui->slot3BankShortEdit,   ui->slot3BankFullEdit,
              ui->slot4AccountEdit,     ui->slot4CorrAccountEdit, ui->slot4BikEdit,
              ui->slot4BankShortEdit,   ui->slot4BankFullEdit};
    const std::array<int, BankBoxCount> capacities = bankCapacities();
    for (std::size_t i = 0; i < edits_.size(); ++i)
        editor::restrictToCp1251(edits_[i], capacities[i]);
    radio_ = new QButtonGroup(this);
    radio_->addButton(ui->slot1RadioButton, 0);
    radio_->addButton(ui->slot2RadioButton, 1);
    radio_->addButton(ui->slot3RadioButton, 2);
    radio_->addButton(ui->slot4RadioButton, 3);

    // Check digits are warnings, shown on the boxes while they are typed or filled.
    for (QLineEdit* e : edits_)
        connect(e, &QLineEdit::textChanged, this, &BankAccountsDialog::showWarnings);
    // A BIK typed by the user (not one shown from the record) brings the bank's details.
    for (int slot = 0; slot < 4; ++slot)
        connect(edits_[std::size_t(5 * slot + 2)], &QLineEdit::textEdited, this,
                [this, slot] { fillFromDirectory(slot); });

    connect(ui->okButton, &QPushButton::clicked, this, &QDialog::accept);

    editor::applyFormSize(this, settings, core::WindowTag::BankAccounts);
}

BankAccountsDialog::~BankAccountsDialog() = default;

void BankAccountsDialog::showWarnings() {
    BankTexts t;
    for (std::size_t i = 0; i < t.size(); ++i)
        t[i] = edits_[i]->text();
    const BankTexts warnings = bankWarnings(t, &bik_);
    for (std::size_t i = 0; i < warnings.size(); ++i)
        editor::showFieldProblem(edits_[i], warnings[i]);
}

void BankAccountsDialog::fillFromDirectory(int slot) {
    std::array<QString, 5> boxes;
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i] = edits_[std::size_t(5 * slot) + i]->text();
    const std::array<QString, 5> filled = bankFilledFromDirectory(boxes, bik_);
    for (std::size_t i = 0; i < boxes.size(); ++i)
        if (filled[i] != boxes[i]) {
            QLineEdit* box = edits_[std::size_t(5 * slot) + i];
            box->setText(filled[i]);
            box->setCursorPosition(0);
        }
}

void BankAccountsDialog::setEditable(bool editable) {
    for (QLineEdit* e : edits_)
        e->setReadOnly(!editable);
    ui->slotChoiceGroup->setEnabled(editable);
}

FirmBanks BankAccountsDialog::editBanks(const FirmBanks& banks, EditMode mode, int page,
                                        const QString& name) {
    setBanks(banks, mode, page, name);
    editor::showModal(this);
    return banks_;
}

void BankAccountsDialog::setBanks(const FirmBanks& banks, EditMode mode, int page,
                                  const QString& name) {
    banks_ = banks;
    mode_ = mode;
    page_ = page >= 0 && page < 4 ? page : 0;
    name_ = name;
}

void BankAccountsDialog::showBanks() {
    const BankTexts t = bankSlotTexts(banks_);
    for (std::size_t i = 0; i < t.size(); ++i) {
        edits_[i]->setText(t[i]);
        edits_[i]->setCursorPosition(0);
    }
}

void BankAccountsDialog::takeBanks() {
    BankTexts t;
    for (std::size_t i = 0; i < t.size(); ++i)
        t[i] = edits_[i]->text();
    storeBankSlots(t, radio_->checkedId(), banks_);
}

void BankAccountsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    // A directory that cannot be read stays empty: the organization list says why.
    storage::loadBikDirectory(folder_.dataDir(), bik_);
    ui->slotPages->setCurrentIndex(page_);
    showBanks();
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

void BankAccountsDialog::done(int result) {
    if (isVisible() && mode_ != EditMode::View) // boxes were filled on showing
        takeBanks();
    else
        setEditable(true);
    QDialog::done(result);
}

} // namespace directory
