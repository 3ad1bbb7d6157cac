#include "organizationlist.h"

#include "branches.h"
#include "directorysave.h"
#include "employees.h"

#include "render/amount.h"
#include "storage/datafiles.h"
#include "storage/platfile.h"
#include "storage/store.h"

#include <algorithm>

namespace directory {

namespace {

using render::PluralForm;

// The word among three that goes with count.
QString plural(int count, const char* one, const char* twoToFour, const char* many) {
    switch (render::pluralForm(unsigned(count))) {
    case PluralForm::One:
        return QString::fromUtf8(one);
    case PluralForm::TwoToFour:
        return QString::fromUtf8(twoToFour);
    case PluralForm::Many:
        break;
    }
    return QString::fromUtf8(many);
}

} // namespace

bool firmListHasRoom(const storage::Store& s) {
    return s.directory.organizationCount < storage::MaxFirmsInUse;
}

int countOrdersWithInn(const storage::Store& s, std::string_view inn) {
    int n = 0;
    storage::OrderRecord order;
    for (int i = 0; i < s.orders.count; ++i) {
        const std::string_view name = s.orders.items[std::size_t(i)].fileName.view();
        if (!storage::isPlainFileName(name))
            continue;
        const QString path =
            s.folder.ordersDir + QString::fromLatin1(name.data(), qsizetype(name.size()));
        if (!storage::readOrderFile(path, order))
            continue;
        if (order.payerInn == inn || order.payeeInn == inn)
            ++n;
    }
    return n;
}

QString ordersFoundText(int n) {
    return QStringLiteral("%1 %2 %3 %4  есть удаляемая организация.")
        .arg(plural(n, "Найдена", "Найдены", "Найдено"))
        .arg(n)
        .arg(plural(n, "платежка", "платежки", "платежек"),
             plural(n, "в которой", "в которых", "в которых"));
}

QString filialsFoundText(int n) {
    return QStringLiteral("В удаляемой организации есть %1 %2.")
        .arg(n)
        .arg(plural(n, "филиал", "филиала", "филиалов"));
}

QString employeesFoundText(int n) {
    return QStringLiteral("Список сотрудников = %1.").arg(n);
}

std::vector<DeletionQuestion> deletionQuestions(const storage::Store& s, int firm) {
    std::vector<DeletionQuestion> questions;
    if (firm < 0 || firm >= s.directory.organizationCount)
        return questions;
    if (const int n =
            countOrdersWithInn(s, s.directory.organizations[std::size_t(firm)].inn.view());
        n > 0)
        questions.push_back({ordersFoundText(n), QString()});
    if (const int n = int(branchesOf(s, firm).size()); n > 0)
        questions.push_back(
            {filialsFoundText(n), QStringLiteral("Будет удалена организация и все ее филиалы.")});
    if (const int n = int(employeesOf(s, firm).size()); n > 0)
        questions.push_back({employeesFoundText(n),
                             QStringLiteral("Будет удалена организация и список сотрудников.")});
    return questions;
}

editor::Question deleteOrganizationQuestion(const QString& name) {
    using Look = editor::QuestionLine::Look;
    return {QStringLiteral("Удалить организацию"),
            {{QStringLiteral("Удалить организацию ?")}, {name, Look::SunkenPanel, 360, true}}};
}

editor::Question furtherDeletionQuestion(const DeletionQuestion& q, const QString& name) {
    using Look = editor::QuestionLine::Look;
    editor::Question question{QStringLiteral("Удалить организацию"), {{q.line1}}};
    if (!q.line2.isEmpty())
        question.lines.push_back({q.line2});
    question.lines.push_back({QStringLiteral("Все равно удалить ?")});
    question.lines.push_back({name, Look::SunkenPanel, 420, true});
    return question;
}

unsigned deleteOrganization(storage::Store& s, int firm) {
    if (firm < 0 || firm >= s.directory.organizationCount)
        return 0;
    unsigned files = FileFirms | FileFirmsDel;
    for (std::vector<int> left = employeesOf(s, firm); !left.empty(); left = employeesOf(s, firm)) {
        deleteEmployee(s, left.front());
        files |= FileEmployee;
    }
    for (std::vector<int> left = branchesOf(s, firm); !left.empty(); left = branchesOf(s, firm))
        files |= deleteBranch(s, left.front());

    if (s.directory.deletedCount >= storage::MaxFirms) {
        // The deleted list is full: its oldest entry gives way.
        storage::removeRecord(s.directory.deleted, storage::MaxFirms, 0);
        s.directory.deletedCount = storage::MaxFirms - 1;
    }
    s.directory.deleted[std::size_t(s.directory.deletedCount)] =
        s.directory.organizations[std::size_t(firm)];
    s.CurFirmDel = s.directory.deletedCount++;

    storage::removeRecord(s.directory.organizations, s.directory.organizationCount, firm);
    --s.directory.organizationCount;
    if (s.CurFirm >= s.directory.organizationCount)
        s.CurFirm = std::max(0, s.directory.organizationCount - 1);

    for (int i = 0; i < s.directory.branchCount; ++i) {
        storage::U16& no = s.directory.branches[std::size_t(i)].organizationNo;
        if (no > firm) {
            no = std::uint16_t(no - 1);
            files |= FileFilial;
        }
    }
    for (int i = 0; i < s.directory.employeeCount; ++i) {
        storage::U16& no = s.directory.employees[std::size_t(i)].organizationNo;
        if (no > firm) {
            no = std::uint16_t(no - 1);
            files |= FileEmployee;
        }
    }
    storage::fillListCache(s);
    return files;
}

storage::IoResult deleteOrganizationAndSave(storage::Store& s, int firm) {
    const DirectorySnapshot before(s);
    return saveOrUndo(s, deleteOrganization(s, firm), before);
}

unsigned restoreOrganization(storage::Store& s, int index) {
    if (index < 0 || index >= s.directory.deletedCount || !firmListHasRoom(s))
        return 0;
    storage::OrganizationRecord& f =
        s.directory.organizations[std::size_t(s.directory.organizationCount)];
    f = s.directory.deleted[std::size_t(index)];
    f.flags &= std::uint8_t(~storage::OrganizationRecord::UseBranch);
    s.CurFirm = s.directory.organizationCount++;
    storage::fillListCache(s);

    storage::removeRecord(s.directory.deleted, s.directory.deletedCount, index);
    --s.directory.deletedCount;
    if (s.CurFirmDel >= s.directory.deletedCount)
        s.CurFirmDel = std::max(0, s.directory.deletedCount - 1);
    return FileFirms | FileFirmsDel;
}

storage::IoResult restoreOrganizationAndSave(storage::Store& s, int index) {
    const DirectorySnapshot before(s);
    return saveOrUndo(s, restoreOrganization(s, index), before);
}

int positionAfterRemoval(int position, int removed) {
    if (position < 0 || position == removed)
        return -1;
    return position > removed ? position - 1 : position;
}

QByteArray firmLinks(const storage::Store& s) {
    QByteArray links;
    links.reserve(2 * s.directory.organizationCount);
    for (int i = 0; i < s.directory.organizationCount; ++i) {
        links.append(char(s.directory.organizations[std::size_t(i)].branchNo));
        links.append(char(s.directory.organizations[std::size_t(i)].flags));
    }
    return links;
}

} // namespace directory
