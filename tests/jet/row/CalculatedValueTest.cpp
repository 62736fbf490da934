// Calculated columns' stored results read by their result type: the wrapper, empty results, the
// Yes/No byte, text in both forms, a Memo result's long value, the Decimal form, and refusals of
// bytes too short for their type.
#include "jet/row/CalculatedValue.h"

#include <gtest/gtest.h>

#include <random>

#include "common/DateTime.h"
#include "jet/JetError.h"
#include "jet/longvalue/LongValueFormat.h"
#include "jet/row/ValueReader.h"
#include "tests/jet/TableBuilder.h"

namespace Jet {
namespace {

using Main::Value;
using namespace Testing;

Bytes Little(uint64_t value, size_t size) {
  Bytes bytes;
  for (size_t n = 0; n < size; ++n) bytes.push_back(static_cast<uint8_t>(value >> (8 * n)));
  return bytes;
}

// The wrapper as Access writes it, with the 16 leading bytes not zero to show they are not read.
Bytes Wrapped(const Bytes& data, uint32_t length) {
  Bytes stored(16, 0x5C);
  AppendU32(stored, length);
  stored.insert(stored.end(), data.begin(), data.end());
  stored.insert(stored.end(), 3, 0);
  return stored;
}
Bytes Wrapped(const Bytes& data) { return Wrapped(data, static_cast<uint32_t>(data.size())); }

class CalculatedRead : public ::testing::Test {
 protected:
  Value Read(ColumnType result, const Bytes& stored, bool null = false) const {
    Column column;
    column.name = u"Formula";
    column.type = result;
    column.calculated = true;
    Cell cell;
    cell.bytes = stored;
    cell.null = null;
    return reader_.Read(column, cell);
  }

  const Bytes noPages_ = Bytes(4096, 0);
  const PageFile pages_{noPages_, 4096};
  const TextCodec codec_;
  const ValueReader reader_{pages_, LayoutOf(FileFormat::Ace14), codec_};
};

TEST_F(CalculatedRead, FixedSizeResultsReadAsOrdinaryValuesOfTheirType) {
  const double day = Main::OleDateFromCivil({2021, 6, 14, 12, 45, 0});
  uint64_t dayBits;
  std::memcpy(&dayBits, &day, sizeof dayBits);
  Bytes guid(16);
  for (size_t n = 0; n < guid.size(); ++n) guid[n] = static_cast<uint8_t>(0xF0 - n);
  Main::Guid id;
  std::copy(guid.begin(), guid.end(), id.bytes.begin());

  EXPECT_EQ(Read(ColumnType::Byte, Wrapped({0xC8})), Value::Integer(200));
  EXPECT_EQ(Read(ColumnType::Integer, Wrapped(Little(0xFFFE, 2))), Value::Integer(-2));
  EXPECT_EQ(Read(ColumnType::Long, Wrapped(Little(0x80000000, 4))), Value::Integer(INT32_MIN));
  EXPECT_EQ(Read(ColumnType::BigInt, Wrapped(Little(0x8000000000000001, 8))), Value::Integer(INT64_MIN + 1));
  EXPECT_EQ(Read(ColumnType::Single, Wrapped(Little(0xC0600000, 4))), Value::Single(-3.5f));
  EXPECT_EQ(Read(ColumnType::Double, Wrapped(Little(0x3FF8000000000000, 8))), Value::Double(1.5));
  EXPECT_EQ(Read(ColumnType::Currency, Wrapped(Little(static_cast<uint64_t>(-123456), 8))),
            Value::Money(Main::Currency{-123456}));
  EXPECT_EQ(Read(ColumnType::DateTime, Wrapped(Little(dayBits, 8))), Value::Date(Main::DateTime{day}));
  EXPECT_EQ(Read(ColumnType::Guid, Wrapped(guid)), Value::ReplicationId(id));
}

TEST_F(CalculatedRead, YesNoIsAByteOfTheWrapperNotTheNullMask) {
  EXPECT_EQ(Read(ColumnType::Boolean, Wrapped({0xFF})), Value::Boolean(true));
  EXPECT_EQ(Read(ColumnType::Boolean, Wrapped({0x00})), Value::Boolean(false));
  EXPECT_EQ(Read(ColumnType::Boolean, Wrapped({})), Value::Boolean(false)) << "an empty result";
  EXPECT_EQ(Read(ColumnType::Boolean, Wrapped({0xFF}), true), Value::Null()) << "no value at all";
}

TEST_F(CalculatedRead, AnEmptyResultIsNullForNumbersAndEmptyForText) {
  for (const ColumnType type : {ColumnType::Byte, ColumnType::Integer, ColumnType::Long, ColumnType::BigInt,
                                ColumnType::Single, ColumnType::Double, ColumnType::Currency,
                                ColumnType::DateTime, ColumnType::Guid, ColumnType::Decimal}) {
    EXPECT_EQ(Read(type, Wrapped({})), Value::Null()) << static_cast<int>(type);
    EXPECT_EQ(Read(type, Wrapped(Bytes(16, 1)), true), Value::Null()) << static_cast<int>(type);
  }
  EXPECT_EQ(Read(ColumnType::Text, Wrapped({})), Value::Text(u""));
  // A value stored without any wrapper is an empty result too.
  EXPECT_EQ(Read(ColumnType::Double, {}), Value::Null());
  EXPECT_EQ(Read(ColumnType::Boolean, {}), Value::Boolean(false));
}

TEST_F(CalculatedRead, ResultsTooShortForTheirTypeAreRefusedNamingTheField) {
  const struct {
    ColumnType type;
    size_t size;
  } shortOnes[] = {{ColumnType::Integer, 1}, {ColumnType::Long, 3}, {ColumnType::Double, 4},
                   {ColumnType::DateTime, 7}, {ColumnType::Guid, 15}, {ColumnType::Decimal, 3}};
  for (const auto& [type, size] : shortOnes) {
    try {
      Read(type, Wrapped(Bytes(size, 0x11)));
      ADD_FAILURE() << static_cast<int>(type) << " read";
    } catch (const JetError& refusal) {
      EXPECT_EQ(refusal.Number(), static_cast<long>(JetErrorNumber::kCorrupt));
      if (type != ColumnType::Decimal)
        EXPECT_NE(refusal.Description().find(u"'Formula'"), std::u16string::npos);
    }
  }
  // A wrapper cut before its length, and a length beyond the wrapper (read up to its end).
  EXPECT_THROW(Read(ColumnType::Long, Bytes(19, 0)), JetError);
  EXPECT_EQ(Read(ColumnType::Long, Wrapped(Little(7, 4), 4000)), Value::Integer(7));
}

TEST_F(CalculatedRead, TextIsUcs2OrItsCompressedForm) {
  EXPECT_EQ(Read(ColumnType::Text, Wrapped(Utf16(u"Grüße ✓"))), Value::Text(u"Grüße ✓"));
  const Bytes compressed{0xFF, 0xFE, 'a', 'b', 0xE9};
  EXPECT_EQ(Read(ColumnType::Text, Wrapped(compressed)), Value::Text(u"abé"));
  // The length bounds the text: the trailing bytes are not part of it.
  EXPECT_EQ(Read(ColumnType::Text, Wrapped(Utf16(u"abcd"), 4)), Value::Text(u"ab"));

  Column column;
  column.type = ColumnType::Text;
  column.calculated = true;
  Cell cell;
  const Bytes stored = Wrapped(Utf16(u"Ada"));
  cell.bytes = stored;
  cell.null = false;
  std::u16string text;
  EXPECT_TRUE(reader_.ReadText(column, cell, text));
  EXPECT_EQ(text, u"Ada");
}

TEST_F(CalculatedRead, AMemoResultIsUnwrappedAfterItsLongValueIsAssembled) {
  std::u16string story(300, u'x');
  for (size_t n = 0; n < story.size(); ++n) story[n] = static_cast<char16_t>(u'a' + n % 26);
  EXPECT_EQ(Read(ColumnType::Memo, InlineLongValue(Wrapped(Utf16(story)))), Value::Text(story));
  EXPECT_EQ(Read(ColumnType::Memo, InlineLongValue(Wrapped({}))), Value::Text(u""));
}

TEST_F(CalculatedRead, AnUnknownResultIsItsStoredBytes) {
  const Bytes odd{1, 2, 3, 4, 5};
  EXPECT_EQ(Read(ColumnType::Binary, odd), Value::Binary(odd)) << "not even a wrapper";
  const Bytes wrapped = Wrapped({9, 9});
  EXPECT_EQ(Read(ColumnType::Binary, wrapped), Value::Binary(wrapped));
}

TEST_F(CalculatedRead, ArbitraryBytesReadOrAreRefusedAsDamageNeverOtherwise) {
  std::mt19937 random(20261208);
  const ColumnType types[] = {ColumnType::Boolean, ColumnType::Byte,     ColumnType::Integer, ColumnType::Long,
                              ColumnType::BigInt,  ColumnType::Single,   ColumnType::Double,  ColumnType::Currency,
                              ColumnType::DateTime, ColumnType::Guid,    ColumnType::Decimal, ColumnType::Text,
                              ColumnType::Binary};
  size_t refused = 0;
  for (int round = 0; round < 20000; ++round) {
    Bytes data(random() % 24);
    for (uint8_t& byte : data) byte = static_cast<uint8_t>(random());
    // Lengths around the data's own and beyond it; sometimes a cut wrapper.
    Bytes stored = Wrapped(data, static_cast<uint32_t>(random() % 2 == 0 ? data.size() : random() % 40));
    if (random() % 8 == 0) stored.resize(random() % stored.size());
    const ColumnType type = types[random() % std::size(types)];
    try {
      Read(type, stored);
    } catch (const JetError& refusal) {
      EXPECT_EQ(refusal.Number(), static_cast<long>(JetErrorNumber::kCorrupt)) << static_cast<int>(type);
      ++refused;
    }
  }
  EXPECT_GT(refused, 0u);
}

Main::Decimal DecimalOf(bool negative, uint8_t scale, std::array<uint32_t, 4> magnitude) {
  Main::Decimal number;
  number.negative = negative;
  number.scale = scale;
  number.magnitude = magnitude;
  return number;
}

TEST(CalculatedDecimal, MagnitudeWordsAreMostSignificantFirstInTheirMixedSizes) {
  // n = 14 as Access writes it: a 4-byte word (bits 64-95), then an 8-byte word (bits 0-63).
  const Bytes accessForm = Concat({Little(14, 2), {4, 0x80}, Little(0x0000ABCD, 4), Little(0x1122334455667788, 8)});
  EXPECT_EQ(DecodeCalculatedDecimal(accessForm), DecimalOf(true, 4, {0x55667788, 0x11223344, 0x0000ABCD, 0}));
  // n = 18: two 8-byte words.
  const Bytes full = Concat({Little(18, 2), {2, 0}, Little(0x0102030405060708, 8), Little(0x090A0B0C0D0E0F10, 8)});
  EXPECT_EQ(DecodeCalculatedDecimal(full), DecimalOf(false, 2, {0x0D0E0F10, 0x090A0B0C, 0x05060708, 0x01020304}));
  // n = 11 rounds down to one 8-byte word; n = 0 takes the length from the data (one 4-byte word).
  const Bytes rounded = Concat({Little(11, 2), {0, 0}, Little(42, 8), {0xEE}});
  EXPECT_EQ(DecodeCalculatedDecimal(rounded), DecimalOf(false, 0, {42, 0, 0, 0}));
  const Bytes unsized = Concat({Little(0, 2), {1, 0}, Little(77, 4)});
  EXPECT_EQ(DecodeCalculatedDecimal(unsized), DecimalOf(false, 1, {77, 0, 0, 0}));

  EXPECT_THROW(DecodeCalculatedDecimal(Concat({Little(14, 2), {4, 0}, Little(1, 4)})), JetError) << "n beyond the data";
  EXPECT_THROW(DecodeCalculatedDecimal(Concat({Little(6, 2), {29, 0}, Little(1, 4)})), JetError) << "scale 29";
  EXPECT_THROW(DecodeCalculatedDecimal(Concat({Little(1, 2), {0, 0}})), JetError) << "n below 2";
}

TEST(CalculatedDecimal, TheWrittenFormReadsBack) {
  // The ordinary stored form: sign, then 32-bit words most significant first.
  const Bytes ordinary = Concat({{0x80}, Little(0, 4), Little(0x204FCE5E, 4), Little(0x3E250261, 4), Little(0x10000000, 4)});
  const Bytes data = EncodeCalculatedDecimal(ordinary, 6);
  EXPECT_EQ(data.size(), 16u);
  EXPECT_EQ(ReadU16(data, 0), 14);
  EXPECT_EQ(DecodeCalculatedDecimal(data), DecimalOf(true, 6, {0x10000000, 0x3E250261, 0x204FCE5E, 0}));
  const Bytes wrapped = WrapCalculated(data);
  EXPECT_EQ(wrapped.size(), kCalculatedFixedLength);
  EXPECT_EQ(UnwrapCalculated(wrapped).size(), data.size());
  EXPECT_TRUE(std::equal(data.begin(), data.end(), UnwrapCalculated(wrapped).begin()));
  // Beyond 96 bits no Decimal result can hold it.
  EXPECT_THROW(EncodeCalculatedDecimal(Concat({{0}, Little(1, 4), Bytes(12, 0)}), 0), Main::Error);
}

TEST(CalculatedResultType, NamesTheResultTypesOnly) {
  for (const ColumnType type : {ColumnType::Boolean, ColumnType::Byte, ColumnType::Integer, ColumnType::Long,
                                ColumnType::Currency, ColumnType::Single, ColumnType::Double, ColumnType::DateTime,
                                ColumnType::Text, ColumnType::Memo, ColumnType::Guid, ColumnType::Decimal,
                                ColumnType::BigInt})
    EXPECT_EQ(CalculatedResultType(static_cast<uint8_t>(type)), type);
  for (const uint8_t code : {0x00, 0x09, 0x0B, 0x0D, 0x0E, 0x11, 0x12, 0x14, 0xFF})
    EXPECT_EQ(CalculatedResultType(code), std::nullopt) << int{code};
}

}  // namespace
}  // namespace Jet
