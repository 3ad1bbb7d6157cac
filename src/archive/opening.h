// Opening a listed order in the editor, and the offer to save the order on screen that comes
// before it (and before the program ends). The list window calls these with its dialogs;
// tests call them directly.
#pragma once

#include "editor/orderlogic.h"
#include "storage/fileio.h"
#include "storage/store.h"

#include <functional>

namespace archive {

// How CheckSave talks to the user: ask puts a question of two lines and returns true for
// "Yes"; tell shows a message.
struct SaveQuestions {
    std::function<bool(const QString& line1, const QString& line2)> ask;
    std::function<void(const QString& text)> tell;
};

struct CheckSaveResult {
    bool savedNew = false; // a new order was written and the saved orders were scanned again
    storage::IoResult io;  // a write or scan that failed, for the caller to report
};

// Offers to save the order on screen, whose controls hold fields, when it is complete: a
// saved order that was changed ("... было изменено."), or a new order ("Новое платежное
// поручение."), which is refused at the limit of 1024 orders and asked about again when an
// order of its name exists. A new order that is saved becomes the saved order on screen, as
// after the editor's own save.
CheckSaveResult CheckSave(storage::Store& s, editor::OrderFields fields, const SaveQuestions& q);

// Reads the listed order fileName into the order on screen: PlatFileName, OpenedIndex (its
// position in PlatList, -1 when it is not listed) and the current record. A file that has
// disappeared or cannot be read fails with a message and leaves all three as they were.
storage::IoResult OpenListed(storage::Store& s, const storage::ShortStr<28>& fileName);

} // namespace archive
