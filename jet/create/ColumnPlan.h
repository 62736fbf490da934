#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "jet/Creator.h"
#include "jet/schema/LongValueColumn.h"
#include "jet/schema/TableLayout.h"

// Turns the columns of a new table into the definition and row layout the engine reads: column
// numbers in the order given, fixed-length values packed in that order, variable-length values
// after them with the long values (Memo, OLE) last.
namespace Jet::Create {

// One column as the table definition stores it.
struct ColumnSpec {
  std::u16string name;
  ColumnType type = ColumnType::Text;
  uint16_t maxLength = 0;  // bytes; only read for Text and Binary
  bool autonumber = false;
  bool hyperlink = false;
  uint8_t precision = 0;
  uint8_t scale = 0;
  bool calculated = false;  // `type` is the result's; stored wrapped in a variable-length column
};

// The column a designer field stands for. Throws JetError for a size out of range, a calculated
// field without an expression or of a type no result has.
ColumnSpec ColumnOf(const FieldSpec& field);

// The layout of a table with these columns (usage maps not yet set). Throws JetError for no
// columns, more than 255, an empty or duplicate name, or fixed values longer than a row can be.
std::shared_ptr<TableLayout> PlanTable(std::u16string name, const std::vector<ColumnSpec>& columns,
                                       uint8_t tableType);

}  // namespace Jet::Create
