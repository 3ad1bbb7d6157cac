#include "organizationlistdialog.h"

#include "ui_organizationlistdialog.h"

#include "listwindows.h"
#include "organizationlist.h"

#include "editor/questiondialog.h"
#include "editor/uiutil.h"
#include "storage/bikdirectory.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QShowEvent>
#include <algorithm>

namespace directory {

OrganizationListDialog::OrganizationListDialog(core::Directory& directory,
                                               const core::ProgramFolder& folder,
                                               core::Settings& settings,
                                               const core::OrderArchive& orders, QWidget* parent)
    : QDialog(parent), directory_(directory), folder_(folder), settings_(settings), orders_(orders),
      ui(std::make_unique<Ui::OrganizationListDialog>()) {
    ui->setupUi(this);
    grid_ = addListGrid(
        this, ui->gridPlace, settings_, core::Grid::Organizations,
        {QStringLiteral("Name"), QStringLiteral("Tel."), QStringLiteral("Address"),
         QStringLiteral("E-Mail")},
        [this] {
            return listMode_ == ListFirms     ? directory_.organizationCount()
                   : listMode_ == ListDeleted ? directory_.deletedCount()
                                              : 0;
        },
        [this](int row, int column) {
            if (listMode_ == ListDeleted)
                return column == 0 ? editor::toUi(directory_.deletedOrganization(row).name)
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

    // The list follows the directory: a new or restored organization becomes current, a
    // deleted one leaves the current row where it was (or on the new last row).
    connect(&directory_, &core::Directory::organizationAdded, this, [this](int index) {
        current_ = index;
        showList();
    });
    connect(&directory_, &core::Directory::organizationRestored, this, [this](int index) {
        current_ = index;
        currentDeleted_ =
            std::clamp(currentDeleted_, 0, std::max(0, directory_.deletedCount() - 1));
        showList();
    });
    connect(&directory_, &core::Directory::organizationRemoved, this, [this] {
        current_ = std::clamp(current_, 0, std::max(0, directory_.organizationCount() - 1));
        currentDeleted_ = std::max(0, directory_.deletedCount() - 1);
        showList();
        showCurrentCell(); // not the deleted organization's text any more
    });
    for (auto changed : {&core::Directory::organizationChanged, &core::Directory::branchesChanged})
        connect(&directory_, changed, grid_, &editor::ListGrid::refresh);

    editor::applyFormSize(this, settings_, core::WindowTag::OrganizationList);
    fitColumnsWhenUnsized(this, grid_, settings_, core::WindowTag::OrganizationList);
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
    if (const storage::IoResult r = storage::loadBikDirectory(folder_.dataDir(), d); !r)
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
        storage::importBikDirectory(folder_.dataDir(), folder_.readOnly(), path);
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
    if (row < 0 || row >= directory_.organizationCount())
        return {};
    switch (column) {
    case 0:
        return editor::toUi(directory_.organization(row).name);
    case 1:
        return editor::toUi(directory_.contacts(row).phone);
    case 2:
        return editor::toUi(directory_.contacts(row).address);
    case 3:
        return editor::toUi(directory_.contacts(row).email);
    default:
        return {};
    }
}

void OrganizationListDialog::showList() {
    const bool deleted = ui->deletedButton->isChecked();
    if (deleted)
        listMode_ = directory_.deletedCount() > 0 ? ListDeleted : ListEmpty;
    else
        listMode_ = directory_.organizationCount() > 0 ? ListFirms : ListEmpty;
    grid_->setTextColour(listMode_ == ListDeleted ? QColor(Qt::red) : QColor(Qt::black));
    grid_->refresh();
    grid_->setCurrentDataRow(listMode_ == ListFirms     ? current_
                             : listMode_ == ListDeleted ? currentDeleted_
                                                        : 0);
    updateButtons();
}

void OrganizationListDialog::updateButtons() {
    const bool deleted = ui->deletedButton->isChecked();
    const bool any = !deleted && directory_.organizationCount() > 0;
    ui->newButton->setEnabled(!deleted && directory_.hasRoom());
    for (QToolButton* b :
         {ui->editButton, ui->deleteButton, ui->branchesButton, ui->employeesButton})
        b->setEnabled(any);
    ui->restoreButton->setEnabled(deleted && directory_.deletedCount() > 0 && directory_.hasRoom());
}

void OrganizationListDialog::selectCell(int row, int column) {
    if (listMode_ == ListDeleted) {
        if (row < directory_.deletedCount())
            currentDeleted_ = row;
    } else if (listMode_ == ListFirms && row < directory_.organizationCount()) {
        current_ = row;
        showInPanel(firmCell(row, column));
    }
}

void OrganizationListDialog::viewOrganization(int row) {
    if (listMode_ != ListFirms || row >= directory_.organizationCount())
        return;
    current_ = row;
    emit viewRequested(row);
}

// --- buttons --------------------------------------------------------------------------------

void OrganizationListDialog::addOrganization() {
    if (directory_.hasRoom())
        emit addRequested(current_);
}

void OrganizationListDialog::editOrganization() {
    if (directory_.organizationCount() > 0)
        emit editRequested(current_);
}

void OrganizationListDialog::deleteOrganization() {
    if (directory_.organizationCount() <= 0)
        return;
    const int removed = current_;
    const storage::OrganizationRecord& firm = directory_.organization(removed);
    const QString name = editor::toUi(firm.name);
    if (!editor::QuestionDialog::ask(this, deleteOrganizationQuestion(name)))
        return;
    for (const DeletionQuestion& q :
         deletionQuestions(directory_, removed, orders_.ordersWithParty(firm.inn.view())))
        if (!editor::QuestionDialog::ask(this, furtherDeletionQuestion(q, name)))
            return;
    reportChange(this, directory_.deleteOrganization(removed),
                 QStringLiteral("Организация не удалена."));
}

void OrganizationListDialog::openBranches() {
    if (directory_.organizationCount() > 0)
        emit branchesRequested(current_);
}

void OrganizationListDialog::openEmployees() {
    if (directory_.organizationCount() > 0)
        emit employeesRequested(current_);
}

void OrganizationListDialog::restoreOrganization() {
    if (!ui->deletedButton->isChecked() || directory_.deletedCount() <= 0 || !directory_.hasRoom())
        return;
    reportChange(this, directory_.restoreOrganization(currentDeleted_),
                 QStringLiteral("Организация не восстановлена."));
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
    showInPanel(firmCell(current_, std::max(0, grid_->currentIndex().column())));
}

void OrganizationListDialog::showInPanel(const QString& text) {
    editor::showInPanel(panel_, QStringLiteral("Текст ячейки"), text);
}

} // namespace directory
