#include "datafiles.h"

#include <QDir>
#include <QFileInfo>

namespace storage {

LoadOutcome loadFixedFile(const QString& path, void* dest, qint64 size, qint64 unit,
                          bool emptyIsMissing, bool keepInPlace) {
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    QByteArray data;
    const IoResult read = readFile(path, data, size);
    const QString shown = QDir::toNativeSeparators(path);
    if (!read)
        return {LoadStatus::Unreadable,
                read.error + QStringLiteral("\nФайл оставлен как есть; до выхода из программы "
                                            "изменения в нем не сохраняются.")};
    if (data.size() == size) {
        std::memcpy(dest, data.constData(), std::size_t(size));
        return {LoadStatus::Loaded, {}};
    }
    if (data.isEmpty() && emptyIsMissing)
        return {};

    const qint64 whole = data.size() / unit * unit;
    std::memcpy(dest, data.constData(), std::size_t(whole));
    QString text = QStringLiteral("Файл %1 поврежден: %2 байт вместо %3.")
                       .arg(shown)
                       .arg(data.size())
                       .arg(size);
    const QString aside = keepInPlace ? QString() : moveAside(path, QStringLiteral(".damaged"));
    if (aside.isEmpty()) {
        text += QStringLiteral(" Прочитано то, что удалось; файл оставлен как есть.");
        return {LoadStatus::Salvaged, text};
    }
    const IoResult written =
        writeFileAtomic(path, QByteArray(static_cast<const char*>(dest), qsizetype(size)));
    if (!written && renameNoReplace(aside, path)) {
        // Without a complete file in its place the next start would find none at all: the
        // damaged file goes back, to be read again then.
        text +=
            QStringLiteral(" Прочитано то, что удалось; файл оставлен как есть.\n") + written.error;
        return {LoadStatus::Salvaged, text};
    }
    text += QStringLiteral(" Прочитано то, что удалось; прежний файл сохранен как %1.")
                .arg(QDir::toNativeSeparators(aside));
    if (!written)
        text += u'\n' + written.error;
    return {LoadStatus::Salvaged, text};
}

LoadStatus loadStoreFile(Store& s, const QString& path, void* dest, qint64 size, qint64 unit,
                         QStringList& messages, bool emptyIsMissing) {
    const LoadOutcome r = loadFixedFile(path, dest, size, unit, emptyIsMissing, s.ReadOnlyFolder);
    if (!r.message.isEmpty())
        messages << r.message;
    if (r.status == LoadStatus::Unreadable)
        s.UnreadableFiles.insert(path, r.message);
    else
        s.UnreadableFiles.remove(path);
    return r.status;
}

IoResult saveWholeFile(const Store& s, const QString& path, const QByteArray& data) {
    if (const auto held = s.UnreadableFiles.constFind(path); held != s.UnreadableFiles.cend())
        return IoResult::failure(*held);
    return writeFileAtomic(path, data);
}

namespace {

template <class Table>
void loadTable(Store& s, const QString& path, Table& table, QStringList& messages) {
    using Record = typename Table::value_type;
    loadStoreFile(s, path, table.data(), qint64(sizeof(Table)), sizeof(Record), messages);
}

template <class Table> IoResult saveTable(const Store& s, const QString& path, const Table& table) {
    return saveWholeFile(s, path, recordBytes(table));
}

} // namespace

void LoadFirms(Store& s, QStringList& messages) {
    const auto named = [](const TFirm& f) { return !f.Name.empty(); };
    loadTable(s, s.DataDir + QStringLiteral("Firms"), s.Firms, messages);
    s.FirmCount = countLeading(s.Firms, named);
    loadTable(s, s.DataDir + QStringLiteral("FirmsDel"), s.FirmsDel, messages);
    s.FirmDelCount = countLeading(s.FirmsDel, named);
}

void LoadFilials(Store& s, QStringList& messages) {
    loadTable(s, s.DataDir + QStringLiteral("Filial"), s.Filials, messages);
    s.FilialCount = countLeading(s.Filials, [](const TFilial& f) { return !f.Address.empty(); });
}

void LoadEmployees(Store& s, QStringList& messages) {
    loadTable(s, s.DataDir + QStringLiteral("Employee"), s.Employees, messages);
    s.EmplCount = countLeading(s.Employees, [](const TEmpl& e) { return !e.Surname.empty(); });
}

IoResult SaveFileFirm(const Store& s) {
    return saveTable(s, s.DataDir + "Firms", s.Firms);
}
IoResult SaveFileFirmDel(const Store& s) {
    return saveTable(s, s.DataDir + "FirmsDel", s.FirmsDel);
}
IoResult SaveFileFilial(const Store& s) {
    return saveTable(s, s.DataDir + "Filial", s.Filials);
}
IoResult SaveFileEmpl(const Store& s) {
    return saveTable(s, s.DataDir + "Employee", s.Employees);
}

IoResult SaveFileFirm1(const Store& s) {
    std::array<TFirm, Firms1Slots> out;
    clearRecord(out);
    const int n = std::min(s.FirmCount, Firms1Slots);
    for (int i = 0; i < n; ++i)
        CopyFirmTexts(s.Firms[std::size_t(i)], out[std::size_t(i)]);
    return saveTable(s, s.ProgramDir + "Firms1", out);
}

void FirmFillShow(Store& s) {
    for (int i = 0; i < s.FirmCount && i < MaxFirms; ++i) {
        const TFirm& f = s.Firms[std::size_t(i)];
        FirmShowEntry& e = s.FirmShow[std::size_t(i)];
        if (f.useFilial()) {
            const TFilial& b = s.Filials[f.FilialNo];
            e.Address.assign(b.Address);
            e.Phone.assign(b.Phone);
            e.EMail.assign(b.EMail);
        } else {
            e.Address.assign(f.LegalAddress);
            e.Phone.assign(f.Phone);
            e.EMail.assign(f.EMail);
        }
    }
}

} // namespace storage
