// Opening a document (the help) in the desktop's viewer, with the reason in Russian when it
// cannot be opened: no such file, no viewer at all, or a viewer that gives up.
#pragma once

#include <QString>
#include <functional>

class QObject;

namespace editor {

// Opens file in the viewer the desktop has for it. When that fails, failed(reason) is called,
// possibly later, once the viewer has given up (so not after context is gone). On Linux the
// desktop's opener (xdg-open) is asked and waited for in the background: it fails when no
// program can show the file, which the shell's usual call would not report.
void openDocument(const QString& file, QObject* context,
                  std::function<void(const QString& reason)> failed);

// Why the desktop's opener (xdg-open) gave up, from its exit code.
QString openerFailure(int exitCode);

} // namespace editor
