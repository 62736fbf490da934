#include <gtest/gtest.h>

#include "common/DateTime.h"
#include "tests/jet/oracle/MdbExportCell.h"

namespace Oracle {
namespace {

using Jet::ColumnType;
using Main::Value;

Jet::Column Of(ColumnType type) {
  Jet::Column column;
  column.type = type;
  column.rawType = static_cast<uint8_t>(type);
  return column;
}

bool Agree(ColumnType type, CsvField printed, const Value& read,
           Jet::FileFormat format = Jet::FileFormat::Jet4) {
  return CellMismatch(Of(type), printed, read, format).empty();
}

const CsvField kNull{"", false};
CsvField Plain(std::string text) { return {std::move(text), false}; }
CsvField Quoted(std::string text) { return {std::move(text), true}; }

TEST(OracleCell, TextMustMatchExactlyAndEmptyTextPassesForNull) {
  EXPECT_TRUE(Agree(ColumnType::Text, Quoted("Stra\xc3\x9f" "e"), Value::Text(u"Stra\u00dfe")));
  EXPECT_FALSE(Agree(ColumnType::Text, Quoted("Strasse"), Value::Text(u"Stra\u00dfe")));
  EXPECT_FALSE(Agree(ColumnType::Memo, Quoted("a "), Value::Text(u"a")));
  EXPECT_TRUE(Agree(ColumnType::Memo, kNull, Value::Text(u"")));
  EXPECT_TRUE(Agree(ColumnType::Text, kNull, Value::Null()));
  EXPECT_FALSE(Agree(ColumnType::Text, kNull, Value::Text(u"x")));
  EXPECT_FALSE(Agree(ColumnType::Text, Quoted("x"), Value::Null()));
}

TEST(OracleCell, ValuesOfTheWrongKindNeverAgree) {
  EXPECT_FALSE(Agree(ColumnType::Long, Plain("1"), Value::Text(u"1")));
  EXPECT_FALSE(Agree(ColumnType::Boolean, Plain("1"), Value::Integer(1)));
  EXPECT_FALSE(Agree(ColumnType::Double, Plain("2"), Value::Single(2.0f)));
  EXPECT_FALSE(Agree(ColumnType::Long, kNull, Value::Integer(0)));
}

TEST(OracleCell, IntegersAndYesNoCompareExactly) {
  EXPECT_TRUE(Agree(ColumnType::Integer, Plain("-32768"), Value::Integer(-32768)));
  EXPECT_FALSE(Agree(ColumnType::Long, Plain("333333333"), Value::Integer(333333334)));
  EXPECT_FALSE(Agree(ColumnType::Byte, Plain("2x"), Value::Integer(2)));
  EXPECT_TRUE(Agree(ColumnType::Boolean, Plain("0"), Value::Boolean(false)));
  EXPECT_FALSE(Agree(ColumnType::Boolean, Plain("1"), Value::Boolean(false)));
}

TEST(OracleCell, FloatsCompareAtThePrecisionMdbToolsPrints) {
  EXPECT_TRUE(Agree(ColumnType::Double, Plain("444.555"), Value::Double(444.555)));
  // 0.1 + 0.2 needs 17 digits; mdb-export prints 16.
  EXPECT_TRUE(Agree(ColumnType::Double, Plain("0.3"), Value::Double(0.1 + 0.2)));
  EXPECT_FALSE(Agree(ColumnType::Double, Plain("0.3"), Value::Double(0.3000000000000005)));
  EXPECT_TRUE(Agree(ColumnType::Double, Plain("1e+300"), Value::Double(1e300)));
  EXPECT_TRUE(Agree(ColumnType::Single, Plain("0.1"), Value::Single(0.1f)));
  EXPECT_FALSE(Agree(ColumnType::Single, Plain("0.1"), Value::Single(0.1000001f)));
}

TEST(OracleCell, MoneyAndDecimalsCompareExactly) {
  EXPECT_TRUE(Agree(ColumnType::Currency, Plain("3.5000"), Value::Money({35000})));
  EXPECT_TRUE(Agree(ColumnType::Currency, Plain("-0.0001"), Value::Money({-1})));
  EXPECT_FALSE(Agree(ColumnType::Currency, Plain("3.5001"), Value::Money({35000})));
  Main::Decimal minusOne;
  minusOne.negative = true;
  minusOne.magnitude[0] = 1;
  EXPECT_TRUE(Agree(ColumnType::Decimal, Plain("-1"), Value::Exact(minusOne)));
  minusOne.scale = 2;
  EXPECT_TRUE(Agree(ColumnType::Decimal, Plain("-0.01"), Value::Exact(minusOne)));
  EXPECT_FALSE(Agree(ColumnType::Decimal, Plain("-1"), Value::Exact(minusOne)));
}

TEST(OracleCell, DatesCompareToTheSecondAndOldDatesAsMdbToolsRejectsThem) {
  const double birthday = Main::OleDateFromCivil({1974, 9, 21, 0, 0, 0});
  EXPECT_TRUE(Agree(ColumnType::DateTime, Quoted("1974-09-21 00:00:00"), Value::Date({birthday})));
  EXPECT_FALSE(Agree(ColumnType::DateTime, Quoted("1974-09-22 00:00:00"), Value::Date({birthday})));
  const double old = Main::OleDateFromCivil({1850, 1, 1, 12, 0, 0});
  EXPECT_TRUE(Agree(ColumnType::DateTime, Quoted("1900-01-00 00:00:00"), Value::Date({old})));
  // The rejected form must not hide a date mdbtools does convert.
  EXPECT_FALSE(Agree(ColumnType::DateTime, Quoted("1900-01-00 00:00:00"), Value::Date({birthday})));
}

TEST(OracleCell, BinaryIsComparedUpToItsFirstZeroByteAndOleInFull) {
  EXPECT_TRUE(Agree(ColumnType::Binary, Quoted("AB7F"), Value::Binary({0xab, 0x7f, 0x00, 0x01})));
  EXPECT_FALSE(Agree(ColumnType::Binary, Quoted("AB7E"), Value::Binary({0xab, 0x7f, 0x00})));
  EXPECT_TRUE(Agree(ColumnType::Binary, kNull, Value::Binary({0x00, 0x01})));
  EXPECT_FALSE(Agree(ColumnType::Binary, kNull, Value::Binary({0x01})));
  EXPECT_TRUE(Agree(ColumnType::OleObject, Quoted("00AB00"), Value::Binary({0x00, 0xab, 0x00})));
  EXPECT_FALSE(Agree(ColumnType::OleObject, Quoted("00AB"), Value::Binary({0x00, 0xab, 0x00})));
}

TEST(OracleCell, ReplicationIdsArePrintedAsHexOfTheirText) {
  Main::Guid id;
  for (uint8_t i = 0; i < 16; ++i) id.bytes[i] = i;
  // "{03020100-0504-0706-08090A0B0C0D0E0F}" with every character as two hex digits.
  const std::string printed =
      "7B30333032303130302D303530342D303730362D30383039304130423043304430453046" "7D";
  EXPECT_TRUE(Agree(ColumnType::Guid, Quoted(printed), Value::ReplicationId(id)));
  id.bytes[15] = 0x10;
  EXPECT_FALSE(Agree(ColumnType::Guid, Quoted(printed), Value::ReplicationId(id)));
}

TEST(OracleCell, ColumnsMdbToolsCannotDecodeAreNotCompared) {
  Jet::Column unknown = Of(ColumnType::Binary);
  unknown.rawType = 0x46;
  EXPECT_FALSE(MdbToolsDecodes(unknown));
  EXPECT_FALSE(MdbToolsDecodes(Of(ColumnType::BigInt)));
  EXPECT_TRUE(MdbToolsDecodes(Of(ColumnType::Complex)));
  EXPECT_TRUE(CellMismatch(unknown, kNull, Value::Binary({1, 2}), Jet::FileFormat::Jet4).empty());
  Jet::Column future = Of(ColumnType::Text);
  future.type = static_cast<ColumnType>(0x46);
  future.rawType = 0x46;
  EXPECT_FALSE(MdbToolsDecodes(future));
}

TEST(OracleCell, CodePageGapsPrintAsQuestionMarksInJet3Only) {
  const Value read = Value::Text(u"A\u0081\u008d\u008f\u0090\u009dA");
  EXPECT_TRUE(Agree(ColumnType::Text, Quoted("A?????A"), read, Jet::FileFormat::Jet3));
  EXPECT_FALSE(Agree(ColumnType::Text, Quoted("A?????A"), read, Jet::FileFormat::Jet4));
  EXPECT_FALSE(Agree(ColumnType::Text, Quoted("A?A"), Value::Text(u"A\u0080A"),
                     Jet::FileFormat::Jet3));
}

}  // namespace
}  // namespace Oracle
