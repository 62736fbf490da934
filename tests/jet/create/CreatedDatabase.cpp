#include "tests/jet/create/CreatedDatabase.h"

#include <gtest/gtest.h>

#include "common/DateTime.h"
#include "jet/JetError.h"

namespace Jet::Testing {
namespace {

using Main::Value;

Main::Decimal MakeDecimal(bool negative, uint32_t low, uint32_t high) {
  Main::Decimal number;
  number.negative = negative;
  number.scale = 4;
  number.magnitude = {low, high, 0, 0};
  return number;
}

Main::Guid MakeGuid(uint8_t seed) {
  Main::Guid id;
  for (size_t n = 0; n < id.bytes.size(); ++n) id.bytes[n] = static_cast<uint8_t>(seed + 17 * n);
  return id;
}

Value When(int year, int month, int day, int hour, int minute, int second) {
  return Value::Date(Main::DateTime{Main::OleDateFromCivil({year, month, day, hour, minute, second})});
}

}  // namespace

TableSpec EveryTypeTable(std::u16string name) {
  return TableSpec{std::move(name),
                   {{u"Id", FieldType::AutoNumber},
                    {u"Name", FieldType::Text, 40},
                    {u"Notes", FieldType::Memo},
                    {u"Small", FieldType::Byte},
                    {u"Count", FieldType::Integer},
                    {u"Total", FieldType::LongInteger},
                    {u"Ratio", FieldType::Single},
                    {u"Measure", FieldType::Double},
                    {u"Price", FieldType::Currency},
                    {u"Born", FieldType::DateTime},
                    {u"Active", FieldType::YesNo},
                    {u"Picture", FieldType::OleObject},
                    {u"Key", FieldType::ReplicationId},
                    {u"Amount", FieldType::Decimal, 255, 18, 4},
                    {u"Site", FieldType::Hyperlink}}};
}

Rows EveryTypeRows() {
  return {
      {Value(), Value::Text(u"O'Brien"), Value::Text(u"Lives in St. John's Wood"), Value::Integer(255),
       Value::Integer(-32768), Value::Integer(2147483647), Value::Single(1.5f), Value::Double(3.141592653589793),
       Value::Money({123456789}), When(2021, 8, 31, 13, 45, 10), Value::Boolean(true),
       Value::Binary({0x01, 0x00, 0xFF, 0x7F}), Value::ReplicationId(MakeGuid(3)),
       Value::Exact(MakeDecimal(true, 123456789, 0)), Value::Text(u"Example#http://example.com/#")},
      {Value(), Value::Text(u"Zoë Ωμέγα 東京"), Value::Text(u"Tab\there, line\r\nbreak"), Value::Integer(0),
       Value::Integer(32767), Value::Integer(-2147483647 - 1), Value::Single(-0.25f), Value::Double(-1e300),
       Value::Money({-922337203685477580}), When(1899, 12, 30, 6, 0, 0), Value::Boolean(false),
       Value::Binary({0xAB}), Value::ReplicationId(MakeGuid(200)),
       Value::Exact(MakeDecimal(false, 0xFFFFFFFF, 0x00FFFFFF)), Value::Text(u"#mailto:someone@example.com#")},
      {Value(), Value::Text(u""), Value::Text(u"   doubled  spaces  "), Value::Integer(7), Value::Integer(1),
       Value::Integer(42), Value::Single(0.0f), Value::Double(0.1), Value::Money({0}), When(2000, 2, 29, 0, 0, 0),
       Value::Boolean(true), Value::Binary({}), Value::ReplicationId({}), Value::Exact(MakeDecimal(false, 0, 0)),
       Value::Text(u"")},
      Row(15),  // all Null
  };
}

Rows EveryTypeRowsRead() {
  Rows rows = EveryTypeRows();
  for (size_t n = 0; n < rows.size(); ++n) rows[n][0] = Value::Integer(static_cast<int64_t>(n + 1));
  rows.back()[10] = Value::Boolean(false);
  return rows;
}

Rows ReadAll(const Database& database, std::u16string_view table) {
  const std::shared_ptr<const TableDefinition> definition = database.Table(table);
  Rows rows;
  const std::unique_ptr<RowCursor> cursor = database.Scan(definition);
  while (cursor->Next()) {
    Row& row = rows.emplace_back();
    for (size_t column = 0; column < definition->columns.size(); ++column) row.push_back(cursor->Get(column));
  }
  return rows;
}

std::filesystem::path CreatorScratchDir() {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(test->test_suite_name()) + "_" + test->name();
  for (char& character : name)
    if (character == '/') character = '_';
  const auto folder = std::filesystem::temp_directory_path() / ("quorvane_creator_" + name);
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

}  // namespace Jet::Testing
