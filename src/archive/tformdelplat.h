// The deletion dialog "Удалить платежку": asks about one listed order and, on "Yes", moves
// its file into the folder of deleted orders and takes it out of the list of saved orders.
#pragma once

#include <QDialog>
#include <memory>

namespace storage {
class Store;
}

namespace Ui {
class TFormDelPlat;
}

namespace archive {

class TFormDelPlat : public QDialog {
    Q_OBJECT
public:
    explicit TFormDelPlat(storage::Store& store, QWidget* parent = nullptr);
    ~TFormDelPlat() override;

    // Asks whether the listed order at position curPlat is to be deleted. On "Yes" its file
    // moves into the folder of deleted orders, its entry leaves PlatList (PlatCount is
    // lowered) and curPlat becomes the position to show next. Returns true when the order was
    // deleted; a move that fails is reported and changes nothing.
    bool ask(int& curPlat);

private:
    void BitBtn1Click();

    storage::Store& store_;
    std::unique_ptr<Ui::TFormDelPlat> ui;
    int* curPlat_ = nullptr;
};

} // namespace archive
