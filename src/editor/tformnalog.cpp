#include "tformnalog.h"

#include "ui_tformnalog.h"

#include "storage/store.h"
#include "uiutil.h"

#include <QDate>
#include <QMenu>
#include <QMouseEvent>
#include <QShowEvent>

namespace editor {

namespace {

QString descriptionOf(NalogField field, int row) {
    const CodeTable table = NalogFields::table(field);
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

TFormNalog::TFormNalog(storage::Store& store, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TFormNalog>()),
      fields_(QDate::currentDate().year()) {
    ui->setupUi(this);

    // Each box takes at most what its field of the order record holds, and is wide enough
    // to show a whole code. The description list stores nothing and keeps its own limit.
    struct Box {
        QComboBox* combo;
        int maxLength;
        int shownLength;
    };
    using storage::TPlat;
    const Box boxes[] = {
        {ui->ComboBox1, capacityOf(&TPlat::Kbk), capacityOf(&TPlat::Kbk)},
        {ui->ComboBox2, capacityOf(&TPlat::Okato), capacityOf(&TPlat::Okato)},
        {ui->ComboBox3, capacityOf(&TPlat::Basis), 3},
        {ui->ComboBox4, capacityOf(&TPlat::TaxPeriod), capacityOf(&TPlat::TaxPeriod)},
        {ui->ComboBox7, capacityOf(&TPlat::TaxType), 3},
        {ui->ComboBox8, 128, 40},
    };
    for (const Box& b : boxes) {
        // What the user types stays as typed: no completion from the list.
        b.combo->setCompleter(nullptr);
        restrictToCp1251(b.combo, b.maxLength);
        b.combo->setMinimumContentsLength(b.shownLength);
    }
    for (auto [edit, capacity] : {std::pair{ui->Edit1, capacityOf(&TPlat::DocNumber)},
                                  std::pair{ui->Edit2, capacityOf(&TPlat::DocDate)}}) {
        restrictToCp1251(edit, capacity);
        edit->installEventFilter(this);
    }

    ui->ComboBox1->addItems(codesOf(KbkTable));
    ui->ComboBox2->addItems(codesOf(OkatoTable));
    ui->ComboBox3->addItems(codesOf(BasisTable));
    ui->ComboBox7->addItems(codesOf(TaxTypeTable));
    for (NalogField f : {NalogField::Kbk, NalogField::Okato, NalogField::Basis, NalogField::Period,
                         NalogField::Type}) {
        QComboBox* c = ownList(f);
        c->setCurrentIndex(-1);
        c->installEventFilter(this);
        connect(c->lineEdit(), &QLineEdit::textEdited, this, [this, f] { ComboChange(f); });
        if (f != NalogField::Period)
            connect(c, &QComboBox::activated, this, [this, f](int row) { ComboSelect(f, row); });
    }
    showDescriptions(fields_.listFor(NalogField::Kbk, -1));
    connect(ui->ComboBox8, &QComboBox::activated, this, &TFormNalog::ComboBox8Select);
    // A description longer than the box shows its beginning, not its end.
    connect(ui->ComboBox8, &QComboBox::currentIndexChanged, ui->ComboBox8->lineEdit(),
            [this] { ui->ComboBox8->lineEdit()->setCursorPosition(0); });

    for (QGroupBox* g : findChildren<QGroupBox*>())
        setCaptionColour(g);
    setSavedColour(false);

    auto makeMenu = [this](const char* name, std::span<const Shortcut> items, NalogField field) {
        auto* menu = new QMenu(this);
        menu->setObjectName(QLatin1String(name));
        for (const Shortcut& s : items)
            menu->addAction(QString::fromUtf16(s.caption), this,
                            [this, field, row = s.row] { PopupMenuClick(field, row); });
        return menu;
    };
    PopupMenu1 = makeMenu("PopupMenu1", OkatoShortcuts, NalogField::Okato);
    PopupMenu2 = makeMenu("PopupMenu2", KbkShortcuts, NalogField::Kbk);
    using GroupMenu = std::pair<QGroupBox*, QMenu*>;
    for (auto [group, menu] :
         {GroupMenu{ui->GroupBox2, PopupMenu1}, GroupMenu{ui->GroupBox1, PopupMenu2}}) {
        group->setToolTip(QStringLiteral("Щелкни правой кнопкой"));
        group->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(group, &QWidget::customContextMenuRequested, menu,
                [group, menu](const QPoint& pos) { menu->popup(group->mapToGlobal(pos)); });
    }

    ui->SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_FileDialogInfoView));
    ui->BitBtn1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &TFormNalog::fillSingleTaxPayment);

    applyFormSize(this, store, storage::TagFormNalog);
}

TFormNalog::~TFormNalog() = default;

TFormNalog::Texts TFormNalog::texts() const {
    return {ui->ComboBox1->currentText(),
            ui->ComboBox2->currentText(),
            ui->ComboBox3->currentText(),
            ui->ComboBox4->currentText(),
            ui->ComboBox7->currentText(),
            ui->Edit1->text(),
            ui->Edit2->text()};
}

void TFormNalog::loadFromRecord(const storage::TPlat& p) {
    showTexts({toUi(p.Kbk), toUi(p.Okato), toUi(p.Basis), toUi(p.TaxPeriod), toUi(p.TaxType),
               toUi(p.DocNumber), toUi(p.DocDate)});
}

void TFormNalog::showTexts(const Texts& t) {
    loadCode(NalogField::Kbk, t.kbk);
    loadCode(NalogField::Okato, t.okato);
    loadCode(NalogField::Basis, t.basis);
    ui->ComboBox4->setCurrentIndex(-1);
    ui->ComboBox4->setEditText(t.taxPeriod);
    loadCode(NalogField::Type, t.taxType);
    ui->Edit1->setText(t.docNumber);
    ui->Edit2->setText(t.docDate);
    // The description list follows the loaded code of the field it describes, so that it never
    // shows the description of the previous order's code.
    const NalogField a = fields_.active();
    if (!NalogFields::table(a).empty())
        ui->ComboBox8->setCurrentIndex(selectedRow(a));
}

void TFormNalog::fillSingleTaxPayment() {
    const QString zero = QStringLiteral("0");
    showTexts({QStringLiteral("18201061201010000510"), zero, zero, zero, zero, zero, zero});
    singleTaxChosen_ = true;
}

void TFormNalog::setSavedColour(bool saved) {
    const QColor c = saved ? savedOrderColour() : newOrderColour();
    for (QWidget* w :
         std::initializer_list<QWidget*>{ui->ComboBox1, ui->ComboBox2, ui->ComboBox3, ui->ComboBox4,
                                         ui->ComboBox7, ui->Edit1, ui->Edit2, ui->ComboBox8})
        setTextColour(w, c);
}

void TFormNalog::setLocked(bool locked) {
    for (QGroupBox* g : findChildren<QGroupBox*>())
        g->setEnabled(!locked);
    // "ЕНП" would rewrite every field (and the editor's status): it is locked with them.
    for (QWidget* w : std::initializer_list<QWidget*>{ui->ComboBox1, ui->ComboBox2, ui->ComboBox3,
                                                      ui->ComboBox4, ui->ComboBox7, ui->ComboBox8,
                                                      ui->Edit1, ui->Edit2, ui->BitBtn2})
        w->setEnabled(!locked);
}

bool TFormNalog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        for (NalogField f : {NalogField::Kbk, NalogField::Okato, NalogField::Basis,
                             NalogField::Period, NalogField::Type})
            if (watched == ownList(f))
                FieldEnter(f);
    } else if (event->type() == QEvent::MouseButtonPress &&
               (watched == ui->Edit1 || watched == ui->Edit2) &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        EditClick();
    }
    return QDialog::eventFilter(watched, event);
}

void TFormNalog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        singleTaxChosen_ = false;
    // The dialog itself takes the focus, so that no field is entered by showing it and the
    // first field the user goes to runs its entry step.
    setFocus(Qt::OtherFocusReason);
}

QComboBox* TFormNalog::ownList(NalogField field) const {
    switch (field) {
    case NalogField::Kbk:
        return ui->ComboBox1;
    case NalogField::Okato:
        return ui->ComboBox2;
    case NalogField::Basis:
        return ui->ComboBox3;
    case NalogField::Period:
        return ui->ComboBox4;
    case NalogField::Type:
        return ui->ComboBox7;
    case NalogField::Document:
        break;
    }
    return nullptr;
}

// A row counts as selected only while the box shows its code: a text typed over a chosen code
// leaves no row selected.
int TFormNalog::selectedRow(NalogField field) const {
    const QComboBox* c = ownList(field);
    if (!c)
        return -1;
    const int i = c->currentIndex();
    return i >= 0 && c->itemText(i) == c->currentText() ? i : -1;
}

void TFormNalog::showDescriptions(const DescriptionList& list) {
    ui->ComboBox8->clear();
    ui->ComboBox8->addItems(list.items);
    ui->ComboBox8->setCurrentIndex(list.selected);
    ui->GroupBox8->setTitle(list.caption);
}

void TFormNalog::selectRow(NalogField field, int row) {
    ownList(field)->setCurrentIndex(row);
    ownList(field)->setToolTip(descriptionOf(field, row));
}

void TFormNalog::loadCode(NalogField field, const QString& text) {
    const int row = findCode(NalogFields::table(field), text);
    if (row >= 0) {
        selectRow(field, row);
    } else {
        ownList(field)->setCurrentIndex(-1);
        ownList(field)->setEditText(text);
    }
}

void TFormNalog::FieldEnter(NalogField field) {
    if (auto list = fields_.enter(field, selectedRow(field)))
        showDescriptions(*list);
}

void TFormNalog::EditClick() {
    showDescriptions(fields_.clickDocument());
}

void TFormNalog::ComboSelect(NalogField field, int row) {
    ownList(field)->setToolTip(descriptionOf(field, row));
    if (field != fields_.active())
        return;
    ui->ComboBox8->setCurrentIndex(row);
    if (field == NalogField::Okato)
        ui->GroupBox8->setTitle(fields_.listFor(NalogField::Okato, row).caption);
}

void TFormNalog::ComboChange(NalogField field) {
    if (field == fields_.active() && selectedRow(field) < 0)
        ui->ComboBox8->setCurrentIndex(-1);
}

void TFormNalog::ComboBox8Select(int row) {
    const NalogField a = fields_.active();
    if (a == NalogField::Period) {
        ui->ComboBox4->clear();
        ui->ComboBox4->addItems(fields_.buildPeriods(row));
        ui->ComboBox4->setCurrentIndex(0);
    } else if (a != NalogField::Document) {
        selectRow(a, row);
    }
}

void TFormNalog::PopupMenuClick(NalogField field, int row) {
    selectRow(field, row);
    if (field == fields_.active())
        ui->ComboBox8->setCurrentIndex(row);
}

} // namespace editor
