#include "questiondialog.h"

#include "uiutil.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace editor {

QuestionDialog::QuestionDialog(const Question& question, QWidget* parent,
                               std::function<bool()> yesAllowed)
    : QDialog(parent) {
    setObjectName(QStringLiteral("questionDialog"));
    setWindowTitle(question.title);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    for (const QuestionLine& line : question.lines) {
        auto* label = new QLabel(line.text, this);
        label->setObjectName(line.look == QuestionLine::Look::Plain
                                 ? QStringLiteral("questionText")
                                 : QStringLiteral("questionPanel"));
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(line.wordWrap);
        label->setMinimumWidth(line.minimumWidth);
        if (line.look != QuestionLine::Look::Plain) {
            label->setFrameShape(QFrame::Panel);
            label->setFrameShadow(line.look == QuestionLine::Look::RaisedPanel ? QFrame::Raised
                                                                               : QFrame::Sunken);
            label->setMargin(6);
        }
        layout->addWidget(label);
    }
    auto* buttons = new QHBoxLayout;
    auto* yes = new QPushButton(question.yes, this);
    yes->setObjectName(QStringLiteral("yesButton"));
    yes->setDefault(true);
    auto* no = new QPushButton(question.no, this);
    no->setObjectName(QStringLiteral("noButton"));
    no->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(yes);
    buttons->addWidget(no);
    buttons->addStretch();
    layout->addLayout(buttons);
    connect(yes, &QPushButton::clicked, this, [this, yesAllowed = std::move(yesAllowed)] {
        if (!yesAllowed || yesAllowed())
            accept();
    });
    connect(no, &QPushButton::clicked, this, &QDialog::reject);
}

bool QuestionDialog::ask(QWidget* parent, const Question& question,
                         std::function<bool()> yesAllowed) {
    QuestionDialog dialog(question, parent, std::move(yesAllowed));
    return showModal(&dialog) == QDialog::Accepted;
}

Question saveOrderQuestion(const QString& line1, const QString& line2) {
    using Look = QuestionLine::Look;
    return {QStringLiteral("Заменить платежку"),
            {{line1, Look::RaisedPanel}, {line2, Look::RaisedPanel}}};
}

} // namespace editor
