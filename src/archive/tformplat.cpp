#include "tformplat.h"

#include "tformdelplat.h"
#include "tformfilter.h"
#include "ui_tformplat.h"

#include "editor/listgrid.h"
#include "editor/tform1.h"
#include "editor/tformchangeplat.h"
#include "editor/uiutil.h"
#include "render/bankexchange.h"
#include "storage/bikdirectory.h"
#include "storage/scan.h"
#include "storage/settings.h"
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

TFormPlat::TFormPlat(storage::Store& store, const editor::TForm1& editor, QWidget* parent)
    : QDialog(parent), store_(store), editor_(editor), ui(std::make_unique<Ui::TFormPlat>()),
      FilterList(std::make_unique<PlatItems>()) {
    ui->setupUi(this);

    StringGrid1 = new editor::ListGrid(
        store_, storage::ColBasePlats, PlatColumnTitles(), [this] { return shownCount(); },
        [this](int row, int column) {
            return PlatCellText(shownItems()[std::size_t(row)], column);
        },
        this);
    StringGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    StringGrid1->setAccessibleName(QStringLiteral("Платежки"));
    StringGrid1->setFocus(); // the keys work the list from the start
    ui->mainLayout->insertWidget(1, StringGrid1, 1);

    for (std::size_t i = 0; i < panels_.size(); ++i) {
        auto* panel = new QLabel(statusBar());
        panel->setObjectName(QStringLiteral("Panel%1").arg(i));
        panel->setFixedWidth(PanelWidth);
        panel->setAlignment(Qt::AlignCenter);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        // The status bar itself takes the clicks, the double click and the menu.
        panel->setAttribute(Qt::WA_TransparentForMouseEvents);
        statusBar()->addWidget(panel);
        panels_[i] = panel;
        setPanel(int(i), QString());
    }
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* N1 = PopupMenu1->addAction(QStringLiteral("В буфер"));
    N1->setObjectName(QStringLiteral("N1"));
    statusBar()->setContextMenuPolicy(Qt::CustomContextMenu);
    statusBar()->installEventFilter(this);

    connect(N1, &QAction::triggered, this, &TFormPlat::N1Click);
    connect(statusBar(), &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->exec(statusBar()->mapToGlobal(pos)); });
    connect(openButton(), &QToolButton::clicked, this, &TFormPlat::SpeedButton1Click);
    connect(deleteButton(), &QToolButton::clicked, this, &TFormPlat::SpeedButton2Click);
    connect(filterButton(), &QToolButton::clicked, this, &TFormPlat::SpeedButton3Click);
    connect(closeButton(), &QToolButton::clicked, this, &QDialog::reject);
    connect(setFilterButton(), &QToolButton::clicked, this, &TFormPlat::SpeedButton5Click);
    connect(toBankButton(), &QToolButton::clicked, this, &TFormPlat::SpeedButton6Click);
    chooseSaveFile_ = [](QWidget* owner, const QString& defaultPath) {
        return QFileDialog::getSaveFileName(owner,
                                            QStringLiteral("Выгрузить платежки для клиент-банка"),
                                            defaultPath, QStringLiteral("Текстовые файлы (*.txt)"));
    };
    connect(StringGrid1, &editor::ListGrid::mouseReleased, this, &TFormPlat::StringGrid1MouseUp);
    connect(StringGrid1, &editor::ListGrid::cellDoubleClicked, this,
            &TFormPlat::StringGrid1DblClick);
    connect(StringGrid1, &editor::ListGrid::columnWidthsFailed, this, &TFormPlat::showError);
    connect(StringGrid1, &editor::ListGrid::keySelection, this, &TFormPlat::StringGrid1MouseUp);
    connect(StringGrid1, &editor::ListGrid::deleteRequested, this, [this] {
        if (deleteButton()->isEnabled())
            SpeedButton2Click();
    });

    editor::applyFormSize(this, store_, storage::TagFormPlat);
    PlatGreed();
    CurPlat = 0;
    StringGrid1->setCurrentIndex(StringGrid1->gridModel()->index(0, 1));
}

TFormPlat::~TFormPlat() = default;

QToolButton* TFormPlat::openButton() const {
    return ui->SpeedButton1;
}

QToolButton* TFormPlat::deleteButton() const {
    return ui->SpeedButton2;
}

QToolButton* TFormPlat::filterButton() const {
    return ui->SpeedButton3;
}

QToolButton* TFormPlat::closeButton() const {
    return ui->SpeedButton4;
}

QToolButton* TFormPlat::setFilterButton() const {
    return ui->SpeedButton5;
}

QToolButton* TFormPlat::toBankButton() const {
    return ui->SpeedButton6;
}

QStatusBar* TFormPlat::statusBar() const {
    return ui->StatusBar1;
}

// --- what the grid shows ------------------------------------------------------------------

const PlatItems& TFormPlat::shownItems() const {
    return ListMode_ == ListMode::Filtered ? *FilterList : store_.PlatList;
}

int TFormPlat::shownCount() const {
    switch (ListMode_) {
    case ListMode::All:
        return store_.PlatCount;
    case ListMode::Filtered:
        return FilterCount;
    case ListMode::Nothing:
        break;
    }
    return 0;
}

void TFormPlat::showGrid(ListMode mode, int count) {
    ListMode_ = count > 0 ? mode : ListMode::Nothing;
    toBankButton()->setEnabled(ListMode_ != ListMode::Nothing);
    refreshGrid(0);
    setPanel(0, QString::number(count));
}

void TFormPlat::refreshGrid(int row) {
    // The current column stays where the user left it, as the rows change under it.
    const int column = std::max(StringGrid1->currentIndex().column(), 0);
    StringGrid1->refresh();
    StringGrid1->setCurrentIndex(StringGrid1->gridModel()->index(std::max(row, 0), column));
}

void TFormPlat::PlatGreed() {
    // The whole list is shown: the filter is off, whoever asked for the list.
    filterButton()->setChecked(false);
    setFilterButton()->setEnabled(true);
    openButton()->setEnabled(store_.PlatCount > 0);
    deleteButton()->setEnabled(store_.PlatCount > 0);
    showGrid(ListMode::All, store_.PlatCount);
}

void TFormPlat::PlatGreedFilter() {
    showGrid(ListMode::Filtered, FilterCount);
}

void TFormPlat::FillFilter() {
    FilterChoice choice;
    if (dialogs_.filter)
        choice = dialogs_.filter->choice();
    FilterCount = archive::FillFilter(store_, choice, *FilterList);
}

QString TFormPlat::panelText(int panel) const {
    return panels_[std::size_t(panel)]->text();
}

void TFormPlat::EnableFilter(bool enabled) {
    filterButton()->setEnabled(enabled);
}

// --- selection, sum, clipboard ------------------------------------------------------------

void TFormPlat::StringGrid1MouseUp() {
    const auto [first, last] = StringGrid1->selectedRange();
    if (first < 0)
        return;
    // Grid rows count the title row: the first order is row 1.
    setPanel(3, SelectionText(first + 1, last + 1));
    const SelectionSum sum = SumAmounts(shownItems(), shownCount(), first, last);
    if (!sum.error.isEmpty()) {
        QMessageBox::warning(this, windowTitle(), sum.error);
        return;
    }
    if (sum.any)
        setPanel(3, sum.total.toString(QLocale::system().decimalPoint(),
                                       storage::Money::Kopecks::General));
}

void TFormPlat::setPanel(int panel, const QString& text) {
    // Screen readers hear what the panel is for and what it shows. The two middle panels
    // always stay empty, and say so.
    static const std::array<QString, 4> names = {
        QStringLiteral("Число платежек"), QStringLiteral("Пустая панель"),
        QStringLiteral("Пустая панель"), QStringLiteral("Выделение или сумма")};
    QLabel* p = panels_[std::size_t(panel)];
    p->setText(text);
    p->setAccessibleName(text.isEmpty() ? names[std::size_t(panel)]
                                        : names[std::size_t(panel)] + QStringLiteral(": ") + text);
}

void TFormPlat::N1Click() {
    QGuiApplication::clipboard()->setText(panels_[3]->text());
}

bool TFormPlat::eventFilter(QObject* watched, QEvent* event) {
    if (watched == statusBar() && event->type() == QEvent::MouseButtonDblClick)
        N1Click();
    return QDialog::eventFilter(watched, event);
}

// --- filter -------------------------------------------------------------------------------

void TFormPlat::SpeedButton3Click(bool down) {
    setPanel(3, QString());
    if (down) {
        openButton()->setEnabled(false);
        deleteButton()->setEnabled(false);
        setFilterButton()->setEnabled(false);
        FillFilter();
        PlatGreedFilter();
    } else {
        PlatGreed();
    }
}

void TFormPlat::SpeedButton5Click() {
    if (dialogs_.filter)
        editor::showModal(dialogs_.filter);
}

// --- to the bank -------------------------------------------------------------------------

void TFormPlat::SpeedButton6Click() {
    const auto [first, last] = StringGrid1->selectedRange();
    const QStringList paths = OrdersToSend(store_, shownItems(), shownCount(), first, last);
    if (paths.isEmpty())
        return;
    QString folder = storage::ExportDir(store_);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    const QString chosen =
        chooseSaveFile_(this, QDir(folder).filePath(QLatin1String(render::BankExchangeFileName)));
    if (chosen.isEmpty())
        return;

    // The folder is remembered for the next time, whatever the export gives.
    storage::IoResult kept;
    const QString chosenFolder = QFileInfo(chosen).absolutePath();
    if (chosenFolder != storage::ExportDir(store_) && storage::SetExportDir(store_, chosenFolder))
        kept = storage::SaveFileSet(store_);

    // Without a readable BIK directory the banks' towns come from their names.
    storage::BikDirectory bik;
    const storage::IoResult bikLoaded = storage::LoadBikDirectory(store_.DataDir, bik);
    const render::ExportResult r =
        render::ExportOrders(paths, chosen, QDateTime::currentDateTime(), &bik);
    if (!bikLoaded)
        showError(bikLoaded.error);
    if (!r.io)
        showError(r.io.error);
    else if (r.leftOut.isEmpty())
        QMessageBox::information(this, windowTitle(), render::ExportReport(r, chosen));
    else
        QMessageBox::warning(this, windowTitle(), render::ExportReport(r, chosen));
    if (!kept)
        showError(kept.error);
}

// --- opening ------------------------------------------------------------------------------

CheckSaveResult TFormPlat::CheckSave() {
    SaveQuestions questions;
    questions.ask = [this](const QString& line1, const QString& line2) {
        return dialogs_.replace && dialogs_.replace->ask(line1, line2);
    };
    questions.tell = [this](const QString& text) {
        QMessageBox::information(messageParent(), windowTitle(), text);
    };
    const CheckSaveResult r = archive::CheckSave(store_, editor_.fields(), questions);
    StringGrid1->viewport()->update(); // a saved order's row shows what was written
    if (r.savedNew) {
        PlatGreed();
        emit orderSaved();
    }
    if (!r.io)
        showError(r.io.error);
    return r;
}

void TFormPlat::SpeedButton1Click() {
    const int row = StringGrid1->currentDataRow();
    if (ListMode_ != ListMode::All || row < 0 || row >= store_.PlatCount)
        return;
    // The order is noted by its file name: a save from the question below rescans the list,
    // and the row may then hold another order.
    const storage::ShortStr<28> noted = store_.PlatList[std::size_t(row)].FileName;
    CurPlat = row;
    const CheckSaveResult saved = CheckSave();
    if (!saved.canLeave())
        return; // the order on screen could not be written: it stays there
    if (storage::IoResult r = OpenListed(store_, noted); !r) {
        showError(r.error);
        if (saved.savedNew)
            emit orderOpened(); // the order just saved stays on screen, as saved
        return;
    }
    emit orderOpened();
    accept();
}

void TFormPlat::StringGrid1DblClick() {
    if (ListMode_ == ListMode::All)
        SpeedButton1Click();
}

// --- deletion -----------------------------------------------------------------------------

void TFormPlat::SpeedButton2Click() {
    const int row = StringGrid1->currentDataRow();
    TFormDelPlat* dialog = dialogs_.deletion;
    if (ListMode_ != ListMode::All || row < 0 || row >= store_.PlatCount || !dialog)
        return;
    CurPlat = row;
    const bool onScreen = ShownInEditor(store_, CurPlat);
    const std::optional<int> next = dialog->ask(CurPlat);
    if (!next)
        return;
    CurPlat = *next;
    if (store_.PlatCount > 0) {
        refreshGrid(CurPlat);
    } else {
        openButton()->setEnabled(false);
        deleteButton()->setEnabled(false);
        toBankButton()->setEnabled(false);
        ListMode_ = ListMode::Nothing;
        refreshGrid(0);
    }
    if (onScreen) {
        store_.PlatSaved = false;
        emit shownOrderDeleted();
    }
    storage::FindINN(store_);
    emit orderDeleted();
    setPanel(0, QString::number(store_.PlatCount));
    // The sum is that of the rows selected now, not of the deleted order.
    if (ListMode_ == ListMode::Nothing)
        setPanel(3, QString());
    else
        StringGrid1MouseUp();
}

void TFormPlat::showError(const QString& text) {
    QMessageBox::critical(messageParent(), windowTitle(), text);
}

QWidget* TFormPlat::messageParent() {
    // Hidden, the list speaks through the window below it (the editor).
    return isVisible() ? this : parentWidget();
}

} // namespace archive
