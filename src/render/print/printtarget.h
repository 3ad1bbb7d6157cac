// Where the program's print jobs go: the current printer with its current settings, without
// a printer dialog. When no printer is installed the user is told so and may save the pages
// as a PDF file instead. The card printing and the payment order printing both start their
// jobs here.
#pragma once

#include <QPrinterInfo>

class QIcon;
class QPainter;
class QPrinter;
class QWidget;

namespace render {

// The printer jobs go to: the system's default printer, else the first one installed; a null
// QPrinterInfo when none is installed.
QPrinterInfo currentPrinter();

// Points printer at currentPrinter() with that printer's current settings, without a dialog.
// When no printer is installed, says so and offers a PDF file chosen in a save-file dialog
// (A4, ".pdf" added when missing); returns false when the user declines or cancels, so that
// nothing is printed. The resolution mode, copies and orientation the caller set are kept.
bool preparePrintTarget(QPrinter& printer, QWidget* parent);

// The picture of the print buttons: the desktop theme's printer, or a drawn one.
QIcon printIcon();

} // namespace render
