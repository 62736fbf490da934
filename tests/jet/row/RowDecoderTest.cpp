#include "jet/row/RowDecoder.h"

#include <gtest/gtest.h>

#include "tests/jet/TableBuilder.h"

namespace Jet {
namespace {

using Testing::Bytes;

std::string Text(ByteSpan bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(RowDecoder, Jet4FixedVariableNullYesNoAndLaterAddedColumns) {
  const auto table = Testing::TableBuilder()
                         .Fixed(u"id", ColumnType::Long, 0, 4)
                         .YesNo(u"flag")
                         .Variable(u"a", ColumnType::Text, 0)
                         .Variable(u"b", ColumnType::Text, 1)
                         .Fixed(u"added", ColumnType::Integer, 4, 2)  // number 4, after the row
                         .Build();
  // 4 columns in the row: id = 42, flag = yes, a = "hi", b = null.
  Bytes row;
  AppendU16(row, 4);
  for (uint8_t byte : {42, 0, 0, 0}) row.push_back(byte);
  for (char c : std::string("hi")) row.push_back(static_cast<uint8_t>(c));
  for (uint16_t offset : {8, 8, 6}) AppendU16(row, offset);  // end, b, a (last entry first)
  AppendU16(row, 2);
  row.push_back(0x07);  // id, flag, a not null; b null

  std::vector<Cell> cells;
  RowDecoder decoder(LayoutOf(FileFormat::Jet4), *table);
  decoder.Split(row, cells);
  ASSERT_EQ(cells.size(), 5u);
  EXPECT_FALSE(cells[0].null);
  EXPECT_EQ(cells[0].bytes.size(), 4u);
  EXPECT_EQ(cells[0].bytes[0], 42);
  EXPECT_FALSE(cells[1].null);
  EXPECT_TRUE(cells[1].flag);
  EXPECT_EQ(Text(cells[2].bytes), "hi");
  EXPECT_TRUE(cells[3].null);
  EXPECT_TRUE(cells[4].null);  // added after the row was written
}

TEST(RowDecoder, DeletedColumnsKeepTheirNullMaskBits) {
  // Columns 0 and 1 were deleted; the remaining ones keep numbers 2 and 3.
  const auto table = Testing::TableBuilder()
                         .SkipNumbers(2)
                         .Variable(u"c", ColumnType::Text, 2)
                         .Variable(u"d", ColumnType::Text, 3)
                         .Build();
  const Bytes row = Testing::Jet4VariableRow({Bytes{'o', 'l', 'd'}, Bytes{}, Bytes{'x'}, Bytes{'y', 'z'}});
  std::vector<Cell> cells;
  RowDecoder(LayoutOf(FileFormat::Jet4), *table).Split(row, cells);
  ASSERT_EQ(cells.size(), 2u);
  EXPECT_EQ(Text(cells[0].bytes), "x");
  EXPECT_EQ(Text(cells[1].bytes), "yz");
}

TEST(RowDecoder, Jet3JumpTableReachesPast255) {
  const auto table = Testing::TableBuilder()
                         .Fixed(u"n", ColumnType::Byte, 0, 1)
                         .Variable(u"long", ColumnType::Text, 0)
                         .Variable(u"short", ColumnType::Text, 1)
                         .Build();
  Bytes row{3, 7};                            // 3 columns, n = 7
  row.insert(row.end(), 300, 'a');            // long: offsets 2 to 302
  for (char c : std::string("xyz")) row.push_back(static_cast<uint8_t>(c));  // 302 to 305
  // Offsets, last entry first, low bytes only: end 305, short 302, long 2.
  row.push_back(305 - 256);
  row.push_back(302 - 256);
  row.push_back(2);
  row.push_back(1);     // jump table: entry 1 is the first at 256 or more
  row.push_back(2);     // variable entries
  row.push_back(0x07);  // null mask
  ASSERT_EQ((row.size() - 1) / 256, 1u);

  std::vector<Cell> cells;
  RowDecoder(LayoutOf(FileFormat::Jet3), *table).Split(row, cells);
  EXPECT_EQ(cells[0].bytes[0], 7);
  EXPECT_EQ(cells[1].bytes.size(), 300u);
  EXPECT_EQ(Text(cells[2].bytes), "xyz");
}

TEST(RowDecoder, Jet3ShortRowWithoutJumpTable) {
  const auto table = Testing::TableBuilder().Variable(u"t", ColumnType::Text, 0).Build();
  const Bytes row{1, 'a', 'b', 3, 1, 1, 0x01};  // count, data, end 3, start 1, entries, mask
  std::vector<Cell> cells;
  RowDecoder(LayoutOf(FileFormat::Jet3), *table).Split(row, cells);
  EXPECT_EQ(Text(cells[0].bytes), "ab");
}

TEST(RowDecoder, MalformedRowsAreCorruptNotCrashes) {
  const auto table = Testing::TableBuilder()
                         .Fixed(u"id", ColumnType::Long, 0, 4)
                         .Variable(u"a", ColumnType::Text, 0)
                         .Build();
  RowDecoder decoder(LayoutOf(FileFormat::Jet4), *table);
  std::vector<Cell> cells;
  const std::vector<Bytes> broken = {
      Bytes{},                                             // nothing at all
      Bytes{2},                                            // half a column count
      Bytes{0xFF, 0xFF, 0x03},                             // a null mask longer than the row
      Bytes{2, 0, 1, 2, 0x03},                             // fixed value cut short
      Bytes{2, 0, 1, 2, 3, 4, 200, 0, 6, 0, 1, 0, 0x03},   // variable value ends past the row
      Bytes{2, 0, 1, 2, 3, 4, 6, 0, 9, 0, 1, 0, 0x03},     // variable value ends before it starts
      Bytes{2, 0, 1, 2, 3, 4, 0xFF, 0x7F, 0x03},           // variable count far too large
  };
  for (const Bytes& row : broken) {
    try {
      decoder.Split(row, cells);
      ADD_FAILURE() << "no error for a row of " << row.size() << " bytes";
    } catch (const JetError& error) {
      EXPECT_EQ(error.Number(), JetErrorNumber::kCorrupt);
    }
  }
}

}  // namespace
}  // namespace Jet
