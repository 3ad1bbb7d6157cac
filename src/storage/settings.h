// The four small settings files of the program folder: "PathPlt" (a path that is only held),
// "FormW" (window sizes by window tag), "ArCol" (column widths of the list windows) and
// "Set" (settings; byte 0 keeps only the orders of the current year, byte 1 offers the VAT
// rates of the simplified tax system, bytes 256 to 511 hold the folder the orders for the
// bank were last written to; the other bytes travel untouched).
#pragma once

#include "fileio.h"
#include "folderdata.h"

#include <QStringList>

namespace storage {

inline constexpr qint64 PathPltFileSize = 256;
inline constexpr qint64 FormWFileSize = 1024;
inline constexpr qint64 ArColFileSize = 512;
inline constexpr qint64 SetFileSize = 512;
inline constexpr std::uint16_t DefaultColumnWidth = 16;

// The defaults of missing files: no path, windows 256 by 256 pixels, columns 16 pixels wide,
// every setting 0.
void setDefaultSettings(SettingsTables& s);

// Loads "PathPlt", "FormW" and "ArCol" over the defaults. A window width or height of 0
// becomes 256 and a column width below 2 becomes 16. An empty "FormW" counts as missing.
// A file shorter than its record gives what it holds (whole entries) and keeps the defaults
// for the rest; it is reported, kept aside under a new name and written again whole.
void loadPathFile(FolderState& folder, SettingsTables& s, QStringList& messages);
void loadWindowSizesFile(FolderState& folder, SettingsTables& s, QStringList& messages);
void loadColumnWidthsFile(FolderState& folder, SettingsTables& s, QStringList& messages);
// Loads "Set" the same way.
void loadSettingsFile(FolderState& folder, SettingsTables& s, QStringList& messages);

// The folder the orders for the bank were last written to: bytes 256 to 511 of "Set", a
// short text (length byte, then code page 1251). Earlier installations keep these bytes 0
// and ignore them. Empty when none was kept.
inline constexpr std::size_t ExportDirOffset = 256;
QString exportDir(const SettingsTables& s);
// Keeps dir as that folder in memory; false, keeping the old one, when dir does not fit:
// longer than 255 characters or with a character that code page 1251 cannot hold.
bool setExportDir(SettingsTables& s, const QString& dir);

// Whether a grid's column widths (count slots from base) were stored by the user: a grid
// whose slots all hold the default 16 never was, and opens its columns wide enough to read.
// Each grid decides for itself, from its own slots, so that the file stays as it always was.
bool columnWidthsStored(const SettingsTables& s, int base, int count);

// Write the tables whole, creating or replacing the files.
IoResult saveWindowSizesFile(const FolderState& folder, const SettingsTables& s);
IoResult saveSettingsFile(const FolderState& folder, const SettingsTables& s);
IoResult saveColumnWidthsFile(const FolderState& folder, const SettingsTables& s);

} // namespace storage
