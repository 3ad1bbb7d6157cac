// Shared helpers of the tests: a temporary program folder, files made byte by byte, text in
// code page 1251, and answering modal dialogs.
#pragma once

#include "storage/folderdata.h"
#include "storage/savedorders.h"
#include "storage/shortstr.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <map>
#include <string>
#include <vector>

class QComboBox;

namespace testing_support {

// A fresh, empty program folder that disappears with the object.
class TempDir {
public:
    TempDir();
    QString path() const { return dir_.path() + QLatin1Char('/'); }
    QString file(const QString& relative) const { return path() + relative; }
    void write(const QString& relative, const QByteArray& bytes) const;
    QByteArray read(const QString& relative) const;
    bool exists(const QString& relative) const;
    qint64 size(const QString& relative) const;

private:
    QTemporaryDir dir_;
};

// While it lives, no process write may make a file larger than bytes: writes fail as on a
// full disk (works with any rights, unlike folder permissions).
class FileSizeLimit {
public:
    explicit FileSizeLimit(long long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    unsigned long long oldSoft_ = 0;
    unsigned long long oldHard_ = 0;
};

// While it lives, a file system of its own (tmpfs) of the given size is mounted on a fresh
// empty folder, so that writes there fail as on a full disk, with the system's own reason.
// Mounting needs root's rights: works() is false elsewhere, and a test then skips, saying so.
class SmallDisk {
public:
    explicit SmallDisk(long long bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool works() const { return mounted_; }
    QString path() const { return dir_.path() + QLatin1Char('/'); }
    // Gives the file system another size, keeping what it holds.
    bool resize(long long bytes);

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};

// While it lives, file permission bits hold for the calling thread even when the tests run
// as root: it lowers the capabilities that let root pass them (read-only folders, folders
// that cannot be read). works() tells whether the bits hold now; a test skips when not.
class FileRightsApply {
public:
    FileRightsApply();
    ~FileRightsApply();
    FileRightsApply(const FileRightsApply&) = delete;
    FileRightsApply& operator=(const FileRightsApply&) = delete;
    bool works() const { return works_; }

private:
    bool lowered_ = false;
    unsigned effective_[2] = {0, 0};
    bool works_ = false;
};

// Every entry under dir (links not followed) by its path relative to dir: a file's content,
// "<dir>" for a folder, "-> target" for a link, "<special>" for a FIFO or a device; for
// checks that a folder stayed as it was.
using Tree = std::map<QString, QByteArray>;
Tree folderTree(const QString& dir);

// Code page 1251 bytes of a UTF-8 literal, and back.
QByteArray cp(const char* utf8);
std::string cps(const char* utf8);
QString uni(std::string_view cp1251);

template <std::size_t N> QString uni(const storage::ShortStr<N>& s) {
    return uni(s.view());
}

// The bytes of an order file: 1169 bytes, zero but for the texts given (UTF-8, stored in code
// page 1251) and the accepted flag.
struct PlatFields {
    const char* number = "";
    const char* payerInn = "";
    const char* date = "";
    const char* payeeInn = "";
    const char* amount = "";
    unsigned char accepted = 0;
    const char* purpose = "";
};
QByteArray platFile(const PlatFields& f);

// The saved orders of folder as a start lists them: the order folder scanned without an index
// and the list built, orders whose record no longer fits their name renamed (not when the
// folder is only read). Returns what the scan of the folder gave.
storage::IoResult listSavedOrders(const storage::FolderState& folder, storage::SavedOrders& out);

// Files of the earlier version, laid out by hand: an organization (2966 bytes) with its name
// (UTF-8, stored in code page 1251) and INN, the directory file of 64 such records (the
// records given, then empty ones), and an order (389 bytes) with every field filled.
QByteArray oldFirmRecord(const char* name, const char* inn);
QByteArray oldFirmsFile(const std::vector<QByteArray>& records);
QByteArray oldOrderFile(const char* number, const char* date, const char* payerInn,
                        const char* payeeInn);

// Runs action() while a zero-time timer answers the first modal dialog (or message box)
// that opens with answer(dialog). Returns the text of the dialog's label if it was a
// QMessageBox, or its window title otherwise; empty when no modal window appeared.
QString whenModal(const std::function<void(QWidget*)>& answer, const std::function<void()>& action);

// Like whenModal for a chain of modal windows (a message box, then the dialog it leads to):
// answers[i] answers the i-th modal window that opens while action() runs; a dialog that
// closes and opens again counts again. Returns the texts seen, as whenModal does, one for
// each window answered.
QStringList whenModals(const std::vector<std::function<void(QWidget*)>>& answers,
                       const std::function<void()>& action);

// Types text into w key by key, like QTest::keyClicks but for any character (QTest's key
// table knows only ASCII); "\n" is the Enter key.
void typeText(QWidget* w, const QString& text);

// Clicks the button with the given text in widget w (a QMessageBox or any dialog).
void clickButton(QWidget* w, const QString& text);

// Chooses a row of a drop-down list as the user does with the mouse: the list gets the focus,
// shows the row and reports it chosen (activated).
void chooseRow(QComboBox* combo, int row);

// Answers for whenModal/whenModals: click the button with that text; choose path in a file
// dialog and accept it.
std::function<void(QWidget*)> pressing(const QString& text);
std::function<void(QWidget*)> choosingFile(const QString& path);

} // namespace testing_support
