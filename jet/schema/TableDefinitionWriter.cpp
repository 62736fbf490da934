#include "jet/schema/TableDefinitionWriter.h"

#include <algorithm>

#include "jet/base/ByteWriter.h"
#include "jet/page/PageFormatWriter.h"

// Beyond what the reader needs, a definition holds at 12 a number Access always writes as 1625,
// at 20 the next AutoNumber and at 24 a 1 that lets Access number rows; each column block repeats
// 1625 at 1 and its number at 9; text columns hold their sort order as 4 bytes (collation id, 0,
// then at 14 its version: the creator's text is "General" version 0, General Legacy, as Access 2000
// to 2007 write it, and its index keys follow that order); the definition ends with FF FF after the
// long-value usage maps.
//
// Indexes as Access writes them: each physical index's 12-byte count block holds at 4 the number
// of distinct keys (0 and 8 left zero); its 52-byte block starts with the constant 1923, has ten
// column slots (unused: column FFFF, flags 0), the usage map of its pages, its root page and its
// flags at 46; each logical index's 28-byte block starts with 1625 and, for an index without a
// relationship, holds no relationship side (0), no related index (-1), no related table (0) and
// 0x04 in both cascade bytes.
namespace Jet::Create {
namespace {

constexpr size_t kPageHeaderSize = 8;
constexpr uint32_t kDefinitionMagic = 1625;
constexpr size_t kHeaderSize = 63;
constexpr size_t kColumnBlockSize = 25;
constexpr size_t kIndexCountBlockSize = 12;
constexpr size_t kPhysicalIndexBlockSize = 52;
constexpr size_t kLogicalIndexBlockSize = 28;
constexpr uint32_t kPhysicalIndexMagic = 1923;
constexpr size_t kIndexColumnSlots = 10;
constexpr uint16_t kUnusedColumn = 0xFFFF;
constexpr uint8_t kAscending = 0x01;
constexpr uint8_t kNoCascade = 0x04;
constexpr uint8_t kPrimaryKeyType = 1;

void AppendName(std::vector<uint8_t>& block, const std::u16string& name) {
  AppendU16(block, static_cast<uint16_t>(name.size() * 2));
  for (const char16_t unit : name) AppendU16(block, unit);
}

void AppendColumnBlock(std::vector<uint8_t>& block, const Column& column, const ColumnLayout& place) {
  const size_t start = block.size();
  AppendZeros(block, kColumnBlockSize);
  const MutableBytes bytes = MutableBytes(block).subspan(start);
  PutU8(bytes, 0, column.rawType);
  PutU32(bytes, 1, kDefinitionMagic);
  PutU16(bytes, 5, place.number);
  PutU16(bytes, 7, place.variableIndex);
  PutU16(bytes, 9, place.number);
  if (column.type == ColumnType::Text || column.type == ColumnType::Memo) {
    PutU16(bytes, 11, column.sortOrder);
    PutU8(bytes, 14, column.sortOrderVersion);
  } else if (column.type == ColumnType::Decimal && !column.calculated) {  // a result carries its scale
    PutU8(bytes, 11, column.precision);
    PutU8(bytes, 12, column.scale);
  }
  PutU8(bytes, 15, place.flags);
  PutU8(bytes, 16, place.extraFlags);
  PutU16(bytes, 21, place.variable ? 0 : place.fixedOffset);
  PutU16(bytes, 23, column.maxLength);
}

void AppendPhysicalIndexBlock(std::vector<uint8_t>& block, const PhysicalIndexLayout& index) {
  const size_t start = block.size();
  AppendZeros(block, kPhysicalIndexBlockSize);
  const MutableBytes bytes = MutableBytes(block).subspan(start);
  PutU32(bytes, 0, kPhysicalIndexMagic);
  for (size_t slot = 0; slot < kIndexColumnSlots; ++slot) {
    const bool used = slot < index.columns.size();
    PutU16(bytes, 4 + slot * 3, used ? index.columns[slot].columnNumber : kUnusedColumn);
    PutU8(bytes, 6 + slot * 3, used && index.columns[slot].ascending ? kAscending : 0);
  }
  PutRowPointer(bytes, 34, index.ownedPages.page, index.ownedPages.slot);
  PutU32(bytes, 38, index.firstPage);
  PutU8(bytes, 46, index.flags);
}

void AppendLogicalIndexBlock(std::vector<uint8_t>& block, const Index& index, uint32_t number) {
  const size_t start = block.size();
  AppendZeros(block, kLogicalIndexBlockSize);
  const MutableBytes bytes = MutableBytes(block).subspan(start);
  PutU32(bytes, 0, kDefinitionMagic);
  PutU32(bytes, 4, number);
  PutU32(bytes, 8, index.physicalIndex);
  PutU32(bytes, 13, 0xFFFFFFFF);
  PutU8(bytes, 21, kNoCascade);
  PutU8(bytes, 22, kNoCascade);
  PutU8(bytes, 23, index.primaryKey ? kPrimaryKeyType : 0);
}

}  // namespace

std::vector<uint8_t> EncodeTableDefinition(const TableLayout& table, uint32_t rowCount,
                                           uint32_t nextAutoNumber, const std::vector<uint32_t>& distinctKeys) {
  const TableDefinition& definition = *table.definition;
  std::vector<uint8_t> block(kHeaderSize, 0);
  const MutableBytes header(block);
  PutU8(header, 0, kTableDefinitionPageType);
  PutU8(header, 1, 0x01);
  PutU32(header, 12, kDefinitionMagic);
  PutU32(header, 16, rowCount);
  PutU32(header, 20, nextAutoNumber);
  PutU8(header, 24, 0x01);
  PutU8(header, 40, table.tableType);
  PutU16(header, 41, table.maxColumns);
  PutU16(header, 43, table.variableColumns);
  PutU16(header, 45, static_cast<uint16_t>(definition.columns.size()));
  PutU32(header, 47, static_cast<uint32_t>(definition.indexes.size()));
  PutU32(header, 51, static_cast<uint32_t>(table.physicalIndexes.size()));
  PutRowPointer(header, 55, table.ownedPages.page, table.ownedPages.slot);
  PutRowPointer(header, 59, table.freeSpacePages.page, table.freeSpacePages.slot);

  for (size_t n = 0; n < table.physicalIndexes.size(); ++n) {
    AppendZeros(block, kIndexCountBlockSize);
    PutU32(MutableBytes(block), block.size() - kIndexCountBlockSize + 4,
           n < distinctKeys.size() ? distinctKeys[n] : 0);
  }
  for (size_t n = 0; n < definition.columns.size(); ++n)
    AppendColumnBlock(block, definition.columns[n], table.columns[n]);
  for (const Column& column : definition.columns) AppendName(block, column.name);
  for (const PhysicalIndexLayout& index : table.physicalIndexes) AppendPhysicalIndexBlock(block, index);
  for (size_t n = 0; n < definition.indexes.size(); ++n)
    AppendLogicalIndexBlock(block, definition.indexes[n], static_cast<uint32_t>(n));
  for (const Index& index : definition.indexes) AppendName(block, index.name);
  for (const ColumnUsageMaps& maps : table.columnUsageMaps) {
    AppendU16(block, maps.columnNumber);
    AppendRowPointer(block, maps.ownedPages);
    AppendRowPointer(block, maps.freeSpacePages);
  }
  AppendU16(block, 0xFFFF);
  PutU32(MutableBytes(block), 8, static_cast<uint32_t>(block.size()));
  return block;
}

size_t DefinitionPageCount(size_t blockSize, uint32_t pageSize) {
  if (blockSize <= pageSize) return 1;
  const size_t perContinuation = pageSize - kPageHeaderSize;
  return 1 + (blockSize - pageSize + perContinuation - 1) / perContinuation;
}

void WriteDefinitionPages(const std::vector<uint8_t>& block, const std::vector<uint32_t>& chain,
                          PageSet& pages) {
  size_t taken = 0;
  for (size_t n = 0; n < chain.size(); ++n) {
    const MutableBytes page = pages.Page(chain[n]);
    const size_t headerSize = n == 0 ? 0 : kPageHeaderSize;
    const size_t length = std::min(page.size() - headerSize, block.size() - taken);
    std::copy_n(block.begin() + static_cast<ptrdiff_t>(taken), length, page.begin() + static_cast<ptrdiff_t>(headerSize));
    taken += length;
    PutU8(page, 0, kTableDefinitionPageType);
    PutU8(page, 1, 0x01);
    PutU16(page, 2, static_cast<uint16_t>(page.size() - headerSize - length > kPageHeaderSize
                                              ? page.size() - headerSize - length - kPageHeaderSize
                                              : 0));
    PutU32(page, 4, n + 1 < chain.size() ? chain[n + 1] : 0);
  }
}

}  // namespace Jet::Create
