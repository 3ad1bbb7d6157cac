// The deletion dialog "Удалить платежку": asks about one listed order and, on "Yes", moves
// its file into the folder of deleted orders and takes it out of the list of saved orders.
#pragma once

#include <QDialog>
#include <memory>
#include <optional>

namespace storage {
class Store;
}

class QLabel;
class QPushButton;

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
    // moves into the folder of deleted orders and its entry leaves PlatList (PlatCount is
    // lowered). Returns the position to show next when the order was deleted, nothing
    // otherwise; a move that fails is reported and changes nothing.
    std::optional<int> ask(int curPlat);

private:
    // The controls by what they are.
    QPushButton* yesButton() const;
    QPushButton* noButton() const;
    QLabel* orderPanel() const;

    void BitBtn1Click();

    storage::Store& store_;
    std::unique_ptr<Ui::TFormDelPlat> ui;
    int curPlat_ = -1;  // the order asked about
    int nextPlat_ = -1; // the position to show after it was deleted
};

} // namespace archive
