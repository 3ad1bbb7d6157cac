#include "formprint.h"

#include "render/formpaint.h"
#include "render/measure.h"

#include <QDir>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace render {

DeviceMetrics printerMetrics(const QPrinter& printer) {
    const QRect paint = printer.pageLayout().paintRectPixels(printer.resolution());
    const bool full = printer.fullPage();
    return DeviceMetrics::fromDpi(printer.resolution(), printer.resolution(),
                                  full ? 0 : paint.left(), full ? 0 : paint.top(), false);
}

namespace {

void drawOrder(QPainter& painter, const DeviceMetrics& metrics, const OrderInput& order) {
    QtTextMeasurer measurer(painter.device());
    const FormLayout layout = layOut(order, metrics, measurer);
    paintForm(painter, layout);
}

} // namespace

storage::IoResult printJob(QPrinter& printer, const PageDrawer& draw) {
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return storage::writeFileAtomic(printer.outputFileName(), [&](QIODevice& out) {
            QPdfWriter writer(&out);
            writer.setResolution(printer.resolution());
            writer.setPageLayout(printer.pageLayout());
            writer.setCreator(QStringLiteral("Quenmara 2.0"));
            QPainter painter;
            if (!painter.begin(&writer))
                return storage::IoResult::failure(QString());
            const bool drawn = draw(painter, writer);
            const bool ended = painter.end();
            return drawn && ended ? storage::IoResult{} : storage::IoResult::failure(QString());
        });
    QPainter painter;
    if (!painter.begin(&printer))
        return storage::IoResult::failure(
            QStringLiteral("Не могу начать печать на принтере %1").arg(printer.printerName()));
    const bool drawn = draw(painter, printer);
    if (!painter.end() || !drawn)
        return storage::IoResult::failure(QStringLiteral("Печать не завершена"));
    return {};
}

storage::IoResult printForm(QPrinter& printer, const OrderInput& order) {
    const DeviceMetrics metrics = printerMetrics(printer);
    return printJob(printer, [&](QPainter& painter, QPagedPaintDevice&) {
        drawOrder(painter, metrics, order);
        return true;
    });
}

storage::IoResult writeFormsPdf(const QString& path, const QList<OrderInput>& orders) {
    return writeFormsPdf(path, orders.size(), [&orders](qsizetype i, OrderInput& input) {
        input = orders[i];
        return storage::IoResult{};
    });
}

storage::IoResult writeFormsPdf(const QString& path, qsizetype count, const OrderSource& order) {
    return storage::writeFileAtomic(path, [&](QIODevice& out) {
        QPdfWriter writer(&out);
        writer.setResolution(1200);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        writer.setCreator(QStringLiteral("Quenmara " QUENMARA_VERSION));
        writer.setTitle(QStringLiteral("Платежное поручение"));
        const DeviceMetrics metrics = DeviceMetrics::fromDpi(1200, 1200, 0, 0, false);
        QPainter painter;
        if (!painter.begin(&writer))
            return storage::IoResult::failure(QString());
        QtTextMeasurer measurer(&writer);
        OrderInput input;
        for (qsizetype i = 0; i < count; ++i) {
            storage::IoResult r = order(i, input);
            if (r && i && !writer.newPage())
                r = storage::IoResult::failure(QString());
            if (!r) {
                painter.end();
                return r;
            }
            paintForm(painter, layOut(input, metrics, measurer));
        }
        return painter.end() ? storage::IoResult{} : storage::IoResult::failure(QString());
    });
}

} // namespace render
