// Printing the payment order form: on the current printer (one job, one page) and into PDF
// files (one A4 page per order).
#pragma once

#include "render/formlayout.h"
#include "storage/fileio.h"

#include <QList>
#include <functional>

class QPagedPaintDevice;
class QPainter;
class QPrinter;

namespace render {

// The printer's description for the layout: pixels per millimetre from its resolution (its
// size in millimetres is rounded to whole millimetres), and the offsets of its printable
// area from the sheet's corner.
DeviceMetrics printerMetrics(const QPrinter& printer);

// Runs one print job on printer: draw paints the pages on the painter and device it is given
// and returns false when a page could not be begun. A printer that stands for a PDF file (no
// printer is installed) gets its pages through the atomic writer, on a PDF writer with the
// printer's page layout and resolution, so that the file appears complete or not at all. Fails
// with a message when the job cannot be started or finished, or a page fails.
using PageDrawer = std::function<bool(QPainter& painter, QPagedPaintDevice& device)>;
storage::IoResult printJob(QPrinter& printer, const PageDrawer& draw);

// Prints one order on printer as one page: begins the job, lays the order out with the
// printer's metrics, draws it with 4-pixel lines and ends the job. Fails with a message when
// the job cannot be started.
storage::IoResult printForm(QPrinter& printer, const OrderInput& order);

// Writes one A4 page per order into a PDF file at 1200 dots per inch, laid out as printing
// lays them out. The file appears complete or not at all.
storage::IoResult writeFormsPdf(const QString& path, const QList<OrderInput>& orders);

// The same for count orders that order(i, input) gives one at a time, so that memory stays
// flat however many pages the file has. A failure of order() ends the writing; the file is
// then not created (or keeps its old content) and the failure is returned.
using OrderSource = std::function<storage::IoResult(qsizetype index, OrderInput& input)>;
storage::IoResult writeFormsPdf(const QString& path, qsizetype count, const OrderSource& order);

} // namespace render
