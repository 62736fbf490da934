#include "jet/schema/TableDefinitionReader.h"

#include <gtest/gtest.h>

#include "tests/jet/TableBuilder.h"

namespace Jet {
namespace {

using namespace Testing;

const FormatLayout& kLayout = LayoutOf(FileFormat::Jet4);

// Pages that carry a definition block: the first page the block's first page-size bytes, each
// further page the next (page size - 8) bytes after its own 8-byte header.
Bytes DefinitionPages(const Bytes& block, const std::vector<uint32_t>& numbers) {
  Bytes pages;
  size_t at = 0;
  for (size_t n = 0; n < numbers.size(); ++n) {
    Bytes page(kLayout.pageSize, 0);
    const size_t start = n == 0 ? 0 : 8;
    const size_t take = std::min(block.size() - at, page.size() - start);
    std::copy(block.begin() + static_cast<ptrdiff_t>(at), block.begin() + static_cast<ptrdiff_t>(at + take),
              page.begin() + static_cast<ptrdiff_t>(start));
    at += take;
    page[0] = 0x02;
    page[1] = 0x01;
    PutU32(page, 4, n + 1 < numbers.size() ? numbers[n + 1] : 0);
    pages.insert(pages.end(), page.begin(), page.end());
  }
  return pages;
}

Bytes Name(const std::u16string& name) {
  Bytes bytes;
  AppendU16(bytes, static_cast<uint16_t>(name.size() * 2));
  const Bytes text = Utf16(name);
  bytes.insert(bytes.end(), text.begin(), text.end());
  return bytes;
}

Bytes ColumnBlock(ColumnType type, uint16_t number, uint16_t variableIndex, uint16_t fixedOffset,
                  uint16_t length, uint8_t flags) {
  Bytes block(kLayout.columnBlockSize, 0);
  block[0] = static_cast<uint8_t>(type);
  PutU16(block, kLayout.columnNumber, number);
  PutU16(block, kLayout.columnVariableIndex, variableIndex);
  PutU16(block, kLayout.columnSortOrder, 1033);
  block[kLayout.columnFlags] = flags;
  PutU16(block, kLayout.columnFixedOffset, fixedOffset);
  PutU16(block, kLayout.columnLength, length);
  return block;
}

// A Jet4 definition of a table with a Text column (number 3, after deleted ones) stored before a
// Long autonumber column (number 0), then `extra` Long columns numbered from 10, and one primary
// key index on the autonumber column.
Bytes Definition(uint16_t extra = 0) {
  Bytes block(kLayout.tdefHeaderSize, 0);
  block[0] = 0x02;
  block[1] = 0x01;
  PutU32(block, kLayout.tdefRowCount, 5);
  block[kLayout.tdefTableType] = 0x4E;
  PutU16(block, kLayout.tdefMaxColumns, 4);
  PutU16(block, kLayout.tdefVariableColumns, 1);
  PutU16(block, kLayout.tdefColumnCount, static_cast<uint16_t>(2 + extra));
  PutU32(block, kLayout.tdefLogicalIndexCount, 1);
  PutU32(block, kLayout.tdefPhysicalIndexCount, 1);
  const Bytes owned = RowPointerBytes(7, 1);
  std::copy(owned.begin(), owned.end(), block.begin() + static_cast<ptrdiff_t>(kLayout.tdefOwnedPages));
  block.resize(block.size() + kLayout.physicalIndexCountSize, 0);

  const uint8_t fixed = ColumnFlag::kFixedLength | ColumnFlag::kNullable;
  block = Concat({block, ColumnBlock(ColumnType::Text, 3, 0, 0, 100, ColumnFlag::kNullable),
                  ColumnBlock(ColumnType::Long, 0, 0, 0, 4, fixed | ColumnFlag::kAutoLong)});
  for (uint16_t n = 0; n < extra; ++n)
    block = Concat({block, ColumnBlock(ColumnType::Long, static_cast<uint16_t>(10 + n), 0,
                                       static_cast<uint16_t>(4 + 4 * n), 4, fixed)});
  block = Concat({block, Name(u"title"), Name(u"id")});
  for (uint16_t n = 0; n < extra; ++n) {
    const std::string name = "extra" + std::to_string(n);
    block = Concat({block, Name(std::u16string(name.begin(), name.end()))});
  }

  Bytes physical(kLayout.physicalIndexBlockSize, 0);
  PutU16(physical, 4, 0);  // column 0, ascending
  physical[6] = 0x01;
  for (size_t slot = 1; slot < 10; ++slot) PutU16(physical, 4 + 3 * slot, 0xFFFF);
  physical[4 + 30 + 8 + 4] = 0x01;  // unique
  Bytes logical(kLayout.logicalIndexBlockSize, 0);
  PutU32(logical, 8, 0);  // physical index 0
  logical[4 + 19] = 1;    // primary key
  block = Concat({block, physical, logical, Name(u"PrimaryKey")});
  AppendU16(block, 0xFFFF);
  return block;
}

TEST(TableDefinition, ColumnsInNumberOrderWithIndexes) {
  const Bytes file = FileOf({Bytes(kLayout.pageSize, 0), DefinitionPages(Definition(), {1})});
  const PageFile pages(file, kLayout.pageSize);
  const auto table = ReadTableDefinition(pages, kLayout, TextCodec(), 1, u"Books");
  const TableDefinition& books = *table->definition;
  EXPECT_EQ(books.rowCount, 5u);
  ASSERT_EQ(books.columns.size(), 2u);
  EXPECT_EQ(books.columns[0].name, u"id");
  EXPECT_TRUE(books.columns[0].autonumber);
  EXPECT_TRUE(books.columns[0].fixedLength);
  EXPECT_EQ(books.columns[1].name, u"title");
  EXPECT_EQ(books.columns[1].type, ColumnType::Text);
  EXPECT_EQ(books.columns[1].maxCharacters, 50);
  EXPECT_EQ(books.columns[1].sortOrder, 1033);
  EXPECT_EQ(table->columns[1].number, 3);
  EXPECT_TRUE(table->columns[1].variable);
  EXPECT_EQ(table->ownedPages.page, 7u);
  EXPECT_EQ(table->ownedPages.slot, 1);
  ASSERT_EQ(books.indexes.size(), 1u);
  EXPECT_EQ(books.indexes[0].name, u"PrimaryKey");
  EXPECT_TRUE(books.indexes[0].primaryKey);
  EXPECT_TRUE(books.indexes[0].unique);
  ASSERT_EQ(books.indexes[0].columns.size(), 1u);
  EXPECT_EQ(books.indexes[0].columns[0].columnNumber, 0);
  EXPECT_EQ(books.FindColumn(u"TITLE"), 1);
  EXPECT_EQ(books.FindColumn(u"missing"), -1);
}

TEST(TableDefinition, DefinitionSpanningPages) {
  const Bytes definition = Definition(150);
  ASSERT_GT(definition.size(), kLayout.pageSize);
  const Bytes pages = DefinitionPages(definition, {1, 3});
  const Bytes file = FileOf({Bytes(kLayout.pageSize, 0), Bytes(pages.begin(), pages.begin() + 4096),
                             Bytes(kLayout.pageSize, 0), Bytes(pages.begin() + 4096, pages.end())});
  const PageFile pageFile(file, kLayout.pageSize);
  const auto table = ReadTableDefinition(pageFile, kLayout, TextCodec(), 1, u"Wide");
  EXPECT_EQ(table->definitionPages, (std::vector<uint32_t>{1, 3}));
  const TableDefinition& wide = *table->definition;
  ASSERT_EQ(wide.columns.size(), 152u);
  EXPECT_EQ(wide.columns[0].name, u"id");
  EXPECT_EQ(wide.columns[1].name, u"title");
  EXPECT_EQ(wide.columns[151].name, u"extra149");
  EXPECT_EQ(table->columns[151].fixedOffset, 4 + 4 * 149);
  ASSERT_EQ(wide.indexes.size(), 1u);
  EXPECT_EQ(wide.indexes[0].name, u"PrimaryKey");
}

TEST(TableDefinition, BrokenChainsAndCountsAreCorrupt) {
  const Bytes definition = Definition();
  Bytes hugeCount = definition;
  PutU16(hugeCount, kLayout.tdefColumnCount, 0xFFFF);
  Bytes badIndex = definition;
  const size_t logicalAt = definition.size() - 2 - Name(u"PrimaryKey").size() - kLayout.logicalIndexBlockSize;
  PutU32(badIndex, logicalAt + 8, 5);  // names a physical index that does not exist
  Bytes selfLoop = DefinitionPages(definition, {1});
  PutU32(selfLoop, 4, 1);
  Bytes pastEnd = DefinitionPages(definition, {1});
  PutU32(pastEnd, 4, 2);
  const std::vector<Bytes> files = {
      FileOf({Bytes(kLayout.pageSize, 0), selfLoop}),
      FileOf({Bytes(kLayout.pageSize, 0), pastEnd}),
      FileOf({Bytes(kLayout.pageSize, 0), DataPageBytes(kLayout, 0, {})}),  // not a definition
      FileOf({Bytes(kLayout.pageSize, 0), DefinitionPages(hugeCount, {1})}),
      FileOf({Bytes(kLayout.pageSize, 0), DefinitionPages(badIndex, {1})}),
  };
  for (const Bytes& file : files) {
    const PageFile pages(file, kLayout.pageSize);
    try {
      ReadTableDefinition(pages, kLayout, TextCodec(), 1, u"T");
      ADD_FAILURE() << "no error";
    } catch (const JetError& error) {
      EXPECT_EQ(error.Number(), JetErrorNumber::kCorrupt);
    }
  }
}

}  // namespace
}  // namespace Jet
