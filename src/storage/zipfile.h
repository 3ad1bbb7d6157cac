// Reading one file out of a zip archive held in memory (the form in which the Bank of Russia
// publishes its BIK directory), through libzip.
#pragma once

#include <QByteArray>
#include <QString>

namespace storage {

// True when bytes begin like a zip archive.
bool looksLikeZip(const QByteArray& bytes);

// Unpacks from the archive zip the one entry whose name ends in suffix (case ignored) into
// out. Fails with a Russian reason in error when the archive cannot be read, holds no such
// entry or more than one, or the entry would unpack to more than maxBytes.
bool unzipEntry(const QByteArray& zip, const QString& suffix, qint64 maxBytes, QByteArray& out,
                QString& error);

} // namespace storage
