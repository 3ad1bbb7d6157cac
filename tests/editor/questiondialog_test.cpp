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

// A hint used to stand right under its box, over the next box, and took the click meant for it.
TEST(HintPlacement, BesideTheBoxWhereNoControlIsElseOutsideTheWindow) {
    struct Row {
        const char* name;
        QRect box;
        QList<QRect> controls;
        QPoint at;
    };
    const QRect right(300, 100, 100, 24), under(100, 130, 160, 24), over(100, 70, 160, 24),
        left(0, 100, 90, 24);
    const Row rows[] = {
        {"nothing around: right of the box", {100, 100, 160, 24}, {}, {262, 102}},
        {"a control at the right: under", {100, 100, 160, 24}, {right}, {100, 126}},
        {"right and under taken: over", {100, 100, 160, 24}, {right, under}, {100, 78}},
        {"every side taken: under the window",
         {100, 100, 160, 24},
         {right, under, over, left},
         {100, 452}},
        {"at the right edge of the screen: left of the box", {1100, 100, 160, 24}, {}, {848, 102}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(editor::hintPosition(r.box, {250, 20}, r.controls, {50, 50, 500, 400},
                                       {0, 0, 1280, 1024}),
                  r.at)
            << r.name;
}
