// A small directory for the tests of the organization list, branches and employees:
// organizations, branches, employees and saved orders put on a temporary
// program folder, and the state of memory and files to compare before and after.
#pragma once

#include "support/support.h"

#include "core/engine.h"
#include "storage/datafiles.h"
#include "storage/folderdata.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <memory>

namespace orgdata {

struct Directory {
    testing_support::TempDir dir;
    std::unique_ptr<storage::FolderData> store = std::make_unique<storage::FolderData>();

    Directory() {
        store->folder.setProgramDir(dir.path());
        QDir().mkpath(store->folder.dataDir);
        QDir().mkpath(store->folder.ordersDir);
    }

    // Adds an organization; name, INN and address are UTF-8.
    int firm(const char* name, const char* inn = "", const char* address = "") {
        storage::OrganizationRecord& f =
            store->directory.organizations[std::size_t(store->directory.organizationCount)];
        storage::clearRecord(f);
        f.name.assign(testing_support::cp(name));
        f.inn.assign(testing_support::cp(inn));
        f.legalAddress.assign(testing_support::cp(address));
        return store->directory.organizationCount++;
    }
    int filial(int firmNo, const char* address) {
        storage::BranchRecord& b =
            store->directory.branches[std::size_t(store->directory.branchCount)];
        storage::clearRecord(b);
        b.organizationNo = std::uint16_t(firmNo);
        b.address.assign(testing_support::cp(address));
        return store->directory.branchCount++;
    }
    int employee(int firmNo, const char* surname) {
        storage::EmployeeRecord& e =
            store->directory.employees[std::size_t(store->directory.employeeCount)];
        storage::clearRecord(e);
        e.organizationNo = std::uint16_t(firmNo);
        e.surname.assign(testing_support::cp(surname));
        return store->directory.employeeCount++;
    }
    void link(int firmNo, int filialNo) {
        store->directory.organizations[std::size_t(firmNo)].branchNo = std::uint8_t(filialNo);
        store->directory.organizations[std::size_t(firmNo)].flags |=
            storage::OrganizationRecord::UseBranch;
    }
    // Writes a saved order file into PP.
    void order(const char* number, const char* payerInn, const char* payeeInn) {
        dir.write(QStringLiteral("PP/%1_%2_09.plat").arg(number, payerInn),
                  testing_support::platFile({.number = number,
                                             .payerInn = payerInn,
                                             .date = "01.02.2009",
                                             .payeeInn = payeeInn,
                                             .amount = "1-00"}));
    }
    // Writes the four tables, as after a start.
    void saveAll() {
        ASSERT_TRUE(storage::saveOrganizationsFile(store->folder, store->directory));
        ASSERT_TRUE(storage::saveDeletedOrganizationsFile(store->folder, store->directory));
        ASSERT_TRUE(storage::saveBranchesFile(store->folder, store->directory));
        ASSERT_TRUE(storage::saveEmployeesFile(store->folder, store->directory));
    }
    // The four files of the Data folder, one after the other.
    QByteArray files() const {
        return dir.read("Data/Firms") + dir.read("Data/FirmsDel") + dir.read("Data/Filial") +
               dir.read("Data/Employee");
    }
    // The tables in memory with their counts.
    QByteArray memory() const {
        const storage::FolderData& s = *store;
        return storage::recordBytes(s.directory.organizations) +
               storage::recordBytes(s.directory.deleted) +
               storage::recordBytes(s.directory.branches) +
               storage::recordBytes(s.directory.employees) +
               QByteArray::number(s.directory.organizationCount) + ',' +
               QByteArray::number(s.directory.deletedCount) + ',' +
               QByteArray::number(s.directory.branchCount) + ',' +
               QByteArray::number(s.directory.employeeCount);
    }
    // The tables as the next start loads them from the files.
    std::unique_ptr<storage::FolderData> reload() const {
        auto loaded = std::make_unique<storage::FolderData>();
        loaded->folder.setProgramDir(dir.path());
        QStringList messages;
        storage::loadOrganizations(loaded->folder, loaded->directory, messages);
        storage::loadBranches(loaded->folder, loaded->directory, messages);
        storage::loadEmployees(loaded->folder, loaded->directory, messages);
        EXPECT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();
        return loaded;
    }
    // The engine over the tables as they are now (made at the first call).
    core::Engine& engine() {
        if (!engine_)
            engine_ = std::make_unique<core::Engine>(*store);
        return *engine_;
    }
    core::Directory& directory() { return engine().directory; }

    QString name(int firmNo) const {
        return testing_support::uni(store->directory.organizations[std::size_t(firmNo)].name);
    }

private:
    std::unique_ptr<core::Engine> engine_;
};

} // namespace orgdata
