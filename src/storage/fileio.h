// Whole-file reading and writing for the data files. Every write goes through QSaveFile, so
// a failed or interrupted write leaves the old file as it was. Failures come back as a
// result with a Russian text that names the file and the system's reason; storage never
// shows a message itself.
#pragma once

#include <QByteArray>
#include <QString>
#include <string_view>

#include <functional>

class QFileDevice;
class QIODevice;

namespace storage {

struct IoResult {
    bool ok = true;
    QString error; // for the user: which file, and the system's reason

    explicit operator bool() const { return ok; }
    static IoResult failure(QString text) { return {false, std::move(text)}; }
};

// The system's reason for a failure (an errno value) in Russian, for messages: the user never
// sees the system's own English text.
QString systemReason(int error);

// The reason of the last failure of file (QFile, QSaveFile) in Russian: the system's reason
// when Qt took it from the system, else the kind of failure.
QString deviceReason(const QFileDevice& file);

// "action path: reason", the path as the system writes it: the one form of every message
// about a file.
QString fileMessage(const QString& action, const QString& path, const QString& reason);

// For a symbolic link: true when its final target exists and stands in the link's own folder
// (both folders taken with links resolved). Any other existing entry stands in its own
// folder and gives true as well.
bool linkStaysInFolder(const QString& path);

// Creates or replaces path with data, atomically. A symbolic link is written through only
// when it leads to a file of its own folder; any other link is refused, so that nothing is
// written outside the folders of the program.
IoResult writeFileAtomic(const QString& path, const QByteArray& data);

// The same for content that a producer writes into the device it is given (a PDF writer, for
// example): the file appears, or replaces the old one, only when produce succeeded and every
// byte it wrote reached the file; otherwise the old file stays as it was. A failure of produce
// comes back as it is; one with an empty text gets the file's name and the system's reason.
using Producer = std::function<IoResult(QIODevice& out)>;
IoResult writeFileAtomic(const QString& path, const Producer& produce);

// Creates path with data only when no entry of that name exists (not even a link): the data
// are written whole beside it (path + ".new") and take the name by a rename that never
// replaces. When the name is taken, nothing is written under it and existed is set.
IoResult writeFileNew(const QString& path, const QByteArray& data, bool& existed);

// Reads at most maxBytes from the start of path into out.
IoResult readFile(const QString& path, QByteArray& out, qint64 maxBytes);

// Reads the whole of a file the user chose to import (a directory, a statement): anything but
// a regular file (a folder, a device, a pipe that would wait for a writer) is refused, and so
// is a file longer than maxBytes, rather than read in part.
IoResult readChosenFile(const QString& path, QByteArray& out, qint64 maxBytes);

// Reads exactly size bytes from the start of path; a shorter file fails with a message.
IoResult readExactly(const QString& path, void* record, qint64 size);

// Renames a file without ever replacing an existing one; false when the target exists or
// the system refuses.
bool renameNoReplace(const QString& from, const QString& to);

// The one way the program moves a file: to a new name that it never takes from an existing
// file. A rename where the two folders allow it; otherwise a copy that is complete on disk
// under the new name before the old name is removed. Fails naming the file and the reason;
// existed (when given) tells that the new name was taken, and nothing moved.
IoResult moveFile(const QString& from, const QString& to, bool* existed = nullptr);

// Renames path to a free name beside it (path + suffix, then path + suffix + "1", ...).
// Returns the new name, or an empty string when the file could not be moved.
QString moveAside(const QString& path, const QString& suffix);

// A file name part made only of the digits 0..9 (and not empty): the only kind of text a
// file name is built from.
bool isDigits(std::string_view s);

} // namespace storage
