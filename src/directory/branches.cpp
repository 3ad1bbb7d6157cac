#include "branches.h"

#include "directorysave.h"
#include "orgrecords.h"

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

std::vector<int> branchesOf(const storage::Store& s, int firm) {
    return orgRecordsOf(s.Filials, s.FilialCount, firm);
}

QString filialLimitText() {
    return QStringLiteral("Может быть сохранено только %1 филиалов для всех организаций.")
        .arg(storage::MaxFilials);
}

bool AddFilial(storage::Store& s, int firm, const FilialTexts& t) {
    return appendOrgRecord(s.Filials, s.FilialCount, firm, s.FirmCount, t, 0, storeFilial);
}

bool EditFilial(storage::Store& s, int index, const FilialTexts& t) {
    return editOrgRecord(s.Filials, s.FilialCount, index, t, 0, storeFilial,
                         [](const storage::TFilial& a, const storage::TFilial& b) {
                             return a.Address == b.Address && a.Phone == b.Phone &&
                                    a.EMail == b.EMail;
                         });
}

editor::Question deleteBranchQuestion(const QString& name) {
    using Look = editor::QuestionLine::Look;
    return {QStringLiteral("Удалить филиал организации"),
            {{QStringLiteral("Удалить филиал организации")}, {name, Look::SunkenPanel, 300, true}},
            QStringLiteral("YES"),
            QStringLiteral("Cancel")};
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
