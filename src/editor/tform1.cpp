#include "tform1.h"

#include "accessible.h"
#include "preview.h"
#include "printtarget.h"
#include "tformchangeplat.h"
#include "tformnalog.h"
#include "ui_tform1.h"
#include "uiutil.h"

#include "render/print/formprint.h"
#include "render/print/printtarget.h"
#include "storage/choices.h"
#include "storage/scan.h"
#include "storage/settings.h"
#include "storage/store.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
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
#include <QUrl>

namespace editor {

namespace {

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

} // namespace

TForm1::TForm1(storage::Store& store, QWidget* parent)
    : QMainWindow(parent), store_(store), ui(std::make_unique<Ui::TForm1>()) {
    ui->setupUi(this);
    installAccessibility();
    windows_.sized[storage::TagForm1] = this;

    printButton()->setIcon(render::printIcon());
    printButton()->setToolButtonStyle(Qt::ToolButtonIconOnly);
    printButton()->setAccessibleName(printButton()->toolTip());
    // The pickers are named by their labels, whatever organization they show.
    payerPicker()->setAccessibleName(payerGroup()->title());
    payeePicker()->setAccessibleName(payeeGroup()->title());
    PaintBox1 = new PreviewBox;
    previewArea()->setWidget(PaintBox1);
    previewArea()->setBackgroundRole(QPalette::Base);
    QPalette white = previewArea()->palette();
    white.setColor(QPalette::Base, Qt::white);
    previewArea()->setPalette(white);

    // Each box takes at most what its field of the order record holds; the purpose counts
    // its line breaks as the record stores them.
    restrictChars(numberBox(), isDigit, capacityOf(&storage::TPlat::Number));
    restrictToCp1251(dateBox(), capacityOf(&storage::TPlat::Date));
    restrictChars(
        amountBox(), [](QChar c) { return isDigit(c) || c == u',' || c == u'-' || c == u'.'; },
        capacityOf(&storage::TPlat::Amount));
    restrictToCp1251(purposeBox(), capacityOf(&storage::TPlat::Purpose),
                     [](const QString& text) { return purposeBytes(text).size(); });

    for (QGroupBox* g : {vatGroup(), payKindGroup(), priorityGroup(), statusGroup()})
        g->installEventFilter(this);
    // The field of each choice group takes the focus by Tab (not by a click, which belongs to
    // the group); Space or Enter there advances the choice as a click on the group does.
    for (QLineEdit* e : {vatField(), payKindField(), priorityField(), statusField()}) {
        e->setFocusPolicy(Qt::TabFocus);
        e->installEventFilter(this);
    }
    StatusMenu = new QMenu(QStringLiteral("Статус"), this);
    StatusMenu->setObjectName(QStringLiteral("StatusMenu"));
    StatusMenu->setAccessibleName(StatusMenu->title());
    for (const char* town :
         {"Екатеринбург", "Нижний Еагил", "Верхняя Пышма", "Первоуральск", "Серов"})
        StatusMenu->addAction(QString::fromUtf8(town));
    for (QWidget* w : std::initializer_list<QWidget*>{statusGroup(), statusField()}) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this, [this, w](const QPoint& pos) {
            GroupBox9ContextMenu(w->mapTo(statusGroup(), pos));
        });
    }

    connect(payerPicker(), &QComboBox::activated, this, &TForm1::ComboBox1Select);
    connect(payeePicker(), &QComboBox::activated, this, &TForm1::ComboBox2Select);
    connect(dateBox(), &QLineEdit::textChanged, this, &TForm1::showChoices);
    connect(acceptedBox(), &QCheckBox::toggled, this, &TForm1::CheckBox1Click);
    connect(pages(), &QTabWidget::currentChanged, this, &TForm1::PageControl1Change);
    connect(listButton(), &QToolButton::clicked, this, &TForm1::SpeedButton1Click);
    connect(firmsButton(), &QToolButton::clicked, this, &TForm1::SpeedButton2Click);
    connect(closeButton(), &QToolButton::clicked, this, &QWidget::close);
    connect(taxesButton(), &QPushButton::clicked, this, &TForm1::SpeedButton4Click);
    connect(saveButton(), &QToolButton::clicked, this, &TForm1::SpeedButton5Click);
    connect(printButton(), &QToolButton::clicked, this, &TForm1::SpeedButton6Click);
    connect(settingsButton(), &QToolButton::clicked, this, &TForm1::SpeedButton7Click);
    connect(helpButton(), &QToolButton::clicked, this, &TForm1::SpeedButton8Click);
    connect(newButton(), &QToolButton::clicked, this, &TForm1::SpeedButton9Click);

    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::FormCreate() {
    applyFormSize(this, store_, storage::TagForm1);
    dateBox()->setText(todayText());
    if (storage::IoResult r = storage::ScanAtStart(store_); !r)
        creationMessages_ << r.error;
    UpdateListButton();
    FillPickers();
    showChoices();
    PaintBox1->ComputeGeometry();
}

// --- fields -------------------------------------------------------------------------------

OrderFields TForm1::fields() const {
    OrderFields f;
    f.payer = payerPicker()->currentIndex();
    f.payee = payeePicker()->currentIndex();
    f.number = numberBox()->text();
    f.date = dateBox()->text();
    f.amount = amountBox()->text();
    f.purpose = purposeBox()->toPlainText();
    f.vat = VatRate;
    f.payKind = PayKindChoice;
    f.priority = PriorityChoice;
    f.status = StatusChoice;
    f.accepted = acceptedBox()->isChecked();
    if (windows_.formNalog) {
        const TFormNalog::Texts t = windows_.formNalog->texts();
        f.budget = {t.kbk, t.okato, t.basis, t.taxPeriod, t.taxType, t.docNumber, t.docDate};
    }
    return f;
}

void TForm1::showFields(const OrderFields& f) {
    showing_ = true;
    payerPicker()->setCurrentIndex(f.payer);
    payeePicker()->setCurrentIndex(f.payee);
    numberBox()->setText(f.number);
    dateBox()->setText(f.date);
    amountBox()->setText(f.amount);
    purposeBox()->setPlainText(f.purpose);
    VatRate = f.vat;
    PayKindChoice = f.payKind;
    PriorityChoice = f.priority;
    StatusChoice = f.status;
    showChoices();
    acceptedBox()->setChecked(f.accepted);
    setLocked(f.accepted);
    showing_ = false;
}

void TForm1::showChoices() {
    // The rate and the priority follow the date typed, or today's while it is not a date.
    const storage::Day day = storage::RulesDay(dateBox()->text().toLatin1().toStdString());
    vatField()->setText(storage::VatChoiceText(VatRate, day));
    payKindField()->setText(PayKindTexts()[PayKindChoice]);
    priorityField()->setText(storage::PriorityText(PriorityChoice, day));
    statusField()->setText(StatusTexts()[StatusChoice]);
    taxesButton()->setEnabled(StatusChoice != 0);
}

// --- pickers ------------------------------------------------------------------------------

void TForm1::FillPickers() {
    for (QComboBox* c : {payerPicker(), payeePicker()}) {
        c->clear();
        for (int i = 0; i < store_.FirmCount; ++i)
            c->addItem(toUi(store_.Firms[std::size_t(i)].Name));
        c->setCurrentIndex(-1);
    }
}

int TForm1::payerPosition() const {
    return payerPicker()->currentIndex();
}
int TForm1::payeePosition() const {
    return payeePicker()->currentIndex();
}

void TForm1::setPickerPositions(int payer, int payee) {
    payerPicker()->setCurrentIndex(payer < payerPicker()->count() ? payer : -1);
    payeePicker()->setCurrentIndex(payee < payeePicker()->count() ? payee : -1);
}

void TForm1::showPickersForSaved() {
    payerPicker()->clear();
    payerPicker()->addItem(toUi(store_.Plat.PayerName));
    payeePicker()->clear();
    payeePicker()->addItem(toUi(store_.Plat.PayeeName));
}

void TForm1::ComboBox1Select(int index) {
    if (!store_.PlatSaved)
        numberBox()->setText(ProposeNumber(store_, index));
    leaveFocus();
}

void TForm1::ComboBox2Select(int) {
    leaveFocus();
}

void TForm1::leaveFocus() {
    if (QWidget* w = focusWidget())
        w->clearFocus();
}

void TForm1::ShowFirstPage() {
    pages()->setCurrentIndex(0);
}

// --- choice groups, status menu, accepted lock ----------------------------------------------

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        if (auto* g = qobject_cast<QGroupBox*>(watched))
            ChoiceGroupClick(g);
    if (event->type() == QEvent::KeyPress && qobject_cast<QLineEdit*>(watched))
        if (auto* g = qobject_cast<QGroupBox*>(static_cast<QWidget*>(watched)->parentWidget())) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
                ChoiceGroupClick(g);
                return true;
            }
        }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::ChoiceGroupClick(QGroupBox* group) {
    // A disabled group (an accepted order) still sees the clicks here, through the filter.
    if (!group->isEnabled())
        return;
    auto next = [](std::uint8_t& c, const QStringList& texts) {
        c = std::uint8_t((c + 1) % texts.size());
    };
    if (group == vatGroup())
        VatRate = storage::NextVatChoice(VatRate, store_.UsnVatRates() == 1);
    else if (group == payKindGroup())
        next(PayKindChoice, PayKindTexts());
    else if (group == priorityGroup())
        PriorityChoice = std::uint8_t((PriorityChoice + 1) % storage::PriorityChoiceCount);
    else if (group == statusGroup())
        next(StatusChoice, StatusTexts());
    showChoices();
}

void TForm1::GroupBox9ContextMenu(const QPoint& pos) {
    QApplication::beep();
    StatusMenu->exec(statusGroup()->mapToGlobal(pos));
}

void TForm1::setLocked(bool locked) {
    // The ten groups of the order page hold every field of the order.
    for (QGroupBox* w : orderPage()->findChildren<QGroupBox*>())
        w->setEnabled(!locked);
    if (windows_.formNalog)
        windows_.formNalog->setLocked(locked);
}

void TForm1::CheckBox1Click(bool checked) {
    setLocked(checked);
    if (showing_ || !store_.PlatSaved)
        return;
    if (storage::IoResult r = StoreAccepted(store_, checked); !r)
        showError(r.error);
}

void TForm1::setSavedLook(bool saved) {
    const QColor c = saved ? savedOrderColour() : newOrderColour();
    for (QWidget* w : std::initializer_list<QWidget*>{
             payerPicker(), payeePicker(), numberBox(), dateBox(), amountBox(), vatField(),
             payKindField(), priorityField(), statusField(), purposeBox()})
        setTextColour(w, c);
    if (windows_.formNalog)
        windows_.formNalog->setSavedColour(saved);
    numberBox()->setReadOnly(saved);
    dateBox()->setReadOnly(saved);
}

// --- pages --------------------------------------------------------------------------------

void TForm1::PreparePreview() {
    const render::OrderInput order = OrderInputFor(store_, fields());
    PaintBox1->ShowOrder(order);
    const QStringList warnings = PartyWarnings(order);
    previewWarning()->setText(warnings.join(QStringLiteral("; ")));
    previewWarning()->setVisible(!warnings.isEmpty());
}

void TForm1::PageControl1Change(int index) {
    if (index == 0) {
        saveButton()->setEnabled(false);
        printButton()->setEnabled(false);
        leaveFocus();
        return;
    }
    PreparePreview();
    OrderFields f = fields();
    const CheckResult r = CheckPlat(store_, f);
    if (dateBox()->text() != f.date)
        dateBox()->setText(f.date);
    if (r == CheckOk) {
        saveButton()->setEnabled(true);
        printButton()->setEnabled(true);
        if (store_.PlatSaved) {
            FillPlat(store_, f);
            if (!CheckChange(store_))
                saveButton()->setEnabled(false);
        }
    } else if (r == CheckBadDate) {
        QMessageBox::warning(this, windowTitle(), QStringLiteral("Неверный формат даты"));
    }
}

// --- toolbar ------------------------------------------------------------------------------

void TForm1::UpdateListButton() {
    listButton()->setEnabled(store_.PlatCount > 0);
}

void TForm1::DisableNew() {
    newButton()->setEnabled(false);
}

void TForm1::SpeedButton1Click() {
    if (windows_.formPlat)
        showModal(windows_.formPlat);
}

void TForm1::SpeedButton2Click() {
    if (windows_.formFirm)
        showModal(windows_.formFirm);
}

void TForm1::SpeedButton4Click() {
    if (!windows_.formNalog)
        return;
    showModal(windows_.formNalog);
    if (windows_.formNalog->singleTaxPaymentChosen()) {
        StatusChoice = 1; // "01"
        showChoices();
    }
}

void TForm1::SpeedButton5Click() {
    if (store_.PlatSaved) {
        if (storage::IoResult r = SaveSaved(store_); !r) {
            showError(r.error);
            return;
        }
        saveButton()->setEnabled(false);
        return;
    }
    SaveQuestions questions;
    questions.ask = [this](const QString& line1, const QString& line2) {
        return windows_.formChangePlat && windows_.formChangePlat->ask(line1, line2);
    };
    questions.tell = [this](const QString& text) {
        QMessageBox::information(this, windowTitle(), text);
    };
    const SaveNewResult r = SaveNewOrder(store_, fields(), questions);
    if (!r.saved) { // not written: the order stays a new order
        if (!r.io)
            showError(r.io.error);
        return;
    }
    emit orderSaved();
    UpdateListButton();
    showPickersForSaved();
    showFields(r.shown);
    if (windows_.formNalog)
        windows_.formNalog->loadFromRecord(store_.Plat);
    setSavedLook(true);
    newButton()->setEnabled(true);
    saveButton()->setEnabled(false);
    if (!r.io)
        showError(r.io.error);
}

void TForm1::SpeedButton6Click() {
    QPrinter printer(QPrinter::HighResolution);
    if (!askPrintTarget(printer, this, store_.ProgramDir))
        return;
    if (storage::IoResult r = render::PrintForm(printer, OrderInputFor(store_, fields())); !r)
        showError(r.error);
}

void TForm1::SpeedButton7Click() {
    const auto before = store_.Settings;
    if (windows_.formSet)
        showModal(windows_.formSet);
    if (!std::equal(before.begin(), before.begin() + 16, store_.Settings.begin()))
        if (storage::IoResult r = storage::SaveFileSet(store_); !r)
            showError(r.error);
}

void TForm1::SpeedButton8Click() {
    // The help file of the program folder; without one (always so for an installed program)
    // the user guide that the package installs beside the executable's share/ folder.
    QString help = store_.ProgramDir + QStringLiteral("Quenmara.chm");
    if (!QFileInfo::exists(help)) {
        const QString guide = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                              QStringLiteral("/../share/doc/quenmara/index.html"));
        if (QFileInfo::exists(guide))
            help = guide;
    }
    if (!QFileInfo::exists(help) || !QDesktopServices::openUrl(QUrl::fromLocalFile(help)))
        QMessageBox::information(
            this, windowTitle(),
            QStringLiteral("Не могу открыть файл справки %1").arg(QDir::toNativeSeparators(help)));
}

void TForm1::SpeedButton9Click() {
    ShowFirstPage();
    saveButton()->setEnabled(false);
    printButton()->setEnabled(false);
    newButton()->setEnabled(false);
    const OrderFields f = NewOrderFields(store_, fields());
    store_.PlatSaved = false;
    FillPickers();
    showFields(f);
    setSavedLook(false);
}

// --- opening, clearing --------------------------------------------------------------------

void TForm1::ShowOpened() {
    const OrderFields f = FillFromPlat(store_);
    store_.PlatSnapshot = store_.Plat;
    store_.PlatSaved = true;
    showPickersForSaved();
    showFields(f);
    if (windows_.formNalog)
        windows_.formNalog->loadFromRecord(store_.Plat);
    setSavedLook(true);
    ShowFirstPage();
    saveButton()->setEnabled(false);
    printButton()->setEnabled(false);
    newButton()->setEnabled(true);
}

void TForm1::ClearPlat() {
    const OrderFields f = ClearedFields(fields());
    // The pickers held only the deleted order's parties: they get all organizations back,
    // so that a position chosen there is again a position in the directory.
    if (store_.PlatSaved || payerPicker()->count() != store_.FirmCount)
        FillPickers();
    store_.PlatSaved = false;
    showFields(f);
    setSavedLook(false);
}

// --- closing ------------------------------------------------------------------------------

void TForm1::closeEvent(QCloseEvent* event) {
    bool changed = false;
    for (int tag = 0; tag < storage::SizedWindowCount; ++tag) {
        const QWidget* w = windows_.sized[std::size_t(tag)];
        if (!w)
            continue;
        const storage::FormSize& e = store_.FormSizes[std::size_t(tag)];
        changed = changed || w->width() != e.Width || w->height() != e.Height;
    }
    if (changed) {
        for (int tag = 0; tag < storage::SizedWindowCount; ++tag) {
            if (const QWidget* w = windows_.sized[std::size_t(tag)]) {
                store_.FormSizes[std::size_t(tag)].Width = std::uint16_t(w->width());
                store_.FormSizes[std::size_t(tag)].Height = std::uint16_t(w->height());
            }
        }
        if (storage::IoResult r = storage::SaveFileForm(store_); !r)
            showError(r.error);
    }
    event->accept();
    emit closing(event);
}

void TForm1::setDialogs(const Dialogs& dialogs) {
    windows_ = dialogs;
    windows_.sized[storage::TagForm1] = this;
}

void TForm1::showError(const QString& text) {
    QMessageBox::critical(this, windowTitle(), text);
}

// --- controls ---------------------------------------------------------------------------

QComboBox* TForm1::payerPicker() const {
    return ui->ComboBox1;
}

QComboBox* TForm1::payeePicker() const {
    return ui->ComboBox2;
}

QGroupBox* TForm1::payerGroup() const {
    return ui->GroupBox1;
}

QGroupBox* TForm1::payeeGroup() const {
    return ui->GroupBox2;
}

QLineEdit* TForm1::numberBox() const {
    return ui->Edit1;
}

QLineEdit* TForm1::dateBox() const {
    return ui->Edit2;
}

QLineEdit* TForm1::amountBox() const {
    return ui->Edit3;
}

QGroupBox* TForm1::vatGroup() const {
    return ui->GroupBox6;
}

QGroupBox* TForm1::payKindGroup() const {
    return ui->GroupBox7;
}

QGroupBox* TForm1::priorityGroup() const {
    return ui->GroupBox8;
}

QGroupBox* TForm1::statusGroup() const {
    return ui->GroupBox9;
}

QLineEdit* TForm1::vatField() const {
    return ui->Edit4;
}

QLineEdit* TForm1::payKindField() const {
    return ui->Edit5;
}

QLineEdit* TForm1::priorityField() const {
    return ui->Edit6;
}

QLineEdit* TForm1::statusField() const {
    return ui->Edit7;
}

QCheckBox* TForm1::acceptedBox() const {
    return ui->CheckBox1;
}

QPlainTextEdit* TForm1::purposeBox() const {
    return ui->Memo1;
}

QWidget* TForm1::orderPage() const {
    return ui->TabSheet1;
}

QTabWidget* TForm1::pages() const {
    return ui->PageControl1;
}

QScrollArea* TForm1::previewArea() const {
    return ui->ScrollBox1;
}

QLabel* TForm1::previewWarning() const {
    return ui->Label1;
}

QToolButton* TForm1::listButton() const {
    return ui->SpeedButton1;
}

QToolButton* TForm1::firmsButton() const {
    return ui->SpeedButton2;
}

QToolButton* TForm1::closeButton() const {
    return ui->SpeedButton3;
}

QPushButton* TForm1::taxesButton() const {
    return ui->SpeedButton4;
}

QToolButton* TForm1::saveButton() const {
    return ui->SpeedButton5;
}

QToolButton* TForm1::printButton() const {
    return ui->SpeedButton6;
}

QToolButton* TForm1::settingsButton() const {
    return ui->SpeedButton7;
}

QToolButton* TForm1::helpButton() const {
    return ui->SpeedButton8;
}

QToolButton* TForm1::newButton() const {
    return ui->SpeedButton9;
}

} // namespace editor
