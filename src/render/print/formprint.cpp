#include "formprint.h"

#include "render/formpaint.h"
#include "render/measure.h"

#include <QDir>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

namespace render {

DeviceMetrics PrinterMetrics(const QPrinter& printer) {
    const QRect paint = printer.pageLayout().paintRectPixels(printer.resolution());
    const bool full = printer.fullPage();
    return DeviceMetrics::fromDpi(printer.resolution(), printer.resolution(),
                                  full ? 0 : paint.left(), full ? 0 : paint.top(), false);
}

namespace {

void drawOrder(QPainter& painter, const DeviceMetrics& metrics, const OrderInput& order) {
    QtTextMeasurer measurer(painter.device());
    const FormLayout layout = LayOut(order, metrics, measurer);
    PaintForm(painter, layout);
}

} // namespace

storage::IoResult PrintForm(QPrinter& printer, const OrderInput& order) {
    QPainter painter;
    if (!painter.begin(&printer))
        return storage::IoResult::failure(
            QStringLiteral("Не могу начать печать на принтере %1").arg(printer.printerName()));
    drawOrder(painter, PrinterMetrics(printer), order);
    if (!painter.end())
        return storage::IoResult::failure(QStringLiteral("Печать не завершена"));
    return {};
}

storage::IoResult WriteFormsPdf(const QString& path, const QList<OrderInput>& orders) {
    return WriteFormsPdf(path, orders.size(), [&orders](qsizetype i, OrderInput& input) {
        input = orders[i];
        return storage::IoResult{};
    });
}

storage::IoResult WriteFormsPdf(const QString& path, qsizetype count, const OrderSource& order) {
    QSaveFile file(path);
    const QString shown = QDir::toNativeSeparators(path);
    if (!file.open(QIODevice::WriteOnly))
        return storage::IoResult::failure(storage::fileMessage(
            QStringLiteral("Не могу записать файл"), path, storage::deviceReason(file)));
    {
        QPdfWriter writer(&file);
        writer.setResolution(1200);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        writer.setCreator(QStringLiteral("Quenmara " QUENMARA_VERSION));
        writer.setTitle(QStringLiteral("Платежное поручение"));
        const DeviceMetrics metrics = DeviceMetrics::fromDpi(1200, 1200, 0, 0, false);
        QPainter painter;
        if (!painter.begin(&writer)) {
            file.cancelWriting();
            return storage::IoResult::failure(
                QStringLiteral("Не могу записать файл %1").arg(shown));
        }
        QtTextMeasurer measurer(&writer);
        OrderInput input;
        for (qsizetype i = 0; i < count; ++i) {
            if (storage::IoResult r = order(i, input); !r) {
                painter.end();
                file.cancelWriting();
                return r;
            }
            if (i)
                writer.newPage();
            PaintForm(painter, LayOut(input, metrics, measurer));
        }
        painter.end();
    }
    if (!file.commit())
        return storage::IoResult::failure(storage::fileMessage(
            QStringLiteral("Не могу записать файл"), path, storage::deviceReason(file)));
    return {};
}

} // namespace render
