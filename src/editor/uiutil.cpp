#include "uiutil.h"

#include "storage/store.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>

namespace editor {

CharFilter::CharFilter(std::function<bool(QChar)> accept, QObject* parent)
    : QValidator(parent), accept_(std::move(accept)) {}

CharFilter::CharFilter(QObject* parent)
    : CharFilter([](QChar c) { return storage::cp1251::canEncode(c); }, parent) {}

QValidator::State CharFilter::validate(QString& input, int& pos) const {
    QString kept;
    kept.reserve(input.size());
    int newPos = pos;
    for (qsizetype i = 0; i < input.size(); ++i) {
        if (accept_(input[i]))
            kept.append(input[i]);
        else if (i < pos)
            --newPos;
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

void restrictChars(QLineEdit* edit, std::function<bool(QChar)> accept) {
    auto both = [accept = std::move(accept)](QChar c) {
        return storage::cp1251::canEncode(c) && accept(c);
    };
    edit->setValidator(new CharFilter(both, edit));
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
    window->resize(QSize(entry.Width, entry.Height).expandedTo(minimum));
}

int showModal(QDialog* dialog) {
    QWidget* main = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->inherits("QMainWindow") && w->isVisible())
            main = w;
    if (main) {
        const QRect r = main->frameGeometry();
        dialog->move(r.center() - dialog->rect().center());
    }
    return dialog->exec();
}

void setTextColour(QWidget* w, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Text, c);
    p.setColor(QPalette::WindowText, c);
    p.setColor(QPalette::ButtonText, c);
    w->setPalette(p);
}

} // namespace editor
