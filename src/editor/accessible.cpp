#include "accessible.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QTimer>
#include <QToolButton>

namespace editor {

namespace {

// The list of a picker shows the chosen entry as its selected item even while it is closed,
// so that a screen reader finds the choice among the entries.
void selectChosenEntry(QComboBox* combo) {
    QAbstractItemView* view = combo->view();
    if (!view || !view->selectionModel() || view->isVisible())
        return;
    const QModelIndex chosen =
        combo->model()->index(combo->currentIndex(), combo->modelColumn(), combo->rootModelIndex());
    if (chosen.isValid())
        view->selectionModel()->setCurrentIndex(chosen, QItemSelectionModel::ClearAndSelect);
    else
        view->selectionModel()->clearSelection();
}

// A drop-down list as Qt's own interface describes it (its list as the first child, its text
// box as the second when it has one; the actions that open and close the list; the shown
// entry as its value and as its text), but named by its label: on Linux Qt names a drop-down
// list by the entry it shows, so that a screen reader would hear an organization where it
// should hear "Кто платит". Closing the list through the interface chooses the entry selected
// in it, as Enter does in the open list.
class PickerAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit PickerAccessible(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {
        QObject::connect(combo, &QComboBox::currentIndexChanged, combo,
                         [combo] { selectChosenEntry(combo); });
        selectChosenEntry(combo);
    }

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    int childCount() const override { return combo()->isEditable() ? 2 : 1; }

    QAccessibleInterface* child(int index) const override {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(combo()->view());
        if (index == 1 && combo()->isEditable())
            return QAccessible::queryAccessibleInterface(combo()->lineEdit());
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child)
            return -1;
        if (child->object() == combo()->view())
            return 0;
        if (combo()->isEditable() && child->object() == combo()->lineEdit())
            return 1;
        return -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override {
        if (combo()->isEditable() &&
            combo()->lineEdit()->rect().contains(combo()->lineEdit()->mapFromGlobal(QPoint(x, y))))
            return child(1);
        return nullptr;
    }

    // The accessible name, else the buddy label or the group's title.
    QString label() const { return QAccessibleWidget::text(QAccessible::Name); }

    QString text(QAccessible::Text t) const override {
        switch (t) {
        case QAccessible::Name:
            // A picker with no label at all is named by what it shows.
            return label().isEmpty() ? shown() : label();
        case QAccessible::Value:
            return shown();
        case QAccessible::Accelerator:
            return QKeySequence(Qt::Key_Down).toString(QKeySequence::NativeText);
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        const bool open = combo()->view() && combo()->view()->isVisible();
        s.expanded = open;
        s.collapsed = !open;
        if (combo()->isEditable())
            s.editable = true;
        return s;
    }

    QStringList actionNames() const override {
        return QAccessibleWidget::actionNames() << showMenuAction() << pressAction();
    }

    QString localizedActionDescription(const QString& action) const override {
        if (action == showMenuAction() || action == pressAction())
            return QComboBox::tr("Open the combo box selection popup");
        return QAccessibleWidget::localizedActionDescription(action);
    }

    void doAction(const QString& action) override {
        if (action != showMenuAction() && action != pressAction()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        if (!combo()->isEnabled())
            return;
        QAbstractItemView* view = combo()->view();
        if (!view->isVisible()) {
            combo()->showPopup();
            return;
        }
        const QModelIndexList selected = view->selectionModel()->selectedIndexes();
        if (selected.isEmpty()) {
            combo()->hidePopup();
            return;
        }
        // The open list chooses its current entry on Enter, with everything a click does
        // (the list closes, the choice is announced as activated).
        view->setCurrentIndex(selected.first());
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(view, &enter);
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    // The text is the shown entry, read only.
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override { return shown().mid(start, end - start); }
    int characterCount() const override { return int(shown().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }

private:
    QComboBox* combo() const { return static_cast<QComboBox*>(widget()); }
    QString shown() const {
        return combo()->isEditable() ? combo()->lineEdit()->text() : combo()->currentText();
    }
};

// A check box or a tool button as Qt's own interface of a button describes it (name, role,
// states, actions), with one difference: its actions do what a click does, after the caller
// got its answer. Qt toggles a check box through the interface without the click (so what a
// window does on a click would not happen), and clicks a tool button while the caller waits,
// so that a button that opens a modal window would hold the screen reader until the window
// closes.
class ButtonAccessible : public QAccessibleWidget {
public:
    explicit ButtonAccessible(QAbstractButton* button) : QAccessibleWidget(button) {}

    QAccessible::Role role() const override {
        return button()->isCheckable() ? QAccessible::CheckBox : QAccessible::PushButton;
    }

    QString text(QAccessible::Text t) const override {
        QString s;
        if (t == QAccessible::Name) {
            // The accessible name, else the caption, else the hint of a button that has
            // only a picture.
            s = button()->accessibleName();
            if (s.isEmpty())
                s = QString(button()->text()).remove(QLatin1Char('&'));
            if (s.isEmpty())
                s = button()->toolTip();
        } else if (t == QAccessible::Accelerator) {
            s = button()->shortcut().toString(QKeySequence::NativeText);
        }
        return s.isEmpty() ? QAccessibleWidget::text(t) : s;
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (button()->isCheckable()) {
            s.checkable = true;
            const auto* box = qobject_cast<const QCheckBox*>(button());
            if (box && box->checkState() == Qt::PartiallyChecked)
                s.checkStateMixed = true;
            else
                s.checked = button()->isChecked();
        }
        s.pressed = button()->isDown();
        if (const auto* tool = qobject_cast<const QToolButton*>(button());
            tool && tool->autoRaise())
            s.hotTracked = true;
        return s;
    }

    QStringList actionNames() const override {
        QStringList names;
        if (button()->isEnabled()) {
            if (button()->isCheckable())
                names << toggleAction();
            names << pressAction();
        }
        return names << QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action != pressAction() && action != toggleAction()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        if (button()->isEnabled())
            QMetaObject::invokeMethod(button(), &QAbstractButton::click, Qt::QueuedConnection);
    }

    QStringList keyBindingsForAction(const QString& action) const override {
        if (action == pressAction() && !button()->shortcut().isEmpty())
            return {button()->shortcut().toString(QKeySequence::NativeText)};
        return {};
    }

private:
    QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget()); }
};

// A hint window (a label shown as a tooltip): a screen reader reads it as a tooltip when it
// appears.
class HintAccessible : public QAccessibleWidget {
public:
    explicit HintAccessible(QLabel* label) : QAccessibleWidget(label, QAccessible::ToolTip) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<QLabel*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        return s;
    }
};

void nameTextBox(QComboBox* combo) {
    QLineEdit* box = combo->lineEdit();
    if (!box || !box->accessibleName().isEmpty())
        return;
    if (auto* picker =
            dynamic_cast<PickerAccessible*>(QAccessible::queryAccessibleInterface(combo)))
        box->setAccessibleName(picker->label());
}

QAccessibleInterface* factory(const QString& className, QObject* object) {
    // The text box of a picker one types into takes the focus for the picker, so it gets the
    // picker's label as its name; later, since the box may be asked for while the window is
    // still being built, before the label has its text.
    if (className == QLatin1String("QLineEdit"))
        if (auto* combo = qobject_cast<QComboBox*>(static_cast<QWidget*>(object)->parentWidget()))
            QTimer::singleShot(0, combo, [combo] { nameTextBox(combo); });
    if (className == QLatin1String("QLabel"))
        if (auto* label = static_cast<QLabel*>(object); label->windowType() == Qt::ToolTip)
            return new HintAccessible(label);
    if (className == QLatin1String("QComboBox"))
        if (auto* combo = qobject_cast<QComboBox*>(object))
            return new PickerAccessible(combo);
    if (className == QLatin1String("QCheckBox"))
        if (auto* box = qobject_cast<QCheckBox*>(object))
            return new ButtonAccessible(box);
    // Tool buttons with a menu keep Qt's own interface, which opens the menu.
    if (className == QLatin1String("QToolButton"))
        if (auto* tool = qobject_cast<QToolButton*>(object); tool && !tool->menu())
            return new ButtonAccessible(tool);
    return nullptr;
}

} // namespace

void installAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    (void)installed;
}

} // namespace editor
