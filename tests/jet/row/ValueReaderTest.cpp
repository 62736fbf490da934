#include "jet/row/ValueReader.h"

#include <gtest/gtest.h>

#include "tests/jet/TableBuilder.h"
#include "common/DateTime.h"

namespace Jet {
namespace {

using namespace Testing;

Bytes Little(uint64_t value, size_t size) {
  Bytes bytes;
  for (size_t n = 0; n < size; ++n) bytes.push_back(static_cast<uint8_t>(value >> (8 * n)));
  return bytes;
}

Main::Value ReadAs(ColumnType type, const Bytes& stored, uint8_t scale = 0) {
  static const Bytes kNoPages(4096, 0);
  const PageFile pages(kNoPages, 4096);
  const TextCodec codec;
  Column column;
  column.type = type;
  column.scale = scale;
  Cell cell;
  cell.bytes = stored;
  cell.null = false;
  return ValueReader(pages, LayoutOf(FileFormat::Jet4), codec).Read(column, cell);
}

TEST(ValueReader, CurrencyIsTenThousandths) {
  EXPECT_EQ(DecodeCurrency(Little(35000, 8)).tenThousandths, 35000);
  EXPECT_EQ(Main::FormatCurrency(DecodeCurrency(Little(static_cast<uint64_t>(-12345), 8))), u"-1.2345");
  EXPECT_EQ(ReadAs(ColumnType::Currency, Little(static_cast<uint64_t>(-1), 8)),
            Main::Value::Money(Main::Currency{-1}));
}

TEST(ValueReader, DecimalWordsAreMostSignificantFirst) {
  // 12345.678 at scale 3: magnitude 12345678 in the last (least significant) word.
  Bytes stored{0x00};
  for (uint32_t word : {0u, 0u, 0u, 12345678u}) {
    const Bytes bytes = Little(word, 4);
    stored.insert(stored.end(), bytes.begin(), bytes.end());
  }
  const Main::Decimal number = DecodeDecimal(stored, 3);
  EXPECT_EQ(Main::FormatDecimal(number), u"12345.678");
  stored[0] = 0x80;
  stored[1] = 0x01;  // bit 96 set: 2^96 + 12345678
  EXPECT_EQ(Main::FormatDecimal(DecodeDecimal(stored, 0)), u"-79228162514264337593556296014");
  EXPECT_THROW(DecodeDecimal(Bytes(16, 0), 0), JetError);  // one byte short
}

TEST(ValueReader, DatesNumbersAndIds) {
  const double day = Main::OleDateFromCivil({1974, 9, 21, 13, 30, 0});
  uint64_t bits;
  std::memcpy(&bits, &day, sizeof bits);
  const Main::Value date = ReadAs(ColumnType::DateTime, Little(bits, 8));
  EXPECT_EQ(Main::FormatOleDate(date.AsDateTime().oleDate), u"1974-09-21 13:30:00");

  EXPECT_EQ(ReadAs(ColumnType::Byte, Bytes{200}).AsInteger(), 200);
  EXPECT_EQ(ReadAs(ColumnType::Integer, Little(0xFFFE, 2)).AsInteger(), -2);
  EXPECT_EQ(ReadAs(ColumnType::Long, Little(0xFFFFFFFF, 4)).AsInteger(), -1);
  EXPECT_EQ(ReadAs(ColumnType::Complex, Little(17, 4)).AsInteger(), 17);
  EXPECT_EQ(ReadAs(ColumnType::Single, Little(0x40600000, 4)).AsSingle(), 3.5f);

  Bytes guid(16);
  for (size_t n = 0; n < guid.size(); ++n) guid[n] = static_cast<uint8_t>(n);
  EXPECT_EQ(Main::FormatGuid(ReadAs(ColumnType::Guid, guid).AsGuid()),
            u"{03020100-0504-0706-0809-0A0B0C0D0E0F}");
  EXPECT_EQ(ReadAs(ColumnType::Binary, Bytes{1, 2}).AsBytes(), (Bytes{1, 2}));
  EXPECT_THROW(ReadAs(ColumnType::Double, Bytes{1, 2, 3}), JetError);
}

TEST(ValueReader, CalculatedResultsAreUnwrapped) {
  Bytes stored(16, 0xEE);
  AppendU32(stored, 4);
  for (uint8_t byte : {0x2A, 0, 0, 0}) stored.push_back(byte);
  stored.resize(39, 0);
  static const Bytes kNoPages(4096, 0);
  const PageFile pages(kNoPages, 4096);
  const TextCodec codec;
  Column column;
  column.type = ColumnType::Long;
  column.calculated = true;
  Cell cell;
  cell.bytes = stored;
  cell.null = false;
  EXPECT_EQ(ValueReader(pages, LayoutOf(FileFormat::Jet4), codec).Read(column, cell).AsInteger(), 42);
}

}  // namespace
}  // namespace Jet
