// The branches of the organizations: one table of at most 256 records for all of them, each
// record naming its organization by its index in Firms. An organization may link one of its
// branches (FilialNo with the UseBranch flag), whose contacts the organization list then
// shows. These functions change the table in memory; writing it is the caller's part.
#pragma once

#include "editor/questiondialog.h"
#include "storage/records.h"

#include <QString>
#include <array>
#include <vector>

namespace storage {
class Store;
}

namespace directory {

// The texts of a branch: address, telephone, e-mail.
using FilialTexts = std::array<QString, 3>;

FilialTexts filialTexts(const storage::BranchRecord& f);

// Table indexes of the branches of organization firm, in table order.
std::vector<int> branchesOf(const storage::Store& s, int firm);

// The message shown when the table is full.
QString filialLimitText();

// Appends a branch of organization firm; each text is cut to its field's capacity. False
// (and nothing changed) when the table is full or the address is empty: an empty address
// marks the end of the table in its file.
bool addBranch(storage::Store& s, int firm, const FilialTexts& t);

// Stores the texts into branch index when at least one of them differs from what is stored
// (after cutting to capacity) and the address is not empty. Returns whether anything was
// stored.
bool editBranch(storage::Store& s, int index, const FilialTexts& t);

// "Удалить филиал организации" of the organization shortly named name.
editor::Question deleteBranchQuestion(const QString& name);

// Deletes branch index from the table: later branches move down one place. Every organization
// linked to it loses its link, and every organization linked to a later branch follows it
// down, so that each link stays on the same branch. Returns the set of files (directorysave.h)
// that must be written: the branch file, and the directory when a link changed.
unsigned deleteBranch(storage::Store& s, int index);

// Whether organization firm shows branch index in the organization list.
bool isLinked(const storage::Store& s, int firm, int index);
// Links organization firm to branch index, or (on false) ends its link.
void setLink(storage::Store& s, int firm, int index, bool on);

} // namespace directory
