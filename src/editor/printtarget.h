// Asking the user where a print job goes when there is no printer to send it to.
#pragma once

class QPrinter;
class QString;
class QWidget;

namespace editor {

// Points printer at the current printer with its current settings, without a dialog. When
// no printer is installed, says so and offers a PDF file chosen in a save-file dialog
// instead, the dialog opening in folder; returns false when the user declines or cancels, so
// that nothing is printed.
bool askPrintTarget(QPrinter& printer, QWidget* parent, const QString& folder);

} // namespace editor
