// The form's view of a saved order record: what printing an opened order, or the command
// line's PDF export, lays out.
#pragma once

#include "formlayout.h"

#include "storage/records.h"

namespace render {

// The order input of a saved order: its own texts, choices and budget fields, and its two
// parties from the record (name, bank slot 0, INN, KPP).
OrderInput orderInputFromRecord(const storage::OrderRecord& plat);

// The lines of a purpose text as stored (lines separated by CR LF, or a lone CR or LF).
QList<QByteArray> purposeLines(std::string_view purpose);

} // namespace render
