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

TForm1::TForm1(storage::Store& store, Windows& windows, QWidget* parent)
    : QMainWindow(parent), store_(store), windows_(windows), ui(std::make_unique<Ui::TForm1>()) {
    ui->setupUi(this);
    installAccessibility();
    windows_.form1 = this;
    windows_.sized[storage::TagForm1] = this;

    ui->SpeedButton6->setIcon(render::printIcon());
    ui->SpeedButton6->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ui->SpeedButton6->setAccessibleName(ui->SpeedButton6->toolTip());
    // The pickers are named by their labels, whatever organization they show.
    ui->ComboBox1->setAccessibleName(ui->GroupBox1->title());
    ui->ComboBox2->setAccessibleName(ui->GroupBox2->title());
    PaintBox1 = new PreviewBox;
    ui->ScrollBox1->setWidget(PaintBox1);
    ui->ScrollBox1->setBackgroundRole(QPalette::Base);
    QPalette white = ui->ScrollBox1->palette();
    white.setColor(QPalette::Base, Qt::white);
    ui->ScrollBox1->setPalette(white);

    // Each box takes at most what its field of the order record holds; the purpose counts
    // its line breaks as the record stores them.
    restrictChars(ui->Edit1, isDigit, capacityOf(&storage::TPlat::Number));
    restrictToCp1251(ui->Edit2, capacityOf(&storage::TPlat::Date));
    restrictChars(
        ui->Edit3, [](QChar c) { return isDigit(c) || c == u',' || c == u'-' || c == u'.'; },
        capacityOf(&storage::TPlat::Amount));
    restrictToCp1251(ui->Memo1, capacityOf(&storage::TPlat::Purpose),
                     [](const QString& text) { return purposeBytes(text).size(); });

    for (QGroupBox* g : {ui->GroupBox6, ui->GroupBox7, ui->GroupBox8, ui->GroupBox9})
        g->installEventFilter(this);
    // The field of each choice group takes the focus by Tab (not by a click, which belongs to
    // the group); Space or Enter there advances the choice as a click on the group does.
    for (QLineEdit* e : {ui->Edit4, ui->Edit5, ui->Edit6, ui->Edit7}) {
        e->setFocusPolicy(Qt::TabFocus);
        e->installEventFilter(this);
    }
    StatusMenu = new QMenu(QStringLiteral("Статус"), this);
    StatusMenu->setObjectName(QStringLiteral("StatusMenu"));
    StatusMenu->setAccessibleName(StatusMenu->title());
    for (const char* town :
         {"Екатеринбург", "Нижний Еагил", "Верхняя Пышма", "Первоуральск", "Серов"})
        StatusMenu->addAction(QString::fromUtf8(town));
    for (QWidget* w : std::initializer_list<QWidget*>{ui->GroupBox9, ui->Edit7}) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this, [this, w](const QPoint& pos) {
            GroupBox9ContextMenu(w->mapTo(ui->GroupBox9, pos));
        });
    }

    connect(ui->ComboBox1, &QComboBox::activated, this, &TForm1::ComboBox1Select);
    connect(ui->ComboBox2, &QComboBox::activated, this, &TForm1::ComboBox2Select);
    connect(ui->Edit2, &QLineEdit::textChanged, this, &TForm1::showChoices);
    connect(ui->CheckBox1, &QCheckBox::toggled, this, &TForm1::CheckBox1Click);
    connect(ui->PageControl1, &QTabWidget::currentChanged, this, &TForm1::PageControl1Change);
    connect(ui->SpeedButton1, &QToolButton::clicked, this, &TForm1::SpeedButton1Click);
    connect(ui->SpeedButton2, &QToolButton::clicked, this, &TForm1::SpeedButton2Click);
    connect(ui->SpeedButton3, &QToolButton::clicked, this, &QWidget::close);
    connect(ui->SpeedButton4, &QPushButton::clicked, this, &TForm1::SpeedButton4Click);
    connect(ui->SpeedButton5, &QToolButton::clicked, this, &TForm1::SpeedButton5Click);
    connect(ui->SpeedButton6, &QToolButton::clicked, this, &TForm1::SpeedButton6Click);
    connect(ui->SpeedButton7, &QToolButton::clicked, this, &TForm1::SpeedButton7Click);
    connect(ui->SpeedButton8, &QToolButton::clicked, this, &TForm1::SpeedButton8Click);
    connect(ui->SpeedButton9, &QToolButton::clicked, this, &TForm1::SpeedButton9Click);

    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::FormCreate() {
    applyFormSize(this, store_, storage::TagForm1);
    ui->Edit2->setText(todayText());
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
    f.payer = ui->ComboBox1->currentIndex();
    f.payee = ui->ComboBox2->currentIndex();
    f.number = ui->Edit1->text();
    f.date = ui->Edit2->text();
    f.amount = ui->Edit3->text();
    f.purpose = ui->Memo1->toPlainText();
    f.vat = VatRate;
    f.payKind = PayKindChoice;
    f.priority = PriorityChoice;
    f.status = StatusChoice;
    f.accepted = ui->CheckBox1->isChecked();
    if (windows_.formNalog) {
        const TFormNalog::Texts t = windows_.formNalog->texts();
        f.budget = {t.kbk, t.okato, t.basis, t.taxPeriod, t.taxType, t.docNumber, t.docDate};
    }
    return f;
}

void TForm1::showFields(const OrderFields& f) {
    showing_ = true;
    ui->ComboBox1->setCurrentIndex(f.payer);
    ui->ComboBox2->setCurrentIndex(f.payee);
    ui->Edit1->setText(f.number);
    ui->Edit2->setText(f.date);
    ui->Edit3->setText(f.amount);
    ui->Memo1->setPlainText(f.purpose);
    VatRate = f.vat;
    PayKindChoice = f.payKind;
    PriorityChoice = f.priority;
    StatusChoice = f.status;
    showChoices();
    ui->CheckBox1->setChecked(f.accepted);
    setLocked(f.accepted);
    showing_ = false;
}

void TForm1::showChoices() {
    // The rate and the priority follow the date typed, or today's while it is not a date.
    const storage::Day day = storage::RulesDay(ui->Edit2->text().toLatin1().toStdString());
    ui->Edit4->setText(storage::VatChoiceText(VatRate, day));
    ui->Edit5->setText(PayKindTexts()[PayKindChoice]);
    ui->Edit6->setText(storage::PriorityText(PriorityChoice, day));
    ui->Edit7->setText(StatusTexts()[StatusChoice]);
    ui->SpeedButton4->setEnabled(StatusChoice != 0);
}

// --- pickers ------------------------------------------------------------------------------

void TForm1::FillPickers() {
    for (QComboBox* c : {ui->ComboBox1, ui->ComboBox2}) {
        c->clear();
        for (int i = 0; i < store_.FirmCount; ++i)
            c->addItem(toUi(store_.Firms[std::size_t(i)].Name));
        c->setCurrentIndex(-1);
    }
}

int TForm1::payerPosition() const {
    return ui->ComboBox1->currentIndex();
}
int TForm1::payeePosition() const {
    return ui->ComboBox2->currentIndex();
}

void TForm1::setPickerPositions(int payer, int payee) {
    ui->ComboBox1->setCurrentIndex(payer < ui->ComboBox1->count() ? payer : -1);
    ui->ComboBox2->setCurrentIndex(payee < ui->ComboBox2->count() ? payee : -1);
}

void TForm1::showPickersForSaved() {
    ui->ComboBox1->clear();
    ui->ComboBox1->addItem(toUi(store_.Plat.PayerName));
    ui->ComboBox2->clear();
    ui->ComboBox2->addItem(toUi(store_.Plat.PayeeName));
}

void TForm1::ComboBox1Select(int index) {
    if (!store_.PlatSaved)
        ui->Edit1->setText(ProposeNumber(store_, index));
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
    ui->PageControl1->setCurrentIndex(0);
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
    if (group == ui->GroupBox6)
        VatRate = storage::NextVatChoice(VatRate, store_.UsnVatRates() == 1);
    else if (group == ui->GroupBox7)
        next(PayKindChoice, PayKindTexts());
    else if (group == ui->GroupBox8)
        PriorityChoice = std::uint8_t((PriorityChoice + 1) % storage::PriorityChoiceCount);
    else if (group == ui->GroupBox9)
        next(StatusChoice, StatusTexts());
    showChoices();
}

void TForm1::GroupBox9ContextMenu(const QPoint& pos) {
    QApplication::beep();
    StatusMenu->exec(ui->GroupBox9->mapToGlobal(pos));
}

void TForm1::setLocked(bool locked) {
    for (QWidget* w : std::initializer_list<QWidget*>{
             ui->GroupBox1, ui->GroupBox2, ui->GroupBox3, ui->GroupBox4, ui->GroupBox5,
             ui->GroupBox6, ui->GroupBox7, ui->GroupBox8, ui->GroupBox9, ui->GroupBox10})
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
    for (QWidget* w : std::initializer_list<QWidget*>{ui->ComboBox1, ui->ComboBox2, ui->Edit1,
                                                      ui->Edit2, ui->Edit3, ui->Edit4, ui->Edit5,
                                                      ui->Edit6, ui->Edit7, ui->Memo1})
        setTextColour(w, c);
    if (windows_.formNalog)
        windows_.formNalog->setSavedColour(saved);
    ui->Edit1->setReadOnly(saved);
    ui->Edit2->setReadOnly(saved);
}

// --- pages --------------------------------------------------------------------------------

void TForm1::PreparePreview() {
    const render::OrderInput order = OrderInputFor(store_, fields());
    PaintBox1->ShowOrder(order);
    const QStringList warnings = PartyWarnings(order);
    ui->Label1->setText(warnings.join(QStringLiteral("; ")));
    ui->Label1->setVisible(!warnings.isEmpty());
}

void TForm1::PageControl1Change(int index) {
    if (index == 0) {
        ui->SpeedButton5->setEnabled(false);
        ui->SpeedButton6->setEnabled(false);
        leaveFocus();
        return;
    }
    PreparePreview();
    OrderFields f = fields();
    const CheckResult r = CheckPlat(store_, f);
    if (ui->Edit2->text() != f.date)
        ui->Edit2->setText(f.date);
    if (r == CheckOk) {
        ui->SpeedButton5->setEnabled(true);
        ui->SpeedButton6->setEnabled(true);
        if (store_.PlatSaved) {
            FillPlat(store_, f);
            if (!CheckChange(store_))
                ui->SpeedButton5->setEnabled(false);
        }
    } else if (r == CheckBadDate) {
        QMessageBox::warning(this, windowTitle(), QStringLiteral("Неверный формат даты"));
    }
}

// --- toolbar ------------------------------------------------------------------------------

void TForm1::UpdateListButton() {
    ui->SpeedButton1->setEnabled(store_.PlatCount > 0);
}

void TForm1::DisableNew() {
    ui->SpeedButton9->setEnabled(false);
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
        ui->SpeedButton5->setEnabled(false);
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
    if (windows_.platGreed)
        windows_.platGreed();
    if (windows_.fillFilter)
        windows_.fillFilter();
    UpdateListButton();
    showPickersForSaved();
    showFields(r.shown);
    if (windows_.formNalog)
        windows_.formNalog->loadFromRecord(store_.Plat);
    setSavedLook(true);
    ui->SpeedButton9->setEnabled(true);
    ui->SpeedButton5->setEnabled(false);
    if (!r.io)
        showError(r.io.error);
}

void TForm1::SpeedButton6Click() {
    QPrinter printer(QPrinter::HighResolution);
    if (!askPrintTarget(printer, this))
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
    ui->SpeedButton5->setEnabled(false);
    ui->SpeedButton6->setEnabled(false);
    ui->SpeedButton9->setEnabled(false);
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
    ui->SpeedButton5->setEnabled(false);
    ui->SpeedButton6->setEnabled(false);
    ui->SpeedButton9->setEnabled(true);
}

void TForm1::ClearPlat() {
    const OrderFields f = ClearedFields(fields());
    // The pickers held only the deleted order's parties: they get all organizations back,
    // so that a position chosen there is again a position in the directory.
    if (store_.PlatSaved || ui->ComboBox1->count() != store_.FirmCount)
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
    // An order that could not be saved stays on screen, with the reason already shown.
    if (windows_.checkSave && !windows_.checkSave()) {
        event->ignore();
        return;
    }
    event->accept();
}

void TForm1::showError(const QString& text) {
    QMessageBox::critical(this, windowTitle(), text);
}

} // namespace editor
