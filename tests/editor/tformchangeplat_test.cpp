// The yes-or-no question and its answer.
#include "editor/tformchangeplat.h"
#include "support/support.h"

#include <QLabel>
#include <gtest/gtest.h>

using testing_support::clickButton;

TEST(TFormChangePlat, AnswersYesOnlyForItsYesButton) {
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
    editor::TFormChangePlat dlg;
    for (const Answer& a : answers) {
        QStringList shown;
        bool result = false;
        const QString seen = testing_support::whenModal(
            [&](QWidget* w) {
                for (const char* name : {"Panel1", "Panel2", "Label1"})
                    if (auto* label = w->findChild<QLabel*>(name); label->isVisible())
                        shown << label->text();
                a.answer(w);
            },
            [&] {
                result = dlg.ask(QStringLiteral("Платежное поручение № 7 уже есть."),
                                 QStringLiteral("Сохранить изменения в платежном поручении № 7 ?"));
            });
        EXPECT_EQ(seen, QStringLiteral("Заменить платежку")) << a.name;
        EXPECT_EQ(shown,
                  QStringList({QStringLiteral("Платежное поручение № 7 уже есть."),
                               QStringLiteral("Сохранить изменения в платежном поручении № 7 ?")}))
            << a.name;
        EXPECT_EQ(result, a.yes) << a.name;
    }
}
