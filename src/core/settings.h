// The settings of the program as typed values: whether only the orders of the current year are
// loaded, whether the "НДС" group offers the 5 % and 7 % rates, the folder the orders for the
// bank were last written to, the size of each window and the column widths of each list. They
// live in the settings files "Set", "FormW" and "ArCol"; each file is written only when what
// it holds changed.
#pragma once

#include "programfolder.h"

#include "storage/fileio.h"

#include <QList>
#include <QSize>
#include <cstdint>

namespace core {

// The windows whose size is kept, by their entry in the window-size file.
enum class WindowTag : std::uint8_t {
    Main = 0,
    OrganizationList = 1,
    OrganizationDetails = 2,
    OrderList = 3,
    BudgetFields = 4,
    OrganizationCard = 5,
    OrderFilter = 6,
    BankAccounts = 7,
    BranchList = 8,
    Branch = 9,
    EmployeeList = 10,
    DeletedOrders = 11,
};
inline constexpr int WindowTagCount = 12;

// The list grids whose column widths are kept.
enum class Grid : std::uint8_t { Organizations, Orders, Branches, Employees, DeletedOrders };

class Settings {
public:
    // The settings as the folder holds them; what they hold now counts as written.
    Settings(ProgramFolder& folder, storage::SettingsTables& tables);
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

    bool currentYearOnly() const;
    void setCurrentYearOnly(bool on);
    bool usnVatRates() const;
    void setUsnVatRates(bool on);

    // The folder the orders for the bank were last written to; empty when none was kept.
    QString exportFolder() const;
    // False, keeping the old folder, when dir does not fit the settings file (longer than 255
    // characters, or a character that code page 1251 cannot hold).
    bool setExportFolder(const QString& dir);

    // The kept size of a window (256 by 256 when none was kept), and whether one was.
    QSize windowSize(WindowTag tag) const;
    bool windowSizeKept(WindowTag tag) const;
    void setWindowSize(WindowTag tag, const QSize& size);

    // The widths of a grid's count columns, and whether the user ever set them (a grid whose
    // columns all hold the default never was).
    QList<int> columnWidths(Grid grid, int count) const;
    bool columnWidthsKept(Grid grid, int count) const;
    void setColumnWidths(Grid grid, const QList<int>& widths);

    // Write "Set", "FormW" or "ArCol" when it changed since it was read or last written; a
    // failure leaves the change in memory, to be written by the next save.
    storage::IoResult saveSettings();
    storage::IoResult saveWindowSizes();
    storage::IoResult saveColumnWidths();

private:
    ProgramFolder& folder_;
    storage::SettingsTables& tables_;
    storage::SettingsTables written_; // what the files hold
};

} // namespace core
