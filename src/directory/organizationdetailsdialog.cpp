#include "organizationdetailsdialog.h"

#include "ui_organizationdetailsdialog.h"

#include "bankaccountsdialog.h"
#include "organizationcarddialog.h"

#include "editor/uiutil.h"
#include "storage/digits.h"
#include "storage/store.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QShowEvent>

namespace directory {

using namespace Qt::StringLiterals;

OrganizationDetailsDialog::OrganizationDetailsDialog(storage::Store& store,
                                                     core::Settings& settings, QWidget* parent)
    : QDialog(parent), store_(store), ui(std::make_unique<Ui::OrganizationDetailsDialog>()) {
    ui->setupUi(this);
    edits_ = {ui->nameEdit,        ui->certSeriesEdit, ui->certNumberEdit,   ui->certDateEdit,
              ui->certIssuerEdit,  ui->ogrnEdit,       ui->legalAddressEdit, ui->postalAddressEdit,
              ui->phoneEdit,       ui->faxEdit,        ui->emailEdit,        ui->accountEdit,
              ui->corrAccountEdit, ui->bikEdit,        ui->bankShortEdit,    ui->bankFullEdit,
              ui->innEdit,         ui->kppEdit,        ui->okatoEdit,        ui->okpoEdit,
              ui->okoguEdit,       ui->okopfEdit,      ui->okfsEdit,         ui->okvedEdit};
    const std::array<int, DetailBoxCount> capacities = detailCapacities();
    for (std::size_t i = 0; i < edits_.size(); ++i) {
        editor::restrictToCp1251(edits_[i], capacities[i]);
        edits_[i]->installEventFilter(this);
    }
    // ИНН: digits only, at most 12.
    editor::restrictChars(ui->innEdit, [](QChar c) { return storage::isDigit(c); });
    ui->innEdit->setMaxLength(12);
    // Bank details change only in the bank window; their boxes look it.
    QPalette readOnly = ui->accountEdit->palette();
    readOnly.setColor(QPalette::Base, readOnly.color(QPalette::Window));
    for (int i = BoxBankFirst; i <= BoxBankLast; ++i) {
        edits_[std::size_t(i)]->setReadOnly(true);
        edits_[std::size_t(i)]->setFocusPolicy(Qt::ClickFocus); // Tab passes them by
        edits_[std::size_t(i)]->setPalette(readOnly);
    }

    // Check digits are warnings, shown on the boxes while they are typed or filled.
    for (QLineEdit* e :
         {ui->accountEdit, ui->corrAccountEdit, ui->bikEdit, ui->innEdit, ui->kppEdit})
        connect(e, &QLineEdit::textChanged, this, &OrganizationDetailsDialog::showWarnings);

    connect(ui->okButton, &QPushButton::clicked, this, &OrganizationDetailsDialog::confirm);
    connect(ui->noButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->bankButton, &QPushButton::clicked, this, &OrganizationDetailsDialog::editBanks);
    connect(ui->branchButton, &QPushButton::clicked, this,
            &OrganizationDetailsDialog::openBranches);
    connect(ui->cardButton, &QPushButton::clicked, this, &OrganizationDetailsDialog::openCard);

    editor::applyFormSize(this, settings, core::WindowTag::OrganizationDetails);
}

OrganizationDetailsDialog::~OrganizationDetailsDialog() = default;

DetailTexts OrganizationDetailsDialog::boxTexts() const {
    DetailTexts t;
    for (std::size_t i = 0; i < t.size(); ++i)
        t[i] = edits_[i]->text();
    return t;
}

void OrganizationDetailsDialog::showWarnings() {
    const DetailTexts warnings = detailWarnings(boxTexts(), &bik_);
    for (std::size_t i = 0; i < warnings.size(); ++i)
        editor::showFieldProblem(edits_[i], warnings[i]);
}

void OrganizationDetailsDialog::setBoxes(const DetailTexts& texts) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
        edits_[i]->setText(texts[i]);
        edits_[i]->setCursorPosition(0); // a long text shows its beginning
    }
}

void OrganizationDetailsDialog::showSelectedBank() {
    const std::array<QString, 5> bank = bankTexts(banks_.bank[std::size_t(bankIndex(banks_))]);
    for (int i = BoxBankFirst; i <= BoxBankLast; ++i) {
        edits_[std::size_t(i)]->setText(bank[std::size_t(i - BoxBankFirst)]);
        edits_[std::size_t(i)]->setCursorPosition(0);
    }
}

void OrganizationDetailsDialog::setEditable(bool editable) {
    for (int i = 0; i < DetailBoxCount; ++i)
        if (i < BoxBankFirst || i > BoxBankLast) {
            edits_[std::size_t(i)]->setReadOnly(!editable);
            edits_[std::size_t(i)]->setFocusPolicy(editable ? Qt::StrongFocus : Qt::ClickFocus);
        }
}

bool OrganizationDetailsDialog::eventFilter(QObject* watched, QEvent* event) {
    // Enter in a box moves on to the next box, as accountants type; Ctrl+Enter stores.
    if (event->type() == QEvent::KeyPress && qobject_cast<QLineEdit*>(watched)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (key->modifiers() & Qt::ControlModifier)
                confirm();
            else
                focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool OrganizationDetailsDialog::editDetails(EditMode mode) {
    mode_ = mode;
    return editor::showModal(this) == QDialog::Accepted && stored_;
}

void OrganizationDetailsDialog::storeInto(storage::OrganizationRecord& f) const {
    storeDetails(boxTexts(), f);
    setFirmBanks(banks_, f);
}

void OrganizationDetailsDialog::storeNew() {
    if (storage::OrganizationRecord* f = firmSlot(store_, store_.directory.organizationCount))
        storeInto(*f);
}

void OrganizationDetailsDialog::storeEdited() {
    if (storage::OrganizationRecord* f = firmSlot(store_, store_.CurFirm))
        storeInto(*f);
}

void OrganizationDetailsDialog::showOrganization() {
    const storage::OrganizationRecord* f = firmSlot(store_, store_.CurFirm);
    setBoxes(f ? detailTexts(*f) : DetailTexts{});
}

void OrganizationDetailsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return; // shown again after being minimised: nothing to prepare
    stored_ = false;
    // A directory that cannot be read stays empty: the organization list says why.
    storage::loadBikDirectory(store_.folder.dataDir, bik_);
    if (mode_ == EditMode::New)
        setBoxes(DetailTexts{});
    else
        showOrganization();
    setEditable(mode_ != EditMode::View);

    // The bank window works on this copy; it reaches the record only when the organization is
    // stored.
    const storage::OrganizationRecord* f = firmSlot(
        store_, mode_ == EditMode::New ? store_.directory.organizationCount : store_.CurFirm);
    banks_ = f ? firmBanks(*f) : FirmBanks{};

    // Branches belong to a stored organization; a new one has none yet.
    ui->branchButton->setEnabled(dialogs_.branches != nullptr && mode_ != EditMode::New);
    ui->nameEdit->setFocus();
}

void OrganizationDetailsDialog::refuse(DetailsCheck check) {
    QMessageBox::warning(this, windowTitle(), detailsMessage(check));
    QLineEdit* box = check == DetailsCheck::NoName ? ui->nameEdit : ui->innEdit;
    box->setFocus();
}

void OrganizationDetailsDialog::confirm() {
    if (mode_ == EditMode::View) {
        accept();
        return;
    }
    const bool isNew = mode_ == EditMode::New;
    const DetailsCheck check =
        checkDetails(store_, isNew, ui->nameEdit->text(), ui->innEdit->text());
    if (check != DetailsCheck::Ok) {
        refuse(check);
        return;
    }
    if (isNew) {
        if (!firmSlot(store_, store_.directory.organizationCount)) {
            QMessageBox::warning(this, windowTitle(),
                                 u"В справочнике нет места для новой организации."_s);
            return;
        }
        storeNew();
    } else {
        storeEdited();
    }
    stored_ = true;
    accept();
}

void OrganizationDetailsDialog::editBanks() {
    BankAccountsDialog* bank = dialogs_.bank;
    if (!bank)
        return;
    // The window opens on the slot of the organization current in the list, also while a new
    // one is being assembled; its caption names the organization.
    const storage::OrganizationRecord* current = firmSlot(store_, store_.CurFirm);
    const int page =
        mode_ == EditMode::New ? (current ? bankIndex(*current) : 0) : bankIndex(banks_);
    const QString name = mode_ == EditMode::New ? ui->nameEdit->text()
                         : current              ? editor::toUi(current->name)
                                                : QString();
    banks_ = bank->editBanks(banks_, mode_, page, name);
    if (mode_ != EditMode::View)
        showSelectedBank();
}

void OrganizationDetailsDialog::openBranches() {
    if (dialogs_.branches)
        editor::showModal(dialogs_.branches);
}

void OrganizationDetailsDialog::openCard() {
    if (dialogs_.card)
        editor::showModal(dialogs_.card);
}

void OrganizationDetailsDialog::done(int result) {
    setEditable(true);
    QDialog::done(result);
}

} // namespace directory
