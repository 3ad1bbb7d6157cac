#include "tformfirm.h"

#include "ui_tformfirm.h"

#include "directorysave.h"
#include "firmlist.h"
#include "listwindows.h"
#include "tformrekvizit.h"

#include "editor/tform1.h"
#include "editor/uiutil.h"
#include "storage/datafiles.h"
#include "storage/store.h"

#include <QLabel>
#include <QShowEvent>

namespace directory {

TFormFirm::TFormFirm(storage::Store& store, const editor::TForm1& editor, QWidget* parent)
    : QDialog(parent), store_(store), editor_(editor), ui(std::make_unique<Ui::TFormFirm>()) {
    ui->setupUi(this);
    grid_ = addListGrid(
        this, ui->gridPlace, store_, storage::ColBaseFirms,
        {QStringLiteral("Name"), QStringLiteral("Tel."), QStringLiteral("Address"),
         QStringLiteral("E-Mail")},
        [this] {
            return listMode_ == ListFirms     ? store_.FirmCount
                   : listMode_ == ListDeleted ? store_.FirmDelCount
                                              : 0;
        },
        [this](int row, int column) {
            if (listMode_ == ListDeleted)
                return column == 0 ? editor::toUi(store_.FirmsDel[std::size_t(row)].Name)
                                   : QString();
            return firmCell(row, column);
        });
    grid_->setAccessibleName(QStringLiteral("Организации"));
    grid_->setFocus(); // the keys work the list from the start
    panel_ = new QLabel(this);
    panel_->setAccessibleName(QStringLiteral("Текст ячейки"));
    panel_->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(panel_, 1);

    connect(grid_, &editor::ListGrid::cellClicked, this, &TFormFirm::StringGrid1Click);
    connect(grid_, &editor::ListGrid::cellSelected, this, &TFormFirm::StringGrid1Click);
    connect(grid_, &editor::ListGrid::cellDoubleClicked, this,
            [this](int row, int) { StringGrid1DblClick(row); });
    connect(grid_, &editor::ListGrid::deleteRequested, this, [this] {
        if (deleteButton()->isEnabled())
            SpeedButton3Click();
    });
    connect(newButton(), &QToolButton::clicked, this, &TFormFirm::SpeedButton1Click);
    connect(editButton(), &QToolButton::clicked, this, &TFormFirm::SpeedButton2Click);
    connect(deleteButton(), &QToolButton::clicked, this, &TFormFirm::SpeedButton3Click);
    connect(branchesButton(), &QToolButton::clicked, this, &TFormFirm::SpeedButton4Click);
    connect(employeesButton(), &QToolButton::clicked, this, &TFormFirm::SpeedButton5Click);
    connect(closeButton(), &QToolButton::clicked, this, &QDialog::close);
    connect(restoreButton(), &QToolButton::clicked, this, &TFormFirm::SpeedButton7Click);
    connect(deletedButton(), &QToolButton::clicked, this, &TFormFirm::SpeedButton8Click);
    FormCreate();
}

TFormFirm::~TFormFirm() = default;

QToolButton* TFormFirm::newButton() const {
    return ui->SpeedButton1;
}

QToolButton* TFormFirm::editButton() const {
    return ui->SpeedButton2;
}

QToolButton* TFormFirm::deleteButton() const {
    return ui->SpeedButton3;
}

QToolButton* TFormFirm::branchesButton() const {
    return ui->SpeedButton4;
}

QToolButton* TFormFirm::employeesButton() const {
    return ui->SpeedButton5;
}

QToolButton* TFormFirm::closeButton() const {
    return ui->SpeedButton6;
}

QToolButton* TFormFirm::restoreButton() const {
    return ui->SpeedButton7;
}

QToolButton* TFormFirm::deletedButton() const {
    return ui->SpeedButton8;
}

QStatusBar* TFormFirm::statusBar() const {
    return ui->StatusBar1;
}

void TFormFirm::FormCreate() {
    editor::applyFormSize(this, store_, storage::TagFormFirm);
    fitColumnsWhenUnsized(this, grid_, store_, storage::TagFormFirm);
    store_.CurFirm = 0;
    store_.CurFirmDel = 0;
    storage::FirmFillShow(store_);
    showList();
}

void TFormFirm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        showList();
}

QString TFormFirm::statusText() const {
    return panel_->text();
}

QString TFormFirm::firmCell(int row, int column) const {
    if (row < 0 || row >= store_.FirmCount)
        return {};
    const std::size_t i = std::size_t(row);
    switch (column) {
    case 0:
        return editor::toUi(store_.Firms[i].Name);
    case 1:
        return editor::toUi(store_.FirmShow[i].Phone);
    case 2:
        return editor::toUi(store_.FirmShow[i].Address);
    case 3:
        return editor::toUi(store_.FirmShow[i].EMail);
    default:
        return {};
    }
}

void TFormFirm::showList() {
    const bool deleted = deletedButton()->isChecked();
    if (deleted)
        listMode_ = store_.FirmDelCount > 0 ? ListDeleted : ListEmpty;
    else
        listMode_ = store_.FirmCount > 0 ? ListFirms : ListEmpty;
    grid_->setTextColour(listMode_ == ListDeleted ? QColor(Qt::red) : QColor(Qt::black));
    grid_->refresh();
    grid_->setCurrentDataRow(listMode_ == ListFirms     ? store_.CurFirm
                             : listMode_ == ListDeleted ? store_.CurFirmDel
                                                        : 0);
    SetBut();
}

void TFormFirm::SetBut() {
    const bool deleted = deletedButton()->isChecked();
    const bool any = !deleted && store_.FirmCount > 0;
    newButton()->setEnabled(!deleted && firmListHasRoom(store_));
    for (QToolButton* b : {editButton(), deleteButton(), branchesButton(), employeesButton()})
        b->setEnabled(any);
    restoreButton()->setEnabled(deleted && store_.FirmDelCount > 0 && firmListHasRoom(store_));
}

void TFormFirm::StringGrid1Click(int row, int column) {
    if (listMode_ == ListDeleted) {
        if (row < store_.FirmDelCount)
            store_.CurFirmDel = row;
    } else if (listMode_ == ListFirms && row < store_.FirmCount) {
        store_.CurFirm = row;
        panel_->setText(firmCell(row, column));
    }
}

void TFormFirm::StringGrid1DblClick(int row) {
    if (listMode_ != ListFirms || row >= store_.FirmCount)
        return;
    store_.CurFirm = row;
    const QByteArray links = firmLinks(store_);
    openDetails(EditMode::View, QString());
    storage::FirmFillShow(store_);
    grid_->refresh();
    if (firmLinks(store_) != links)
        saveFirms();
}

// --- pickers and files ----------------------------------------------------------------------

void TFormFirm::refillPickers(int payer, int payee) {
    // While a saved order is on screen the pickers hold its own payer and payee, from which
    // it takes its parties; the directory does not change them.
    if (!store_.PlatSaved)
        emit directoryChanged(payer, payee);
}

void TFormFirm::saveFirms() {
    if (const storage::IoResult r = storage::SaveFileFirm(store_); !r)
        showWriteFailure(this, r.error, keptInMemoryNote());
}

bool TFormFirm::openDetails(EditMode mode, const QString& caption) {
    TFormRekvizit* details = dialogs_.details;
    if (!details)
        return false;
    if (!caption.isEmpty())
        details->setWindowTitle(caption);
    return details->editDetails(mode);
}

// --- buttons --------------------------------------------------------------------------------

void TFormFirm::SpeedButton1Click() {
    if (!firmListHasRoom(store_))
        return;
    // The new organization is assembled in the first free slot, which starts empty.
    storage::clearRecord(store_.Firms[std::size_t(store_.FirmCount)]);
    if (!openDetails(EditMode::New, QStringLiteral("Новая организация")))
        return;
    store_.CurFirm = store_.FirmCount++;
    storage::FirmFillShow(store_);
    showList();
    refillPickers(-1, -1);
    saveFirms();
}

void TFormFirm::SpeedButton2Click() {
    if (store_.FirmCount <= 0)
        return;
    const int payer = editor_.payerPosition(), payee = editor_.payeePosition();
    const QByteArray links = firmLinks(store_);
    const bool stored = openDetails(EditMode::Edit, QStringLiteral("Редактирование"));
    storage::FirmFillShow(store_);
    grid_->refresh();
    if (stored) {
        refillPickers(payer, payee);
        emit organizationChanged();
        saveFirms();
    } else if (firmLinks(store_) != links) {
        saveFirms(); // a branch link changed in the branch window opened from the details
    }
}

void TFormFirm::SpeedButton3Click() {
    if (store_.FirmCount <= 0 || !dialogs_.deletion)
        return;
    const int payer = editor_.payerPosition(), payee = editor_.payeePosition();
    const int removed = store_.CurFirm;
    // The deletion window deletes and writes the files; it is accepted when it did.
    if (editor::showModal(dialogs_.deletion) != QDialog::Accepted)
        return;
    showList();
    showCurrentCell(); // not the deleted organization's text any more
    refillPickers(positionAfterRemoval(payer, removed), positionAfterRemoval(payee, removed));
    emit organizationChanged();
}

void TFormFirm::SpeedButton4Click() {
    if (store_.FirmCount <= 0 || !dialogs_.branches)
        return;
    const QByteArray links = firmLinks(store_);
    editor::showModal(dialogs_.branches);
    storage::FirmFillShow(store_);
    grid_->refresh();
    if (firmLinks(store_) != links)
        saveFirms();
}

void TFormFirm::SpeedButton5Click() {
    if (store_.FirmCount > 0 && dialogs_.employees)
        editor::showModal(dialogs_.employees);
}

void TFormFirm::SpeedButton7Click() {
    if (!deletedButton()->isChecked() || store_.FirmDelCount <= 0 || !firmListHasRoom(store_))
        return;
    const int payer = editor_.payerPosition(), payee = editor_.payeePosition();
    if (const storage::IoResult r = RestoreFirmAndSave(store_, store_.CurFirmDel); !r) {
        showWriteFailure(this, r.error, QStringLiteral("Организация не восстановлена."));
        return;
    }
    refillPickers(payer, payee);
    showList();
}

void TFormFirm::SpeedButton8Click(bool down) {
    setWindowTitle(down ? QStringLiteral("Удаленные организации") : QStringLiteral("Организации"));
    showList();
    if (down)
        panel_->clear();
    else
        showCurrentCell();
}

void TFormFirm::showCurrentCell() {
    panel_->setText(firmCell(store_.CurFirm, std::max(0, grid_->currentIndex().column())));
}

} // namespace directory
