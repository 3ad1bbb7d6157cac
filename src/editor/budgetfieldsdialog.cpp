#include "budgetfieldsdialog.h"

#include "ui_budgetfieldsdialog.h"

#include "core/settings.h"
#include "uiutil.h"

#include <QDate>
#include <QMenu>
#include <QMouseEvent>
#include <QShowEvent>

namespace editor {

namespace {

QString descriptionOf(BudgetField field, int row) {
    const CodeTable table = BudgetFieldsState::table(field);
    if (row < 0 || std::size_t(row) >= table.size())
        return {};
    return QString::fromUtf16(table[std::size_t(row)].text);
}

// Group captions are drawn in blue while the group is enabled; a locked group shows them grey.
void setCaptionColour(QWidget* group) {
    QPalette p = group->palette();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(g, QPalette::WindowText, Qt::blue);
        p.setColor(g, QPalette::Text, Qt::blue);
    }
    group->setPalette(p);
}

} // namespace

BudgetFieldsDialog::BudgetFieldsDialog(core::Settings& settings, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::BudgetFieldsDialog>()),
      fields_(QDate::currentDate().year()) {
    ui->setupUi(this);

    // Each box takes at most what its field of the order record holds, and is wide enough
    // to show a whole code. The description list stores nothing and keeps its own limit.
    struct Box {
        QComboBox* combo;
        int maxLength;
        int shownLength;
    };
    using storage::OrderRecord;
    const Box boxes[] = {
        {ui->kbkCombo, capacityOf(&OrderRecord::kbk), capacityOf(&OrderRecord::kbk)},
        {ui->okatoCombo, capacityOf(&OrderRecord::okato), capacityOf(&OrderRecord::okato)},
        {ui->basisCombo, capacityOf(&OrderRecord::basis), 3},
        {ui->periodCombo, capacityOf(&OrderRecord::taxPeriod), capacityOf(&OrderRecord::taxPeriod)},
        {ui->typeCombo, capacityOf(&OrderRecord::taxType), 3},
        {ui->descriptionCombo, 128, 40},
    };
    for (const Box& b : boxes) {
        // What the user types stays as typed: no completion from the list.
        b.combo->setCompleter(nullptr);
        restrictToCp1251(b.combo, b.maxLength);
        b.combo->setMinimumContentsLength(b.shownLength);
    }
    for (auto [edit, capacity] : {std::pair{ui->docNumberEdit, capacityOf(&OrderRecord::docNumber)},
                                  std::pair{ui->docDateEdit, capacityOf(&OrderRecord::docDate)}}) {
        restrictToCp1251(edit, capacity);
        edit->installEventFilter(this);
    }

    ui->kbkCombo->addItems(codesOf(KbkTable));
    ui->okatoCombo->addItems(codesOf(OkatoTable));
    ui->basisCombo->addItems(codesOf(BasisTable));
    ui->typeCombo->addItems(codesOf(TaxTypeTable));
    for (BudgetField f : {BudgetField::Kbk, BudgetField::Okato, BudgetField::Basis,
                          BudgetField::Period, BudgetField::Type}) {
        QComboBox* c = ownList(f);
        c->setCurrentIndex(-1);
        c->installEventFilter(this);
        connect(c->lineEdit(), &QLineEdit::textEdited, this, [this, f] { typeCode(f); });
        if (f != BudgetField::Period)
            connect(c, &QComboBox::activated, this, [this, f](int row) { chooseCode(f, row); });
    }
    showDescriptions(fields_.listFor(BudgetField::Kbk, -1));
    connect(ui->descriptionCombo, &QComboBox::activated, this,
            &BudgetFieldsDialog::chooseDescription);
    // A description longer than the box shows its beginning, not its end.
    connect(ui->descriptionCombo, &QComboBox::currentIndexChanged, ui->descriptionCombo->lineEdit(),
            [this] { ui->descriptionCombo->lineEdit()->setCursorPosition(0); });

    for (QGroupBox* g : findChildren<QGroupBox*>())
        setCaptionColour(g);
    setSavedColour(false);

    auto makeMenu = [this](const char* name, std::span<const Shortcut> items, BudgetField field) {
        auto* menu = new QMenu(this);
        menu->setObjectName(QLatin1String(name));
        for (const Shortcut& s : items)
            menu->addAction(QString::fromUtf16(s.caption), this,
                            [this, field, row = s.row] { chooseShortcut(field, row); });
        return menu;
    };
    okatoMenu_ = makeMenu("okatoMenu", OkatoShortcuts, BudgetField::Okato);
    kbkMenu_ = makeMenu("kbkMenu", KbkShortcuts, BudgetField::Kbk);
    using GroupMenu = std::pair<QGroupBox*, QMenu*>;
    for (auto [group, menu] :
         {GroupMenu{ui->okatoGroup, okatoMenu_}, GroupMenu{ui->kbkGroup, kbkMenu_}}) {
        group->setToolTip(QStringLiteral("Щелкни правой кнопкой"));
        group->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(group, &QWidget::customContextMenuRequested, menu,
                [group, menu](const QPoint& pos) { menu->popup(group->mapToGlobal(pos)); });
    }

    ui->infoButton->setIcon(style()->standardIcon(QStyle::SP_FileDialogInfoView));
    ui->okButton->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(ui->okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->singleTaxButton, &QPushButton::clicked, this,
            &BudgetFieldsDialog::fillSingleTaxPayment);

    applyFormSize(this, settings, core::WindowTag::BudgetFields);
}

BudgetFieldsDialog::~BudgetFieldsDialog() = default;

core::BudgetFields BudgetFieldsDialog::fields() const {
    return {ui->kbkCombo->currentText(),   ui->okatoCombo->currentText(),
            ui->basisCombo->currentText(), ui->periodCombo->currentText(),
            ui->typeCombo->currentText(),  ui->docNumberEdit->text(),
            ui->docDateEdit->text()};
}

void BudgetFieldsDialog::load(const BudgetRequest& request) {
    showTexts(request.fields);
    setSavedColour(request.saved);
    setLocked(request.locked);
}

BudgetAnswer BudgetFieldsDialog::edit(const BudgetRequest& request) {
    load(request);
    showModal(this);
    return {fields(), singleTaxChosen_};
}

void BudgetFieldsDialog::showTexts(const core::BudgetFields& t) {
    loadCode(BudgetField::Kbk, t.kbk);
    loadCode(BudgetField::Okato, t.okato);
    loadCode(BudgetField::Basis, t.basis);
    ui->periodCombo->setCurrentIndex(-1);
    ui->periodCombo->setEditText(t.taxPeriod);
    loadCode(BudgetField::Type, t.taxType);
    ui->docNumberEdit->setText(t.docNumber);
    ui->docDateEdit->setText(t.docDate);
    // The description list follows the loaded code of the field it describes, so that it never
    // shows the description of the previous order's code.
    const BudgetField a = fields_.active();
    if (!BudgetFieldsState::table(a).empty())
        ui->descriptionCombo->setCurrentIndex(selectedRow(a));
}

void BudgetFieldsDialog::fillSingleTaxPayment() {
    const QString zero = QStringLiteral("0");
    showTexts({QStringLiteral("18201061201010000510"), zero, zero, zero, zero, zero, zero});
    singleTaxChosen_ = true;
}

void BudgetFieldsDialog::setSavedColour(bool saved) {
    const QColor c = saved ? savedOrderColour() : newOrderColour();
    for (QWidget* w : std::initializer_list<QWidget*>{
             ui->kbkCombo, ui->okatoCombo, ui->basisCombo, ui->periodCombo, ui->typeCombo,
             ui->docNumberEdit, ui->docDateEdit, ui->descriptionCombo})
        setTextColour(w, c);
}

void BudgetFieldsDialog::setLocked(bool locked) {
    for (QGroupBox* g : findChildren<QGroupBox*>())
        g->setEnabled(!locked);
    // "ЕНП" would rewrite every field (and the editor's status): it is locked with them.
    for (QWidget* w : std::initializer_list<QWidget*>{
             ui->kbkCombo, ui->okatoCombo, ui->basisCombo, ui->periodCombo, ui->typeCombo,
             ui->descriptionCombo, ui->docNumberEdit, ui->docDateEdit, ui->singleTaxButton})
        w->setEnabled(!locked);
}

bool BudgetFieldsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        for (BudgetField f : {BudgetField::Kbk, BudgetField::Okato, BudgetField::Basis,
                              BudgetField::Period, BudgetField::Type})
            if (watched == ownList(f))
                enterField(f);
    } else if (event->type() == QEvent::MouseButtonPress &&
               (watched == ui->docNumberEdit || watched == ui->docDateEdit) &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        clickDocument();
    }
    return QDialog::eventFilter(watched, event);
}

void BudgetFieldsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        singleTaxChosen_ = false;
    // The dialog itself takes the focus, so that no field is entered by showing it and the
    // first field the user goes to runs its entry step.
    setFocus(Qt::OtherFocusReason);
}

QComboBox* BudgetFieldsDialog::ownList(BudgetField field) const {
    switch (field) {
    case BudgetField::Kbk:
        return ui->kbkCombo;
    case BudgetField::Okato:
        return ui->okatoCombo;
    case BudgetField::Basis:
        return ui->basisCombo;
    case BudgetField::Period:
        return ui->periodCombo;
    case BudgetField::Type:
        return ui->typeCombo;
    case BudgetField::Document:
        break;
    }
    return nullptr;
}

// A row counts as selected only while the box shows its code: a text typed over a chosen code
// leaves no row selected.
int BudgetFieldsDialog::selectedRow(BudgetField field) const {
    const QComboBox* c = ownList(field);
    if (!c)
        return -1;
    const int i = c->currentIndex();
    return i >= 0 && c->itemText(i) == c->currentText() ? i : -1;
}

void BudgetFieldsDialog::showDescriptions(const DescriptionList& list) {
    ui->descriptionCombo->clear();
    ui->descriptionCombo->addItems(list.items);
    ui->descriptionCombo->setCurrentIndex(list.selected);
    ui->descriptionGroup->setTitle(list.caption);
}

void BudgetFieldsDialog::selectRow(BudgetField field, int row) {
    ownList(field)->setCurrentIndex(row);
    ownList(field)->setToolTip(descriptionOf(field, row));
}

void BudgetFieldsDialog::loadCode(BudgetField field, const QString& text) {
    const int row = findCode(BudgetFieldsState::table(field), text);
    if (row >= 0) {
        selectRow(field, row);
    } else {
        ownList(field)->setCurrentIndex(-1);
        ownList(field)->setEditText(text);
    }
}

void BudgetFieldsDialog::enterField(BudgetField field) {
    if (auto list = fields_.enter(field, selectedRow(field)))
        showDescriptions(*list);
}

void BudgetFieldsDialog::clickDocument() {
    showDescriptions(fields_.clickDocument());
}

void BudgetFieldsDialog::chooseCode(BudgetField field, int row) {
    ownList(field)->setToolTip(descriptionOf(field, row));
    if (field != fields_.active())
        return;
    ui->descriptionCombo->setCurrentIndex(row);
    if (field == BudgetField::Okato)
        ui->descriptionGroup->setTitle(fields_.listFor(BudgetField::Okato, row).caption);
}

void BudgetFieldsDialog::typeCode(BudgetField field) {
    if (field == fields_.active() && selectedRow(field) < 0)
        ui->descriptionCombo->setCurrentIndex(-1);
}

void BudgetFieldsDialog::chooseDescription(int row) {
    const BudgetField a = fields_.active();
    if (a == BudgetField::Period) {
        ui->periodCombo->clear();
        ui->periodCombo->addItems(fields_.buildPeriods(row));
        ui->periodCombo->setCurrentIndex(0);
    } else if (a != BudgetField::Document) {
        selectRow(a, row);
    }
}

void BudgetFieldsDialog::chooseShortcut(BudgetField field, int row) {
    selectRow(field, row);
    if (field == fields_.active())
        ui->descriptionCombo->setCurrentIndex(row);
}

} // namespace editor
