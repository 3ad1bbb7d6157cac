// The command line of the program: the options, and one function per mode. Each mode lives
// in a file of its own (cli_list.cpp, cli_check.cpp, cli_words.cpp, cli_pdf.cpp,
// cli_export.cpp, cli_bank.cpp, windows.cpp).
#pragma once

#include <QStringList>
#include <QTextStream>
#include <iosfwd>
#include <optional>

namespace storage {
struct FolderData;
}

namespace app {

struct Options {
    enum class Mode {
        Window,
        List,
        Words,
        Pdf,
        Export,
        Check,
        ImportBik,
        ImportStatement,
        Help,
        Version
    };
    Mode mode = Mode::Window;
    QString dir;          // --dir; empty: chosen by chooseProgramFolder
    bool noLock = false;  // --no-lock: work on the folder without its lock, on the user's word
    bool deleted = false; // --list --deleted: the deleted orders
    QString words;        // --words AMOUNT, or "-" for standard input
    QString pdfOut;       // --pdf OUT.pdf
    QString exportOut;    // --export OUT.txt
    QString importFile;   // --import-bik FILE, --import-statement FILE
    QStringList orders;   // --pdf or --export ... NAME.plat...
};

// Parses the arguments after the program name. On an error returns nothing and sets error.
std::optional<Options> parseOptions(const QStringList& args, QString& error);

QString usageText();

// The modes. Each returns the exit status; messages for the user go to err.
int runList(storage::FolderData& store, QTextStream& out, QTextStream& err);
// --list --deleted: the deleted orders of PPDel, the latest deletion first, one line each,
// tab-separated: number, date, payer, payee, amount, when deleted, file name. An order that
// cannot be read is named on err and gives 1.
int runListDeleted(storage::FolderData& store, QTextStream& out, QTextStream& err);
// --check: one tab-separated line per check-digit or format problem of the directory
// (organization, field, bank slot, problem) and of the saved orders (file, party, field,
// problem); 0 when there is none, 1 otherwise. Changes nothing in the folder.
int runCheck(storage::FolderData& store, QTextStream& out, QTextStream& err);
// --words works on byte streams (UTF-8), so that a million amounts stream through quickly.
int runWords(const QString& amount, std::istream& in, std::ostream& out, std::ostream& err);
int runPdf(storage::FolderData& store, const QString& outFile, const QStringList& orders,
           QTextStream& err);
// Writes the client-bank exchange file for the named orders: 0 when every order is in it,
// 1 when some were left out (each named on err with its reason) or the file could not be
// written. How many orders went where is told on out.
int runExport(storage::FolderData& store, const QString& outFile, const QStringList& orders,
              QTextStream& out, QTextStream& err);
// --import-bik: keeps the BIK directory of file (ED807, zipped or not) as Data/Bik. 0 when
// every entry was taken, 1 when some were left out (each on err with its reason) or nothing
// was imported (the reason on err), as with every change while the folder is only read
// (another program holds it, or no lock can be taken).
int runImportBik(storage::FolderData& store, const QString& file, QTextStream& out,
                 QTextStream& err);
// --import-statement: marks the saved orders that the statement in file shows debited. How
// many were marked, and the saved orders of its period it does not show debited, go to out;
// the statement lines that matched no saved order go to err, one each, and give 1; so does a
// statement refused whole.
int runImportStatement(storage::FolderData& store, const QString& file, QTextStream& out,
                       QTextStream& err);
// The file of a named saved order: a plain file name stands for the order of that name in
// the folder of saved orders, anything else is a path as given.
QString orderPath(const storage::FolderData& store, const QString& name);
// Creates the windows in their order and runs the event loop; startupMessages are shown in
// message boxes before the main window.
int runWindows(storage::FolderData& store, const QStringList& startupMessages);
// A window start on a program folder that another program holds: the message box with text;
// returns the exit status.
int refuseHeldFolder(const QString& text);

} // namespace app
