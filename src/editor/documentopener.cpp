#include "documentopener.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace editor {

QString openerFailure(int exitCode) {
    switch (exitCode) {
    case 2:
        return QStringLiteral("файл не найден");
    case 3:
        return QStringLiteral("нет программы, которая показывает такие файлы (например, "
                              "веб-браузера)");
    case 4:
        return QStringLiteral("программа просмотра не смогла открыть файл");
    default:
        return QStringLiteral("программа xdg-open завершилась с кодом %1").arg(exitCode);
    }
}

void openDocument(const QString& file, QObject* context,
                  std::function<void(const QString& reason)> failed) {
    if (!QFileInfo(file).isFile()) {
        failed(QStringLiteral("файл не найден"));
        return;
    }
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
        !opener.isEmpty()) {
        // The process belongs to no window: it ends by itself and is deleted then; only the
        // report of its failure goes to the context.
        auto* process = new QProcess;
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setStandardErrorFile(QProcess::nullDevice());
        QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
        QObject::connect(process, &QProcess::finished, context,
                         [failed](int code, QProcess::ExitStatus status) {
                             if (status != QProcess::NormalExit)
                                 failed(QStringLiteral("программа xdg-open завершилась аварийно"));
                             else if (code != 0)
                                 failed(openerFailure(code));
                         });
        QObject::connect(process, &QProcess::errorOccurred, context,
                         [process, failed](QProcess::ProcessError error) {
                             if (error != QProcess::FailedToStart)
                                 return;
                             process->deleteLater();
                             failed(QStringLiteral("не удалось запустить программу xdg-open"));
                         });
        // A viewer that xdg-open runs itself keeps it waiting until the viewer closes; when the
        // program ends first, xdg-open is stopped quietly and the viewer stays open.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, process, [process] {
            process->disconnect();
            process->kill();
            process->waitForFinished(1000);
            delete process;
        });
        process->start(opener, {file});
        return;
    }
#else
    (void)context;
#endif
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(file)))
        failed(QStringLiteral("нет программы, которая показывает такие файлы"));
}

} // namespace editor
