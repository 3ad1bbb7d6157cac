// A program folder of three organizations and saved orders for the tests of the list of saved
// orders, and the list driven with the mouse as a user drives it.
#pragma once

#include "neworder.h"
#include "support/support.h"

#include "archive/orderlistdialog.h"
#include "editor/listgrid.h"
#include "storage/folderdata.h"

#include <QDir>
#include <QLabel>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

namespace orderfolder {

inline const char* const PayerA = "1234567890";
inline const char* const PayerB = "2345678901";
inline const char* const Payee = "7701000001";

// The folders of a program folder, the widths of the list's columns kept, and three
// organizations: payers A and B and the payee.
struct OrderFolder {
    testing_support::TempDir dir;
    std::unique_ptr<storage::FolderData> store = std::make_unique<storage::FolderData>();

    OrderFolder() {
        store->folder.setProgramDir(dir.path());
        for (const char* folder : {"PP", "PPDel", "Data"})
            QDir(dir.path()).mkpath(folder);
        const int widths[] = {40, 80, 120, 120, 80, 90};
        for (int c = 0; c < 6; ++c)
            store->settings.columnWidths[std::size_t(8 + c)] = std::uint16_t(widths[c]);
        addFirm("ООО Альфа", PayerA);
        addFirm("ООО Бета", PayerB);
        addFirm("ООО Гамма", Payee);
    }

    void addFirm(const char* name, const char* inn) {
        storage::OrganizationRecord& f =
            store->directory.organizations[std::size_t(store->directory.organizationCount++)];
        f.name.assign(testing_support::cps(name));
        f.inn = inn;
    }

    // Writes a saved order to the payee; returns its bytes.
    QByteArray order(const char* number, const char* amount, const char* payer = PayerA,
                     const char* date = "03.02.2009") {
        const QByteArray bytes = testing_support::platFile({number, payer, date, Payee, amount});
        dir.write(QStringLiteral("PP/%1_%2_09.plat").arg(number, payer), bytes);
        return bytes;
    }
};

// The list window driven with the mouse, and what its grid shows.
struct ListDriver {
    archive::OrderListDialog* list = nullptr;

    QToolButton* listButton(const char* text) {
        for (QToolButton* b : list->findChildren<QToolButton*>())
            if (b->text() == text)
                return b;
        ADD_FAILURE() << text;
        return nullptr;
    }
    editor::ListGrid* grid() { return list->grid(); }
    QPoint cellCentre(int row) {
        return grid()->visualRect(grid()->gridModel()->index(row, 1)).center();
    }
    void clickRow(int row, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, modifiers, cellCentre(row));
    }
    // A double click as the system delivers it: a click, then the second press.
    void doubleClickRow(int row) {
        clickRow(row);
        QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, cellCentre(row));
    }
    QString cell(int row, int column) {
        return grid()
            ->gridModel()
            ->data(grid()->gridModel()->index(row, column), Qt::DisplayRole)
            .toString();
    }
    // The numbers the grid shows, top to bottom.
    QStringList numbers() {
        QStringList n;
        for (int r = 0; r < grid()->gridModel()->rowCount(); ++r)
            n << cell(r, 0);
        return n;
    }
    // Deletes the order in the given row, answering the deletion dialog with answer; returns
    // the dialog's panel text.
    QString deleteRow(int row, const QString& answer = QStringLiteral("Yes")) {
        clickRow(row);
        QString panel;
        testing_support::whenModal(
            [&](QWidget* w) {
                panel = w->findChild<QLabel*>("questionPanel")->text();
                testing_support::clickButton(w, answer);
            },
            [&] { listButton("Del")->click(); });
        return panel;
    }
};

// Answers the question dialog with answer and notes its two lines.
inline std::function<void(QWidget*)> answering(const QString& answer, QStringList& lines) {
    return [&lines, answer](QWidget* w) {
        for (const QLabel* panel : w->findChildren<QLabel*>("questionPanel"))
            lines << panel->text();
        testing_support::clickButton(w, answer);
    };
}

} // namespace orderfolder
