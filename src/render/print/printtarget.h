// Where the program's print jobs go: the current printer with its current settings, without
// a printer dialog, or a PDF file that stands in for a missing printer. Asking the user which
// is the windows' part; the card printing and the payment order printing both set their
// printers up here.
#pragma once

#include <QPrinterInfo>
#include <QString>

class QIcon;
class QPrinter;

namespace render {

// The printer jobs go to: the system's default printer, else the first one installed; a null
// QPrinterInfo when none is installed.
QPrinterInfo currentPrinter();

// Points printer at currentPrinter() with that printer's current settings; false when no
// printer is installed (printer is then left as it was). The resolution mode, copies and
// orientation the caller set are kept.
bool useCurrentPrinter(QPrinter& printer);

// Points printer at the PDF file at path instead (A4, ".pdf" added when missing); the
// resolution mode, copies and orientation the caller set are kept.
void usePdfFile(QPrinter& printer, QString path);

// The picture of the print buttons: the desktop theme's printer, or a drawn one.
QIcon printIcon();

} // namespace render
