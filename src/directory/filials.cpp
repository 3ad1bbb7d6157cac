#include "filials.h"

#include "directorysave.h"

#include "editor/uiutil.h"
#include "storage/datafiles.h"
#include "storage/store.h"

namespace directory {

using editor::fromUi;
using editor::toUi;

namespace {

void storeFilial(const FilialTexts& t, storage::TFilial& f) {
    fromUi(t[0], f.Address);
    fromUi(t[1], f.Phone);
    fromUi(t[2], f.EMail);
}

bool validFirm(const storage::Store& s, int firm) {
    return firm >= 0 && firm < s.FirmCount;
}

} // namespace

FilialTexts filialTexts(const storage::TFilial& f) {
    return {toUi(f.Address), toUi(f.Phone), toUi(f.EMail)};
}

std::vector<int> FillFilial(const storage::Store& s, int firm) {
    std::vector<int> list;
    for (int i = 0; i < s.FilialCount; ++i)
        if (s.Filials[std::size_t(i)].FirmNo == firm)
            list.push_back(i);
    return list;
}

QString filialLimitText() {
    return QStringLiteral("Может быть сохранено только %1 филиалов для всех организаций.")
        .arg(storage::MaxFilials);
}

bool AddFilial(storage::Store& s, int firm, const FilialTexts& t) {
    if (s.FilialCount >= storage::MaxFilials || !validFirm(s, firm) || t[0].isEmpty())
        return false;
    storage::TFilial& f = s.Filials[std::size_t(s.FilialCount)];
    storage::clearRecord(f);
    f.FirmNo = std::uint16_t(firm);
    storeFilial(t, f);
    ++s.FilialCount;
    return true;
}

bool EditFilial(storage::Store& s, int index, const FilialTexts& t) {
    if (index < 0 || index >= s.FilialCount || t[0].isEmpty())
        return false;
    storage::TFilial& f = s.Filials[std::size_t(index)];
    storage::TFilial edited = f;
    storeFilial(t, edited);
    if (edited.Address == f.Address && edited.Phone == f.Phone && edited.EMail == f.EMail)
        return false;
    f = edited;
    return true;
}

unsigned DeleteFilial(storage::Store& s, int index) {
    if (index < 0 || index >= s.FilialCount)
        return 0;
    unsigned files = FileFilial;
    for (int i = 0; i < s.FirmCount; ++i) {
        storage::TFirm& f = s.Firms[std::size_t(i)];
        if (!f.useFilial())
            continue;
        if (f.FilialNo == index) {
            f.Flags &= std::uint8_t(~storage::TFirm::UseFilial);
            files |= FileFirms;
        } else if (f.FilialNo > index) {
            --f.FilialNo;
            files |= FileFirms;
        }
    }
    storage::RemoveRecord(s.Filials, s.FilialCount, index);
    --s.FilialCount;
    return files;
}

bool isLinked(const storage::Store& s, int firm, int index) {
    if (!validFirm(s, firm))
        return false;
    const storage::TFirm& f = s.Firms[std::size_t(firm)];
    return f.useFilial() && f.FilialNo == index;
}

void setLink(storage::Store& s, int firm, int index, bool on) {
    if (!validFirm(s, firm))
        return;
    storage::TFirm& f = s.Firms[std::size_t(firm)];
    if (on) {
        if (index < 0 || index >= s.FilialCount)
            return;
        f.FilialNo = std::uint8_t(index);
        f.Flags |= storage::TFirm::UseFilial;
    } else {
        f.Flags &= std::uint8_t(~storage::TFirm::UseFilial);
    }
}

} // namespace directory
