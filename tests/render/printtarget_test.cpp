#include "support/noprinter.h"
#include "support/support.h"

#include "render/print/formprint.h"
#include "render/print/printtarget.h"

#include <QDir>
#include <QPrinter>
#include <gtest/gtest.h>

using testing_support::NoPrinter;

TEST_F(NoPrinter, UnwritableFileIsReported) {
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.file("missing/order.pdf"));
    const storage::IoResult r =
        render::printJob(printer, [](QPainter&, QPagedPaintDevice&) { return true; });
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "Не могу записать файл " +
                           QDir::toNativeSeparators(dir.file("missing/order.pdf")) +
                           ": Нет такого файла или папки");
}
