// What the branch and employee tables share: one table of the records of all organizations,
// each record naming its organization by its index in Firms, collected, appended and edited
// the same way. The tables' own functions (filials.h, employees.h) call these.
#pragma once

#include "storage/shortstr.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace directory {

// Table indexes of the records of organization firm among the first count, in table order.
template <class Record, std::size_t N>
std::vector<int> orgRecordsOf(const std::array<Record, N>& table, int count, int firm) {
    std::vector<int> list;
    for (int i = 0; i < count; ++i)
        if (table[std::size_t(i)].organizationNo == firm)
            list.push_back(i);
    return list;
}

// Appends a record of organization firm (0..firmCount-1) whose texts store(t, record) puts in
// place. False, and nothing changed, when the table is full, the organization is not in the
// directory, or text t[required] is empty.
template <class Record, std::size_t N, class Texts, class Store>
bool appendOrgRecord(std::array<Record, N>& table, int& count, int firm, int firmCount,
                     const Texts& t, std::size_t required, Store store) {
    if (count >= int(N) || firm < 0 || firm >= firmCount || t[required].isEmpty())
        return false;
    Record& r = table[std::size_t(count)];
    storage::clearRecord(r);
    r.organizationNo = std::uint16_t(firm);
    store(t, r);
    ++count;
    return true;
}

// Stores texts into record index through store(t, record) when t[required] is not empty and
// the record's texts change (same(a, b) compares the texts of two records). Returns whether
// anything was stored.
template <class Record, std::size_t N, class Texts, class Store, class Same>
bool editOrgRecord(std::array<Record, N>& table, int count, int index, const Texts& t,
                   std::size_t required, Store store, Same same) {
    if (index < 0 || index >= count || t[required].isEmpty())
        return false;
    Record& r = table[std::size_t(index)];
    Record edited = r;
    store(t, edited);
    if (same(edited, r))
        return false;
    r = edited;
    return true;
}

} // namespace directory
