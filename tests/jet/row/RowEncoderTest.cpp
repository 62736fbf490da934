#include "jet/row/RowEncoder.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <tuple>

#include "jet/JetError.h"
#include "jet/longvalue/LongValueFormat.h"
#include "jet/row/RowDecoder.h"
#include "jet/row/ValueReader.h"
#include "tests/jet/TableBuilder.h"

namespace Jet {
namespace {

using Main::Value;

// A table layout whose column definitions the test may still adjust.
struct EditableTable {
  std::shared_ptr<TableLayout> layout;
  std::shared_ptr<TableDefinition> definition;

  explicit EditableTable(const std::shared_ptr<const TableLayout>& built)
      : layout(std::make_shared<TableLayout>(*built)),
        definition(std::make_shared<TableDefinition>(*built->definition)) {
    layout->definition = definition;
  }
  Column& operator[](size_t n) { return definition->columns[n]; }
};

// Encodes, then reads every column back through the row decoder and the value reader.
std::vector<Value> RoundTrip(FileFormat format, const TableLayout& table, const std::vector<Field>& fields,
                             uint16_t codePage = 1252) {
  const FormatLayout& layout = LayoutOf(format);
  const std::vector<uint8_t> row = RowEncoder(layout, table, codePage).Encode(fields);
  std::vector<Cell> cells;
  RowDecoder(layout, table).Split(row, cells);
  const PageFile noPages(ByteSpan{}, layout.pageSize);
  const TextCodec codec = layout.jet3 ? TextCodec(codePage) : TextCodec();
  const ValueReader reader(noPages, layout, codec);
  std::vector<Value> values;
  for (size_t n = 0; n < cells.size(); ++n) values.push_back(reader.Read(table.definition->columns[n], cells[n]));
  return values;
}

Main::Decimal DecimalOf(uint32_t magnitude, uint8_t scale, bool negative = false) {
  Main::Decimal number;
  number.magnitude[0] = magnitude;
  number.scale = scale;
  number.negative = negative;
  return number;
}

EditableTable MixedTable() {
  EditableTable table(Testing::TableBuilder()
                          .Fixed(u"id", ColumnType::Long, 0, 4)
                          .YesNo(u"flag")
                          .Variable(u"name", ColumnType::Text, 0)
                          .Fixed(u"price", ColumnType::Currency, 4, 8)
                          .Variable(u"notes", ColumnType::Memo, 1)
                          .Fixed(u"when", ColumnType::DateTime, 12, 8)
                          .Fixed(u"ratio", ColumnType::Double, 20, 8)
                          .Fixed(u"small", ColumnType::Byte, 28, 1)
                          .Fixed(u"amount", ColumnType::Decimal, 29, 17)
                          .Variable(u"other", ColumnType::Text, 2)
                          .Build());
  table[2].maxCharacters = 50;
  table[2].compressedUnicode = true;
  table[9].maxCharacters = 10;
  table[8].precision = 10;
  table[8].scale = 2;
  return table;
}

TEST(RowEncoder, Jet4RowsReadBackValueForValue) {
  EditableTable table = MixedTable();
  const std::vector<Field> fields = {
      Value::Integer(-7),
      Value::Boolean(true),
      Value::Text(u"Grüße, Ωmega"),
      Value::Money(Main::Currency{123456}),
      Value::Text(u"a short memo kept in the row"),
      Value::Date(Main::DateTime{45000.25}),
      Value::Double(0.125),
      Value::Integer(200),
      Value::Exact(DecimalOf(31415, 2, true)),
      Value::Null(),
  };
  const std::vector<Value> back = RoundTrip(FileFormat::Jet4, *table.layout, fields);
  ASSERT_EQ(back.size(), fields.size());
  for (size_t n = 0; n < fields.size(); ++n) EXPECT_EQ(back[n], std::get<Value>(fields[n])) << "column " << n;
}

TEST(RowEncoder, NumbersConvertBetweenKindsAndRoundHalfToEven) {
  EditableTable table = MixedTable();
  std::vector<Field> fields(10, Value::Null());
  fields[0] = Value::Double(2.5);                        // Long: 2
  fields[3] = Value::Exact(DecimalOf(100005, 5));       // Currency: 1.0000 (half to even)
  fields[7] = Value::Text(u"254.5");                     // Byte from text: 254
  fields[8] = Value::Exact(DecimalOf(12345, 3));         // Decimal(10,2): 12.345 -> 12.34
  fields[6] = Value::Money(Main::Currency{15000});       // Double: 1.5
  const std::vector<Value> back = RoundTrip(FileFormat::Jet4, *table.layout, fields);
  EXPECT_EQ(back[0], Value::Integer(2));
  EXPECT_EQ(back[3], Value::Money(Main::Currency{10000}));
  EXPECT_EQ(back[7], Value::Integer(254));
  EXPECT_EQ(back[8], Value::Exact(DecimalOf(1234, 2)));
  EXPECT_EQ(back[6], Value::Double(1.5));
  EXPECT_EQ(back[1], Value::Boolean(false));  // Null Yes/No is No
}

long ErrorNumberOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Main::Error& error) {
    return error.Number();
  }
  return 0;
}

TEST(RowEncoder, RefusesValuesTheColumnsCannotHold) {
  EditableTable table = MixedTable();
  const RowEncoder encoder(LayoutOf(FileFormat::Jet4), *table.layout);
  const auto encodeWith = [&](size_t column, Value value) {
    std::vector<Field> fields(10, Value::Null());
    fields[column] = std::move(value);
    return [&encoder, fields] { encoder.Encode(fields); };
  };
  EXPECT_EQ(ErrorNumberOf(encodeWith(9, Value::Text(u"eleven char"))), JetErrorNumber::kFieldTooSmall);
  EXPECT_EQ(ErrorNumberOf(encodeWith(9, Value::Text(u"ten chars!"))), 0);
  EXPECT_EQ(ErrorNumberOf(encodeWith(7, Value::Integer(256))), Main::ErrorNumber::kOverflow);
  EXPECT_EQ(ErrorNumberOf(encodeWith(7, Value::Integer(-1))), Main::ErrorNumber::kOverflow);
  EXPECT_EQ(ErrorNumberOf(encodeWith(0, Value::Double(3e9))), Main::ErrorNumber::kOverflow);
  EXPECT_EQ(ErrorNumberOf(encodeWith(8, Value::Integer(100000000))), Main::ErrorNumber::kOverflow);
  EXPECT_EQ(ErrorNumberOf(encodeWith(0, Value::Text(u"twelve"))), Main::ErrorNumber::kTypeMismatch);
  EXPECT_EQ(ErrorNumberOf(encodeWith(2, Value::Binary({1, 2}))), Main::ErrorNumber::kTypeMismatch);
  EXPECT_EQ(ErrorNumberOf(encodeWith(4, Value::Text(std::u16string(2100, u'\u4E2D')))),
            JetErrorNumber::kRecordTooLarge);
  table[0].nullable = false;
  EXPECT_EQ(ErrorNumberOf(encodeWith(2, Value::Text(u"x"))), JetErrorNumber::kValueRequired);
}

TEST(RowEncoder, CompressesTextOnlyWhereAllowedAndShorter) {
  EditableTable table(Testing::TableBuilder()
                          .Variable(u"packed", ColumnType::Text, 0)
                          .Variable(u"plain", ColumnType::Text, 1)
                          .Build());
  table[0].compressedUnicode = true;
  const RowEncoder encoder(LayoutOf(FileFormat::Jet4), *table.layout);
  const std::vector<uint8_t> row = encoder.Encode(std::vector<Field>{Value::Text(u"abc"), Value::Text(u"abc")});
  std::vector<Cell> cells;
  RowDecoder(LayoutOf(FileFormat::Jet4), *table.layout).Split(row, cells);
  EXPECT_EQ(std::vector<uint8_t>(cells[0].bytes.begin(), cells[0].bytes.end()),
            (std::vector<uint8_t>{0xFF, 0xFE, 'a', 'b', 'c'}));
  EXPECT_EQ(cells[1].bytes.size(), 6u);
  // Mixed runs, a character that cannot be compressed, and text too short to gain.
  for (const std::u16string text : {u"ab\u4E2Dcd\u4E8C", u"a\u0100", u"ab"}) {
    const std::vector<Value> back =
        RoundTrip(FileFormat::Jet4, *table.layout, std::vector<Field>{Value::Text(text), Value::Null()});
    EXPECT_EQ(back[0], Value::Text(text));
  }
}

TEST(RowEncoder, StoredFieldsAreKeptByteForByte) {
  EditableTable table = MixedTable();
  std::vector<Field> fields(10, Value::Null());
  fields[4] = StoredField{LongValueReference(5000, RowPointer{77, 3}, false)};
  fields[2] = StoredField{{0xFF, 0xFE, 'x'}};
  const std::vector<uint8_t> row = RowEncoder(LayoutOf(FileFormat::Jet4), *table.layout).Encode(fields);
  std::vector<Cell> cells;
  RowDecoder(LayoutOf(FileFormat::Jet4), *table.layout).Split(row, cells);
  EXPECT_EQ(std::vector<uint8_t>(cells[4].bytes.begin(), cells[4].bytes.end()),
            LongValueReference(5000, RowPointer{77, 3}, false));
  EXPECT_EQ(cells[2].bytes.size(), 3u);
}

TEST(RowEncoder, DeletedColumnsKeepTheirBitsAndEntriesEmpty) {
  EditableTable table(Testing::TableBuilder()
                          .SkipNumbers(2)
                          .Variable(u"c", ColumnType::Text, 2)
                          .Fixed(u"n", ColumnType::Integer, 2, 2)
                          .Variable(u"d", ColumnType::Text, 3)
                          .Build());
  table.layout->maxColumns = 5;
  const std::vector<Value> back = RoundTrip(
      FileFormat::Jet4, *table.layout, std::vector<Field>{Value::Text(u"x"), Value::Integer(9), Value::Text(u"yz")});
  EXPECT_EQ(back, (std::vector<Value>{Value::Text(u"x"), Value::Integer(9), Value::Text(u"yz")}));
}

TEST(RowEncoder, Jet3RowsAcrossJumpBlocksReadBack) {
  EditableTable table(Testing::TableBuilder()
                          .Fixed(u"id", ColumnType::Integer, 0, 2)
                          .Variable(u"a", ColumnType::Text, 0)
                          .Variable(u"b", ColumnType::Text, 1)
                          .Variable(u"c", ColumnType::Memo, 2)
                          .Build());
  table[1].maxCharacters = 255;
  table[2].maxCharacters = 255;
  // Every length around the 256-byte block edges, the dummy jump entry included.
  for (size_t a = 0; a <= 255; a += 5) {
    for (size_t b : {size_t{0}, size_t{1}, size_t{200}, size_t{240}, size_t{250}, size_t{255}}) {
      const std::u16string textA(a, u'é');
      const std::u16string textB(b, u'b');
      const std::u16string memo(a + b, u'm');
      const std::vector<Field> fields = {Value::Integer(static_cast<int64_t>(a)), Value::Text(textA),
                                         b == 1 ? Field(Value::Null()) : Field(Value::Text(textB)),
                                         Value::Text(memo)};
      const std::vector<Value> back = RoundTrip(FileFormat::Jet3, *table.layout, fields, 1252);
      ASSERT_EQ(back[1], Value::Text(textA)) << a << " " << b;
      ASSERT_EQ(back[2], b == 1 ? Value::Null() : Value::Text(textB)) << a << " " << b;
      ASSERT_EQ(back[3], Value::Text(memo)) << a << " " << b;
      ASSERT_EQ(back[0], Value::Integer(static_cast<int64_t>(a)));
    }
  }
}

TEST(RowEncoder, Jet3TextMustFitTheCodePage) {
  EditableTable table(Testing::TableBuilder().Variable(u"a", ColumnType::Text, 0).Build());
  table[0].maxCharacters = 20;
  EXPECT_EQ(RoundTrip(FileFormat::Jet3, *table.layout, {Value::Text(u"Łódź")}, 1250)[0], Value::Text(u"Łódź"));
  EXPECT_EQ(ErrorNumberOf([&] { RoundTrip(FileFormat::Jet3, *table.layout, {Value::Text(u"Łódź")}, 1252); }),
            Main::ErrorNumber::kTypeMismatch);
  EXPECT_EQ(ErrorNumberOf([&] { RoundTrip(FileFormat::Jet3, *table.layout, {Value::Text(u"中")}, 1252); }),
            Main::ErrorNumber::kTypeMismatch);
}

// The refusal an encoding throws, or nullopt.
std::optional<Main::Error> RefusalOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const JetError& error) {
    return error;
  }
  return std::nullopt;
}

TEST(RowEncoder, Jet3DoubleByteTextIsMeasuredInBytes) {
  EditableTable table(Testing::TableBuilder().Variable(u"a", ColumnType::Text, 0).Variable(u"m", ColumnType::Memo, 1).Build());
  table[0].maxLength = table[0].maxCharacters = 10;
  const auto encode = [&](std::u16string text, uint16_t codePage) {
    return [&table, text, codePage] {
      RoundTrip(FileFormat::Jet3, *table.layout, {Value::Text(text), Value::Text(text + text)}, codePage);
    };
  };
  // Five double-byte characters fill the ten bytes; a sixth, or a single-byte one more, does not fit.
  for (const uint16_t codePage : {932, 936, 949, 950}) {
    const std::u16string five = codePage == 949 ? u"한국어한국" : u"中文中文中";
    const std::vector<Value> back =
        RoundTrip(FileFormat::Jet3, *table.layout, {Value::Text(five), Value::Text(five + five)}, codePage);
    EXPECT_EQ(back[0], Value::Text(five)) << codePage;
    EXPECT_EQ(back[1], Value::Text(five + five)) << codePage;
    EXPECT_EQ(ErrorNumberOf(encode(five + u"a", codePage)), JetErrorNumber::kFieldTooSmall) << codePage;
  }
  const std::vector<Value> kana = RoundTrip(FileFormat::Jet3, *table.layout, {Value::Text(u"ｱｲｳｴｵｶｷｸｹｺ"), Value::Null()}, 932);
  EXPECT_EQ(kana[0], Value::Text(u"ｱｲｳｴｵｶｷｸｹｺ"));
  EXPECT_EQ(RowEncoder(LayoutOf(FileFormat::Jet3), *table.layout, 932).Values().Encode(table[0], table.layout->columns[0], Value::Text(u"表ソ")),
            (std::vector<uint8_t>{0x95, 0x5C, 0x83, 0x5C}));
  // Text in a code page this system cannot convert, or in a column naming another code page than
  // the database's, is refused for the whole field; a character the code page lacks for the record.
  for (const auto& [codePage, columnCodePage, cause] :
       {std::tuple{uint16_t{1200}, uint16_t{0}, Main::ErrorCause::kFieldCannotChange},
        std::tuple{uint16_t{932}, uint16_t{1252}, Main::ErrorCause::kFieldCannotChange},
        std::tuple{uint16_t{932}, uint16_t{932}, Main::ErrorCause::kRecordValue}}) {
    table[0].codePage = table[1].codePage = columnCodePage;
    const std::optional<Main::Error> refusal = RefusalOf(encode(u"\u00A5", codePage));
    ASSERT_TRUE(refusal.has_value()) << codePage << " " << columnCodePage;
    EXPECT_EQ(refusal->Cause(), cause) << codePage << " " << columnCodePage;
    EXPECT_NE(refusal->Description().find(u"code page"), std::u16string::npos);
  }
}

}  // namespace
}  // namespace Jet
