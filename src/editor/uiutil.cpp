#include "uiutil.h"

#include "core/settings.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <QToolTip>
#include <QWindow>
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

QString tooLongHint(int capacity) {
    const bool one = capacity % 10 == 1 && capacity % 100 != 11;
    return QStringLiteral("В поле помещается не более %1 %2")
        .arg(capacity)
        .arg(one ? QStringLiteral("знака") : QStringLiteral("знаков"));
}

QPoint hintPosition(const QRect& box, const QSize& size, const QList<QRect>& controls,
                    const QRect& window, const QRect& screen) {
    constexpr int gap = 2;
    const int middle = box.top() + (box.height() - size.height()) / 2;
    const QPoint beside[] = {
        {box.right() + 1 + gap, middle},               // right of the box
        {box.left(), box.bottom() + 1 + gap},          // under it
        {box.left(), box.top() - gap - size.height()}, // over it
        {box.left() - gap - size.width(), middle},     // left of it
    };
    for (const QPoint& at : beside) {
        const QRect hint(at, size);
        if (screen.contains(hint) &&
            std::none_of(controls.begin(), controls.end(),
                         [&hint](const QRect& c) { return c.intersects(hint); }))
            return at;
    }
    // Every side is taken: under or over the window, outside it.
    const int x = std::clamp(box.left(), screen.left(), screen.right() + 1 - size.width());
    for (const int y : {window.bottom() + 1 + gap, window.top() - gap - size.height()})
        if (screen.contains(QRect(QPoint(x, y), size)))
            return {x, y};
    return beside[1];
}

namespace {

// The hint at a box: a small window beside the box, where no other control of the window lies
// (see hintPosition), that the mouse goes through, so that it never takes a click, and that
// goes when the focus leaves the box, when the window moves, hides or loses the keyboard, and
// after a while. Screen readers hear it as a tooltip when it appears.
class BoxHint : public QLabel {
public:
    explicit BoxHint(QWidget* window)
        : QLabel(window, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                             Qt::WindowTransparentForInput) {
        setObjectName(QStringLiteral("boxHint"));
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setForegroundRole(QPalette::ToolTipText);
        setBackgroundRole(QPalette::ToolTipBase);
        setPalette(QToolTip::palette());
        setFont(QToolTip::font());
        setAutoFillBackground(true);
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setMargin(3);
        setTextFormat(Qt::PlainText);
        timer_.setSingleShot(true);
        connect(&timer_, &QTimer::timeout, this, &QWidget::hide);
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
            if (!box_ || !now || (now != box_ && !box_->isAncestorOf(now)))
                hide();
        });
        window->installEventFilter(this);
    }

    void showAt(QWidget* box, const QString& text) {
        box_ = box;
        setText(text);
        resize(sizeHint());
        QList<QRect> controls;
        for (QWidget* w : box->window()->findChildren<QWidget*>()) {
            if (w == box || box->isAncestorOf(w) || w->isAncestorOf(box) || w->isWindow() ||
                !w->isVisible())
                continue;
            // A control is a visible widget with no visible widgets inside it.
            const auto inside = w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
            if (std::none_of(inside.begin(), inside.end(),
                             [](QWidget* c) { return c->isVisible() && !c->isWindow(); }))
                controls << QRect(w->mapToGlobal(QPoint()), w->size());
        }
        const QScreen* screen = box->screen();
        move(hintPosition(QRect(box->mapToGlobal(QPoint()), box->size()), size(), controls,
                          box->window()->frameGeometry(),
                          screen ? screen->availableGeometry() : QRect()));
        QWidget::show();
        // The window system may forget, when the window first shows, that the mouse goes
        // through it (X11 does): it is told again.
        if (QWindow* w = windowHandle()) {
            w->setFlag(Qt::WindowTransparentForInput, false);
            w->setFlag(Qt::WindowTransparentForInput, true);
        }
        raise();
        timer_.start(std::chrono::milliseconds(5000 + 40 * text.size()));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Hide:
        case QEvent::Close:
        case QEvent::WindowDeactivate:
            hide();
            break;
        default:
            break;
        }
        return QLabel::eventFilter(watched, event);
    }

private:
    QPointer<QWidget> box_;
    QTimer timer_;
};

BoxHint* hintOf(QWidget* window) {
    for (QObject* child : window->children())
        if (auto* hint = dynamic_cast<BoxHint*>(child))
            return hint;
    return new BoxHint(window);
}

QList<BoxHint*> allHints() {
    QList<BoxHint*> hints;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* hint = dynamic_cast<BoxHint*>(w))
            hints << hint;
    return hints;
}

// Shows a hint at the box, the only one shown.
void showHint(QObject* box, const QString& text) {
    auto* w = qobject_cast<QWidget*>(box);
    if (!w || !w->isVisible())
        return;
    BoxHint* shown = hintOf(w->window());
    for (BoxHint* other : allHints())
        if (other != shown)
            other->hide();
    shown->showAt(w, text);
}

bool isLineBreak(QChar c) {
    return c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

// Keeps out of a multi-line box what code page 1251 cannot hold and, with a storedSize, what
// goes beyond capacity once stored.
void filterMemo(QPlainTextEdit* memo, int capacity,
                std::function<qsizetype(const QString&)> storedSize) {
    QObject::connect(
        memo->document(), &QTextDocument::contentsChange, memo,
        [memo, capacity, storedSize = std::move(storedSize)](int position, int, int added) {
            if (added <= 0)
                return;
            QTextDocument* doc = memo->document();
            auto remove = [doc](int from, int to) {
                QTextCursor cur(doc);
                cur.setPosition(from);
                cur.setPosition(to, QTextCursor::KeepAnchor);
                cur.removeSelectedText();
            };
            // The last character of a document is its closing separator, never the user's.
            int end = std::min(position + added, doc->characterCount() - 1);
            // Walk the added range backwards so that removals keep positions.
            for (int p = end - 1; p >= position; --p) {
                const QChar c = doc->characterAt(p);
                // Line and paragraph breaks of the document are kept.
                if (isLineBreak(c) || storage::cp1251::canEncode(c))
                    continue;
                showHint(memo, refusedCharHint(c));
                remove(p, p + 1);
                --end;
            }
            if (!storedSize)
                return;
            qsizetype excess = storedSize(doc->toPlainText()) - capacity;
            if (excess <= 0)
                return;
            int from = end;
            while (from > position && excess > 0) {
                --from;
                const QChar c = doc->characterAt(from);
                excess -= storedSize(isLineBreak(c) ? QString(u'\n') : QString(c));
            }
            remove(from, end);
            showHint(memo, tooLongHint(capacity));
        });
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
        showHint(parent(), refusedCharHint(*foreign));
    if (maxLength_ >= 0 && kept.size() > maxLength_) {
        const qsizetype excess = kept.size() - maxLength_;
        const qsizetype from = std::max<qsizetype>(0, newPos - excess);
        kept.remove(from, newPos - from);
        newPos = int(from);
        kept.truncate(maxLength_);
        newPos = std::min(newPos, int(kept.size()));
        showHint(parent(), tooLongHint(maxLength_));
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
    filterMemo(memo, -1, {});
}

void restrictToCp1251(QPlainTextEdit* memo, int capacity,
                      std::function<qsizetype(const QString&)> storedSize) {
    filterMemo(memo, capacity, std::move(storedSize));
}

QFont proportionalFont(const QFont& font) {
    if (!QFontInfo(font).fixedPitch())
        return font;
    QFont sans = font;
    for (const char* family : {"DejaVu Sans", "Noto Sans", "Liberation Sans", "FreeSans"}) {
        sans.setFamilies({QString::fromLatin1(family)});
        if (const QFontInfo info(sans);
            info.family() == QLatin1String(family) && !info.fixedPitch())
            return sans;
    }
    for (const QString& family : QFontDatabase::families())
        if (!QFontDatabase::isFixedPitch(family) && QFontDatabase::isSmoothlyScalable(family)) {
            sans.setFamilies({family});
            return sans;
        }
    return font;
}

void applyFormSize(QWidget* window, const core::Settings& settings, core::WindowTag tag) {
    const QSize minimum = window->minimumSizeHint().expandedTo(window->minimumSize());
    QSize size = settings.windowSize(tag).expandedTo(minimum);
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
        const QScreen* screen = main->screen();
        dialog->move(centredOn(main->frameGeometry(), dialog->frameSize(),
                               screen ? screen->availableGeometry() : QRect()));
    }
    QPointer<QWidget> opener = QApplication::activeWindow();
    const int result = dialog->exec();
    // The window the dialog was opened from takes the keyboard back, as a window manager
    // gives it back; without one the keyboard would stay with no window.
    if (opener && opener->isVisible() && !QApplication::activeWindow())
        opener->activateWindow();
    return result;
}

QPoint centredOn(const QRect& owner, const QSize& size, const QRect& screen) {
    QPoint at = owner.center() - QRect(QPoint(), size).center();
    if (screen.isEmpty())
        return at;
    // Kept on the screen; a dialog larger than the screen shows its top-left corner.
    at.setX(std::max(screen.left(), std::min(at.x(), screen.right() + 1 - size.width())));
    at.setY(std::max(screen.top(), std::min(at.y(), screen.bottom() + 1 - size.height())));
    return at;
}

void setTextColour(QWidget* w, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Text, c);
    p.setColor(QPalette::WindowText, c);
    p.setColor(QPalette::ButtonText, c);
    w->setPalette(p);
}

QString shownHint() {
    for (BoxHint* hint : allHints())
        if (hint->isVisible())
            return hint->text();
    return {};
}

void hideHint() {
    for (BoxHint* hint : allHints())
        hint->hide();
}

void showInPanel(QLabel* panel, const QString& purpose, const QString& text) {
    panel->setText(text);
    panel->setAccessibleName(text.isEmpty() ? purpose : purpose + QStringLiteral(": ") + text);
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
