// A branch as its dialog and the branch list show it: its texts, taken from a record and
// stored into one cut to each field's capacity, and the messages about branches.
#pragma once

#include "editor/questiondialog.h"
#include "storage/records.h"

#include <QString>
#include <array>

namespace directory {

// The texts of a branch: address, telephone, e-mail.
using BranchTexts = std::array<QString, 3>;

BranchTexts branchTexts(const storage::BranchRecord& b);
// A branch record of the texts (the organization number left 0), each cut to its capacity.
storage::BranchRecord branchRecord(const BranchTexts& t);

// The message shown when the table of all organizations' branches is full.
QString branchLimitText();

// "Удалить филиал организации" of the organization shortly named name.
editor::Question deleteBranchQuestion(const QString& name);

} // namespace directory
