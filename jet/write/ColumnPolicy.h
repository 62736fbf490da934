#pragma once

#include <cstddef>

#include "jet/schema/TableLayout.h"

// Which columns the writer may change: one rule for the update path and for the check of a text
// before it is written.
namespace Jet {

// Refuses a column that may not be changed: one that belongs to an index, an AutoNumber, a
// calculated or complex column. Throws JetError kNotSupported naming the field (and the index).
void CheckColumnWritable(const TableDefinition& table, size_t column);

}  // namespace Jet
