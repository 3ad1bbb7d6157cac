// The yes-or-no question and its answer.
#include "editor/questiondialog.h"
#include "editor/uiutil.h"
#include "support/support.h"

#include <QLabel>
#include <gtest/gtest.h>

using testing_support::clickButton;

TEST(QuestionDialog, AnswersYesOnlyForItsYesButton) {
    struct Answer {
        const char* name;
        std::function<void(QWidget*)> answer;
        bool yes;
    };
    const Answer answers[] = {
        {"Yes", [](QWidget* w) { clickButton(w, QStringLiteral("Yes")); }, true},
        {"No", [](QWidget* w) { clickButton(w, QStringLiteral("No")); }, false},
        {"frame close", [](QWidget* w) { w->close(); }, false},
    };
    for (const Answer& a : answers) {
        QStringList shown;
        bool result = false;
        const QString seen = testing_support::whenModal(
            [&](QWidget* w) {
                for (const QLabel* label : w->findChildren<QLabel*>())
                    shown << label->text();
                a.answer(w);
            },
            [&] {
                result = editor::QuestionDialog::ask(
                    nullptr,
                    editor::saveOrderQuestion(
                        QStringLiteral("Платежное поручение № 7 уже есть."),
                        QStringLiteral("Сохранить изменения в платежном поручении № 7 ?")));
            });
        EXPECT_EQ(seen, QStringLiteral("Заменить платежку")) << a.name;
        EXPECT_EQ(shown,
                  QStringList({QStringLiteral("Платежное поручение № 7 уже есть."),
                               QStringLiteral("Сохранить изменения в платежном поручении № 7 ?")}))
            << a.name;
        EXPECT_EQ(result, a.yes) << a.name;
    }
}

// A dialog wider than the main window used to open partly off the screen at a negative x.
TEST(ModalPlacement, CentredOnTheMainWindowButNeverOffTheScreen) {
    struct Row {
        const char* name;
        QRect owner;
        QSize size;
        QPoint at;
    };
    const QRect screen(0, 0, 1280, 1024);
    const Row rows[] = {
        {"fits: centred", {100, 100, 800, 600}, {400, 200}, {300, 300}},
        {"wider than the owner at the left edge", {0, 0, 600, 500}, {900, 300}, {0, 100}},
        {"near the right and bottom edges", {900, 800, 380, 224}, {500, 400}, {780, 624}},
        {"larger than the screen", {0, 0, 800, 600}, {1500, 1200}, {0, 0}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(editor::centredOn(r.owner, r.size, screen), r.at) << r.name;
    EXPECT_EQ(editor::centredOn({100, 100, 800, 600}, {400, 200}, QRect()), QPoint(300, 300));
}
