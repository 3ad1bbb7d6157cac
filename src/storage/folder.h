// Listing the data files of a folder in a fixed order. The file system of the program's
// first platform listed a folder sorted by name, letters compared as capitals; the same
// order is used here, so that "the first files found" means the same everywhere.
#pragma once

#include "fileio.h"

#include <QString>
#include <QStringView>
#include <functional>
#include <vector>

namespace storage {

// The names (without folder) of the regular files of dir whose names end in extension (for
// example ".plat"; the case of the letters is ignored), sorted by name: code unit by code
// unit after each character is made a capital, and names that differ only in case in their
// exact order. Directories, sockets, devices and symbolic links that lead out of dir are
// passed over; a link to a file of dir itself counts as a file. A folder that cannot be
// read gives no names. The kind of each entry comes with the folder's listing, so no file
// is asked for its status unless the file system leaves the kind open or it is a link.
std::vector<QString> listFileNames(const QString& dir, QStringView extension);

// Calls f(name, dirFd) for every file of dir that listFileNames admits, in the order the
// system lists the folder, with the name as the system gives it, until f returns false;
// dirFd is the open folder, for calls relative to it (fstatat, openat). False when dir
// cannot be opened.
using FolderVisitor = std::function<bool(const char* name, int dirFd)>;
bool forEachFolderFile(const QString& dir, QStringView extension, const FolderVisitor& f);

struct FolderEntry {
    QString name; // without folder
    qint64 size = 0;
};

// listFileNames with the size of each file (files that vanish meanwhile are left out).
std::vector<FolderEntry> listFiles(const QString& dir, QStringView extension);

// The size of a file, following links; -1 when it does not exist.
qint64 fileSize(const QString& path);

// True when dir holds at least one file that listFileNames would return.
bool hasFiles(const QString& dir, QStringView extension);

// Fails, naming the folder and the system's reason, when dir exists but cannot be listed
// (no right to read it, an input or output error); a missing folder, or a file in its place,
// passes: start-up reports those when it cannot create the folder.
IoResult checkFolderReadable(const QString& dir);

} // namespace storage
