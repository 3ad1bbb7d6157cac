#include "uiutil.h"

#include "storage/store.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolTip>
#include <algorithm>
#include <optional>

namespace editor {

CharFilter::CharFilter(std::function<bool(QChar)> accept, QObject* parent)
    : QValidator(parent), accept_(std::move(accept)) {}

CharFilter::CharFilter(QObject* parent)
    : CharFilter([](QChar c) { return storage::cp1251::canEncode(c); }, parent) {}

QString refusedCharHint(QChar c) {
    return QStringLiteral("Знак «%1» не может быть сохранен: его нет в кодировке 1251").arg(c);
}

namespace {

// Shows the hint for a refused character under the box.
void showRefusedHint(QObject* box, QChar c) {
    if (auto* w = qobject_cast<QWidget*>(box))
        QToolTip::showText(w->mapToGlobal(QPoint(0, w->height())), refusedCharHint(c), w);
}

} // namespace

QValidator::State CharFilter::validate(QString& input, int& pos) const {
    QString kept;
    kept.reserve(input.size());
    int newPos = pos;
    std::optional<QChar> foreign; // a refused character that code page 1251 cannot hold
    for (qsizetype i = 0; i < input.size(); ++i) {
        if (accept_(input[i])) {
            kept.append(input[i]);
            continue;
        }
        if (!foreign && !storage::cp1251::canEncode(input[i]))
            foreign = input[i];
        if (i < pos)
            --newPos;
    }
    if (foreign)
        showRefusedHint(parent(), *foreign);
    if (maxLength_ >= 0 && kept.size() > maxLength_) {
        const qsizetype excess = kept.size() - maxLength_;
        const qsizetype from = std::max<qsizetype>(0, newPos - excess);
        kept.remove(from, newPos - from);
        newPos = int(from);
        kept.truncate(maxLength_);
        newPos = std::min(newPos, int(kept.size()));
    }
    input = kept;
    pos = newPos;
    return Acceptable;
}

void restrictToCp1251(QLineEdit* edit) {
    edit->setValidator(new CharFilter(edit));
}

void restrictToCp1251(QComboBox* combo) {
    combo->setValidator(new CharFilter(combo));
}

void restrictToCp1251(QLineEdit* edit, int maxLength) {
    auto* filter = new CharFilter(edit);
    filter->setMaxLength(maxLength);
    edit->setValidator(filter);
}

void restrictToCp1251(QComboBox* combo, int maxLength) {
    auto* filter = new CharFilter(combo);
    filter->setMaxLength(maxLength);
    combo->setValidator(filter);
}

void restrictChars(QLineEdit* edit, std::function<bool(QChar)> accept, int maxLength) {
    auto both = [accept = std::move(accept)](QChar c) {
        return storage::cp1251::canEncode(c) && accept(c);
    };
    auto* filter = new CharFilter(both, edit);
    filter->setMaxLength(maxLength);
    edit->setValidator(filter);
}

void restrictToCp1251(QPlainTextEdit* memo) {
    QObject::connect(memo->document(), &QTextDocument::contentsChange, memo,
                     [memo](int position, int, int added) {
                         if (added <= 0)
                             return;
                         QTextDocument* doc = memo->document();
                         // Walk the added range backwards so that removals keep positions.
                         for (int p = position + added - 1; p >= position; --p) {
                             const QChar c = doc->characterAt(p);
                             // Line and paragraph breaks of the document are kept.
                             if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator ||
                                 storage::cp1251::canEncode(c))
                                 continue;
                             showRefusedHint(memo, c);
                             QTextCursor cur(doc);
                             cur.setPosition(p);
                             cur.setPosition(p + 1, QTextCursor::KeepAnchor);
                             cur.removeSelectedText();
                         }
                     });
}

void applyFormSize(QWidget* window, const storage::Store& store, int tag) {
    const storage::FormSize& entry = store.FormSizes[std::size_t(tag)];
    const QSize minimum = window->minimumSizeHint().expandedTo(window->minimumSize());
    QSize size = QSize(entry.Width, entry.Height).expandedTo(minimum);
    // A damaged or foreign size table may hold sizes far beyond any screen: a window keeps to
    // the screen it opens on (but never below what its layout needs).
    if (const QScreen* screen = window->screen())
        size = size.boundedTo(screen->availableGeometry().size()).expandedTo(minimum);
    window->resize(size);
}

int showModal(QDialog* dialog) {
    QWidget* main = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->inherits("QMainWindow") && w->isVisible())
            main = w;
    // A dialog that was never shown, or whose texts changed, gets its size from its layout now,
    // so that it is centred with the size it will have.
    if (dialog->layout())
        dialog->layout()->activate();
    if (main) {
        const QRect r = main->frameGeometry();
        dialog->move(r.center() - dialog->rect().center());
    }
    return dialog->exec();
}

bool askConfirmed(storage::Store& store, QDialog* dialog) {
    store.Confirmed = 0;
    showModal(dialog);
    return store.Confirmed == 1;
}

void setTextColour(QWidget* w, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Text, c);
    p.setColor(QPalette::WindowText, c);
    p.setColor(QPalette::ButtonText, c);
    w->setPalette(p);
}

void showFieldProblem(QLineEdit* edit, const QString& problem) {
    static const char* const ownToolTip = "ownToolTip";
    if (!edit->property(ownToolTip).isValid())
        edit->setProperty(ownToolTip, edit->toolTip());
    edit->setToolTip(problem.isEmpty() ? edit->property(ownToolTip).toString() : problem);
    edit->setStyleSheet(problem.isEmpty() ? QString()
                                          : QStringLiteral("QLineEdit { border: 2px solid red; }"));
}

} // namespace editor
