// The program's yes-or-no question: a caption, a column of centred lines (plain texts or
// framed panels that name what the question is about) and two buttons. Every question of the
// program (replacing or saving an order, deleting an order, an organization, a branch or an
// employee) is this one dialog given its texts; the caller acts on the answer.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <vector>

namespace editor {

// One line of a question.
struct QuestionLine {
    enum class Look { Plain, RaisedPanel, SunkenPanel };
    QString text;
    Look look = Look::Plain;
    int minimumWidth = 0;  // pixels; 0 for the width of the text
    bool wordWrap = false; // a long text (a name of 128 characters) wraps instead of widening
};

struct Question {
    QString title;
    std::vector<QuestionLine> lines;
    QString yes = QStringLiteral("Yes");
    QString no = QStringLiteral("No");
};

class QuestionDialog : public QDialog {
    Q_OBJECT
public:
    // yesAllowed (when given) is asked at each click of the yes button: while it says no,
    // the click does nothing and the question stays open.
    explicit QuestionDialog(const Question& question, QWidget* parent = nullptr,
                            std::function<bool()> yesAllowed = {});

    // Shows the question modally, centred on the main window; true for the yes button. The no
    // button and closing the window answer no.
    static bool ask(QWidget* parent, const Question& question,
                    std::function<bool()> yesAllowed = {});
};

// The question of saving an order ("Заменить платежку"): line1 says what was found or
// changed, line2 asks.
Question saveOrderQuestion(const QString& line1, const QString& line2);

} // namespace editor
