#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "jet/JetError.h"
#include "jet/index/IndexKeyEncoder.h"
#include "jet/index/RowKeys.h"
#include "jet/index/TextSortOrder.h"
#include "jet/longvalue/LongValueFormat.h"
#include "tests/jet/index/TextKeyOf.h"

namespace Jet {
namespace {

using Bytes = std::vector<uint8_t>;
using Testing::TextKeyOf;

// A table of the columns given (numbered 0, 1, ...) whose cells the tests make by hand.
struct HandMadeTable {
  TableLayout layout;
  std::vector<uint8_t> fileBytes = std::vector<uint8_t>(4096);
  PageFile pages{fileBytes, 4096};

  explicit HandMadeTable(const std::vector<ColumnType>& types) {
    auto definition = std::make_shared<TableDefinition>();
    definition->name = u"Books";
    for (size_t n = 0; n < types.size(); ++n) {
      Column column;
      column.name = u"Field" + std::u16string(1, static_cast<char16_t>(u'0' + n));
      column.type = types[n];
      column.rawType = static_cast<uint8_t>(types[n]);
      column.number = static_cast<uint16_t>(n);
      column.sortOrder = kGeneralCollation;
      definition->columns.push_back(column);
      layout.columns.push_back(ColumnLayout{});
    }
    layout.definition = definition;
  }
};

PhysicalIndexLayout IndexOn(std::vector<IndexColumn> columns, uint8_t flags = 0) {
  PhysicalIndexLayout index;
  index.columns = std::move(columns);
  index.flags = flags;
  return index;
}

Cell Present(const Bytes& bytes) { return Cell{bytes, false, false}; }

Bytes Ucs2(std::u16string_view text) {
  Bytes bytes;
  for (const char16_t unit : text) {
    bytes.push_back(static_cast<uint8_t>(unit));
    bytes.push_back(static_cast<uint8_t>(unit >> 8));
  }
  return bytes;
}

TEST(RowKeysTest, ColumnsGoInTheIndexOrderFoundByTheirNumbers) {
  HandMadeTable table({ColumnType::Text, ColumnType::Long});
  const RowKeys keys(table.pages, LayoutOf(FileFormat::Jet4), 1252, table.layout);
  const Bytes text = Ucs2(u"abc"), number = {0x05, 0x00, 0x00, 0x00};
  const RowKey key = keys.KeyOf(IndexOn({{1, true}, {0, false}}), {Present(text), Present(number)});
  Bytes expected = {0x7F, 0x80, 0x00, 0x00, 0x05};
  const Bytes textPart = TextKeyOf(u"abc", false, table.layout.definition->columns[0], LayoutOf(FileFormat::Jet4));
  expected.insert(expected.end(), textPart.begin(), textPart.end());
  EXPECT_EQ(key.bytes, expected);
  EXPECT_FALSE(key.anyNull);
  EXPECT_FALSE(key.allNull);
}

TEST(RowKeysTest, NullsAreToldApartAndYesNoIsNeverNull) {
  HandMadeTable table({ColumnType::Text, ColumnType::Long, ColumnType::Boolean});
  const RowKeys keys(table.pages, LayoutOf(FileFormat::Jet4), 1252, table.layout);
  const std::vector<Cell> nulls(3);
  const RowKey both = keys.KeyOf(IndexOn({{0, true}, {1, false}}), nulls);
  EXPECT_EQ(both.bytes, (Bytes{0x00, 0xFF}));
  EXPECT_TRUE(both.allNull);
  EXPECT_TRUE(both.anyNull);
  const Bytes number = {0x01, 0x00, 0x00, 0x00};
  const RowKey one = keys.KeyOf(IndexOn({{0, true}, {1, true}}), {Cell{}, Present(number), Cell{}});
  EXPECT_TRUE(one.anyNull);
  EXPECT_FALSE(one.allNull);
  const RowKey flag = keys.KeyOf(IndexOn({{2, true}}), nulls);
  EXPECT_EQ(flag.bytes, (Bytes{0x7F, 0xFF}));
  EXPECT_FALSE(flag.anyNull);
}

TEST(RowKeysTest, MemoValuesAreReadAndCutTo255Units) {
  HandMadeTable table({ColumnType::Memo});
  const RowKeys keys(table.pages, LayoutOf(FileFormat::Jet4), 1252, table.layout);
  const std::u16string text(300, u'x');
  const Bytes stored = InlineLongValue(Ucs2(text));
  const RowKey key = keys.KeyOf(IndexOn({{0, true}}), {Present(stored)});
  EXPECT_EQ(key.bytes, TextKeyOf(text.substr(0, 255), true, table.layout.definition->columns[0],
                                 LayoutOf(FileFormat::Jet4)));
}

TEST(RowKeysTest, Jet3TextIsKeyedFromItsWindows1252Bytes) {
  HandMadeTable table({ColumnType::Text});
  const Bytes cafe = {'c', 'a', 'f', 0xE9};
  const RowKeys keys(table.pages, LayoutOf(FileFormat::Jet3), 1252, table.layout);
  EXPECT_EQ(keys.KeyOf(IndexOn({{0, true}}), {Present(cafe)}).bytes,
            (Bytes{0x7F, 0x62, 0x60, 0x67, 0x66, 0x02, 0x24, 0x00}));
  // General 97 keys are made for Windows-1252 text only.
  const RowKeys cyrillic(table.pages, LayoutOf(FileFormat::Jet3), 1251, table.layout);
  try {
    cyrillic.KeyOf(IndexOn({{0, true}}), {Present(cafe)});
    ADD_FAILURE() << "text in code page 1251 was keyed";
  } catch (const JetError& error) {
    EXPECT_EQ(error.Number(), JetErrorNumber::kNotSupported);
    EXPECT_NE(std::string(error.what()).find("Field0"), std::string::npos) << error.what();
  }
}

TEST(RowKeysTest, AnIndexNamingAColumnTheTableLacksIsDamage) {
  HandMadeTable table({ColumnType::Long});
  const RowKeys keys(table.pages, LayoutOf(FileFormat::Jet4), 1252, table.layout);
  try {
    keys.KeyOf(IndexOn({{7, true}}), {Cell{}});
    ADD_FAILURE() << "a missing column was keyed";
  } catch (const JetError& error) {
    EXPECT_EQ(error.Number(), JetErrorNumber::kCorrupt);
  }
}

}  // namespace
}  // namespace Jet
