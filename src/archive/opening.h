// The offer to save the order on screen that comes before another order is opened (and before
// the program ends). The list window calls it with its dialogs; tests call it directly.
#pragma once

#include "core/orderdocument.h"
#include "storage/fileio.h"

namespace archive {

using core::SaveQuestions;

struct CheckSaveResult {
    bool savedNew = false; // a new order was written and the archive lists it
    storage::IoResult io;  // a write that failed, for the caller to report
    // Nothing is lost by going on (closing, opening another order): the order was saved, or
    // the user chose not to save it. False when saving it failed.
    bool canLeave() const { return io.ok || savedNew; }
};

// Offers to save the order on screen, whose controls hold fields, when it is complete: a
// saved order that was changed ("... было изменено."), or a new order ("Новое платежное
// поручение."), which is then saved as the editor saves it and becomes the saved order on
// screen.
CheckSaveResult checkSave(core::OrderDocument& document, core::OrderFields fields,
                          const SaveQuestions& q);

} // namespace archive
