// The directory's list windows driven with the mouse as a user drives them: their buttons by
// text, their grids' rows and cells, and the deletion of an organization from its list with
// the questions it asks answered in turn.
#pragma once

#include "support/support.h"

#include "directory/organizationlistdialog.h"
#include "editor/listgrid.h"

#include <QLabel>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace orgdata {

using Answer = std::function<void(QWidget*)>;

inline const Answer yes = testing_support::pressing("Yes");
inline const Answer no = testing_support::pressing("No");

// The plain lines of a question, top to bottom (without the panel that names what goes).
inline QStringList questionTexts(QWidget* question) {
    QStringList texts;
    for (const QLabel* l : question->findChildren<QLabel*>("questionText"))
        texts << l->text();
    return texts;
}

struct ListDriver {
    directory::OrganizationListDialog* organizationList = nullptr;

    QToolButton* button(QWidget* w, const char* text) {
        for (QToolButton* b : w->findChildren<QToolButton*>())
            if (b->text() == QString::fromUtf8(text))
                return b;
        ADD_FAILURE() << "no button " << text;
        return nullptr;
    }
    bool enabled(QWidget* w, const char* text) { return button(w, text)->isEnabled(); }

    editor::ListGridModel* rows(QWidget* w) {
        return w->findChild<editor::ListGrid*>()->gridModel();
    }
    QString cell(QWidget* w, int row, int column) { return rows(w)->cellText(row, column); }
    void clickRow(QWidget* w, int row, int column = 0) {
        auto* grid = w->findChild<editor::ListGrid*>();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(row, column)).center());
    }

    // Clicks "Del" of the organization list with row selected and answers the dialogs in
    // turn; returns the first line of each further question.
    QStringList deleteRow(int row, const std::vector<Answer>& answers) {
        clickRow(organizationList, row);
        QStringList lines;
        std::vector<Answer> recording;
        for (const Answer& a : answers)
            recording.push_back([a, &lines](QWidget* w) {
                if (const QStringList texts = questionTexts(w); texts.size() > 1)
                    lines << texts.front();
                a(w);
            });
        testing_support::whenModals(recording,
                                    [&] { testing_support::clickButton(organizationList, "Del"); });
        return lines;
    }
};

} // namespace orgdata
