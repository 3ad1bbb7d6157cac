#include "support/noprinter.h"
#include "support/support.h"

#include "editor/printtarget.h"
#include "render/print/formprint.h"
#include "render/print/printtarget.h"

#include <QDir>
#include <QFileDialog>
#include <QPainter>
#include <QPrinter>
#include <QWidget>
#include <gtest/gtest.h>

using testing_support::choosingFile;
using testing_support::NoPrinter;
using testing_support::pressing;
using testing_support::whenModals;

namespace {

auto cancel() {
    return [](QWidget* w) { w->close(); };
}

} // namespace

TEST_F(NoPrinter, DecliningThePdfOfferPrintsNothing) {
    struct Row {
        const char* name;
        std::vector<std::function<void(QWidget*)>> answers;
    } rows[] = {
        {"No to the offer", {pressing(QStringLiteral("No"))}},
        {"file dialog cancelled", {pressing(QStringLiteral("Yes")), cancel()}},
    };
    for (const Row& r : rows) {
        QPrinter printer(QPrinter::HighResolution);
        bool go = true;
        const QStringList seen = whenModals(
            r.answers, [&] { go = editor::askPrintTarget(printer, nullptr, dir.path()); });
        EXPECT_FALSE(go) << r.name;
        ASSERT_FALSE(seen.isEmpty()) << r.name;
        EXPECT_EQ(seen[0],
                  QStringLiteral("Принтер не установлен.\nСохранить документ в файл PDF?"));
    }
}

TEST_F(NoPrinter, PdfFileStandsInForThePrinter) {
    struct Row {
        const char* chosen;
        const char* written;
    } rows[] = {{"order", "order.pdf"}, {"order2.pdf", "order2.pdf"}, {"order3.PDF", "order3.PDF"}};
    for (const Row& r : rows) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageOrientation(QPageLayout::Portrait);
        bool go = false;
        // The file dialog opens in the folder it is given (the program folder).
        auto inFolder = [&](QWidget* w) {
            EXPECT_EQ(static_cast<QFileDialog*>(w)->directory(), QDir(dir.path()));
            choosingFile(dir.file(r.chosen))(w);
        };
        whenModals({pressing(QStringLiteral("Yes")), inFolder},
                   [&] { go = editor::askPrintTarget(printer, nullptr, dir.path()); });
        ASSERT_TRUE(go) << r.chosen;
        EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
        EXPECT_EQ(printer.outputFileName(), dir.file(r.written));
        EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A4);
        EXPECT_EQ(printer.resolution(), 1200); // the caller's resolution mode is kept

        EXPECT_TRUE(render::printJob(printer, [](QPainter& painter, QPagedPaintDevice&) {
            painter.drawText(100, 100, QStringLiteral("Платежное поручение"));
            return true;
        }));
        EXPECT_TRUE(dir.read(r.written).startsWith("%PDF")) << r.written;
    }
}
