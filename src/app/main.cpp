// The program entry: parses the command line, runs the start-up of storage and either opens
// the windows or runs one command-line mode.
#include "cli.h"
#include "programfolder.h"

#include "storage/cp1251.h"
#include "storage/folderdata.h"
#include "storage/folderlock.h"
#include "storage/output.h"
#include "storage/startup.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QStandardPaths>
#include <cstdio>
#include <iostream>
#include <memory>

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName(QStringLiteral("Quenmara"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUENMARA_VERSION));
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    QString error;
    const std::optional<app::Options> options = app::parseOptions(args, error);

    // The command-line modes need no display.
    if (!options || options->mode != app::Options::Mode::Window)
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);
    if (!options) {
        err << error << "\n\n" << app::usageText();
        return 2;
    }
    using Mode = app::Options::Mode;
    switch (options->mode) {
    case Mode::Help:
        out << app::usageText();
        return 0;
    case Mode::Version:
        out << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion()
            << '\n';
        return 0;
    case Mode::Words:
        std::ios::sync_with_stdio(false);
        return app::runWords(options->words, std::cin, std::cout, std::cerr);
    default:
        break;
    }

    QApplication application(argc, argv);
    if (!storage::cp1251::available()) {
        err << "Нет преобразования кодовой страницы windows-1251 (Qt собран без ICU?)\n";
        return 1;
    }
    QGuiApplication::setDesktopFileName(QStringLiteral("quenmara"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("quenmara")));
    const QString dir =
        app::chooseProgramFolder(options->dir, QCoreApplication::applicationDirPath(),
                                 QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    if (!QFileInfo(dir).isDir()) {
        err << QStringLiteral("Папка программы не найдена: %1\n")
                   .arg(QDir::toNativeSeparators(dir));
        return 1;
    }
    // One program at a time works in a program folder; the lock is taken before the start-up
    // touches anything and released on every way out. --check only reads the folder: it
    // takes no lock and changes nothing there.
    storage::FolderLock lock(dir);
    bool readOnly = options->mode == Mode::Check;
    QString lockMessage;
    const storage::FolderLock::State state =
        readOnly || options->noLock ? storage::FolderLock::State::Taken : lock.acquire();
    if (state == storage::FolderLock::State::Held) {
        const QString holder = lock.holder();
        QString text = QStringLiteral("Папка программы %1 занята другой программой")
                           .arg(QDir::toNativeSeparators(dir));
        if (!holder.isEmpty())
            text += QStringLiteral(" (%1)").arg(holder);
        if (options->mode == Mode::Window) {
            text += QStringLiteral(".\nЗакройте ту программу и запустите эту снова.");
            err << text << '\n';
            err.flush();
            return app::refuseHeldFolder(text);
        }
        err << text << QStringLiteral(": она прочитана как есть, в ней ничего не изменено.\n");
        readOnly = true;
    } else if (state == storage::FolderLock::State::Unavailable) {
        // Without a lock a second program could write the same files: the folder is only read,
        // unless the user says that no other program works on it.
        lockMessage =
            QStringLiteral("Не могу заблокировать папку программы %1, %2.\nПапка открыта только "
                           "для чтения: изменения в ней не сохраняются. Если с этой папкой "
                           "работает только одна программа, запустите ее с параметром --no-lock.")
                .arg(QDir::toNativeSeparators(dir), lock.problem());
        readOnly = true;
    }
    auto store = std::make_unique<storage::FolderData>();
    store->folder.readOnly = readOnly;
    QStringList messages = storage::startUp(*store, dir);
    if (!lockMessage.isEmpty())
        messages.prepend(lockMessage);

    if (options->mode == Mode::Window)
        return app::runWindows(*store, messages);
    for (const QString& m : messages)
        err << m << '\n';
    err.flush();
    if (options->mode == Mode::List)
        return options->deleted ? app::runListDeleted(*store, out, err)
                                : app::runList(*store, out, err);
    if (options->mode == Mode::Check)
        return app::runCheck(*store, out, err);
    if (options->mode == Mode::ImportBik)
        return app::runImportBik(*store, options->importFile, out, err);
    if (options->mode == Mode::ImportStatement)
        return app::runImportStatement(*store, options->importFile, out, err);
    // An output never lands on the program's own data, a folder, a device or a FIFO.
    const QString output = options->mode == Mode::Export ? options->exportOut : options->pdfOut;
    if (const storage::IoResult r = storage::checkOutputFile(store->folder, output); !r) {
        err << r.error << '\n';
        return 2;
    }
    if (options->mode == Mode::Export)
        return app::runExport(*store, options->exportOut, options->orders, out, err);
    return app::runPdf(*store, options->pdfOut, options->orders, err);
}
