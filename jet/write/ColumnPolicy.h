#pragma once

#include <cstddef>

#include "jet/file/FormatLayout.h"
#include "jet/schema/TableLayout.h"

// Which columns the writer may change: one rule for the update path and for the check of a text
// before it is written.
namespace Jet {

// Refuses a column that may not be changed: an AutoNumber, a calculated or complex column, one of
// a type the engine does not know, or one that belongs to an index whose keys the engine cannot
// make (a column of it in a sort order other than General, General Legacy and General 97, or of a
// type without keys). Throws JetError
// kNotSupported naming the field (and the index), with the cause kFieldCannotChange.
void CheckColumnWritable(const TableDefinition& table, size_t column, const FormatLayout& format);

}  // namespace Jet
