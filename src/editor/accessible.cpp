#include "accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>

namespace editor {

namespace {

// A drop-down list named by its label: the name stays the label, the value is what it shows.
class PickerAccessible : public QAccessibleWidget {
public:
    explicit PickerAccessible(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        const auto* combo = static_cast<const QComboBox*>(widget());
        switch (t) {
        case QAccessible::Name:
            return combo->accessibleName();
        case QAccessible::Value:
            return combo->currentText();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QStringList actionNames() const override {
        return QAccessibleWidget::actionNames() << showMenuAction();
    }

    void doAction(const QString& action) override {
        if (action == showMenuAction())
            static_cast<QComboBox*>(widget())->showPopup();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (className == QLatin1String("QComboBox"))
        if (auto* combo = qobject_cast<QComboBox*>(object);
            combo && !combo->accessibleName().isEmpty())
            return new PickerAccessible(combo);
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
