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
LoadStatus load(Store& s, const char* file, T& table, qint64 unit, QStringList& messages,
                bool emptyIsMissing = false) {
    return loadStoreFile(s, s.folder.programDir + QLatin1String(file), &table, qint64(sizeof(T)),
                         unit, messages, emptyIsMissing);
}

template <class T> IoResult save(const Store& s, const char* file, const T& table) {
    return saveWholeFile(s, s.folder.programDir + QLatin1String(file), recordBytes(table));
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

void loadPathFile(Store& s, QStringList& messages) {
    load(s, "PathPlt", s.settings.path, PathPltFileSize, messages);
}

void loadWindowSizesFile(Store& s, QStringList& messages) {
    load(s, "FormW", s.settings.windowSizes, sizeof(FormSize), messages, true);
    for (FormSize& f : s.settings.windowSizes) {
        if (f.width == 0)
            f.width = 256;
        if (f.height == 0)
            f.height = 256;
    }
}

void loadColumnWidthsFile(Store& s, QStringList& messages) {
    load(s, "ArCol", s.settings.columnWidths, sizeof(U16), messages);
    for (U16& w : s.settings.columnWidths)
        if (w < 2)
            w = DefaultColumnWidth;
}

void loadSettingsFile(Store& s, QStringList& messages) {
    load(s, "Set", s.settings.bytes, 1, messages);
}

QString exportDir(const Store& s) {
    ShortStr<255> dir;
    std::memcpy(&dir, s.settings.bytes.data() + ExportDirOffset, sizeof dir);
    return cp1251::toUnicode(dir.view());
}

bool setExportDir(Store& s, const QString& dir) {
    const QByteArray bytes = cp1251::fromUnicode(dir);
    if (!cp1251::canEncode(dir) || bytes.size() > qsizetype(ShortStr<255>::capacity))
        return false;
    ShortStr<255> kept;
    clearRecord(kept);
    kept.assign(bytes);
    std::memcpy(s.settings.bytes.data() + ExportDirOffset, &kept, sizeof kept);
    return true;
}

bool columnWidthsStored(const Store& s, int base, int count) {
    for (int c = base; c < base + count && c < int(s.settings.columnWidths.size()); ++c)
        if (s.settings.columnWidths[std::size_t(c)] != DefaultColumnWidth)
            return true;
    return false;
}

IoResult saveWindowSizesFile(const Store& s) {
    return save(s, "FormW", s.settings.windowSizes);
}

IoResult saveSettingsFile(const Store& s) {
    return save(s, "Set", s.settings.bytes);
}

IoResult saveColumnWidthsFile(const Store& s) {
    return save(s, "ArCol", s.settings.columnWidths);
}

} // namespace storage
