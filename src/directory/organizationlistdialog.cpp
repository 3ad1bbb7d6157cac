#include "organizationlistdialog.h"

#include "ui_organizationlistdialog.h"

#include "directorysave.h"
#include "listwindows.h"
#include "organizationdetailsdialog.h"
#include "organizationlist.h"

#include "editor/mainwindow.h"
#include "editor/questiondialog.h"
#include "editor/uiutil.h"
#include "storage/bikdirectory.h"
#include "storage/datafiles.h"
#include "storage/store.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QShowEvent>

namespace directory {

OrganizationListDialog::OrganizationListDialog(storage::Store& store, core::Settings& settings,
                                               const editor::MainWindow& editor, QWidget* parent)
    : QDialog(parent), store_(store), settings_(settings), editor_(editor),
      ui(std::make_unique<Ui::OrganizationListDialog>()) {
    ui->setupUi(this);
    grid_ = addListGrid(
        this, ui->gridPlace, settings_, core::Grid::Organizations,
        {QStringLiteral("Name"), QStringLiteral("Tel."), QStringLiteral("Address"),
         QStringLiteral("E-Mail")},
        [this] {
            return listMode_ == ListFirms     ? store_.directory.organizationCount
                   : listMode_ == ListDeleted ? store_.directory.deletedCount
                                              : 0;
        },
        [this](int row, int column) {
            if (listMode_ == ListDeleted)
                return column == 0 ? editor::toUi(store_.directory.deleted[std::size_t(row)].name)
                                   : QString();
            return firmCell(row, column);
        });
    grid_->setAccessibleName(QStringLiteral("Организации"));
    grid_->setFocus(); // the keys work the list from the start
    panel_ = new QLabel(this);
    panel_->setTextFormat(Qt::PlainText);
    showInPanel(QString());
    ui->statusBar->addWidget(panel_, 1);

    connect(grid_, &editor::ListGrid::cellClicked, this, &OrganizationListDialog::selectCell);
    connect(grid_, &editor::ListGrid::cellSelected, this, &OrganizationListDialog::selectCell);
    connect(grid_, &editor::ListGrid::cellDoubleClicked, this,
            [this](int row, int) { viewOrganization(row); });
    connect(grid_, &editor::ListGrid::deleteRequested, this, [this] {
        if (ui->deleteButton->isEnabled())
            deleteOrganization();
    });
    connect(ui->newButton, &QToolButton::clicked, this, &OrganizationListDialog::addOrganization);
    connect(ui->editButton, &QToolButton::clicked, this, &OrganizationListDialog::editOrganization);
    connect(ui->deleteButton, &QToolButton::clicked, this,
            &OrganizationListDialog::deleteOrganization);
    connect(ui->branchesButton, &QToolButton::clicked, this, &OrganizationListDialog::openBranches);
    connect(ui->employeesButton, &QToolButton::clicked, this,
            &OrganizationListDialog::openEmployees);
    connect(ui->closeButton, &QToolButton::clicked, this, &QDialog::close);
    connect(ui->restoreButton, &QToolButton::clicked, this,
            &OrganizationListDialog::restoreOrganization);
    connect(ui->deletedButton, &QToolButton::clicked, this, &OrganizationListDialog::showDeleted);

    bikMenu_ = new QMenu(this);
    bikShown_ = bikMenu_->addAction(QString());
    bikShown_->setEnabled(false);
    bikMenu_->addAction(QStringLiteral("Загрузить справочник БИК..."), this,
                        &OrganizationListDialog::importBikDirectory);
    ui->bikButton->setMenu(bikMenu_);
    connect(bikMenu_, &QMenu::aboutToShow, this, &OrganizationListDialog::showBikDirectory);

    editor::applyFormSize(this, settings_, core::WindowTag::OrganizationList);
    fitColumnsWhenUnsized(this, grid_, settings_, core::WindowTag::OrganizationList);
    store_.CurFirm = 0;
    store_.CurFirmDel = 0;
    storage::fillListCache(store_);
    showList();
}

OrganizationListDialog::~OrganizationListDialog() = default;

void OrganizationListDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        showList();
}

void OrganizationListDialog::showBikDirectory() {
    storage::BikDirectory d;
    if (const storage::IoResult r = storage::loadBikDirectory(store_.folder.dataDir, d); !r)
        bikShown_->setText(r.error);
    else if (d.isEmpty())
        bikShown_->setText(QStringLiteral("Справочник БИК не загружен"));
    else
        bikShown_->setText(QStringLiteral("Справочник БИК ") + storage::bikDirectorySummary(d));
}

void OrganizationListDialog::importBikDirectory() {
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Справочник БИК Банка России"), QDir::homePath(),
        QStringLiteral("Справочник БИК (*.zip *.xml *.ZIP *.XML);;Все файлы (*)"));
    if (path.isEmpty())
        return;
    const storage::BikImport r =
        storage::importBikDirectory(store_.folder.dataDir, store_.folder.readOnly, path);
    const QString title = QStringLiteral("Справочник БИК");
    if (r.error.isEmpty() && r.leftOut.isEmpty())
        QMessageBox::information(this, title, storage::bikImportReport(r));
    else
        QMessageBox::warning(this, title, storage::bikImportReport(r));
}

QString OrganizationListDialog::statusText() const {
    return panel_->text();
}

QString OrganizationListDialog::firmCell(int row, int column) const {
    if (row < 0 || row >= store_.directory.organizationCount)
        return {};
    const std::size_t i = std::size_t(row);
    switch (column) {
    case 0:
        return editor::toUi(store_.directory.organizations[i].name);
    case 1:
        return editor::toUi(store_.FirmShow[i].phone);
    case 2:
        return editor::toUi(store_.FirmShow[i].address);
    case 3:
        return editor::toUi(store_.FirmShow[i].email);
    default:
        return {};
    }
}

void OrganizationListDialog::showList() {
    const bool deleted = ui->deletedButton->isChecked();
    if (deleted)
        listMode_ = store_.directory.deletedCount > 0 ? ListDeleted : ListEmpty;
    else
        listMode_ = store_.directory.organizationCount > 0 ? ListFirms : ListEmpty;
    grid_->setTextColour(listMode_ == ListDeleted ? QColor(Qt::red) : QColor(Qt::black));
    grid_->refresh();
    grid_->setCurrentDataRow(listMode_ == ListFirms     ? store_.CurFirm
                             : listMode_ == ListDeleted ? store_.CurFirmDel
                                                        : 0);
    updateButtons();
}

void OrganizationListDialog::updateButtons() {
    const bool deleted = ui->deletedButton->isChecked();
    const bool any = !deleted && store_.directory.organizationCount > 0;
    ui->newButton->setEnabled(!deleted && firmListHasRoom(store_));
    for (QToolButton* b :
         {ui->editButton, ui->deleteButton, ui->branchesButton, ui->employeesButton})
        b->setEnabled(any);
    ui->restoreButton->setEnabled(deleted && store_.directory.deletedCount > 0 &&
                                  firmListHasRoom(store_));
}

void OrganizationListDialog::selectCell(int row, int column) {
    if (listMode_ == ListDeleted) {
        if (row < store_.directory.deletedCount)
            store_.CurFirmDel = row;
    } else if (listMode_ == ListFirms && row < store_.directory.organizationCount) {
        store_.CurFirm = row;
        showInPanel(firmCell(row, column));
    }
}

void OrganizationListDialog::viewOrganization(int row) {
    if (listMode_ != ListFirms || row >= store_.directory.organizationCount)
        return;
    store_.CurFirm = row;
    const QByteArray links = firmLinks(store_);
    openDetails(EditMode::View, QString());
    storage::fillListCache(store_);
    grid_->refresh();
    if (firmLinks(store_) != links)
        saveFirms();
}

// --- pickers and files ----------------------------------------------------------------------

void OrganizationListDialog::refillPickers(int payer, int payee) {
    // While a saved order is on screen the pickers hold its own payer and payee, from which
    // it takes its parties; the directory does not change them.
    if (!store_.PlatSaved)
        emit directoryChanged(payer, payee);
}

void OrganizationListDialog::saveFirms() {
    if (const storage::IoResult r = storage::saveOrganizationsFile(store_); !r)
        showWriteFailure(this, r.error, keptInMemoryNote());
}

bool OrganizationListDialog::openDetails(EditMode mode, const QString& caption) {
    OrganizationDetailsDialog* details = dialogs_.details;
    if (!details)
        return false;
    if (!caption.isEmpty())
        details->setWindowTitle(caption);
    return details->editDetails(mode);
}

// --- buttons --------------------------------------------------------------------------------

void OrganizationListDialog::addOrganization() {
    if (!firmListHasRoom(store_))
        return;
    // The new organization is assembled in the first free slot, which starts empty.
    storage::clearRecord(
        store_.directory.organizations[std::size_t(store_.directory.organizationCount)]);
    if (!openDetails(EditMode::New, QStringLiteral("Новая организация")))
        return;
    store_.CurFirm = store_.directory.organizationCount++;
    storage::fillListCache(store_);
    showList();
    refillPickers(-1, -1);
    saveFirms();
}

void OrganizationListDialog::editOrganization() {
    if (store_.directory.organizationCount <= 0)
        return;
    const int payer = editor_.payerPosition(), payee = editor_.payeePosition();
    const QByteArray links = firmLinks(store_);
    const bool stored = openDetails(EditMode::Edit, QStringLiteral("Редактирование"));
    storage::fillListCache(store_);
    grid_->refresh();
    if (stored) {
        refillPickers(payer, payee);
        emit organizationChanged();
        saveFirms();
    } else if (firmLinks(store_) != links) {
        saveFirms(); // a branch link changed in the branch window opened from the details
    }
}

void OrganizationListDialog::deleteOrganization() {
    if (store_.directory.organizationCount <= 0)
        return;
    const int payer = editor_.payerPosition(), payee = editor_.payeePosition();
    const int removed = store_.CurFirm;
    const QString name = editor::toUi(store_.directory.organizations[std::size_t(removed)].name);
    if (!editor::QuestionDialog::ask(this, deleteOrganizationQuestion(name)))
        return;
    for (const DeletionQuestion& q : deletionQuestions(store_, removed))
        if (!editor::QuestionDialog::ask(this, furtherDeletionQuestion(q, name)))
            return;
    if (const storage::IoResult r = deleteOrganizationAndSave(store_, removed); !r) {
        showWriteFailure(this, r.error, QStringLiteral("Организация не удалена."));
        return;
    }
    showList();
    showCurrentCell(); // not the deleted organization's text any more
    refillPickers(positionAfterRemoval(payer, removed), positionAfterRemoval(payee, removed));
    emit organizationChanged();
}

void OrganizationListDialog::openBranches() {
    if (store_.directory.organizationCount <= 0 || !dialogs_.branches)
        return;
    const QByteArray links = firmLinks(store_);
    editor::showModal(dialogs_.branches);
    storage::fillListCache(store_);
    grid_->refresh();
    if (firmLinks(store_) != links)
        saveFirms();
}

void OrganizationListDialog::openEmployees() {
    if (store_.directory.organizationCount > 0 && dialogs_.employees)
        editor::showModal(dialogs_.employees);
}

void OrganizationListDialog::restoreOrganization() {
    if (!ui->deletedButton->isChecked() || store_.directory.deletedCount <= 0 ||
        !firmListHasRoom(store_))
        return;
    const int payer = editor_.payerPosition(), payee = editor_.payeePosition();
    if (const storage::IoResult r = restoreOrganizationAndSave(store_, store_.CurFirmDel); !r) {
        showWriteFailure(this, r.error, QStringLiteral("Организация не восстановлена."));
        return;
    }
    refillPickers(payer, payee);
    showList();
}

void OrganizationListDialog::showDeleted(bool down) {
    setWindowTitle(down ? QStringLiteral("Удаленные организации") : QStringLiteral("Организации"));
    showList();
    if (down)
        showInPanel(QString());
    else
        showCurrentCell();
}

void OrganizationListDialog::showCurrentCell() {
    showInPanel(firmCell(store_.CurFirm, std::max(0, grid_->currentIndex().column())));
}

void OrganizationListDialog::showInPanel(const QString& text) {
    editor::showInPanel(panel_, QStringLiteral("Текст ячейки"), text);
}

} // namespace directory
