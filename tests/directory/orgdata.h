// A small directory for the tests of the organization list, branches and employees:
// organizations, branches, employees and saved orders put into a Store on a temporary
// program folder, and the state of memory and files to compare before and after.
#pragma once

#include "support/support.h"

#include "storage/datafiles.h"
#include "storage/scan.h"
#include "storage/store.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <memory>

namespace orgdata {

struct Directory {
    testing_support::TempDir dir;
    std::unique_ptr<storage::Store> store = std::make_unique<storage::Store>();

    Directory() {
        store->setProgramDir(dir.path());
        QDir().mkpath(store->DataDir);
        QDir().mkpath(store->PlatDir);
    }

    // Adds an organization; name, INN and address are UTF-8.
    int firm(const char* name, const char* inn = "", const char* address = "") {
        storage::OrganizationRecord& f = store->Firms[std::size_t(store->FirmCount)];
        storage::clearRecord(f);
        f.name.assign(testing_support::cp(name));
        f.inn.assign(testing_support::cp(inn));
        f.legalAddress.assign(testing_support::cp(address));
        return store->FirmCount++;
    }
    int filial(int firmNo, const char* address) {
        storage::BranchRecord& b = store->Filials[std::size_t(store->FilialCount)];
        storage::clearRecord(b);
        b.organizationNo = std::uint16_t(firmNo);
        b.address.assign(testing_support::cp(address));
        return store->FilialCount++;
    }
    int employee(int firmNo, const char* surname) {
        storage::EmployeeRecord& e = store->Employees[std::size_t(store->EmplCount)];
        storage::clearRecord(e);
        e.organizationNo = std::uint16_t(firmNo);
        e.surname.assign(testing_support::cp(surname));
        return store->EmplCount++;
    }
    void link(int firmNo, int filialNo) {
        store->Firms[std::size_t(firmNo)].branchNo = std::uint8_t(filialNo);
        store->Firms[std::size_t(firmNo)].flags |= storage::OrganizationRecord::UseBranch;
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
    // Scans the saved orders and writes the four tables, as after a start.
    void saveAll() {
        ASSERT_TRUE(storage::scanOrders(*store, 2009));
        storage::fillListCache(*store);
        ASSERT_TRUE(storage::saveOrganizationsFile(*store));
        ASSERT_TRUE(storage::saveDeletedOrganizationsFile(*store));
        ASSERT_TRUE(storage::saveBranchesFile(*store));
        ASSERT_TRUE(storage::saveEmployeesFile(*store));
    }
    // The four files of the Data folder, one after the other.
    QByteArray files() const {
        return dir.read("Data/Firms") + dir.read("Data/FirmsDel") + dir.read("Data/Filial") +
               dir.read("Data/Employee");
    }
    // The tables in memory with their counts.
    QByteArray memory() const {
        const storage::Store& s = *store;
        return storage::recordBytes(s.Firms) + storage::recordBytes(s.FirmsDel) +
               storage::recordBytes(s.Filials) + storage::recordBytes(s.Employees) +
               QByteArray::number(s.FirmCount) + ',' + QByteArray::number(s.FirmDelCount) + ',' +
               QByteArray::number(s.FilialCount) + ',' + QByteArray::number(s.EmplCount);
    }
    // The tables as the next start loads them from the files.
    std::unique_ptr<storage::Store> reload() const {
        auto loaded = std::make_unique<storage::Store>();
        loaded->setProgramDir(dir.path());
        QStringList messages;
        storage::loadOrganizations(*loaded, messages);
        storage::loadBranches(*loaded, messages);
        storage::loadEmployees(*loaded, messages);
        EXPECT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();
        return loaded;
    }
    QString name(int firmNo) const {
        return testing_support::uni(store->Firms[std::size_t(firmNo)].name);
    }
};

} // namespace orgdata
