// Small pieces every window uses: texts between the records' code page 1251 and the widgets,
// text boxes that accept only what the records can hold, window sizes from the size table,
// showing a dialog modally, and the colours of saved and new orders.
#pragma once

#include <cstdint>

#include "storage/cp1251.h"
#include "storage/shortstr.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QRect>
#include <QString>
#include <QValidator>
#include <functional>

class QComboBox;
class QDialog;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace core {
class Settings;
enum class WindowTag : std::uint8_t;
} // namespace core

namespace editor {

template <std::size_t N> QString toUi(const storage::ShortStr<N>& s) {
    return storage::cp1251::toUnicode(s);
}
inline QString toUi(std::string_view s) {
    return storage::cp1251::toUnicode(s);
}

// How many characters a text field of a record holds: capacityOf(&storage::OrderRecord::kbk).
template <class Record, std::size_t N> constexpr int capacityOf(storage::ShortStr<N> Record::*) {
    return int(N);
}

// Stores a text typed by the user, cut to the capacity of the field.
template <std::size_t N> void fromUi(const QString& text, storage::ShortStr<N>& field) {
    storage::cp1251::store(text, field);
}

// The hint shown at a box that refused a character code page 1251 cannot hold.
QString refusedCharHint(QChar c);
// The hint shown at a box that refused what goes beyond the capacity of its field.
QString tooLongHint(int capacity);
// The text of the hint shown at a box now, empty when none is shown; and hiding it.
QString shownHint();
void hideHint();

// Where a hint of the given size stands at a box: right of, under, over or left of it, the
// first place that lies on the screen and covers none of the controls; when every side is
// taken, under or over the window, outside it. All rectangles are in screen coordinates.
QPoint hintPosition(const QRect& box, const QSize& size, const QList<QRect>& controls,
                    const QRect& window, const QRect& screen);

// A validator that drops every character a predicate refuses, typed or pasted. With the
// default predicate it keeps out what code page 1251 cannot hold. A character refused for
// that reason is named in a hint at the box.
class CharFilter : public QValidator {
public:
    explicit CharFilter(std::function<bool(QChar)> accept, QObject* parent = nullptr);
    explicit CharFilter(QObject* parent = nullptr); // code page 1251 only
    State validate(QString& input, int& pos) const override;

    // Keeps at most n characters, counted after the refused ones are dropped: what goes beyond
    // is cut from what was just typed or pasted (in front of the cursor), and the box says so
    // in a hint. Use this instead of
    // QLineEdit::setMaxLength, which cuts a pasted text before the filter sees it and so loses
    // characters that would have fitted.
    void setMaxLength(int n) { maxLength_ = n; }

private:
    std::function<bool(QChar)> accept_;
    int maxLength_ = -1;
};

// Text boxes that accept only characters code page 1251 can hold (and, for the second form,
// only those accept() lets through as well).
void restrictToCp1251(QLineEdit* edit);
void restrictToCp1251(QComboBox* combo);
void restrictToCp1251(QPlainTextEdit* memo);
// The same with a limit: what the text takes once stored (storedSize, e.g. with its line
// breaks as they are written) never exceeds capacity. What goes beyond is cut from the end of
// what was just typed or pasted, and the box says so in a hint.
void restrictToCp1251(QPlainTextEdit* memo, int capacity,
                      std::function<qsizetype(const QString&)> storedSize);
// The same with a length limit (see CharFilter::setMaxLength).
void restrictToCp1251(QLineEdit* edit, int maxLength);
void restrictToCp1251(QComboBox* combo, int maxLength);
void restrictChars(QLineEdit* edit, std::function<bool(QChar)> accept, int maxLength = -1);

// The font for the windows: font itself when it is proportional; when it resolves to a
// monospaced family (fontconfig does so for the default sans-serif where only the Liberation
// fonts are installed), a proportional sans-serif family of the same size.
QFont proportionalFont(const QFont& font);

// Sets a window's size from its entry of the window-size table; an entry smaller than what
// the window's layout needs gives that minimum instead.
void applyFormSize(QWidget* window, const core::Settings& settings, core::WindowTag tag);

// Shows a dialog modally, centred on the main window, and returns its result when it closes
// (QDialog::Accepted or Rejected).
int showModal(QDialog* dialog);

// Where a window of the given size stands centred on owner, moved as little as needed to lie
// wholly within screen (an empty screen rectangle leaves it centred).
QPoint centredOn(const QRect& owner, const QSize& size, const QRect& screen);

// Text colours of the editor: dark blue for a saved order, black for a new one.
inline QColor savedOrderColour() {
    return QColor(0, 0, 170);
}
inline QColor newOrderColour() {
    return QColor(0, 0, 0);
}
void setTextColour(QWidget* w, const QColor& c);

// Shows text in a status panel. Its accessible name says what the panel is for and what it
// shows ("Число платежек: 3"), so that a screen reader reads the panel's whole text.
void showInPanel(QLabel* panel, const QString& purpose, const QString& text);

// Marks a box whose content fails a check that is only a warning: a red frame and the
// problem as its tooltip; an empty problem takes the mark away and gives the box its own
// tooltip back.
void showFieldProblem(QLineEdit* edit, const QString& problem);

} // namespace editor
