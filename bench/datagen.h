// A full data set in a program folder, for benchmarks and tests: organizations with every
// text at full capacity and four bank slots, deleted organizations, branches, employees,
// and saved and deleted orders of several payers over several years, each file named from
// its content as the program names it.
#pragma once

#include "storage/fileio.h"
#include "storage/records.h"

#include <QString>
#include <string>

namespace datagen {

// The defaults are the limits of the data model: as many organizations as the list lets the
// user create, and every table full.
struct Options {
    int firms = 254;        // organizations in use (at most 256)
    int deletedFirms = 256; // at most 256
    int filials = 256;      // at most 256
    int employees = 1024;   // at most 1024
    int orders = 1024;      // saved orders in PP
    int deletedOrders = 16; // deleted orders in PPDel
    int payers = 8;         // the first `payers` organizations pay; the others are payees
    int firstYear = 2007;
    int years = 3;
};

// The INN of organization i: twelve digits (the INN's full length), a different one for
// every i below 100000.
std::string innOf(int i);

// Organization i: every text at full capacity (the name begins with the long legal form of
// a limited company), four bank slots, bank slot i % 4 selected.
storage::OrganizationRecord makeFirm(int i);

// Order k of the data set (number, payer and year are unique per k) and its file name.
storage::OrderRecord makePlat(const Options& o, int k, QString& fileName);

// Writes orders offset .. offset + count - 1 of the data set into folder, each under its
// file name with the extension given (".plat" or ".pdel").
storage::IoResult writeOrders(const QString& folder, const Options& o, int count, int offset,
                              const char* extension);

// Writes the data set into programDir, creating Data, PP and PPDel.
storage::IoResult fillProgramFolder(const QString& programDir, const Options& o = {});

} // namespace datagen
