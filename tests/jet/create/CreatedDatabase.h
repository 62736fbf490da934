#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include "common/Error.h"
#include "common/Value.h"
#include "jet/Creator.h"
#include "jet/Database.h"

// Tables the creator tests make, with the values they expect back.
namespace Jet::Testing {

using Rows = std::vector<Row>;

// A field of every designer type: AutoNumber, Text (40), Memo, Byte, Integer, Long Integer,
// Single, Double, Currency, Date/Time, Yes/No, OLE Object, Replication ID, Decimal (18, 4),
// Hyperlink.
TableSpec EveryTypeTable(std::u16string name);
// Rows with a value of every type (extremes, non-Latin text, empty text) and a row of Nulls.
// The AutoNumber column is Null, to be numbered 1, 2, 3 ...
Rows EveryTypeRows();
// What EveryTypeRows reads back: AutoNumbers filled in, a Null Yes/No read as No.
Rows EveryTypeRowsRead();

// Every row of a table, in scan order.
Rows ReadAll(const Database& database, std::u16string_view table);

// The error number `action` throws (a Main::Error), 0 when it throws nothing.
template <typename Action>
long ErrorNumberOf(Action action) {
  try {
    action();
  } catch (const Main::Error& error) {
    return error.Number();
  }
  return 0;
}

// A folder of this test's own, emptied first.
std::filesystem::path CreatorScratchDir();

}  // namespace Jet::Testing
