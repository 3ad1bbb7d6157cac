#include "orderlistdialog.h"

#include "orderfilterdialog.h"
#include "ui_orderlistdialog.h"

#include "editor/listgrid.h"
#include "editor/mainwindow.h"
#include "editor/questiondialog.h"
#include "editor/uiutil.h"
#include "render/bankexchange.h"
#include "storage/bikdirectory.h"
#include "storage/platfile.h"
#include "storage/scan.h"
#include "storage/statement.h"
#include "storage/store.h"

#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>

namespace archive {

namespace {

constexpr int PanelWidth = 80;

} // namespace

OrderListDialog::OrderListDialog(storage::Store& store, core::Settings& settings,
                                 const editor::MainWindow& editor, QWidget* parent)
    : QDialog(parent), store_(store), settings_(settings), editor_(editor),
      ui(std::make_unique<Ui::OrderListDialog>()), filtered_(std::make_unique<PlatItems>()) {
    ui->setupUi(this);

    grid_ = new editor::ListGrid(
        settings_, core::Grid::Orders, orderColumnTitles(), [this] { return shownCount(); },
        [this](int row, int column) {
            return orderCellText(shownItems()[std::size_t(row)], column);
        },
        this);
    grid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid_->setAccessibleName(QStringLiteral("Платежки"));
    grid_->setFocus(); // the keys work the list from the start
    ui->mainLayout->insertWidget(1, grid_, 1);

    for (std::size_t i = 0; i < panels_.size(); ++i) {
        auto* panel = new QLabel(ui->statusBar);
        static const char* const names[] = {"countPanel", "firstEmptyPanel", "secondEmptyPanel",
                                            "sumPanel"};
        panel->setObjectName(QLatin1String(names[i]));
        panel->setFixedWidth(PanelWidth);
        panel->setAlignment(Qt::AlignCenter);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        // The status bar itself takes the clicks, the double click and the menu.
        panel->setAttribute(Qt::WA_TransparentForMouseEvents);
        ui->statusBar->addWidget(panel);
        panels_[i] = panel;
        setPanel(int(i), QString());
    }
    sumMenu_ = new QMenu(this);
    sumMenu_->setObjectName(QStringLiteral("sumMenu"));
    QAction* N1 = sumMenu_->addAction(QStringLiteral("В буфер"));
    N1->setObjectName(QStringLiteral("copySumAction"));
    ui->statusBar->setContextMenuPolicy(Qt::CustomContextMenu);
    ui->statusBar->installEventFilter(this);

    connect(N1, &QAction::triggered, this, &OrderListDialog::copySum);
    connect(ui->statusBar, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { sumMenu_->exec(ui->statusBar->mapToGlobal(pos)); });
    connect(ui->openButton, &QToolButton::clicked, this, &OrderListDialog::openSelectedOrder);
    connect(ui->deleteButton, &QToolButton::clicked, this, &OrderListDialog::deleteSelectedOrder);
    connect(ui->filterButton, &QToolButton::clicked, this, &OrderListDialog::switchFilter);
    connect(ui->closeButton, &QToolButton::clicked, this, &QDialog::reject);
    connect(ui->setFilterButton, &QToolButton::clicked, this, &OrderListDialog::chooseFilter);
    connect(ui->toBankButton, &QToolButton::clicked, this, &OrderListDialog::sendToBank);
    connect(ui->statementButton, &QToolButton::clicked, this, &OrderListDialog::importStatement);
    chooseSaveFile_ = [](QWidget* owner, const QString& defaultPath) {
        return QFileDialog::getSaveFileName(owner,
                                            QStringLiteral("Выгрузить платежки для клиент-банка"),
                                            defaultPath, QStringLiteral("Текстовые файлы (*.txt)"));
    };
    connect(grid_, &editor::ListGrid::mouseReleased, this, &OrderListDialog::showSelection);
    connect(grid_, &editor::ListGrid::cellDoubleClicked, this, &OrderListDialog::openDoubleClicked);
    connect(grid_, &editor::ListGrid::columnWidthsFailed, this, &OrderListDialog::showError);
    connect(grid_, &editor::ListGrid::keySelection, this, &OrderListDialog::showSelection);
    connect(grid_, &editor::ListGrid::deleteRequested, this, [this] {
        if (ui->deleteButton->isEnabled())
            deleteSelectedOrder();
    });

    editor::applyFormSize(this, settings_, core::WindowTag::OrderList);
    showAllOrders();
    current_ = 0;
    grid_->setCurrentIndex(grid_->gridModel()->index(0, 1));
}

OrderListDialog::~OrderListDialog() = default;

// --- what the grid shows ------------------------------------------------------------------

const PlatItems& OrderListDialog::shownItems() const {
    return listMode_ == ListMode::Filtered ? *filtered_ : store_.orders.items;
}

int OrderListDialog::shownCount() const {
    switch (listMode_) {
    case ListMode::All:
        return store_.orders.count;
    case ListMode::Filtered:
        return filteredCount_;
    case ListMode::Nothing:
        break;
    }
    return 0;
}

void OrderListDialog::showGrid(ListMode mode, int count) {
    listMode_ = count > 0 ? mode : ListMode::Nothing;
    ui->toBankButton->setEnabled(listMode_ != ListMode::Nothing);
    refreshGrid(0);
    setPanel(0, QString::number(count));
}

void OrderListDialog::refreshGrid(int row) {
    // The current column stays where the user left it, as the rows change under it.
    const int column = std::max(grid_->currentIndex().column(), 0);
    grid_->refresh();
    grid_->setCurrentIndex(grid_->gridModel()->index(std::max(row, 0), column));
}

void OrderListDialog::showAllOrders() {
    // The whole list is shown: the filter is off, whoever asked for the list.
    ui->filterButton->setChecked(false);
    ui->setFilterButton->setEnabled(true);
    ui->openButton->setEnabled(store_.orders.count > 0);
    ui->deleteButton->setEnabled(store_.orders.count > 0);
    showGrid(ListMode::All, store_.orders.count);
}

void OrderListDialog::showFilteredOrders() {
    showGrid(ListMode::Filtered, filteredCount_);
}

void OrderListDialog::applyFilter() {
    FilterChoice choice;
    if (filter_)
        choice = filter_->choice();
    filteredCount_ = archive::filterOrders(store_, choice, *filtered_);
}

QString OrderListDialog::panelText(int panel) const {
    return panels_[std::size_t(panel)]->text();
}

void OrderListDialog::enableFilter(bool enabled) {
    ui->filterButton->setEnabled(enabled);
}

// --- selection, sum, clipboard ------------------------------------------------------------

void OrderListDialog::showSelection() {
    const auto [first, last] = grid_->selectedRange();
    if (first < 0)
        return;
    // Grid rows count the title row: the first order is row 1.
    setPanel(3, selectionText(first + 1, last + 1));
    const SelectionSum sum = sumAmounts(shownItems(), shownCount(), first, last);
    if (!sum.error.isEmpty()) {
        QMessageBox::warning(this, windowTitle(), sum.error);
        return;
    }
    if (sum.any)
        setPanel(3, sum.total.toString(QLocale::system().decimalPoint(),
                                       storage::Money::Kopecks::General));
}

void OrderListDialog::setPanel(int panel, const QString& text) {
    // Screen readers hear what the panel is for and what it shows. The two middle panels
    // always stay empty, and say so.
    static const std::array<QString, 4> names = {
        QStringLiteral("Число платежек"), QStringLiteral("Пустая панель"),
        QStringLiteral("Пустая панель"), QStringLiteral("Выделение или сумма")};
    editor::showInPanel(panels_[std::size_t(panel)], names[std::size_t(panel)], text);
}

void OrderListDialog::copySum() {
    QGuiApplication::clipboard()->setText(panels_[3]->text());
}

bool OrderListDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->statusBar && event->type() == QEvent::MouseButtonDblClick)
        copySum();
    return QDialog::eventFilter(watched, event);
}

// --- filter -------------------------------------------------------------------------------

void OrderListDialog::switchFilter(bool down) {
    setPanel(3, QString());
    if (down) {
        ui->openButton->setEnabled(false);
        ui->deleteButton->setEnabled(false);
        ui->setFilterButton->setEnabled(false);
        applyFilter();
        showFilteredOrders();
    } else {
        showAllOrders();
    }
}

void OrderListDialog::chooseFilter() {
    if (filter_)
        editor::showModal(filter_);
}

// --- to the bank -------------------------------------------------------------------------

QString OrderListDialog::bankFolder() const {
    const QString folder = settings_.exportFolder();
    return folder.isEmpty() || !QFileInfo(folder).isDir() ? QDir::homePath() : folder;
}

void OrderListDialog::sendToBank() {
    const auto [first, last] = grid_->selectedRange();
    const QStringList paths = ordersToSend(store_, shownItems(), shownCount(), first, last);
    if (paths.isEmpty())
        return;
    const QString folder = bankFolder();
    const QString chosen =
        chooseSaveFile_(this, QDir(folder).filePath(QLatin1String(render::BankExchangeFileName)));
    if (chosen.isEmpty())
        return;

    // The folder is remembered for the next time, whatever the export gives.
    storage::IoResult kept;
    const QString chosenFolder = QFileInfo(chosen).absolutePath();
    if (chosenFolder != settings_.exportFolder() && settings_.setExportFolder(chosenFolder))
        kept = settings_.saveSettings();

    // Without a readable BIK directory the banks' towns come from their names.
    storage::BikDirectory bik;
    const storage::IoResult bikLoaded = storage::loadBikDirectory(store_.folder.dataDir, bik);
    const render::ExportResult r =
        render::exportOrders(paths, chosen, QDateTime::currentDateTime(), &bik);
    if (!bikLoaded)
        showError(bikLoaded.error);
    if (!r.io)
        showError(r.io.error);
    else if (r.leftOut.isEmpty())
        QMessageBox::information(this, windowTitle(), render::exportReport(r, chosen));
    else
        QMessageBox::warning(this, windowTitle(), render::exportReport(r, chosen));
    if (!kept)
        showError(kept.error);
}

void OrderListDialog::importStatement() {
    // Bank clients write statements where the orders for them went.
    const QString folder = bankFolder();
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Выписка клиент-банка"),
        QDir(folder).filePath(QLatin1String(storage::StatementFileName)),
        QStringLiteral("Выписка (*.txt *.TXT);;Все файлы (*)"));
    if (path.isEmpty())
        return;
    const storage::StatementOutcome r =
        storage::importStatement(store_.folder, store_.directory, path);
    for (const QString& name : r.marked) {
        const QByteArray n = name.toLatin1();
        for (int i = 0; i < store_.orders.count; ++i)
            if (store_.orders.items[std::size_t(i)].fileName.bytes() == n)
                store_.orders.items[std::size_t(i)].accepted = 1;
        if (store_.PlatSaved && store_.PlatFileName.bytes() == n) {
            store_.Plat.accepted = 1;
            store_.PlatSnapshot.accepted = 1;
        }
    }
    if (!r.marked.isEmpty()) {
        if (listMode_ == ListMode::Filtered)
            applyFilter(); // its copies of the entries show the new state too
        refreshGrid(grid_->currentIndex().row());
        emit ordersMarked();
    }
    if (r.error.isEmpty() && r.unmatched.isEmpty() && r.failures.isEmpty())
        QMessageBox::information(this, windowTitle(), storage::statementReport(r));
    else
        QMessageBox::warning(this, windowTitle(), storage::statementReport(r));
}

// --- opening ------------------------------------------------------------------------------

CheckSaveResult OrderListDialog::offerToSave() {
    SaveQuestions questions;
    questions.ask = [this](const QString& line1, const QString& line2) {
        return editor::QuestionDialog::ask(messageParent(),
                                           editor::saveOrderQuestion(line1, line2));
    };
    questions.tell = [this](const QString& text) {
        QMessageBox::information(messageParent(), windowTitle(), text);
    };
    const CheckSaveResult r = archive::checkSave(store_, editor_.fields(), questions);
    grid_->viewport()->update(); // a saved order's row shows what was written
    if (r.savedNew) {
        showAllOrders();
        emit orderSaved();
    }
    if (!r.io)
        showError(r.io.error);
    return r;
}

void OrderListDialog::openSelectedOrder() {
    const int row = grid_->currentDataRow();
    if (listMode_ != ListMode::All || row < 0 || row >= store_.orders.count)
        return;
    // The order is noted by its file name: a save from the question below rescans the list,
    // and the row may then hold another order.
    const storage::ShortStr<28> noted = store_.orders.items[std::size_t(row)].fileName;
    current_ = row;
    const CheckSaveResult saved = offerToSave();
    if (!saved.canLeave())
        return; // the order on screen could not be written: it stays there
    if (storage::IoResult r = openListed(store_, noted); !r) {
        showError(r.error);
        if (saved.savedNew)
            emit orderOpened(); // the order just saved stays on screen, as saved
        return;
    }
    emit orderOpened();
    accept();
}

void OrderListDialog::openDoubleClicked() {
    if (listMode_ == ListMode::All)
        openSelectedOrder();
}

// --- deletion -----------------------------------------------------------------------------

void OrderListDialog::deleteSelectedOrder() {
    const int row = grid_->currentDataRow();
    if (listMode_ != ListMode::All || row < 0 || row >= store_.orders.count)
        return;
    current_ = row;
    const bool onScreen = shownInEditor(store_, current_);
    // An order whose file has gone is not deleted: "Yes" then does nothing, and the user leaves
    // with "No".
    const QString path =
        store_.folder.ordersDir +
        QString::fromLatin1(store_.orders.items[std::size_t(row)].fileName.bytes());
    if (!editor::QuestionDialog::ask(this,
                                     deleteOrderQuestion(store_.orders.items[std::size_t(row)]),
                                     [path] { return QFileInfo::exists(path); }))
        return;
    const std::optional<int> next = deleteOrder(row);
    if (!next)
        return;
    current_ = *next;
    if (store_.orders.count > 0) {
        refreshGrid(current_);
    } else {
        ui->openButton->setEnabled(false);
        ui->deleteButton->setEnabled(false);
        ui->toBankButton->setEnabled(false);
        listMode_ = ListMode::Nothing;
        refreshGrid(0);
    }
    if (onScreen) {
        store_.PlatSaved = false;
        emit shownOrderDeleted();
    }
    storage::buildPartyTables(store_);
    emit orderDeleted();
    setPanel(0, QString::number(store_.orders.count));
    // The sum is that of the rows selected now, not of the deleted order.
    if (listMode_ == ListMode::Nothing)
        setPanel(3, QString());
    else
        showSelection();
}

std::optional<int> OrderListDialog::deleteOrder(int row) {
    const storage::OrderListItem& entry = store_.orders.items[std::size_t(row)];
    if (storage::IoResult r = storage::moveOrderToDeleted(store_.folder, entry.fileName.view());
        !r) {
        showError(r.error + QStringLiteral("\nПлатежка не удалена."));
        return std::nullopt;
    }
    return removeListEntry(store_, row);
}

void OrderListDialog::showError(const QString& text) {
    QMessageBox::critical(messageParent(), windowTitle(), text);
}

QWidget* OrderListDialog::messageParent() {
    // Hidden, the list speaks through the window below it (the editor).
    return isVisible() ? this : parentWidget();
}

} // namespace archive
