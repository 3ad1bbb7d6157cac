#include "settings.h"

#include "cp1251.h"
#include "datafiles.h"

#include <cstring>

namespace storage {

static_assert(sizeof(SettingsTables::path) == PathPltFileSize);
static_assert(sizeof(SettingsTables::windowSizes) == FormWFileSize);
static_assert(sizeof(SettingsTables::columnWidths) == ArColFileSize);
static_assert(sizeof(SettingsTables::bytes) == SetFileSize);
static_assert(ExportDirOffset + sizeof(ShortStr<255>) == SetFileSize);

namespace {

template <class T>
LoadStatus load(FolderState& folder, const char* file, T& table, qint64 unit, QStringList& messages,
                bool emptyIsMissing = false) {
    return loadFolderFile(folder, folder.programDir + QLatin1String(file), &table,
                          qint64(sizeof(T)), unit, messages, emptyIsMissing);
}

template <class T> IoResult save(const FolderState& folder, const char* file, const T& table) {
    return saveWholeFile(folder, folder.programDir + QLatin1String(file), recordBytes(table));
}

} // namespace

void setDefaultSettings(SettingsTables& s) {
    clearRecord(s.path);
    for (FormSize& f : s.windowSizes) {
        f.width = 256;
        f.height = 256;
    }
    for (U16& w : s.columnWidths)
        w = DefaultColumnWidth;
    s.bytes.fill(0);
}

void loadPathFile(FolderState& folder, SettingsTables& s, QStringList& messages) {
    load(folder, "PathPlt", s.path, PathPltFileSize, messages);
}

void loadWindowSizesFile(FolderState& folder, SettingsTables& s, QStringList& messages) {
    load(folder, "FormW", s.windowSizes, sizeof(FormSize), messages, true);
    for (FormSize& f : s.windowSizes) {
        if (f.width == 0)
            f.width = 256;
        if (f.height == 0)
            f.height = 256;
    }
}

void loadColumnWidthsFile(FolderState& folder, SettingsTables& s, QStringList& messages) {
    load(folder, "ArCol", s.columnWidths, sizeof(U16), messages);
    for (U16& w : s.columnWidths)
        if (w < 2)
            w = DefaultColumnWidth;
}

void loadSettingsFile(FolderState& folder, SettingsTables& s, QStringList& messages) {
    load(folder, "Set", s.bytes, 1, messages);
}

QString exportDir(const SettingsTables& s) {
    ShortStr<255> dir;
    std::memcpy(&dir, s.bytes.data() + ExportDirOffset, sizeof dir);
    return cp1251::toUnicode(dir.view());
}

bool setExportDir(SettingsTables& s, const QString& dir) {
    const QByteArray bytes = cp1251::fromUnicode(dir);
    if (!cp1251::canEncode(dir) || bytes.size() > qsizetype(ShortStr<255>::capacity))
        return false;
    ShortStr<255> kept;
    clearRecord(kept);
    kept.assign(bytes);
    std::memcpy(s.bytes.data() + ExportDirOffset, &kept, sizeof kept);
    return true;
}

bool columnWidthsStored(const SettingsTables& s, int base, int count) {
    for (int c = base; c < base + count && c < int(s.columnWidths.size()); ++c)
        if (s.columnWidths[std::size_t(c)] != DefaultColumnWidth)
            return true;
    return false;
}

IoResult saveWindowSizesFile(const FolderState& folder, const SettingsTables& s) {
    return save(folder, "FormW", s.windowSizes);
}

IoResult saveSettingsFile(const FolderState& folder, const SettingsTables& s) {
    return save(folder, "Set", s.bytes);
}

IoResult saveColumnWidthsFile(const FolderState& folder, const SettingsTables& s) {
    return save(folder, "ArCol", s.columnWidths);
}

} // namespace storage
