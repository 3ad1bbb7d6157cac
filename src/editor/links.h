// The references between the windows. The program creates its windows once, in a fixed
// order, and fills this struct as it goes; a window that calls into another one (the list of
// saved orders refilling its grid after the editor saved, the organization list refilling
// the editor's pickers, ...) reaches it through here. Entries of windows not yet created are
// empty.
#pragma once

#include <array>
#include <functional>

class QDialog;
class QWidget;

namespace editor {

class TForm1;
class TFormNalog;
class TFormChangePlat;

struct Windows {
    TForm1* form1 = nullptr;
    TFormNalog* formNalog = nullptr;
    TFormChangePlat* formChangePlat = nullptr;
    QDialog* formFirm = nullptr;    // organization list
    QDialog* formPlat = nullptr;    // list of saved orders
    QDialog* formFilter = nullptr;  // filter of the list of saved orders
    QDialog* formDelPlat = nullptr; // deletion of a saved order
    QDialog* formSet = nullptr;     // settings
    QDialog* formFilial = nullptr;
    QDialog* formRekvizit = nullptr; // organization details
    QDialog* formBank = nullptr;     // bank details of the organization in the details window
    QDialog* formSave = nullptr;     // organization card as text
    // Deleting an organization, branches and employees.
    QDialog* formDelFirm = nullptr;
    QDialog* formDelFirm1 = nullptr;
    QDialog* formAddFilial = nullptr;
    QDialog* formDelFilial = nullptr;
    QDialog* formEmpl = nullptr;
    QDialog* formAddEmpl = nullptr;
    QDialog* formDelEmpl = nullptr;

    // The windows that keep their size in the window-size table, by tag (0..10).
    std::array<QWidget*, 11> sized{};

    // The list of saved orders: show PlatList again, and offer to save the order on screen
    // (false when saving it failed: the order has to stay on screen).
    std::function<void()> platGreed;
    std::function<bool()> checkSave;
    // The filter dialog: refill its payer and payee lists from the tables.
    std::function<void()> fillFilter;
};

} // namespace editor
