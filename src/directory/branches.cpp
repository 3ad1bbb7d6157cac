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

void storeFilial(const FilialTexts& t, storage::BranchRecord& f) {
    fromUi(t[0], f.address);
    fromUi(t[1], f.phone);
    fromUi(t[2], f.email);
}

bool validFirm(const storage::Store& s, int firm) {
    return firm >= 0 && firm < s.directory.organizationCount;
}

} // namespace

FilialTexts filialTexts(const storage::BranchRecord& f) {
    return {toUi(f.address), toUi(f.phone), toUi(f.email)};
}

std::vector<int> branchesOf(const storage::Store& s, int firm) {
    return orgRecordsOf(s.directory.branches, s.directory.branchCount, firm);
}

QString filialLimitText() {
    return QStringLiteral("Может быть сохранено только %1 филиалов для всех организаций.")
        .arg(storage::MaxFilials);
}

bool addBranch(storage::Store& s, int firm, const FilialTexts& t) {
    return appendOrgRecord(s.directory.branches, s.directory.branchCount, firm,
                           s.directory.organizationCount, t, 0, storeFilial);
}

bool editBranch(storage::Store& s, int index, const FilialTexts& t) {
    return editOrgRecord(s.directory.branches, s.directory.branchCount, index, t, 0, storeFilial,
                         [](const storage::BranchRecord& a, const storage::BranchRecord& b) {
                             return a.address == b.address && a.phone == b.phone &&
                                    a.email == b.email;
                         });
}

editor::Question deleteBranchQuestion(const QString& name) {
    using Look = editor::QuestionLine::Look;
    return {QStringLiteral("Удалить филиал организации"),
            {{QStringLiteral("Удалить филиал организации")}, {name, Look::SunkenPanel, 300, true}},
            QStringLiteral("YES"),
            QStringLiteral("Cancel")};
}

unsigned deleteBranch(storage::Store& s, int index) {
    if (index < 0 || index >= s.directory.branchCount)
        return 0;
    unsigned files = FileFilial;
    for (int i = 0; i < s.directory.organizationCount; ++i) {
        storage::OrganizationRecord& f = s.directory.organizations[std::size_t(i)];
        if (!f.usesBranch())
            continue;
        if (f.branchNo == index) {
            f.flags &= std::uint8_t(~storage::OrganizationRecord::UseBranch);
            files |= FileFirms;
        } else if (f.branchNo > index) {
            --f.branchNo;
            files |= FileFirms;
        }
    }
    storage::removeRecord(s.directory.branches, s.directory.branchCount, index);
    --s.directory.branchCount;
    return files;
}

bool isLinked(const storage::Store& s, int firm, int index) {
    if (!validFirm(s, firm))
        return false;
    const storage::OrganizationRecord& f = s.directory.organizations[std::size_t(firm)];
    return f.usesBranch() && f.branchNo == index;
}

void setLink(storage::Store& s, int firm, int index, bool on) {
    if (!validFirm(s, firm))
        return;
    storage::OrganizationRecord& f = s.directory.organizations[std::size_t(firm)];
    if (on) {
        if (index < 0 || index >= s.directory.branchCount)
            return;
        f.branchNo = std::uint8_t(index);
        f.flags |= storage::OrganizationRecord::UseBranch;
    } else {
        f.flags &= std::uint8_t(~storage::OrganizationRecord::UseBranch);
    }
}

} // namespace directory
