#include "mainwindow.h"

#include "accessible.h"
#include "documentopener.h"
#include "preview.h"
#include "printtarget.h"
#include "questiondialog.h"
#include "ui_mainwindow.h"
#include "uiutil.h"

#include "render/print/formprint.h"
#include "render/print/printtarget.h"
#include "storage/bikdirectory.h"
#include "storage/choices.h"
#include "storage/orderdate.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>

namespace editor {

namespace {

using storage::isDigit;

} // namespace

MainWindow::MainWindow(core::ProgramFolder& folder, core::Settings& settings,
                       core::Directory& directory, core::OrderDocument& document,
                       const QStringList& creationMessages, QWidget* parent)
    : QMainWindow(parent), folder_(folder), settings_(settings), directory_(directory),
      document_(document), ui(std::make_unique<Ui::MainWindow>()),
      creationMessages_(creationMessages) {
    installAccessibility(); // before the first control exists
    ui->setupUi(this);

    ui->printButton->setIcon(render::printIcon());
    ui->printButton->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ui->printButton->setAccessibleName(ui->printButton->toolTip());
    // The pickers are named by their labels, whatever organization they show.
    ui->payerCombo->setAccessibleName(ui->payerGroup->title());
    ui->payeeCombo->setAccessibleName(ui->payeeGroup->title());
    preview_ = new PreviewBox;
    ui->previewArea->setWidget(preview_);
    ui->previewArea->setBackgroundRole(QPalette::Base);
    QPalette white = ui->previewArea->palette();
    white.setColor(QPalette::Base, Qt::white);
    ui->previewArea->setPalette(white);

    // Each box takes at most what its field of the order record holds; the purpose counts
    // its line breaks as the record stores them.
    restrictChars(
        ui->numberEdit, [](QChar c) { return isDigit(c); },
        capacityOf(&storage::OrderRecord::number));
    restrictToCp1251(ui->dateEdit, capacityOf(&storage::OrderRecord::date));
    restrictChars(
        ui->amountEdit, [](QChar c) { return isDigit(c) || c == u',' || c == u'-' || c == u'.'; },
        capacityOf(&storage::OrderRecord::amount));
    restrictToCp1251(ui->purposeEdit, capacityOf(&storage::OrderRecord::purpose),
                     [](const QString& text) { return purposeBytes(text).size(); });

    for (QGroupBox* g : {ui->vatGroup, ui->payKindGroup, ui->priorityGroup, ui->statusGroup})
        g->installEventFilter(this);
    // The field of each choice group takes the focus by Tab (not by a click, which belongs to
    // the group); Space or Enter there advances the choice as a click on the group does.
    for (QLineEdit* e : {ui->vatEdit, ui->payKindEdit, ui->priorityEdit, ui->statusEdit}) {
        e->setFocusPolicy(Qt::TabFocus);
        e->installEventFilter(this);
    }
    statusMenu_ = new QMenu(QStringLiteral("Статус"), this);
    statusMenu_->setObjectName(QStringLiteral("statusMenu"));
    statusMenu_->setAccessibleName(statusMenu_->title());
    for (const char* town :
         {"Екатеринбург", "Нижний Еагил", "Верхняя Пышма", "Первоуральск", "Серов"})
        statusMenu_->addAction(QString::fromUtf8(town));
    for (QWidget* w : std::initializer_list<QWidget*>{ui->statusGroup, ui->statusEdit}) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this,
                [this, w](const QPoint& pos) { showStatusMenu(w->mapTo(ui->statusGroup, pos)); });
    }

    connect(ui->payerCombo, &QComboBox::activated, this, &MainWindow::choosePayer);
    connect(ui->payeeCombo, &QComboBox::activated, this, &MainWindow::choosePayee);
    connect(ui->dateEdit, &QLineEdit::textChanged, this, &MainWindow::showChoices);
    connect(ui->acceptedCheck, &QCheckBox::toggled, this, &MainWindow::setAccepted);
    connect(ui->pages, &QTabWidget::currentChanged, this, &MainWindow::showPage);
    connect(ui->listButton, &QToolButton::clicked, this, &MainWindow::orderListRequested);
    connect(ui->organizationsButton, &QToolButton::clicked, this,
            &MainWindow::organizationsRequested);
    connect(ui->closeButton, &QToolButton::clicked, this, &QWidget::close);
    connect(ui->budgetButton, &QPushButton::clicked, this, &MainWindow::editBudgetFields);
    connect(ui->saveButton, &QToolButton::clicked, this, &MainWindow::save);
    connect(ui->printButton, &QToolButton::clicked, this, &MainWindow::print);
    connect(ui->settingsButton, &QToolButton::clicked, this, &MainWindow::settingsRequested);
    connect(ui->helpButton, &QToolButton::clicked, this, &MainWindow::openHelp);
    connect(ui->newButton, &QToolButton::clicked, this, &MainWindow::startNewOrder);

    // The pickers follow the directory; an organization edited or deleted brings the first
    // page back.
    connect(&directory_, &core::Directory::organizationAdded, this,
            [this] { directoryChanged(-1, -1); });
    for (auto same :
         {&core::Directory::organizationChanged, &core::Directory::organizationRestored})
        connect(&directory_, same, this,
                [this] { directoryChanged(payerPosition(), payeePosition()); });
    connect(&directory_, &core::Directory::organizationRemoved, this, [this](int removed) {
        directoryChanged(core::positionAfterRemoval(payerPosition(), removed),
                         core::positionAfterRemoval(payeePosition(), removed));
    });
    for (auto firstPage :
         {&core::Directory::organizationChanged, &core::Directory::organizationRemoved})
        connect(&directory_, firstPage, this, &MainWindow::showFirstPage);
    // The order on screen changes also from elsewhere: the list window opens and deletes it.
    connect(&document_, &core::OrderDocument::changed, this, &MainWindow::showDocument);
    connect(&document_, &core::OrderDocument::cleared, this, &MainWindow::showCleared);

    applyFormSize(this, settings_, core::WindowTag::Main);
    ui->dateEdit->setText(todayText());
    updateListButton();
    fillPickers();
    showChoices();
    preview_->computeGeometry();
}

MainWindow::~MainWindow() = default;

// --- fields -------------------------------------------------------------------------------

OrderFields MainWindow::fields() const {
    OrderFields f;
    f.payer = ui->payerCombo->currentIndex();
    f.payee = ui->payeeCombo->currentIndex();
    f.number = ui->numberEdit->text();
    f.date = ui->dateEdit->text();
    f.amount = ui->amountEdit->text();
    f.purpose = ui->purposeEdit->toPlainText();
    f.vat = vatChoice_;
    f.payKind = payKindChoice_;
    f.priority = priorityChoice_;
    f.status = statusChoice_;
    f.accepted = ui->acceptedCheck->isChecked();
    f.budget = document_.budget();
    return f;
}

void MainWindow::showFields(const OrderFields& f) {
    showing_ = true;
    ui->payerCombo->setCurrentIndex(f.payer);
    ui->payeeCombo->setCurrentIndex(f.payee);
    ui->numberEdit->setText(f.number);
    ui->dateEdit->setText(f.date);
    ui->amountEdit->setText(f.amount);
    ui->purposeEdit->setPlainText(f.purpose);
    vatChoice_ = f.vat;
    payKindChoice_ = f.payKind;
    priorityChoice_ = f.priority;
    statusChoice_ = f.status;
    document_.setBudget(f.budget);
    showChoices();
    ui->acceptedCheck->setChecked(f.accepted);
    setLocked(f.accepted);
    showing_ = false;
}

void MainWindow::showChoices() {
    // The rate and the priority follow the date typed, or today's while it is not a date.
    const storage::Day day = storage::rulesDay(ui->dateEdit->text().toLatin1().toStdString());
    ui->vatEdit->setText(storage::vatChoiceText(vatChoice_, day));
    ui->payKindEdit->setText(payKindTexts()[payKindChoice_]);
    ui->priorityEdit->setText(storage::priorityText(priorityChoice_, day));
    ui->statusEdit->setText(statusTexts()[statusChoice_]);
    ui->budgetButton->setEnabled(statusChoice_ != 0);
}

// --- pickers ------------------------------------------------------------------------------

void MainWindow::fillPickers() {
    QStringList names;
    names.reserve(directory_.organizationCount());
    for (int i = 0; i < directory_.organizationCount(); ++i)
        names << toUi(directory_.organization(i).name);
    // Added in one piece: the picker's model takes the rows in one insertion.
    for (QComboBox* c : {ui->payerCombo, ui->payeeCombo}) {
        c->clear();
        c->addItems(names);
        c->setCurrentIndex(-1);
    }
}

int MainWindow::payerPosition() const {
    return ui->payerCombo->currentIndex();
}
int MainWindow::payeePosition() const {
    return ui->payeeCombo->currentIndex();
}

void MainWindow::directoryChanged(int payer, int payee) {
    if (document_.isSaved())
        return;
    fillPickers();
    setPickerPositions(payer, payee);
}

void MainWindow::setPickerPositions(int payer, int payee) {
    ui->payerCombo->setCurrentIndex(payer < ui->payerCombo->count() ? payer : -1);
    ui->payeeCombo->setCurrentIndex(payee < ui->payeeCombo->count() ? payee : -1);
}

void MainWindow::showPickersForSaved() {
    ui->payerCombo->clear();
    ui->payerCombo->addItem(toUi(document_.record().payerName));
    ui->payeeCombo->clear();
    ui->payeeCombo->addItem(toUi(document_.record().payeeName));
}

void MainWindow::choosePayer(int index) {
    if (!document_.isSaved())
        ui->numberEdit->setText(document_.proposeNumber(index));
    leaveFocus();
}

void MainWindow::choosePayee(int) {
    leaveFocus();
}

void MainWindow::leaveFocus() {
    if (QWidget* w = focusWidget())
        w->clearFocus();
}

void MainWindow::showFirstPage() {
    ui->pages->setCurrentIndex(0);
}

// --- choice groups, status menu, accepted lock ----------------------------------------------

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        if (auto* g = qobject_cast<QGroupBox*>(watched))
            advanceChoice(g);
    if (event->type() == QEvent::KeyPress && qobject_cast<QLineEdit*>(watched))
        if (auto* g = qobject_cast<QGroupBox*>(static_cast<QWidget*>(watched)->parentWidget())) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
                advanceChoice(g);
                return true;
            }
        }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::advanceChoice(QGroupBox* group) {
    // A disabled group (an accepted order) still sees the clicks here, through the filter.
    if (!group->isEnabled())
        return;
    auto next = [](std::uint8_t& c, const QStringList& texts) {
        c = std::uint8_t((c + 1) % texts.size());
    };
    if (group == ui->vatGroup)
        vatChoice_ = storage::nextVatChoice(vatChoice_, settings_.usnVatRates());
    else if (group == ui->payKindGroup)
        next(payKindChoice_, payKindTexts());
    else if (group == ui->priorityGroup)
        priorityChoice_ = std::uint8_t((priorityChoice_ + 1) % storage::PriorityChoiceCount);
    else if (group == ui->statusGroup)
        next(statusChoice_, statusTexts());
    showChoices();
}

void MainWindow::showStatusMenu(const QPoint& pos) {
    QApplication::beep();
    statusMenu_->exec(ui->statusGroup->mapToGlobal(pos));
}

void MainWindow::setLocked(bool locked) {
    // The ten groups of the order page hold every field of the order.
    for (QGroupBox* w : ui->orderPage->findChildren<QGroupBox*>())
        w->setEnabled(!locked);
    locked_ = locked;
}

void MainWindow::setAccepted(bool checked) {
    setLocked(checked);
    if (showing_ || !document_.isSaved())
        return;
    if (storage::IoResult r = document_.setAccepted(checked); !r) {
        showError(r.error);
        // The write failed: the box and the lock return to what the file holds.
        showAccepted();
    }
}

void MainWindow::showAccepted() {
    if (!document_.isSaved())
        return;
    showing_ = true; // the file says so already
    ui->acceptedCheck->setChecked(document_.record().accepted == 1);
    showing_ = false;
}

void MainWindow::setSavedLook(bool saved) {
    const QColor c = saved ? savedOrderColour() : newOrderColour();
    for (QWidget* w : std::initializer_list<QWidget*>{
             ui->payerCombo, ui->payeeCombo, ui->numberEdit, ui->dateEdit, ui->amountEdit,
             ui->vatEdit, ui->payKindEdit, ui->priorityEdit, ui->statusEdit, ui->purposeEdit})
        setTextColour(w, c);
    ui->numberEdit->setReadOnly(saved);
    ui->dateEdit->setReadOnly(saved);
}

// --- pages --------------------------------------------------------------------------------

void MainWindow::preparePreview() {
    const render::OrderInput order = orderInputFor(document_, fields());
    preview_->showOrder(order);
    // A directory that cannot be read stays empty: the organization list says why.
    storage::BikDirectory bik;
    storage::loadBikDirectory(folder_.dataDir(), bik);
    const QStringList warnings = previewWarnings(order, &bik);
    ui->previewWarning->setText(warnings.join(QStringLiteral("; ")));
    ui->previewWarning->setVisible(!warnings.isEmpty());
}

void MainWindow::showPage(int index) {
    if (index == 0) {
        ui->saveButton->setEnabled(false);
        ui->printButton->setEnabled(false);
        leaveFocus();
        return;
    }
    preparePreview();
    const core::OrderCheck c = document_.check(fields());
    if (ui->dateEdit->text() != c.date)
        ui->dateEdit->setText(c.date);
    if (c.result == CheckOk) {
        ui->saveButton->setEnabled(true);
        ui->printButton->setEnabled(true);
        if (document_.isSaved()) {
            document_.update(fields());
            if (!document_.isModified())
                ui->saveButton->setEnabled(false);
        }
    } else if (c.result == CheckBadDate || c.result == CheckDateNotInCalendar) {
        QMessageBox::warning(this, windowTitle(),
                             storage::typedDateMessage(c.result == CheckBadDate
                                                           ? storage::DateError::BadFormat
                                                           : storage::DateError::NotInCalendar,
                                                       c.date));
    }
}

// --- toolbar ------------------------------------------------------------------------------

void MainWindow::updateListButton() {
    ui->listButton->setEnabled(document_.hasSavedOrders());
}

void MainWindow::editBudgetFields() {
    if (!editBudget_)
        return;
    const BudgetAnswer a = editBudget_({document_.budget(), document_.isSaved(), locked_});
    document_.setBudget(a.fields);
    if (a.singleTaxPayment) {
        statusChoice_ = 1; // "01"
        showChoices();
    }
}

void MainWindow::save() {
    const bool wasSaved = document_.isSaved();
    SaveQuestions questions;
    questions.ask = [this](const QString& line1, const QString& line2) {
        return QuestionDialog::ask(this, saveOrderQuestion(line1, line2));
    };
    questions.tell = [this](const QString& text) {
        QMessageBox::information(this, windowTitle(), text);
    };
    const core::SaveResult r = document_.save(fields(), questions);
    if (!r.saved) { // not written: a new order stays a new order
        if (!r.io)
            showError(r.io.error);
        return;
    }
    ui->saveButton->setEnabled(false);
    if (!wasSaved) {
        // The new order is shown as its file now holds it, as a saved order.
        updateListButton();
        showPickersForSaved();
        showFields(document_.fields());
        setSavedLook(true);
        ui->newButton->setEnabled(true);
    }
    if (!r.io)
        showError(r.io.error);
}

void MainWindow::print() {
    QPrinter printer(QPrinter::HighResolution);
    if (!askPrintTarget(printer, this, folder_.programDir()))
        return;
    if (storage::IoResult r = render::printForm(printer, orderInputFor(document_, fields())); !r)
        showError(r.error);
}

void MainWindow::openHelp() {
    // The help file of the program folder; without one (always so for an installed program)
    // the user guide that the package installs beside the executable's share/ folder.
    QString help = folder_.programDir() + QStringLiteral("Quenmara.chm");
    if (!QFileInfo::exists(help)) {
        const QString guide = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                              QStringLiteral("/../share/doc/quenmara/index.html"));
        if (QFileInfo::exists(guide))
            help = guide;
    }
    openDocument(help, this, [this, help](const QString& reason) {
        QMessageBox::information(this, windowTitle(),
                                 QStringLiteral("Не могу открыть файл справки %1: %2")
                                     .arg(QDir::toNativeSeparators(help), reason));
    });
}

void MainWindow::startNewOrder() {
    showFirstPage();
    const OrderFields f = document_.newOrderFields(fields());
    document_.startNew();
    showFields(f);
}

// --- the document's signals ---------------------------------------------------------------

void MainWindow::showDocument() {
    const bool saved = document_.isSaved();
    if (saved) {
        showPickersForSaved();
        showFields(document_.fields());
    } else {
        fillPickers();
    }
    setSavedLook(saved);
    showFirstPage();
    ui->saveButton->setEnabled(false);
    ui->printButton->setEnabled(false);
    ui->newButton->setEnabled(saved);
}

void MainWindow::showCleared() {
    // The pickers held only the deleted order's parties: they get all organizations back,
    // so that a position chosen there is again a position in the directory.
    fillPickers();
    showFields(clearedFields(fields()));
    setSavedLook(false);
    ui->newButton->setEnabled(false);
}

// --- closing ------------------------------------------------------------------------------

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closing(event);
}

void MainWindow::showError(const QString& text) {
    QMessageBox::critical(this, windowTitle(), text);
}

} // namespace editor
