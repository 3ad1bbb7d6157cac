#include "orderlistdialog.h"

#include "ui_orderlistdialog.h"

#include "editor/listgrid.h"
#include "editor/questiondialog.h"
#include "editor/uiutil.h"
#include "render/bankexchange.h"
#include "storage/bikdirectory.h"
#include "storage/platfile.h"
#include "storage/statement.h"

#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>

namespace archive {

namespace {

constexpr int PanelWidth = 80;

} // namespace

OrderListDialog::OrderListDialog(core::OrderArchive& archive, core::OrderDocument& document,
                                 const core::ProgramFolder& folder, core::Settings& settings,
                                 QWidget* parent)
    : QDialog(parent), archive_(archive), document_(document), folder_(folder), settings_(settings),
      ui(std::make_unique<Ui::OrderListDialog>()) {
    ui->setupUi(this);

    // The grid shows the archive's rows, reading each cell from it when it paints, and
    // follows the archive's changes.
    grid_ = new editor::ListGrid(settings_, core::Grid::Orders, &archive_, this);
    grid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid_->setAccessibleName(QStringLiteral("Платежки"));
    grid_->setFocus(); // the keys work the list from the start
    ui->mainLayout->insertWidget(1, grid_, 1);
    // A click on a column's title sorts the list by it, and
    // selects nothing: the selection stays that of the rows.
    grid_->horizontalHeader()->setSectionsClickable(true);
    disconnect(grid_->horizontalHeader(), &QHeaderView::sectionPressed, grid_, nullptr);
    disconnect(grid_->horizontalHeader(), &QHeaderView::sectionEntered, grid_, nullptr);
    connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &OrderListDialog::sortBy);
    connect(ui->searchEdit, &QLineEdit::textChanged, this, &OrderListDialog::search);
    connect(ui->deletedButton, &QToolButton::clicked, this,
            &OrderListDialog::deletedOrdersRequested);
    // Orders saved, deleted, restored or marked show at once; the buttons and the count
    // follow.
    connect(&archive_, &QAbstractItemModel::modelReset, this, &OrderListDialog::followArchive);
    connect(&archive_, &QAbstractItemModel::layoutChanged, this, &OrderListDialog::followArchive);
    connect(&archive_, &QAbstractItemModel::rowsRemoved, this, &OrderListDialog::followArchive);

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
    connect(ui->setFilterButton, &QToolButton::clicked, this, &OrderListDialog::filterRequested);
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
    grid_->setCurrentIndex(grid_->gridModel()->index(0, 1));
}

OrderListDialog::~OrderListDialog() = default;

// --- what the grid shows ------------------------------------------------------------------

void OrderListDialog::followArchive() {
    const int count = archive_.rowCount();
    ui->toBankButton->setEnabled(count > 0);
    if (!filtered_) {
        ui->openButton->setEnabled(count > 0);
        ui->deleteButton->setEnabled(count > 0);
    }
    // The title of the column the list is sorted by carries the arrow of its direction.
    QHeaderView* header = grid_->horizontalHeader();
    header->setSortIndicatorShown(archive_.sortColumn() >= 0);
    header->setSortIndicator(archive_.sortColumn(), archive_.sortOrder());
    setPanel(0, QString::number(count));
}

void OrderListDialog::showRow(int row) {
    // The current column stays where the user left it.
    const int column = std::max(grid_->currentIndex().column(), 0);
    grid_->setCurrentIndex(grid_->gridModel()->index(
        std::clamp(row, 0, std::max(0, grid_->gridModel()->rowCount() - 1)), column));
}

void OrderListDialog::showAllOrders() {
    // The whole list is shown: the filter is off, whoever asked for the list.
    filtered_ = false;
    ui->filterButton->setChecked(false);
    ui->setFilterButton->setEnabled(true);
    archive_.setFilter({});
    showRow(0);
}

void OrderListDialog::sortBy(int column) {
    const Qt::SortOrder order =
        archive_.sortColumn() == column && archive_.sortOrder() == Qt::AscendingOrder
            ? Qt::DescendingOrder
            : Qt::AscendingOrder;
    archive_.sort(column, order);
    // The current order stayed current, its row moved with it; its cell alone is selected
    // again.
    showRow(grid_->currentDataRow());
}

void OrderListDialog::search(const QString& text) {
    setPanel(3, QString());
    archive_.setSearch(text);
    showRow(0);
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
    const storage::OrdersSum sum = archive_.sum(first, last);
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
        filtered_ = true;
        const std::optional<core::OrderFilter> chosen =
            orderFilter(archive_.orders(), filterChoice_ ? filterChoice_() : FilterChoice{});
        // A filter that names no party of the tables leaves no order.
        archive_.setFilter(chosen ? *chosen : core::OrderFilter{std::string(), std::string()});
        showRow(0);
    } else {
        showAllOrders();
    }
}

// --- to the bank -------------------------------------------------------------------------

QString OrderListDialog::bankFolder() const {
    const QString folder = settings_.exportFolder();
    return folder.isEmpty() || !QFileInfo(folder).isDir() ? QDir::homePath() : folder;
}

void OrderListDialog::sendToBank() {
    const auto [first, last] = grid_->selectedRange();
    const QStringList paths = ordersToSend(archive_, folder_.ordersDir(), first, last);
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
    const storage::IoResult bikLoaded = storage::loadBikDirectory(folder_.dataDir(), bik);
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
    const storage::StatementOutcome r = archive_.importStatement(path);
    if (!r.marked.isEmpty())
        emit ordersMarked();
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
    const CheckSaveResult r = archive::checkSave(
        document_, fieldsOnScreen_ ? fieldsOnScreen_() : document_.fields(), questions);
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
    if (filtered_ || row < 0 || row >= archive_.rowCount())
        return;
    // The order is noted by its file name: a save from the question below lists another order,
    // and the row may then hold another order.
    const QString noted = archive_.fileNameAt(row);
    const CheckSaveResult saved = offerToSave();
    if (!saved.canLeave())
        return; // the order on screen could not be written: it stays there
    if (storage::IoResult r = document_.open(noted); !r) {
        showError(r.error);
        if (saved.savedNew)
            emit orderOpened(); // the order just saved stays on screen, as saved
        return;
    }
    emit orderOpened();
    accept();
}

void OrderListDialog::openDoubleClicked() {
    if (!filtered_)
        openSelectedOrder();
}

// --- deletion -----------------------------------------------------------------------------

void OrderListDialog::deleteSelectedOrder() {
    const int row = grid_->currentDataRow();
    if (filtered_ || row < 0 || row >= archive_.rowCount())
        return;
    const QString name = archive_.fileNameAt(row);
    const bool onScreen = document_.isSaved() && document_.fileName() == name;
    // An order whose file has gone is not deleted: "Yes" then does nothing, and the user leaves
    // with "No".
    const QString path = folder_.ordersDir() + name;
    if (!editor::QuestionDialog::ask(
            this, deleteOrderQuestion(archive_.cellText(row, 0), archive_.cellText(row, 1)),
            [path] { return QFileInfo::exists(path); }))
        return;
    if (!deleteOrder(row))
        return;
    if (onScreen)
        emit shownOrderDeleted();
    emit orderDeleted();
    // The sum is that of the rows selected now, not of the deleted order.
    if (archive_.rowCount() == 0)
        setPanel(3, QString());
    else
        showSelection();
}

bool OrderListDialog::deleteOrder(int row) {
    const QByteArray name = archive_.fileNameAt(row).toLatin1();
    if (storage::IoResult r = archive_.deleteOrder(std::string_view(name.constData(), name.size()));
        !r) {
        showError(r.error + QStringLiteral("\nПлатежка не удалена."));
        return false;
    }
    return true;
}

void OrderListDialog::showError(const QString& text) {
    QMessageBox::critical(messageParent(), windowTitle(), text);
}

QWidget* OrderListDialog::messageParent() {
    // Hidden, the list speaks through the window below it (the editor).
    return isVisible() ? this : parentWidget();
}

} // namespace archive
