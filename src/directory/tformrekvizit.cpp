#include "tformrekvizit.h"

#include "ui_tformrekvizit.h"

#include "tformbank.h"
#include "tformsave.h"

#include "editor/uiutil.h"
#include "storage/store.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QShowEvent>

namespace directory {

using namespace Qt::StringLiterals;

TFormRekvizit::TFormRekvizit(storage::Store& store, QWidget* parent)
    : QDialog(parent), store_(store), ui(std::make_unique<Ui::TFormRekvizit>()) {
    ui->setupUi(this);
    edits_ = {nameBox(),  ui->Edit2,  ui->Edit3,  ui->Edit4,  ui->Edit5,  ui->Edit6,
              ui->Edit7,  ui->Edit8,  ui->Edit9,  ui->Edit10, ui->Edit11, ui->Edit12,
              ui->Edit13, ui->Edit14, ui->Edit15, ui->Edit16, innBox(),   ui->Edit18,
              ui->Edit19, ui->Edit20, ui->Edit21, ui->Edit22, ui->Edit23, ui->Edit24};
    const std::array<int, DetailBoxCount> capacities = detailCapacities();
    for (std::size_t i = 0; i < edits_.size(); ++i) {
        editor::restrictToCp1251(edits_[i], capacities[i]);
        edits_[i]->installEventFilter(this);
    }
    // ИНН: digits only, at most 12.
    editor::restrictChars(innBox(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    innBox()->setMaxLength(12);
    // Bank details change only in the bank window; their boxes look it.
    QPalette readOnly = ui->Edit12->palette();
    readOnly.setColor(QPalette::Base, readOnly.color(QPalette::Window));
    for (int i = BoxBankFirst; i <= BoxBankLast; ++i) {
        edits_[std::size_t(i)]->setReadOnly(true);
        edits_[std::size_t(i)]->setFocusPolicy(Qt::ClickFocus); // Tab passes them by
        edits_[std::size_t(i)]->setPalette(readOnly);
    }

    // Check digits are warnings, shown on the boxes while they are typed or filled.
    for (QLineEdit* e : {ui->Edit12, ui->Edit13, ui->Edit14, innBox(), ui->Edit18})
        connect(e, &QLineEdit::textChanged, this, &TFormRekvizit::showWarnings);

    connect(okButton(), &QPushButton::clicked, this, &TFormRekvizit::Button1Click);
    connect(noButton(), &QPushButton::clicked, this, &TFormRekvizit::Button2Click);
    connect(bankButton(), &QPushButton::clicked, this, &TFormRekvizit::Button3Click);
    connect(branchButton(), &QPushButton::clicked, this, &TFormRekvizit::Button4Click);
    connect(cardButton(), &QPushButton::clicked, this, &TFormRekvizit::Button5Click);

    editor::applyFormSize(this, store_, storage::TagFormRekvizit);
}

TFormRekvizit::~TFormRekvizit() = default;

QPushButton* TFormRekvizit::okButton() const {
    return ui->Button1;
}

QPushButton* TFormRekvizit::noButton() const {
    return ui->Button2;
}

QPushButton* TFormRekvizit::bankButton() const {
    return ui->Button3;
}

QPushButton* TFormRekvizit::branchButton() const {
    return ui->Button4;
}

QPushButton* TFormRekvizit::cardButton() const {
    return ui->Button5;
}

QLineEdit* TFormRekvizit::nameBox() const {
    return ui->Edit1;
}

QLineEdit* TFormRekvizit::innBox() const {
    return ui->Edit17;
}

DetailTexts TFormRekvizit::boxTexts() const {
    DetailTexts t;
    for (std::size_t i = 0; i < t.size(); ++i)
        t[i] = edits_[i]->text();
    return t;
}

void TFormRekvizit::showWarnings() {
    const DetailTexts warnings = detailWarnings(boxTexts());
    for (std::size_t i = 0; i < warnings.size(); ++i)
        editor::showFieldProblem(edits_[i], warnings[i]);
}

void TFormRekvizit::setBoxes(const DetailTexts& texts) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
        edits_[i]->setText(texts[i]);
        edits_[i]->setCursorPosition(0); // a long text shows its beginning
    }
}

void TFormRekvizit::FillEditBank() {
    const std::array<QString, 5> bank = bankTexts(banks_.bank[std::size_t(bankIndex(banks_))]);
    for (int i = BoxBankFirst; i <= BoxBankLast; ++i) {
        edits_[std::size_t(i)]->setText(bank[std::size_t(i - BoxBankFirst)]);
        edits_[std::size_t(i)]->setCursorPosition(0);
    }
}

void TFormRekvizit::setEditable(bool editable) {
    for (int i = 0; i < DetailBoxCount; ++i)
        if (i < BoxBankFirst || i > BoxBankLast) {
            edits_[std::size_t(i)]->setReadOnly(!editable);
            edits_[std::size_t(i)]->setFocusPolicy(editable ? Qt::StrongFocus : Qt::ClickFocus);
        }
}

bool TFormRekvizit::eventFilter(QObject* watched, QEvent* event) {
    // Enter in a box moves on to the next box, as accountants type; Ctrl+Enter stores.
    if (event->type() == QEvent::KeyPress && qobject_cast<QLineEdit*>(watched)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (key->modifiers() & Qt::ControlModifier)
                Button1Click();
            else
                focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TFormRekvizit::editDetails(EditMode mode) {
    mode_ = mode;
    return editor::showModal(this) == QDialog::Accepted && stored_;
}

void TFormRekvizit::storeInto(storage::TFirm& f) const {
    storeDetails(boxTexts(), f);
    setFirmBanks(banks_, f);
}

void TFormRekvizit::NewFirm() {
    if (storage::TFirm* f = firmSlot(store_, store_.FirmCount))
        storeInto(*f);
}

void TFormRekvizit::EditFirm() {
    if (storage::TFirm* f = firmSlot(store_, store_.CurFirm))
        storeInto(*f);
}

void TFormRekvizit::FillEdit() {
    const storage::TFirm* f = firmSlot(store_, store_.CurFirm);
    setBoxes(f ? detailTexts(*f) : DetailTexts{});
}

void TFormRekvizit::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return; // shown again after being minimised: nothing to prepare
    stored_ = false;
    if (mode_ == EditMode::New)
        setBoxes(DetailTexts{});
    else
        FillEdit();
    setEditable(mode_ != EditMode::View);

    // The bank window works on this copy; it reaches the record only when the organization is
    // stored.
    const storage::TFirm* f =
        firmSlot(store_, mode_ == EditMode::New ? store_.FirmCount : store_.CurFirm);
    banks_ = f ? firmBanks(*f) : FirmBanks{};

    // Branches belong to a stored organization; a new one has none yet.
    branchButton()->setEnabled(dialogs_.branches != nullptr && mode_ != EditMode::New);
    nameBox()->setFocus();
}

void TFormRekvizit::refuse(DetailsCheck check) {
    QMessageBox::warning(this, windowTitle(), detailsMessage(check));
    QLineEdit* box = check == DetailsCheck::NoName ? nameBox() : innBox();
    box->setFocus();
}

void TFormRekvizit::Button1Click() {
    if (mode_ == EditMode::View) {
        accept();
        return;
    }
    const bool isNew = mode_ == EditMode::New;
    const DetailsCheck check = checkDetails(store_, isNew, nameBox()->text(), innBox()->text());
    if (check != DetailsCheck::Ok) {
        refuse(check);
        return;
    }
    if (isNew) {
        if (!firmSlot(store_, store_.FirmCount)) {
            QMessageBox::warning(this, windowTitle(),
                                 u"В справочнике нет места для новой организации."_s);
            return;
        }
        NewFirm();
    } else {
        EditFirm();
    }
    stored_ = true;
    accept();
}

void TFormRekvizit::Button2Click() {
    reject();
}

void TFormRekvizit::Button3Click() {
    TFormBank* bank = dialogs_.bank;
    if (!bank)
        return;
    // The window opens on the slot of the organization current in the list, also while a new
    // one is being assembled; its caption names the organization.
    const storage::TFirm* current = firmSlot(store_, store_.CurFirm);
    const int page =
        mode_ == EditMode::New ? (current ? bankIndex(*current) : 0) : bankIndex(banks_);
    const QString name = mode_ == EditMode::New ? nameBox()->text()
                         : current              ? editor::toUi(current->Name)
                                                : QString();
    banks_ = bank->editBanks(banks_, mode_, page, name);
    if (mode_ != EditMode::View)
        FillEditBank();
}

void TFormRekvizit::Button4Click() {
    if (dialogs_.branches)
        editor::showModal(dialogs_.branches);
}

void TFormRekvizit::Button5Click() {
    if (dialogs_.card)
        editor::showModal(dialogs_.card);
}

void TFormRekvizit::done(int result) {
    setEditable(true);
    QDialog::done(result);
}

} // namespace directory
