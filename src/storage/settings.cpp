#include "settings.h"

#include "cp1251.h"
#include "datafiles.h"

#include <cstring>

namespace storage {

static_assert(sizeof(Store::PathPlt) == PathPltFileSize);
static_assert(sizeof(Store::FormSizes) == FormWFileSize);
static_assert(sizeof(Store::ColWidths) == ArColFileSize);
static_assert(sizeof(Store::Settings) == SetFileSize);
static_assert(ExportDirOffset + sizeof(ShortStr<255>) == SetFileSize);

namespace {

template <class T>
LoadStatus load(Store& s, const char* file, T& table, qint64 unit, QStringList& messages,
                bool emptyIsMissing = false) {
    return loadStoreFile(s, s.ProgramDir + QLatin1String(file), &table, qint64(sizeof(T)), unit,
                         messages, emptyIsMissing);
}

template <class T> IoResult save(const Store& s, const char* file, const T& table) {
    return saveWholeFile(s, s.ProgramDir + QLatin1String(file), recordBytes(table));
}

} // namespace

void setDefaultSettings(Store& s) {
    clearRecord(s.PathPlt);
    for (FormSize& f : s.FormSizes) {
        f.width = 256;
        f.height = 256;
    }
    for (U16& w : s.ColWidths)
        w = DefaultColumnWidth;
    s.Settings.fill(0);
}

void loadPathFile(Store& s, QStringList& messages) {
    load(s, "PathPlt", s.PathPlt, PathPltFileSize, messages);
}

void loadWindowSizesFile(Store& s, QStringList& messages) {
    load(s, "FormW", s.FormSizes, sizeof(FormSize), messages, true);
    for (FormSize& f : s.FormSizes) {
        if (f.width == 0)
            f.width = 256;
        if (f.height == 0)
            f.height = 256;
    }
}

void loadColumnWidthsFile(Store& s, QStringList& messages) {
    load(s, "ArCol", s.ColWidths, sizeof(U16), messages);
    for (U16& w : s.ColWidths)
        if (w < 2)
            w = DefaultColumnWidth;
}

void loadSettingsFile(Store& s, QStringList& messages) {
    load(s, "Set", s.Settings, 1, messages);
}

QString exportDir(const Store& s) {
    ShortStr<255> dir;
    std::memcpy(&dir, s.Settings.data() + ExportDirOffset, sizeof dir);
    return cp1251::toUnicode(dir.view());
}

bool setExportDir(Store& s, const QString& dir) {
    const QByteArray bytes = cp1251::fromUnicode(dir);
    if (!cp1251::canEncode(dir) || bytes.size() > qsizetype(ShortStr<255>::capacity))
        return false;
    ShortStr<255> kept;
    clearRecord(kept);
    kept.assign(bytes);
    std::memcpy(s.Settings.data() + ExportDirOffset, &kept, sizeof kept);
    return true;
}

bool columnWidthsStored(const Store& s, int base, int count) {
    for (int c = base; c < base + count && c < int(s.ColWidths.size()); ++c)
        if (s.ColWidths[std::size_t(c)] != DefaultColumnWidth)
            return true;
    return false;
}

IoResult saveWindowSizesFile(const Store& s) {
    return save(s, "FormW", s.FormSizes);
}

IoResult saveSettingsFile(const Store& s) {
    return save(s, "Set", s.Settings);
}

IoResult saveColumnWidthsFile(const Store& s) {
    return save(s, "ArCol", s.ColWidths);
}

} // namespace storage
