#pragma once

#include <cstdint>

#include "jet/Schema.h"

// How many bytes a value of a fixed-size column type takes in a row.
namespace Jet {

// 1 for Yes/No (its byte where a value is stored, as in a calculated result; an ordinary Yes/No
// field keeps it in the null mask), 17 for Decimal, 42 for Date/Time Extended, 4 for a complex
// column's id ...; 0 for the variable-size types (Text, Memo, Binary, OLE Object) and codes the
// engine does not know.
uint16_t FixedValueSize(ColumnType type);

}  // namespace Jet
