#include "settings.h"

#include "storage/settings.h"

#include <algorithm>

namespace core {

namespace {

// The first slot of each grid's column widths in "ArCol".
int columnBase(Grid grid) {
    switch (grid) {
    case Grid::Organizations:
        return 0;
    case Grid::Orders:
        return 8;
    case Grid::Branches:
        return 16;
    case Grid::Employees:
        return 20;
    case Grid::DeletedOrders:
        return 32;
    }
    return 0;
}

std::size_t index(WindowTag tag) {
    return std::size_t(tag);
}

} // namespace

Settings::Settings(ProgramFolder& folder, storage::SettingsTables& tables)
    : folder_(folder), tables_(tables), written_(tables) {}

bool Settings::currentYearOnly() const {
    return tables_.currentYearOnly() == 1;
}

void Settings::setCurrentYearOnly(bool on) {
    tables_.currentYearOnly() = on ? 1 : 0;
}

bool Settings::usnVatRates() const {
    return tables_.usnVatRates() == 1;
}

void Settings::setUsnVatRates(bool on) {
    tables_.usnVatRates() = on ? 1 : 0;
}

QString Settings::exportFolder() const {
    return storage::exportDir(tables_);
}

bool Settings::setExportFolder(const QString& dir) {
    return storage::setExportDir(tables_, dir);
}

QSize Settings::windowSize(WindowTag tag) const {
    const storage::FormSize& s = tables_.windowSizes[index(tag)];
    return {s.width, s.height};
}

bool Settings::windowSizeKept(WindowTag tag) const {
    return windowSize(tag) != QSize(256, 256);
}

void Settings::setWindowSize(WindowTag tag, const QSize& size) {
    storage::FormSize& s = tables_.windowSizes[index(tag)];
    s.width = std::uint16_t(std::clamp(size.width(), 0, 0xFFFF));
    s.height = std::uint16_t(std::clamp(size.height(), 0, 0xFFFF));
}

QList<int> Settings::columnWidths(Grid grid, int count) const {
    QList<int> widths;
    const int base = columnBase(grid);
    for (int c = 0; c < count; ++c)
        widths << tables_.columnWidths[std::size_t(base + c)];
    return widths;
}

bool Settings::columnWidthsKept(Grid grid, int count) const {
    return storage::columnWidthsStored(tables_, columnBase(grid), count);
}

void Settings::setColumnWidths(Grid grid, const QList<int>& widths) {
    const int base = columnBase(grid);
    for (qsizetype c = 0; c < widths.size(); ++c)
        tables_.columnWidths[std::size_t(base + c)] =
            std::uint16_t(std::clamp(widths[c], 0, 0xFFFF));
}

storage::IoResult Settings::saveSettings() {
    if (tables_.bytes == written_.bytes)
        return {};
    storage::IoResult r = storage::saveSettingsFile(folder_.state(), tables_);
    if (r)
        written_.bytes = tables_.bytes;
    return r;
}

storage::IoResult Settings::saveWindowSizes() {
    if (storage::recordBytes(tables_.windowSizes) == storage::recordBytes(written_.windowSizes))
        return {};
    storage::IoResult r = storage::saveWindowSizesFile(folder_.state(), tables_);
    if (r)
        written_.windowSizes = tables_.windowSizes;
    return r;
}

storage::IoResult Settings::saveColumnWidths() {
    if (storage::recordBytes(tables_.columnWidths) == storage::recordBytes(written_.columnWidths))
        return {};
    storage::IoResult r = storage::saveColumnWidthsFile(folder_.state(), tables_);
    if (r)
        written_.columnWidths = tables_.columnWidths;
    return r;
}

} // namespace core
