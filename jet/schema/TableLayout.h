#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "jet/page/DataPage.h"
#include "jet/Schema.h"

// What the engine knows about a table beyond its public definition: where each column sits in a
// row and where the table's pages and maps are. The row reader uses it now; the writer will too.
namespace Jet {

// Column flags of a column block.
namespace ColumnFlag {
constexpr uint8_t kFixedLength = 0x01;
constexpr uint8_t kNullable = 0x02;
constexpr uint8_t kAutoLong = 0x04;
constexpr uint8_t kAutoGuid = 0x40;
constexpr uint8_t kHyperlink = 0x80;
}  // namespace ColumnFlag

// Extra column flags (Jet4 and later).
namespace ColumnExtraFlag {
constexpr uint8_t kCompressedUnicode = 0x01;
constexpr uint8_t kCalculated = 0xC0;
}  // namespace ColumnExtraFlag

// Where one column's value is found in a row.
struct ColumnLayout {
  uint16_t number = 0;         // the column's bit in the null mask; also its id in indexes
  bool variable = false;       // stored in the variable part (else at fixedOffset)
  uint16_t variableIndex = 0;  // entry in the row's variable offset table
  uint16_t fixedOffset = 0;    // offset from the start of the fixed part
  uint16_t fixedSize = 0;      // bytes of a fixed value
  bool valueInNullMask = false;  // Yes/No: the value is the column's null mask bit
  uint8_t flags = 0;
  uint8_t extraFlags = 0;
  uint32_t complexId = 0;  // ACE complex columns: the id in MSysComplexColumns
};

// The flags of a physical index.
namespace IndexFlag {
constexpr uint8_t kUnique = 0x01;
constexpr uint8_t kIgnoreNulls = 0x02;
constexpr uint8_t kRequired = 0x08;
constexpr uint8_t kAlways = 0x80;  // set on every index of a Jet4 or ACE file
}  // namespace IndexFlag

// A physical index: the entries that back one or more logical indexes.
struct PhysicalIndexLayout {
  std::vector<IndexColumn> columns;
  RowPointer ownedPages;  // the index's usage map
  uint32_t firstPage = 0;
  uint8_t flags = 0;  // 0x01 unique, 0x02 ignore nulls, 0x08 required
};

// The usage maps of one long-value column.
struct ColumnUsageMaps {
  uint16_t columnNumber = 0;
  RowPointer ownedPages;
  RowPointer freeSpacePages;
};

struct TableLayout {
  std::shared_ptr<const TableDefinition> definition;
  std::vector<ColumnLayout> columns;  // parallel to definition->columns
  std::vector<uint32_t> definitionPages;  // the chain of 0x02 pages, first to last
  uint8_t tableType = 0;        // 0x4E user, 0x53 system
  uint16_t maxColumns = 0;      // columns a row may have (deleted ones included)
  uint16_t variableColumns = 0;
  RowPointer ownedPages;
  RowPointer freeSpacePages;
  std::vector<PhysicalIndexLayout> physicalIndexes;
  std::vector<ColumnUsageMaps> columnUsageMaps;
};

}  // namespace Jet
