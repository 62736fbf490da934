#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "jet/JetError.h"
#include "jet/index/IndexKeyEncoder.h"

namespace Jet {
namespace {

using Bytes = std::vector<uint8_t>;

const FormatLayout& Jet4() { return LayoutOf(FileFormat::Jet4); }
const FormatLayout& Ace() { return LayoutOf(FileFormat::Ace12); }

Column ColumnOf(ColumnType type, uint8_t rawType = 0) {
  Column column;
  column.name = u"Field1";
  column.type = type;
  column.rawType = rawType != 0 ? rawType : static_cast<uint8_t>(type);
  return column;
}

template <typename T>
Bytes Stored(T number) {
  Bytes bytes(sizeof number);
  std::memcpy(bytes.data(), &number, sizeof number);
  return bytes;
}

Bytes Key(ColumnType type, const Bytes& stored, bool ascending = true, const FormatLayout& format = Jet4()) {
  KeyValue value;
  value.null = false;
  value.stored = stored;
  Bytes key;
  AppendKeyColumn(key, ColumnOf(type), ascending, value, format);
  return key;
}

// Decimal as a row stores it: sign byte, then the 128-bit magnitude as four little-endian words,
// most significant first.
Bytes StoredDecimal(bool negative, uint64_t magnitude) {
  Bytes bytes{static_cast<uint8_t>(negative ? 0x80 : 0)};
  for (const uint32_t word : {0u, 0u, static_cast<uint32_t>(magnitude >> 32), static_cast<uint32_t>(magnitude)}) {
    const Bytes part = Stored(word);
    bytes.insert(bytes.end(), part.begin(), part.end());
  }
  return bytes;
}

// Keys of values given in ascending order sort ascending as bytes (and the other way round for a
// descending column).
void ExpectOrdered(const std::vector<Bytes>& keys, bool ascending) {
  for (size_t n = 1; n < keys.size(); ++n) {
    if (ascending)
      EXPECT_LT(keys[n - 1], keys[n]) << n;
    else
      EXPECT_GT(keys[n - 1], keys[n]) << n;
  }
}

TEST(IndexKeyEncoderTest, YesNoIsNeverNullAndTrueSortsFirst) {
  Bytes key;
  KeyValue yes;
  yes.null = false;
  yes.flag = true;
  KeyValue unset;  // null counts as No
  const Column column = ColumnOf(ColumnType::Boolean);
  AppendKeyColumn(key, column, true, yes, Jet4());
  AppendKeyColumn(key, column, true, unset, Jet4());
  AppendKeyColumn(key, column, false, yes, Jet4());
  AppendKeyColumn(key, column, false, unset, Jet4());
  EXPECT_EQ(key, (Bytes{0x7F, 0x00, 0x7F, 0xFF, 0x80, 0xFF, 0x80, 0x00}));
}

TEST(IndexKeyEncoderTest, NullsSortFirstAscendingAndLastDescending) {
  for (const ColumnType type : {ColumnType::Byte, ColumnType::Long, ColumnType::Double, ColumnType::Guid,
                                ColumnType::Binary, ColumnType::Decimal}) {
    Bytes key;
    AppendKeyColumn(key, ColumnOf(type), true, KeyValue{}, Jet4());
    AppendKeyColumn(key, ColumnOf(type), false, KeyValue{}, Jet4());
    EXPECT_EQ(key, (Bytes{0x00, 0xFF})) << int(type);
  }
}

TEST(IndexKeyEncoderTest, IntegersAreBigEndianWithTheSignBitFlipped) {
  EXPECT_EQ(Key(ColumnType::Byte, {0x05}), (Bytes{0x7F, 0x05}));
  EXPECT_EQ(Key(ColumnType::Byte, {0x05}, false), (Bytes{0x80, 0xFA}));
  EXPECT_EQ(Key(ColumnType::Integer, Stored<int16_t>(-2)), (Bytes{0x7F, 0x7F, 0xFE}));
  EXPECT_EQ(Key(ColumnType::Long, Stored<int32_t>(0x12345678)), (Bytes{0x7F, 0x92, 0x34, 0x56, 0x78}));
  EXPECT_EQ(Key(ColumnType::Long, Stored<int32_t>(1), false), (Bytes{0x80, 0x7F, 0xFF, 0xFF, 0xFE}));
  EXPECT_EQ(Key(ColumnType::Complex, Stored<int32_t>(7)), Key(ColumnType::Long, Stored<int32_t>(7)));
  EXPECT_EQ(Key(ColumnType::Currency, Stored<int64_t>(10000)),
            (Bytes{0x7F, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x27, 0x10}));
  EXPECT_EQ(Key(ColumnType::BigInt, Stored<int64_t>(10000)), Key(ColumnType::Currency, Stored<int64_t>(10000)));
  for (const bool ascending : {true, false}) {
    std::vector<Bytes> keys;
    for (const int32_t n : {INT32_MIN, -70000, -1, 0, 1, 255, 256, INT32_MAX})
      keys.push_back(Key(ColumnType::Long, Stored(n), ascending));
    ExpectOrdered(keys, ascending);
  }
}

TEST(IndexKeyEncoderTest, FloatingPointKeysOrderNegativesBeforePositives) {
  EXPECT_EQ(Key(ColumnType::Double, Stored(1.0)), (Bytes{0x7F, 0xBF, 0xF0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Key(ColumnType::Double, Stored(-1.0)), (Bytes{0x7F, 0x40, 0x0F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(Key(ColumnType::Double, Stored(-1.0), false), (Bytes{0x80, 0xBF, 0xF0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Key(ColumnType::Single, Stored(2.0f)), (Bytes{0x7F, 0xC0, 0x00, 0x00, 0x00}));
  EXPECT_EQ(Key(ColumnType::DateTime, Stored(1.0)), Key(ColumnType::Double, Stored(1.0)));
  for (const bool ascending : {true, false}) {
    std::vector<Bytes> doubles, singles;
    for (const double n : {-1e300, -2.5, -1.0, -1e-300, 0.0, 1e-300, 1.0, 2.5, 1e300})
      doubles.push_back(Key(ColumnType::Double, Stored(n), ascending));
    for (const float n : {-3e38f, -2.5f, -1e-30f, 0.0f, 1e-30f, 2.5f, 3e38f})
      singles.push_back(Key(ColumnType::Single, Stored(n), ascending));
    ExpectOrdered(doubles, ascending);
    ExpectOrdered(singles, ascending);
  }
}

TEST(IndexKeyEncoderTest, DecimalKeysInTheJet4AndAceForms) {
  const Bytes one = StoredDecimal(false, 1), minusOne = StoredDecimal(true, 1);
  Bytes plus(18, 0x00), minus(18, 0xFF);
  plus[0] = minus[0] = 0x7F;
  plus[1] = 0xFF, plus[17] = 0x01;
  minus[1] = 0x00, minus[17] = 0xFE;
  EXPECT_EQ(Key(ColumnType::Decimal, one), plus);
  EXPECT_EQ(Key(ColumnType::Decimal, minusOne), minus);
  // The Jet4 form misplaces negative values in descending indexes: the sign byte stays 0x00.
  Bytes jet4Descending(18, 0x00);
  jet4Descending[0] = 0x80;
  jet4Descending[17] = 0x01;
  EXPECT_EQ(Key(ColumnType::Decimal, minusOne, false), jet4Descending);
  // ACE inverts the sign byte with the rest.
  Bytes aceDescending = jet4Descending;
  aceDescending[1] = 0xFF;
  EXPECT_EQ(Key(ColumnType::Decimal, minusOne, false, Ace()), aceDescending);
  for (const bool ascending : {true, false}) {
    std::vector<Bytes> keys;
    for (const auto& [negative, magnitude] : std::vector<std::pair<bool, uint64_t>>{
             {true, 1ull << 40}, {true, 300}, {true, 1}, {false, 0}, {false, 1}, {false, 300}, {false, 1ull << 40}})
      keys.push_back(Key(ColumnType::Decimal, StoredDecimal(negative, magnitude), ascending, Ace()));
    ExpectOrdered(keys, ascending);
  }
}

TEST(IndexKeyEncoderTest, GuidsGoInTextualOrderAsTwoBinarySegments) {
  Bytes guid(16);
  for (size_t n = 0; n < guid.size(); ++n) guid[n] = static_cast<uint8_t>(n);
  EXPECT_EQ(Key(ColumnType::Guid, guid), (Bytes{0x7F, 0x03, 0x02, 0x01, 0x00, 0x05, 0x04, 0x07, 0x06, 0x09, 0x08,
                                                0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x08}));
  // Descending: data inverted, the 0x09 between segments not, the last count byte too.
  EXPECT_EQ(Key(ColumnType::Guid, guid, false), (Bytes{0x80, 0xFC, 0xFD, 0xFE, 0xFF, 0xFA, 0xFB, 0xF8, 0xF9, 0x09,
                                                       0xF7, 0xF6, 0xF5, 0xF4, 0xF3, 0xF2, 0xF1, 0xF0, 0xF7}));
}

TEST(IndexKeyEncoderTest, BinaryValuesGoInSegmentsOfEightWithTheirCount) {
  EXPECT_EQ(Key(ColumnType::Binary, {0xAA, 0xBB, 0xCC}), (Bytes{0x7F, 0xAA, 0xBB, 0xCC, 0, 0, 0, 0, 0, 0x03}));
  EXPECT_EQ(Key(ColumnType::Binary, {0xAA, 0xBB, 0xCC}, false),
            (Bytes{0x80, 0x55, 0x44, 0x33, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFC}));
  const Bytes nine = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  EXPECT_EQ(Key(ColumnType::Binary, nine), (Bytes{0x7F, 1, 2, 3, 4, 5, 6, 7, 8, 0x09, 9, 0, 0, 0, 0, 0, 0, 0, 0x01}));
  const Bytes eight = {1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_EQ(Key(ColumnType::Binary, eight), (Bytes{0x7F, 1, 2, 3, 4, 5, 6, 7, 8, 0x08}));
  EXPECT_EQ(Key(ColumnType::Binary, {}), (Bytes{0x7F}));
  // A shorter value sorts before a longer one it begins.
  EXPECT_LT(Key(ColumnType::Binary, {1, 2}), Key(ColumnType::Binary, {1, 2, 0}));
  EXPECT_LT(Key(ColumnType::Binary, eight), Key(ColumnType::Binary, nine));
}

TEST(IndexKeyEncoderTest, ColumnsWithoutKeysAreRefusedNamingTheColumn) {
  for (const uint8_t rawType : {uint8_t{0x0B}, uint8_t{0x15}}) {
    Bytes key;
    KeyValue value;
    value.null = false;
    const Bytes stored(8, 0);
    value.stored = stored;
    try {
      AppendKeyColumn(key, ColumnOf(static_cast<ColumnType>(rawType), rawType), true, value, Jet4());
      ADD_FAILURE() << "type " << int{rawType} << " was keyed";
    } catch (const JetError& error) {
      EXPECT_EQ(error.Number(), JetErrorNumber::kNotSupported);
      EXPECT_NE(std::string(error.what()).find("Field1"), std::string::npos) << error.what();
    }
    // A null of such a column is refused too: the index could not be kept either way.
    EXPECT_THROW(AppendKeyColumn(key, ColumnOf(static_cast<ColumnType>(rawType), rawType), true, KeyValue{}, Jet4()),
                 JetError);
  }
}

TEST(IndexKeyEncoderTest, AStoredValueShorterThanItsTypeIsDamage) {
  try {
    Key(ColumnType::Long, {0x01, 0x02});
    ADD_FAILURE() << "a two-byte Long was keyed";
  } catch (const JetError& error) {
    EXPECT_EQ(error.Number(), JetErrorNumber::kCorrupt);
  }
  EXPECT_THROW(Key(ColumnType::Decimal, Bytes(16, 0)), JetError);
  EXPECT_THROW(Key(ColumnType::Guid, Bytes(15, 0)), JetError);
}

}  // namespace
}  // namespace Jet
