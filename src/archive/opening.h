// Opening a listed order in the editor, and the offer to save the order on screen that comes
// before it (and before the program ends). The list window calls these with its dialogs;
// tests call them directly.
#pragma once

#include "editor/orderlogic.h"
#include "storage/fileio.h"
#include "storage/store.h"

namespace archive {

using editor::SaveQuestions;

struct CheckSaveResult {
    bool savedNew = false; // a new order was written and the saved orders were scanned again
    storage::IoResult io;  // a write or scan that failed, for the caller to report
    // Nothing is lost by going on (closing, opening another order): the order was saved, or
    // the user chose not to save it. False when saving it failed.
    bool canLeave() const { return io.ok || savedNew; }
};

// Offers to save the order on screen, whose controls hold fields, when it is complete: a
// saved order that was changed ("... было изменено."), or a new order ("Новое платежное
// поручение."), which is then saved as the editor saves it (saveNewOrder) and becomes the
// saved order on screen.
CheckSaveResult checkSave(storage::Store& s, editor::OrderFields fields, const SaveQuestions& q);

// Reads the listed order fileName into the order on screen: PlatFileName, OpenedIndex (its
// position in PlatList, -1 when it is not listed) and the current record. A file that has
// disappeared or cannot be read fails with a message and leaves all three as they were.
storage::IoResult openListed(storage::Store& s, const storage::ShortStr<28>& fileName);

} // namespace archive
