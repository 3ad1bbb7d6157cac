// Whole-file reading and writing for the data files. Every write goes through QSaveFile, so
// a failed or interrupted write leaves the old file as it was. Failures come back as a
// result with a Russian text that names the file and the system's reason; storage never
// shows a message itself.
#pragma once

#include "digits.h"

#include <QByteArray>
#include <QString>
#include <string_view>

#include <functional>

class QFileDevice;
class QIODevice;

namespace storage {

struct IoResult {
    bool ok = true;
    QString error;  // for the user: which file, and the system's reason
    QString reason; // the reason alone, where a caller names the file its own way

    explicit operator bool() const { return ok; }
    static IoResult failure(QString text, QString why = {}) {
        return {false, std::move(text), std::move(why)};
    }
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

// The reason given for a data file of another size than its record: "1170 байт вместо 1169".
QString wrongSizeReason(qint64 size, qint64 expected);

// The reason given for an entry that is not a regular file (a FIFO, a device, a socket) where
// the program keeps a data file: it is never opened as one.
QString notRegularReason();

// For a symbolic link: true when its final target exists and stands in the link's own folder
// (both folders taken with links resolved). Any other existing entry stands in its own
// folder and gives true as well.
bool linkStaysInFolder(const QString& path);

// What a write guarantees after a power cut. A data file is durable: its content and its
// name reach the disk before the write returns. A cache, which is checked when it is read
// and rebuilt when it is damaged, only replaces the old file whole, without waiting for the
// disk.
enum class Durability { Durable, Cache };

// Creates or replaces path with data, atomically and durably (the file, then its folder,
// synced before it returns; not with Durability::Cache). A symbolic link is written through
// only when it leads to a file of its own folder; any other link is refused, so that nothing
// is written outside the folders of the program. A folder, device or FIFO of that name is
// refused, never replaced.
IoResult writeFileAtomic(const QString& path, const QByteArray& data,
                         Durability durability = Durability::Durable);

// The same for content that a producer writes into the device it is given (a PDF writer, for
// example): the file appears, or replaces the old one, only when produce succeeded and every
// byte it wrote reached the file; otherwise the old file stays as it was. A failure of produce
// comes back as it is; one with an empty text gets the file's name and the system's reason.
using Producer = std::function<IoResult(QIODevice& out)>;
IoResult writeFileAtomic(const QString& path, const Producer& produce,
                         Durability durability = Durability::Durable);

// Creates path with data only when no entry of that name exists (not even a link): the data
// are written whole beside it (path + ".new") and take the name by a rename that never
// replaces. When the name is taken, nothing is written under it and existed is set.
IoResult writeFileNew(const QString& path, const QByteArray& data, bool& existed);

// Reads at most maxBytes from the start of path into out. Only a regular file is read: any
// other entry (a FIFO, a device) fails with notRegularReason() and is never waited on.
IoResult readFile(const QString& path, QByteArray& out, qint64 maxBytes);
// Reads from the open file fd into data until size bytes are read or the file ends; returns
// how many were read, with error set to the system's error number when a read failed. With
// an offset, reads from there on (pread) without moving the file's position.
qint64 readUpTo(int fd, char* data, qint64 size, int& error, qint64 offset = -1);

// A reader of files in readFile's place: the scans of the order folder take one, so that
// tests can put a failing reader in its place.
using ReadFileFn = IoResult (*)(const QString& path, QByteArray& out, qint64 maxBytes);

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

// Makes the entries of folder dir (names created, renamed or removed there) durable, as a
// file's sync makes its content durable: called after the rename or link that completes a
// save, before the save is reported done. A file system that cannot sync a folder passes.
IoResult syncFolder(const QString& dir);
// syncFolder for the folder of path; for a move, the folder of to and then that of from.
IoResult syncFolderOf(const QString& path);
IoResult syncFoldersOf(const QString& from, const QString& to);

// Renames path to a free name beside it (path + suffix, then path + suffix + "1", ...);
// movedTo (when given) receives the new name.
IoResult moveAside(const QString& path, const QString& suffix, QString* movedTo = nullptr);

// Keeps what path holds now under a free name beside it (as moveAside names it) while path
// itself stays: a second name of the same file where the file system allows it, otherwise a
// complete copy. A name that already holds the same content (kept by an earlier attempt)
// is taken as it is. keptAs receives the name.
IoResult keepCopy(const QString& path, const QString& suffix, QString& keptAs);

} // namespace storage
