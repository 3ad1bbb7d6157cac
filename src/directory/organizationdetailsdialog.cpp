#include "organizationdetailsdialog.h"

#include "ui_organizationdetailsdialog.h"

#include "editor/uiutil.h"
#include "storage/digits.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QMetaMethod>
#include <QShowEvent>

namespace directory {

using namespace Qt::StringLiterals;

OrganizationDetailsDialog::OrganizationDetailsDialog(const core::Directory& directory,
                                                     const core::ProgramFolder& folder,
                                                     core::Settings& settings, QWidget* parent)
    : QDialog(parent), directory_(directory), folder_(folder),
      ui(std::make_unique<Ui::OrganizationDetailsDialog>()) {
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

std::optional<storage::OrganizationRecord>
OrganizationDetailsDialog::edit(const DetailsSubject& subject) {
    subject_ = subject;
    editor::showModal(this);
    return stored_;
}

void OrganizationDetailsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return; // shown again after being minimised: nothing to prepare
    stored_.reset();
    if (!subject_.caption.isEmpty())
        setWindowTitle(subject_.caption);
    // A directory that cannot be read stays empty: the organization list says why.
    storage::loadBikDirectory(folder_.dataDir(), bik_);
    const EditMode mode = subject_.mode;
    setBoxes(mode == EditMode::New ? DetailTexts{} : detailTexts(subject_.record));
    setEditable(mode != EditMode::View);
    // The bank window works on this copy; it reaches the record only when the organization is
    // stored.
    banks_ = firmBanks(subject_.record);
    // Branches belong to a stored organization; a new one has none yet.
    ui->branchButton->setEnabled(
        mode != EditMode::New &&
        isSignalConnected(QMetaMethod::fromSignal(&OrganizationDetailsDialog::branchesRequested)));
    ui->nameEdit->setFocus();
}

void OrganizationDetailsDialog::refuse(DetailsCheck check) {
    QMessageBox::warning(this, windowTitle(), detailsMessage(check));
    QLineEdit* box = check == DetailsCheck::NoName ? ui->nameEdit : ui->innEdit;
    box->setFocus();
}

void OrganizationDetailsDialog::confirm() {
    const EditMode mode = subject_.mode;
    if (mode == EditMode::View) {
        accept();
        return;
    }
    const bool isNew = mode == EditMode::New;
    const DetailsCheck check =
        checkDetails(directory_, isNew, ui->nameEdit->text(), ui->innEdit->text());
    if (check != DetailsCheck::Ok) {
        refuse(check);
        return;
    }
    if (isNew && !directory_.hasRoom()) {
        QMessageBox::warning(this, windowTitle(),
                             u"В справочнике нет места для новой организации."_s);
        return;
    }
    storage::OrganizationRecord record = subject_.record;
    storeDetails(boxTexts(), record);
    setFirmBanks(banks_, record);
    stored_ = record;
    accept();
}

void OrganizationDetailsDialog::editBanks() {
    if (!bankEditor_)
        return;
    // The window opens on the slot of the organization current in the list while a new one is
    // being assembled, otherwise on the organization's own; its caption names the organization.
    const EditMode mode = subject_.mode;
    const int current = subject_.listCurrent;
    const bool listed = current >= 0 && current < directory_.organizationCount();
    const int page = mode != EditMode::New ? bankIndex(banks_)
                     : listed              ? bankIndex(directory_.organization(current))
                                           : 0;
    const QString name =
        mode == EditMode::New ? ui->nameEdit->text() : editor::toUi(subject_.record.name);
    banks_ = bankEditor_(banks_, mode, page, name);
    if (mode != EditMode::View)
        showSelectedBank();
}

void OrganizationDetailsDialog::openBranches() {
    emit branchesRequested(subject_.organization);
}

void OrganizationDetailsDialog::openCard() {
    emit cardRequested(boxTexts());
}

void OrganizationDetailsDialog::done(int result) {
    setEditable(true);
    QDialog::done(result);
}

} // namespace directory
