#pragma once

#include "jet/schema/TableLayout.h"

// Which columns keep their values as long values (a 12-byte reference in the row, the data in the
// row or on long-value pages): Memo and OLE object columns.
namespace Jet {

inline bool IsLongValue(ColumnType type) { return type == ColumnType::Memo || type == ColumnType::OleObject; }

}  // namespace Jet
