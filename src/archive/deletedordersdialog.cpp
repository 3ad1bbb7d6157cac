#include "deletedordersdialog.h"

#include "ui_deletedordersdialog.h"

#include "editor/listgrid.h"
#include "editor/uiutil.h"
#include "storage/platfile.h"

#include <QDateTime>
#include <QFile>
#include <QMessageBox>
#include <algorithm>

namespace archive {

const QStringList& deletedOrderColumnTitles() {
    static const QStringList titles{QStringLiteral("№"),          QStringLiteral("Дата."),
                                    QStringLiteral("Плательщик"), QStringLiteral("Кому"),
                                    QStringLiteral("Сумма"),      QStringLiteral("Удалена")};
    return titles;
}

DeletedOrdersDialog::DeletedOrdersDialog(core::Settings& settings, DeletedOrdersAccess access,
                                         QWidget* parent)
    : QDialog(parent), settings_(settings), access_(std::move(access)),
      ui(std::make_unique<Ui::DeletedOrdersDialog>()) {
    ui->setupUi(this);
    grid_ = new editor::ListGrid(
        settings_, core::Grid::DeletedOrders,
        new editor::CallbackTableModel(
            deletedOrderColumnTitles(), [this] { return int(orders_.newestFirst.size()); },
            [this](int row, int column) { return cellText(row, column); }, this),
        this);
    grid_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // The time of deletion is shown whole from the first opening.
    grid_->setFirstStartSamples({{}, {}, {}, {}, {}, QStringLiteral("00.00.0000 00:00")});
    grid_->setAccessibleName(QStringLiteral("Удаленные платежки"));
    ui->mainLayout->addWidget(grid_, 1);
    ui->countLabel->setAccessibleName(QStringLiteral("Число удаленных платежек"));
    setTabOrder(grid_, ui->restoreButton);
    setTabOrder(ui->restoreButton, ui->closeButton);

    connect(ui->restoreButton, &QToolButton::clicked, this, &DeletedOrdersDialog::restoreSelected);
    connect(ui->closeButton, &QToolButton::clicked, this, &QDialog::reject);

    if (settings_.windowSizeKept(core::WindowTag::DeletedOrders))
        editor::applyFormSize(this, settings_, core::WindowTag::DeletedOrders);
    reload();
}

DeletedOrdersDialog::~DeletedOrdersDialog() = default;

void DeletedOrdersDialog::done(int result) {
    // The size is kept with the other windows' when the program ends.
    settings_.setWindowSize(core::WindowTag::DeletedOrders, size());
    QDialog::done(result);
}

void DeletedOrdersDialog::reload() {
    if (const storage::IoResult r = access_.load(orders_); !r)
        showMessage(r.error);
    const int count = int(orders_.newestFirst.size());
    ui->countLabel->setText(QStringLiteral("Удаленных платежек: %1").arg(count));
    ui->restoreButton->setEnabled(count > 0);
    grid_->refresh();
    if (count > 0)
        grid_->setCurrentDataRow(0);
}

QString DeletedOrdersDialog::cellText(int row, int column) const {
    if (row < 0 || std::size_t(row) >= orders_.newestFirst.size())
        return {};
    const std::uint32_t i = orders_.newestFirst[std::size_t(row)];
    const storage::FolderOrder& o = orders_.scan.orders[i];
    if (o.unread) {
        // An order that cannot be read is shown by its file name and the reason.
        if (column == 0)
            return QFile::decodeName(o.name.bytes());
        if (column == 1)
            return QStringLiteral("Не прочитана: %1").arg(orders_.problems[i]);
    }
    switch (column) {
    case 0:
        return editor::toUi(o.number);
    case 1:
        return editor::toUi(o.date);
    case 2:
        return access_.partyName(o.payerInn.view());
    case 3:
        return access_.partyName(o.payeeInn.view());
    case 4:
        return editor::toUi(o.amount);
    case 5:
        return QDateTime::fromMSecsSinceEpoch(orders_.deletedNs(i) / 1000000)
            .toString(QStringLiteral("dd.MM.yyyy hh:mm"));
    default:
        return {};
    }
}

void DeletedOrdersDialog::restoreSelected() {
    std::vector<int> rows;
    for (const QModelIndex& index : grid_->selectionModel()->selectedIndexes())
        if (index.row() < int(orders_.newestFirst.size()))
            rows.push_back(index.row());
    if (rows.empty() && grid_->currentDataRow() >= 0)
        rows.push_back(grid_->currentDataRow());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.empty())
        return;

    QStringList restored, problems;
    for (int row : rows) {
        const storage::FolderOrder& o = orders_.scan.orders[orders_.newestFirst[std::size_t(row)]];
        const std::string_view name = o.name.view();
        bool taken = false;
        const storage::IoResult r = access_.restore(name, taken);
        const QString savedName = storage::restoredOrderName(name);
        if (r)
            restored << savedName;
        else if (taken)
            problems << QStringLiteral("Платежка № %1 от %2 не восстановлена: в списке уже есть "
                                       "платежка с именем файла %3. Она осталась в корзине.")
                            .arg(editor::toUi(o.number), editor::toUi(o.date), savedName);
        else
            problems << r.error;
    }
    reload();
    if (!restored.isEmpty())
        emit ordersRestored(restored);
    if (!problems.isEmpty())
        showMessage(problems.join(u'\n'));
}

void DeletedOrdersDialog::showMessage(const QString& text) {
    QMessageBox::warning(this, windowTitle(), text);
}

} // namespace archive
