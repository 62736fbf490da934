#pragma once

#include <vector>

#include "jet/Creator.h"
#include "jet/schema/TableLayout.h"

// Turns the index declarations of a new table into its logical indexes (the definition's
// `indexes`) and its physical indexes (the layout's), one physical index for each logical one,
// numbered alike. Access lets logical indexes share a physical one (a relationship's record shares
// its table's primary key), but other readers, mdbtools among them, find a logical index's fields
// in the physical index of its own number.
// Where the indexes' pages and usage maps are is left to the table writer.
namespace Jet::Create {

// Physical index flags as Access 2000 and later write them.
// Adds the indexes to `table` (its columns planned). Throws JetError for an index with no name or
// a name another index of the table has, no fields or more than 10, a field the table does not
// have or names twice, an OLE Object field, or a second primary key.
void PlanIndexes(TableLayout& table, const std::vector<IndexSpec>& indexes);

// Whether a row must give a value (not Null) for every field of the index: primary keys and
// required indexes.
bool RefusesNull(const PhysicalIndexLayout& index);

}  // namespace Jet::Create
