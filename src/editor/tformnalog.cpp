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
        {kbkBox(), capacityOf(&TPlat::Kbk), capacityOf(&TPlat::Kbk)},
        {okatoBox(), capacityOf(&TPlat::Okato), capacityOf(&TPlat::Okato)},
        {basisBox(), capacityOf(&TPlat::Basis), 3},
        {periodBox(), capacityOf(&TPlat::TaxPeriod), capacityOf(&TPlat::TaxPeriod)},
        {typeBox(), capacityOf(&TPlat::TaxType), 3},
        {descriptionList(), 128, 40},
    };
    for (const Box& b : boxes) {
        // What the user types stays as typed: no completion from the list.
        b.combo->setCompleter(nullptr);
        restrictToCp1251(b.combo, b.maxLength);
        b.combo->setMinimumContentsLength(b.shownLength);
    }
    for (auto [edit, capacity] : {std::pair{docNumberBox(), capacityOf(&TPlat::DocNumber)},
                                  std::pair{docDateBox(), capacityOf(&TPlat::DocDate)}}) {
        restrictToCp1251(edit, capacity);
        edit->installEventFilter(this);
    }

    kbkBox()->addItems(codesOf(KbkTable));
    okatoBox()->addItems(codesOf(OkatoTable));
    basisBox()->addItems(codesOf(BasisTable));
    typeBox()->addItems(codesOf(TaxTypeTable));
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
    connect(descriptionList(), &QComboBox::activated, this, &TFormNalog::ComboBox8Select);
    // A description longer than the box shows its beginning, not its end.
    connect(descriptionList(), &QComboBox::currentIndexChanged, descriptionList()->lineEdit(),
            [this] { descriptionList()->lineEdit()->setCursorPosition(0); });

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
         {GroupMenu{okatoGroup(), PopupMenu1}, GroupMenu{kbkGroup(), PopupMenu2}}) {
        group->setToolTip(QStringLiteral("Щелкни правой кнопкой"));
        group->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(group, &QWidget::customContextMenuRequested, menu,
                [group, menu](const QPoint& pos) { menu->popup(group->mapToGlobal(pos)); });
    }

    infoButton()->setIcon(style()->standardIcon(QStyle::SP_FileDialogInfoView));
    okButton()->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(okButton(), &QPushButton::clicked, this, &QDialog::accept);
    connect(singleTaxButton(), &QPushButton::clicked, this, &TFormNalog::fillSingleTaxPayment);

    applyFormSize(this, store, storage::TagFormNalog);
}

TFormNalog::~TFormNalog() = default;

TFormNalog::Texts TFormNalog::texts() const {
    return {kbkBox()->currentText(),    okatoBox()->currentText(), basisBox()->currentText(),
            periodBox()->currentText(), typeBox()->currentText(),  docNumberBox()->text(),
            docDateBox()->text()};
}

void TFormNalog::loadFromRecord(const storage::TPlat& p) {
    showTexts({toUi(p.Kbk), toUi(p.Okato), toUi(p.Basis), toUi(p.TaxPeriod), toUi(p.TaxType),
               toUi(p.DocNumber), toUi(p.DocDate)});
}

void TFormNalog::showTexts(const Texts& t) {
    loadCode(NalogField::Kbk, t.kbk);
    loadCode(NalogField::Okato, t.okato);
    loadCode(NalogField::Basis, t.basis);
    periodBox()->setCurrentIndex(-1);
    periodBox()->setEditText(t.taxPeriod);
    loadCode(NalogField::Type, t.taxType);
    docNumberBox()->setText(t.docNumber);
    docDateBox()->setText(t.docDate);
    // The description list follows the loaded code of the field it describes, so that it never
    // shows the description of the previous order's code.
    const NalogField a = fields_.active();
    if (!NalogFields::table(a).empty())
        descriptionList()->setCurrentIndex(selectedRow(a));
}

void TFormNalog::fillSingleTaxPayment() {
    const QString zero = QStringLiteral("0");
    showTexts({QStringLiteral("18201061201010000510"), zero, zero, zero, zero, zero, zero});
    singleTaxChosen_ = true;
}

void TFormNalog::setSavedColour(bool saved) {
    const QColor c = saved ? savedOrderColour() : newOrderColour();
    for (QWidget* w :
         std::initializer_list<QWidget*>{kbkBox(), okatoBox(), basisBox(), periodBox(), typeBox(),
                                         docNumberBox(), docDateBox(), descriptionList()})
        setTextColour(w, c);
}

void TFormNalog::setLocked(bool locked) {
    for (QGroupBox* g : findChildren<QGroupBox*>())
        g->setEnabled(!locked);
    // "ЕНП" would rewrite every field (and the editor's status): it is locked with them.
    for (QWidget* w : std::initializer_list<QWidget*>{kbkBox(), okatoBox(), basisBox(), periodBox(),
                                                      typeBox(), descriptionList(), docNumberBox(),
                                                      docDateBox(), singleTaxButton()})
        w->setEnabled(!locked);
}

bool TFormNalog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        for (NalogField f : {NalogField::Kbk, NalogField::Okato, NalogField::Basis,
                             NalogField::Period, NalogField::Type})
            if (watched == ownList(f))
                FieldEnter(f);
    } else if (event->type() == QEvent::MouseButtonPress &&
               (watched == docNumberBox() || watched == docDateBox()) &&
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
        return kbkBox();
    case NalogField::Okato:
        return okatoBox();
    case NalogField::Basis:
        return basisBox();
    case NalogField::Period:
        return periodBox();
    case NalogField::Type:
        return typeBox();
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
    descriptionList()->clear();
    descriptionList()->addItems(list.items);
    descriptionList()->setCurrentIndex(list.selected);
    descriptionGroup()->setTitle(list.caption);
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
    descriptionList()->setCurrentIndex(row);
    if (field == NalogField::Okato)
        descriptionGroup()->setTitle(fields_.listFor(NalogField::Okato, row).caption);
}

void TFormNalog::ComboChange(NalogField field) {
    if (field == fields_.active() && selectedRow(field) < 0)
        descriptionList()->setCurrentIndex(-1);
}

void TFormNalog::ComboBox8Select(int row) {
    const NalogField a = fields_.active();
    if (a == NalogField::Period) {
        periodBox()->clear();
        periodBox()->addItems(fields_.buildPeriods(row));
        periodBox()->setCurrentIndex(0);
    } else if (a != NalogField::Document) {
        selectRow(a, row);
    }
}

void TFormNalog::PopupMenuClick(NalogField field, int row) {
    selectRow(field, row);
    if (field == fields_.active())
        descriptionList()->setCurrentIndex(row);
}

// --- controls ---------------------------------------------------------------------------

QComboBox* TFormNalog::kbkBox() const {
    return ui->ComboBox1;
}

QComboBox* TFormNalog::okatoBox() const {
    return ui->ComboBox2;
}

QComboBox* TFormNalog::basisBox() const {
    return ui->ComboBox3;
}

QComboBox* TFormNalog::periodBox() const {
    return ui->ComboBox4;
}

QComboBox* TFormNalog::typeBox() const {
    return ui->ComboBox7;
}

QComboBox* TFormNalog::descriptionList() const {
    return ui->ComboBox8;
}

QGroupBox* TFormNalog::kbkGroup() const {
    return ui->GroupBox1;
}

QGroupBox* TFormNalog::okatoGroup() const {
    return ui->GroupBox2;
}

QGroupBox* TFormNalog::descriptionGroup() const {
    return ui->GroupBox8;
}

QLineEdit* TFormNalog::docNumberBox() const {
    return ui->Edit1;
}

QLineEdit* TFormNalog::docDateBox() const {
    return ui->Edit2;
}

QToolButton* TFormNalog::infoButton() const {
    return ui->SpeedButton1;
}

QPushButton* TFormNalog::okButton() const {
    return ui->BitBtn1;
}

QPushButton* TFormNalog::singleTaxButton() const {
    return ui->BitBtn2;
}

} // namespace editor
