#include "jet/schema/TableDefinitionReader.h"

#include <algorithm>
#include <unordered_set>

#include "jet/schema/FixedValueSize.h"

// Table definition pages (type 0x02):
//
//   0  1  page type 0x02
//   1  1  0x01
//   2  2  Jet3: "VC"; Jet4: free space
//   4  4  next definition page of this table, 0 for the last
//
// A definition longer than a page continues on the next pages; joined (the first page whole,
// each further page from offset 8) they read as one block. Offsets in that block, Jet4 (Jet3):
//
//   16 (12)  4  rows in the table
//   40 (20)  1  table type: 0x4E user, 0x53 system
//   41 (21)  2  max columns (including deleted ones)
//   43 (23)  2  variable-length columns
//   45 (25)  2  columns
//   47 (27)  4  logical indexes
//   51 (31)  4  physical indexes
//   55 (35)  4  owned-pages usage map (row pointer, see UsageMapFormat.h)
//   59 (39)  4  free-space usage map
//   63 (43)     per physical index 12 (8) bytes: row counts
//   then        per column a block of 25 (18) bytes:
//                 0 type; 5 (1) column number; 7 (3) index in the variable offset table;
//                 11 (9) sort order of text (collation id; 14 (-) its version; (11) code page), or 11/12
//                 precision/scale of Decimal, or (ACE) 4-byte complex column id; 15 (13) flags; 16 (-) extra flags; 21 (14) offset in the
//                 fixed part; 23 (16) length
//   then        per column its name: 2-byte byte count + UCS-2 (Jet3: 1 byte + code page)
//   then        per physical index 52 (39) bytes: 4 (0) unknown; 10 x (2-byte column number,
//                 0xFFFF unused; 1 byte flags, 0x01 ascending); 4 usage map; 4 first index page;
//                 4 (0) unknown; 1 flags (0x01 unique, 0x02 ignore nulls, 0x08 required);
//                 5 (0) unknown
//   then        per logical index 28 (20) bytes: 4 (0) unknown; 4 index number; 4 physical index;
//                 1 relationship side (1 referenced, 2 referring); 4 related index (-1: none);
//                 4 related table page;
//                 1 cascade updates; 1 cascade deletes; 1 type (1 primary key, 2 foreign key);
//                 4 (0) unknown
//   then        per logical index its name
//   then        until a column number 0xFFFF: 2-byte column number, 4 owned-pages map,
//               4 free-space map of that column's long values
namespace Jet {
namespace {

constexpr size_t kNextPageOffset = 4;
constexpr size_t kContinuationStart = 8;
constexpr size_t kMaxDefinitionPages = 1024;
constexpr size_t kIndexColumnSlots = 10;
constexpr uint16_t kUnusedColumn = 0xFFFF;
constexpr uint8_t kPrimaryKeyType = 1;
constexpr uint8_t kForeignKeyType = 2;
constexpr uint8_t kPrimarySide = 1;  // the relationship side byte: this table is referenced
constexpr uint8_t kCascadeUpdates = 0x01;
constexpr uint8_t kCascadeDeletes = 0x01;

// The bytes a fixed column takes: its type's size, a Yes/No none (its value is the null mask bit),
// an unknown type the length the definition gives.
uint16_t FixedSizeOf(uint8_t type, uint16_t length) {
  const auto known = static_cast<ColumnType>(type);
  if (known == ColumnType::Boolean) return 0;
  const uint16_t size = FixedValueSize(known);
  return size != 0 ? size : length;
}

// Reads the definition block front to back.
class DefinitionParser {
 public:
  DefinitionParser(ByteSpan block, const FormatLayout& layout, const TextCodec& nameCodec)
      : block_(block), layout_(layout), nameCodec_(nameCodec) {}

  void Read(TableLayout& table, TableDefinition& definition) {
    definition.rowCount = ReadU32(block_, layout_.tdefRowCount);
    table.tableType = ReadU8(block_, layout_.tdefTableType);
    table.maxColumns = ReadU16(block_, layout_.tdefMaxColumns);
    table.variableColumns = ReadU16(block_, layout_.tdefVariableColumns);
    const uint16_t columnCount = ReadU16(block_, layout_.tdefColumnCount);
    const uint32_t logicalCount = ReadU32(block_, layout_.tdefLogicalIndexCount);
    const uint32_t physicalCount = ReadU32(block_, layout_.tdefPhysicalIndexCount);
    table.ownedPages = ReadRowPointer(block_, layout_.tdefOwnedPages);
    table.freeSpacePages = ReadRowPointer(block_, layout_.tdefFreeSpacePages);
    // Every count must fit the block before anything is sized from it.
    RequireBytes(block_, layout_.tdefHeaderSize,
                 size_t{physicalCount} * layout_.physicalIndexCountSize +
                     size_t{columnCount} * layout_.columnBlockSize +
                     size_t{physicalCount} * layout_.physicalIndexBlockSize +
                     size_t{logicalCount} * layout_.logicalIndexBlockSize);

    at_ = layout_.tdefHeaderSize + size_t{physicalCount} * layout_.physicalIndexCountSize;
    ReadColumns(columnCount, table, definition);
    ReadPhysicalIndexes(physicalCount, table);
    ReadLogicalIndexes(logicalCount, table, definition);
    ReadColumnUsageMaps(table);
  }

 private:
  std::u16string ReadName() {
    const size_t length = layout_.nameLengthSize == 1 ? ReadU8(block_, at_) : ReadU16(block_, at_);
    at_ += layout_.nameLengthSize;
    const ByteSpan stored = Slice(block_, at_, length);
    at_ += length;
    std::u16string name;
    if (layout_.jet3)
      nameCodec_.Decode(stored, name);
    else
      AppendUcs2(stored, name);
    return name;
  }

  void ReadColumns(uint16_t count, TableLayout& table, TableDefinition& definition) {
    struct Entry {
      Column column;
      ColumnLayout place;
    };
    std::vector<Entry> entries(count);
    for (Entry& entry : entries) {
      const ByteSpan block = Slice(block_, at_, layout_.columnBlockSize);
      at_ += layout_.columnBlockSize;
      Column& column = entry.column;
      ColumnLayout& place = entry.place;
      column.rawType = ReadU8(block, 0);
      column.type = static_cast<ColumnType>(column.rawType);
      place.number = ReadU16(block, layout_.columnNumber);
      place.variableIndex = ReadU16(block, layout_.columnVariableIndex);
      place.fixedOffset = ReadU16(block, layout_.columnFixedOffset);
      place.flags = ReadU8(block, layout_.columnFlags);
      place.extraFlags = layout_.jet3 ? 0 : ReadU8(block, layout_.columnExtraFlags);
      place.variable = (place.flags & ColumnFlag::kFixedLength) == 0;
      column.number = place.number;
      column.maxLength = ReadU16(block, layout_.columnLength);
      column.calculated = (place.extraFlags & ColumnExtraFlag::kCalculated) != 0;
      // Calculated values are stored wrapped, in a field as long as the column says.
      place.fixedSize = column.calculated ? column.maxLength : FixedSizeOf(column.rawType, column.maxLength);
      place.valueInNullMask = column.type == ColumnType::Boolean && !column.calculated;
      column.fixedLength = !place.variable;
      column.nullable = (place.flags & ColumnFlag::kNullable) != 0;
      column.autonumber = (place.flags & (ColumnFlag::kAutoLong | ColumnFlag::kAutoGuid)) != 0;
      column.hyperlink = (place.flags & ColumnFlag::kHyperlink) != 0 &&
                         column.type == ColumnType::Memo;
      column.compressedUnicode = (place.extraFlags & ColumnExtraFlag::kCompressedUnicode) != 0;
      if (column.type == ColumnType::Text || column.type == ColumnType::Memo) {
        column.sortOrder = ReadU16(block, layout_.columnSortOrder);
        if (!layout_.jet3) column.sortOrderVersion = ReadU8(block, layout_.columnSortOrderVersion);
        if (layout_.jet3) column.codePage = ReadU16(block, layout_.columnCodePage);
      }
      if (column.type == ColumnType::Text)
        column.maxCharacters = layout_.jet3 ? column.maxLength : column.maxLength / 2;
      if (column.type == ColumnType::Decimal) {
        column.precision = ReadU8(block, layout_.columnPrecision);
        column.scale = ReadU8(block, layout_.columnScale);
      }
      if (column.type == ColumnType::Complex && !layout_.jet3)
        place.complexId = ReadU32(block, layout_.columnPrecision);
    }
    for (Entry& entry : entries) entry.column.name = ReadName();
    // Column order is the order of the column numbers.
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
      return a.place.number < b.place.number;
    });
    for (Entry& entry : entries) {
      definition.columns.push_back(std::move(entry.column));
      table.columns.push_back(entry.place);
    }
  }

  void ReadPhysicalIndexes(uint32_t count, TableLayout& table) {
    for (uint32_t n = 0; n < count; ++n) {
      const ByteSpan block = Slice(block_, at_, layout_.physicalIndexBlockSize);
      at_ += layout_.physicalIndexBlockSize;
      PhysicalIndexLayout index;
      size_t field = layout_.physicalIndexLeadingSkip;
      for (size_t slot = 0; slot < kIndexColumnSlots; ++slot, field += 3) {
        const uint16_t columnNumber = ReadU16(block, field);
        if (columnNumber == kUnusedColumn) continue;
        index.columns.push_back(IndexColumn{columnNumber, (ReadU8(block, field + 2) & 1) != 0});
      }
      index.ownedPages = ReadRowPointer(block, field);
      index.firstPage = ReadU32(block, field + 4);
      index.flags = ReadU8(block, field + 8 + layout_.physicalIndexSkipBeforeFlags);
      table.physicalIndexes.push_back(std::move(index));
    }
  }

  void ReadLogicalIndexes(uint32_t count, const TableLayout& table, TableDefinition& definition) {
    for (uint32_t n = 0; n < count; ++n) {
      const ByteSpan block = Slice(block_, at_, layout_.logicalIndexBlockSize);
      at_ += layout_.logicalIndexBlockSize;
      const size_t skip = layout_.logicalIndexLeadingSkip;
      Index index;
      index.number = ReadU32(block, skip);
      index.physicalIndex = ReadU32(block, skip + 4);
      index.primarySide = ReadU8(block, skip + 8) == kPrimarySide;
      index.relatedIndex = static_cast<int32_t>(ReadU32(block, skip + 9));
      index.relatedTablePage = ReadU32(block, skip + 13);
      index.cascadeUpdates = (ReadU8(block, skip + 17) & kCascadeUpdates) != 0;
      index.cascadeDeletes = (ReadU8(block, skip + 18) & kCascadeDeletes) != 0;
      const uint8_t type = ReadU8(block, skip + 19);
      if (index.physicalIndex >= table.physicalIndexes.size())
        ThrowCorrupt("a logical index names the missing physical index " +
                     std::to_string(index.physicalIndex));
      const PhysicalIndexLayout& physical = table.physicalIndexes[index.physicalIndex];
      index.columns = physical.columns;
      index.primaryKey = type == kPrimaryKeyType;
      index.foreignKey = type == kForeignKeyType;
      index.unique = index.primaryKey || (physical.flags & IndexFlag::kUnique) != 0;
      definition.indexes.push_back(std::move(index));
    }
    for (Index& index : definition.indexes) index.name = ReadName();
  }

  void ReadColumnUsageMaps(TableLayout& table) {
    while (at_ + 2 <= block_.size()) {
      const uint16_t columnNumber = ReadU16(block_, at_);
      if (columnNumber == kUnusedColumn || at_ + 10 > block_.size()) return;
      table.columnUsageMaps.push_back(ColumnUsageMaps{columnNumber, ReadRowPointer(block_, at_ + 2),
                                                      ReadRowPointer(block_, at_ + 6)});
      at_ += 10;
    }
  }

  ByteSpan block_;
  const FormatLayout& layout_;
  const TextCodec& nameCodec_;
  size_t at_ = 0;
};

}  // namespace

std::vector<uint8_t> JoinDefinitionPages(const PageFile& pages, uint32_t definitionPage,
                                         std::vector<uint32_t>& chain) {
  std::vector<uint8_t> block;
  std::unordered_set<uint32_t> seen;
  uint32_t number = definitionPage;
  while (number != 0) {
    if (!seen.insert(number).second || seen.size() > kMaxDefinitionPages)
      ThrowCorrupt("the definition pages of the table at " + PageText(definitionPage) +
                   " form a loop");
    const Page page = pages.Read(number);
    if (page.Type() != kTableDefinitionPageType)
      ThrowCorrupt(PageText(number) + " should be a table definition page but is of type " +
                   std::to_string(page.Type()));
    const ByteSpan bytes = page.Bytes();
    const ByteSpan content = block.empty() ? bytes : bytes.subspan(kContinuationStart);
    block.insert(block.end(), content.begin(), content.end());
    chain.push_back(number);
    number = ReadU32(bytes, kNextPageOffset);
  }
  return block;
}

std::shared_ptr<const TableLayout> ReadTableDefinition(const PageFile& pages,
                                                       const FormatLayout& layout,
                                                       const TextCodec& nameCodec,
                                                       uint32_t definitionPage,
                                                       std::u16string name) {
  auto table = std::make_shared<TableLayout>();
  auto definition = std::make_shared<TableDefinition>();
  definition->name = std::move(name);
  definition->definitionPage = definitionPage;
  const std::vector<uint8_t> block = JoinDefinitionPages(pages, definitionPage, table->definitionPages);
  DefinitionParser(block, layout, nameCodec).Read(*table, *definition);
  table->definition = std::move(definition);
  return table;
}

}  // namespace Jet
