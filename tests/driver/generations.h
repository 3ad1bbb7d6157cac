// The data a crash writer saves, generation after generation: every data file of a program
// folder (directory, deleted directory, branches, employees, window sizes, column widths,
// settings, saved orders) with content that is a function of the generation number, and
// that carries the number, so that a file read back tells which generation it is and can be
// compared with that generation's content byte for byte.
#pragma once

#include "storage/folderdata.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

namespace crashgen {

// Fixed orders saved in every generation, and the orders that are new in a generation.
inline constexpr int FixedOrders = 4;
inline constexpr int NewOrderNumbers = 50; // numbers 100..149, reused in turn

// The data files, by path relative to the program folder.
QStringList
tableFiles(); // Data/Firms, Data/FirmsDel, Data/Filial, Data/Employee, FormW, ArCol, Set
QString fixedOrderFile(int k); // PP/<k+1>_<INN>_09.plat, k = 0..FixedOrders-1
QString newOrderFile(int g);   // the new order of generation g

// Puts the tables and settings of generation g into s.
void fill(storage::FolderData& s, int g);
// Order k of generation g (k = FixedOrders.. for the new orders: see newOrderFile).
storage::OrderRecord order(int g, int number);

// Tells which generation a file read back holds.
class Verifier {
public:
    Verifier();
    ~Verifier();
    // The generation whose complete content the file holds, or -1 when it holds no
    // generation's content exactly (a truncated or mixed file). relative is a path as above.
    int generationOf(const QString& relative, const QByteArray& content);

private:
    QByteArray expected(const QString& relative, int g);
    std::unique_ptr<storage::FolderData> store_; // the tables of generation filled_
    int filled_ = -1;
};

// The number of organizations in use in generation g.
int firmCount(int g);

// The directory of the directory mode: DirectoryFirms organizations, each with one branch
// and one employee that carry its INN, and the link of the organization to its branch.
inline constexpr int DirectoryFirms = 12;
void fillDirectory(storage::FolderData& s);
// Gives organization firm a new branch and a new employee carrying its INN, and links it to
// the branch; false when the tables are full.
bool giveBranchAndEmployee(storage::FolderData& s, int firm);
// What is wrong with the links of a loaded directory: a branch, an employee or a branch link
// that points at another organization than the one whose INN it carries, an organization
// lost or doubled. Empty when every link is right.
QStringList directoryFaults(const storage::FolderData& s);

} // namespace crashgen
