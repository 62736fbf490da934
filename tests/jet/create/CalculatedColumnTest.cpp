// Calculated fields made by the creator and read back: every result type by its own type (Large
// Number in an ACE17 file), Null results, the field refused as a whole, another field of the
// table changed around them, and mdbtools reading the file.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "common/DateTime.h"
#include "common/Text.h"
#include "jet/Creator.h"
#include "jet/Database.h"
#include "jet/JetError.h"
#include "jet/RowCursor.h"
#include "tests/jet/create/CreatedDatabase.h"
#include "tests/jet/oracle/MdbExportCell.h"
#include "tests/jet/oracle/MdbTools.h"
#include "tests/jet/oracle/ProgramOutput.h"

namespace Jet {
namespace {

using Main::Value;
using Testing::CreatorScratchDir;
using Testing::ReadAll;
using Testing::Rows;

constexpr size_t kFirstCalculated = 2;

std::vector<uint8_t> FileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

FieldSpec Calculated(std::u16string name, FieldType result, std::u16string expression) {
  FieldSpec field{std::move(name), result};
  field.calculated = true;
  field.expression = std::move(expression);
  return field;
}

// Two ordinary fields, then a calculated field of every result type the creator makes.
TableSpec Formulas() {
  TableSpec table{u"Formulas", {{u"Id", FieldType::LongInteger}, {u"Name", FieldType::Text, 40}}};
  FieldSpec text = Calculated(u"Greeting", FieldType::Text, u"\"Hello \" & [Name]");
  text.size = 60;
  FieldSpec decimal = Calculated(u"Exact", FieldType::Decimal, u"CDec([Id]) / 8");
  decimal.precision = 18;
  decimal.scale = 4;
  table.fields.insert(table.fields.end(),
                      {Calculated(u"Positive", FieldType::YesNo, u"[Id] > 0"),
                       Calculated(u"Small", FieldType::Byte, u"[Id] Mod 256"),
                       Calculated(u"Short", FieldType::Integer, u"-[Id]"),
                       Calculated(u"Whole", FieldType::LongInteger, u"[Id] * 1000"),
                       Calculated(u"Half", FieldType::Single, u"[Id] / 2"),
                       Calculated(u"Real", FieldType::Double, u"[Id] / 3"),
                       Calculated(u"Code", FieldType::ReplicationId, u"Null"),
                       Calculated(u"Due", FieldType::DateTime, u"#2021-06-14# + [Id]"),
                       Calculated(u"Price", FieldType::Currency, u"CCur([Id]) * 1.2345"),
                       decimal, text,
                       Calculated(u"Story", FieldType::Memo, u"String(5000, [Name])")});
  return table;
}

Main::Decimal DecimalOf(bool negative, uint64_t low, uint32_t high, uint8_t scale) {
  Main::Decimal number;
  number.negative = negative;
  number.scale = scale;
  number.magnitude = {static_cast<uint32_t>(low), static_cast<uint32_t>(low >> 32), high, 0};
  return number;
}

Main::Guid GuidOf(uint8_t seed) {
  Main::Guid id;
  for (size_t n = 0; n < id.bytes.size(); ++n) id.bytes[n] = static_cast<uint8_t>(seed + n);
  return id;
}

// A row of extremes (the Decimal: 28 nines) with a long Memo (on long-value pages), a row of other values with a short
// one (inside the row), and a row whose results are all Null.
Rows FormulaRows() {
  std::u16string story;
  for (size_t n = 0; n < 5000; ++n) story += static_cast<char16_t>(n % 7 == 0 ? u'ß' : u'a' + n % 26);
  return {{Value::Integer(1), Value::Text(u"Ada"), Value::Boolean(true), Value::Integer(255),
           Value::Integer(-32768), Value::Integer(INT32_MIN), Value::Single(3.5f), Value::Double(-1.0 / 3),
           Value::ReplicationId(GuidOf(0xA0)), Value::Date(Main::DateTime{Main::OleDateFromCivil({2021, 6, 15, 13, 45, 30})}),
           Value::Money(Main::Currency{-123456789}), Value::Exact(DecimalOf(true, 0x3E2502610FFFFFFF, 0x204FCE5E, 4)),
           Value::Text(u"Hello Ada, Grüße ✓"), Value::Text(story)},
          {Value::Integer(2), Value::Text(u"Bo"), Value::Boolean(false), Value::Integer(0), Value::Integer(7),
           Value::Integer(2000000000), Value::Single(-0.25f), Value::Double(1e300), Value::ReplicationId(GuidOf(0x01)),
           Value::Date(Main::DateTime{-700.25}), Value::Money(Main::Currency{1}),
           Value::Exact(DecimalOf(false, 12345678, 0, 4)), Value::Text(u""), Value::Text(u"short")},
          {Value::Integer(3), Value::Text(u"Cy"), Value(), Value(), Value(), Value(), Value(), Value(), Value(),
           Value(), Value(), Value(), Value(), Value()}};
}

// What FormulaRows reads back: a Null Yes/No result reads as No.
Rows FormulaRowsRead() {
  Rows rows = FormulaRows();
  rows[2][kFirstCalculated] = Value::Boolean(false);
  return rows;
}

std::filesystem::path MakeFormulas(FileFormat format = FileFormat::Ace14) {
  const auto file = CreatorScratchDir() / "formulas.accdb";
  auto creator = CreateDatabase(file, format);
  creator.AddTable(Formulas());
  creator.InsertRows(u"Formulas", FormulaRows());
  creator.Close();
  return file;
}

TEST(CreatedCalculatedFields, EachReadsAsItsResultTypeWithItsStoredTypeKept) {
  const auto database = Database::Open(MakeFormulas());
  EXPECT_EQ(database->Info().format, FileFormat::Ace14);
  const auto table = database->Table(u"Formulas");
  ASSERT_EQ(table->columns.size(), 14u);
  struct Expected {
    ColumnType result;
    ColumnType stored;
  };
  const Expected expected[] = {
      {ColumnType::Boolean, ColumnType::Integer}, {ColumnType::Byte, ColumnType::Byte},
      {ColumnType::Integer, ColumnType::Integer}, {ColumnType::Long, ColumnType::Long},
      {ColumnType::Single, ColumnType::Decimal},  {ColumnType::Double, ColumnType::Double},
      {ColumnType::Guid, ColumnType::Guid},       {ColumnType::DateTime, ColumnType::DateTime},
      {ColumnType::Currency, ColumnType::Double}, {ColumnType::Decimal, ColumnType::Double},
      {ColumnType::Text, ColumnType::Text},       {ColumnType::Memo, ColumnType::Text}};
  for (size_t n = 0; n < std::size(expected); ++n) {
    const Column& column = table->columns[kFirstCalculated + n];
    EXPECT_TRUE(column.calculated) << n;
    EXPECT_FALSE(column.fixedLength) << n;
    EXPECT_EQ(column.type, expected[n].result) << n;
    EXPECT_EQ(column.rawType, static_cast<uint8_t>(expected[n].stored)) << n;
  }
  EXPECT_FALSE(table->columns[0].calculated);
  EXPECT_EQ(table->columns[kFirstCalculated].maxLength, 39);
  EXPECT_EQ(table->columns[12].maxLength, 60 * 2 + 23);
  EXPECT_EQ(table->columns[12].maxCharacters, 60);
  EXPECT_EQ(table->columns[11].precision, 28) << "a Decimal result's precision is not stored";
}

TEST(CreatedCalculatedFields, ValuesAndNullResultsRoundTrip) {
  const auto database = Database::Open(MakeFormulas());
  const Rows read = ReadAll(*database, u"Formulas");
  const Rows expected = FormulaRowsRead();
  ASSERT_EQ(read.size(), expected.size());
  for (size_t row = 0; row < read.size(); ++row)
    for (size_t column = 0; column < expected[row].size(); ++column)
      EXPECT_EQ(read[row][column], expected[row][column])
          << "row " << row << " column " << column << ": " << Main::ToUtf8(read[row][column].ToText());
}

TEST(CreatedCalculatedFields, LargeNumberResultsWhereTheFormatHasLargeNumbers) {
  const auto folder = CreatorScratchDir();
  const TableSpec table{u"Big", {{u"Count", FieldType::LargeNumber}, Calculated(u"Twice", FieldType::LargeNumber, u"[Count] * 2")}};
  auto older = CreateDatabase(folder / "ace14.accdb", FileFormat::Ace14);
  EXPECT_THROW(older.AddTable(table), JetError) << "Large Numbers came with ACE16";

  const auto file = folder / "ace17.accdb";
  auto creator = CreateDatabase(file, FileFormat::Ace17);
  creator.AddTable(table);
  const Rows rows{{Value::Integer(INT64_MIN), Value::Integer(INT64_MAX)},
                  {Value::Integer(-1), Value::Integer(-2)},
                  {Value(), Value()}};
  creator.InsertRows(u"Big", rows);
  creator.Close();
  const auto database = Database::Open(file);
  const auto definition = database->Table(u"Big");
  EXPECT_EQ(definition->columns[0].type, ColumnType::BigInt);
  EXPECT_FALSE(definition->columns[0].calculated);
  EXPECT_EQ(definition->columns[1].type, ColumnType::BigInt);
  EXPECT_EQ(definition->columns[1].rawType, static_cast<uint8_t>(ColumnType::BigInt));
  EXPECT_TRUE(definition->columns[1].calculated);
  EXPECT_EQ(ReadAll(*database, u"Big"), rows);
}

TEST(CreatedCalculatedFields, OlderFormatsAndResultsAccessHasNoneOfAreRefused) {
  const auto folder = CreatorScratchDir();
  for (const FileFormat format : {FileFormat::Jet4, FileFormat::Ace12}) {
    auto creator = CreateDatabase(folder / "old.mdb", format);
    EXPECT_THROW(creator.AddTable(Formulas()), JetError);
  }
  auto creator = CreateDatabase(folder / "new.accdb", FileFormat::Ace14);
  for (const FieldType type : {FieldType::OleObject, FieldType::Hyperlink, FieldType::AutoNumber})
    EXPECT_THROW(creator.AddTable({u"Bad", {Calculated(u"F", type, u"1")}}), JetError);
  EXPECT_THROW(creator.AddTable({u"Bad", {Calculated(u"F", FieldType::Double, u"")}}), JetError) << "no expression";
  TableSpec indexed = Formulas();
  indexed.indexes = {{u"ByPrice", {{u"Price"}}}};
  EXPECT_THROW(creator.AddTable(indexed), JetError) << "no index keys a calculated field";
  creator.AddTable(Formulas());
  creator.InsertRows(u"Formulas", FormulaRows());
  creator.Close();
  EXPECT_EQ(ReadAll(*Database::Open(folder / "new.accdb"), u"Formulas").size(), 3u) << "the refused tables left nothing";
}

TEST(CreatedCalculatedFields, AreRefusedAsAWholeFieldAndTheFileStaysAsItWas) {
  const auto file = MakeFormulas();
  const std::vector<uint8_t> before = FileBytes(file);
  const auto database = Database::Open(file, OpenOptions{{}, true});
  const auto table = database->Table(u"Formulas");
  const std::unique_ptr<RowCursor> cursor = database->Scan(table);
  ASSERT_TRUE(cursor->Next());
  for (size_t column = kFirstCalculated; column < table->columns.size(); ++column) {
    const std::u16string expected = u"The field '" + table->columns[column].name + u"' is calculated; Access computes its value.";
    for (const auto& attempt : std::initializer_list<std::function<void()>>{
             [&] { database->UpdateText(*table, cursor->Id(), column, u"1"); },
             [&] { database->UpdateValue(*table, cursor->Id(), column, Value::Null()); },
             [&] { database->CheckText(*table, column, u"1"); }}) {
      try {
        attempt();
        ADD_FAILURE() << "column " << column << " was written";
      } catch (const JetError& refusal) {
        EXPECT_EQ(refusal.Description(), expected);
        EXPECT_EQ(refusal.Number(), static_cast<long>(JetErrorNumber::kNotSupported));
        EXPECT_EQ(refusal.Cause(), Main::ErrorCause::kFieldCannotChange);
      }
    }
  }
  database->Close();
  EXPECT_EQ(FileBytes(file), before);
}

TEST(CreatedCalculatedFields, AnotherFieldChangesAndTheStoredResultsStayAsTheyWere) {
  const auto file = MakeFormulas();
  Rows expected = FormulaRowsRead();
  {
    const auto database = Database::Open(file, OpenOptions{{}, true});
    const auto table = database->Table(u"Formulas");
    const std::unique_ptr<RowCursor> cursor = database->Scan(table);
    for (size_t row = 0; cursor->Next(); ++row) {
      // Longer, so that the rows grow and move along their page.
      expected[row][1] = Value::Text(expected[row][1].AsText() + u" Lovelace-Byron");
      database->UpdateText(*table, cursor->Id(), 1, expected[row][1].AsText());
    }
    database->Close();
  }
  const Rows read = ReadAll(*Database::Open(file), u"Formulas");
  ASSERT_EQ(read.size(), expected.size());
  for (size_t row = 0; row < read.size(); ++row)
    for (size_t column = 0; column < expected[row].size(); ++column)
      EXPECT_EQ(read[row][column], expected[row][column]) << "row " << row << " column " << column;
}

// mdb-prop reads the property blob the creator wrote: each calculated field's Expression and
// ResultType (a type code in decimal).
TEST(CreatedCalculatedFields, MdbToolsReadsTheirProperties) {
  if (!Oracle::MdbToolsPresent()) GTEST_SKIP() << "mdbtools is not installed";
  const auto file = MakeFormulas();
  const auto printed = Oracle::RunProgram({"mdb-prop", file.string(), "Formulas"});
  ASSERT_TRUE(printed && printed->exitStatus == 0);
  const TableSpec formulas = Formulas();
  const auto table = Database::Open(file)->Table(u"Formulas");
  for (size_t n = kFirstCalculated; n < formulas.fields.size(); ++n) {
    const std::string expected = "name: " + Main::ToUtf8(formulas.fields[n].name) + "\n\tExpression: " +
                                 Main::ToUtf8(formulas.fields[n].expression) + "\n\tResultType: " +
                                 std::to_string(static_cast<int>(table->columns[n].type)) + "\n";
    EXPECT_NE(printed->standardOutput.find(expected), std::string::npos) << expected;
  }
  EXPECT_EQ(printed->standardOutput.find("name: Id"), std::string::npos) << "ordinary fields have no properties";
}

// mdbtools 1.0 knows nothing of calculated fields: it reads their definitions' type codes and
// prints the wrapped bytes as such (or nothing), so only the ordinary fields are compared.
TEST(CreatedCalculatedFields, MdbToolsReadsTheOrdinaryFields) {
  if (!Oracle::MdbToolsPresent()) GTEST_SKIP() << "mdbtools is not installed";
  const auto file = MakeFormulas();
  const auto database = Database::Open(file);
  const auto table = database->Table(u"Formulas");
  EXPECT_EQ(Oracle::MdbUserTables(file), (std::vector<std::string>{"Formulas"}));
  const std::vector<Oracle::CsvRecord> printed = Oracle::MdbExport(file, "Formulas");
  const Rows read = ReadAll(*database, u"Formulas");
  ASSERT_EQ(printed.size(), read.size() + 1);
  for (size_t column = 0; column < table->columns.size(); ++column)
    EXPECT_EQ(printed[0].at(column).text, Main::ToUtf8(table->columns[column].name));
  for (size_t row = 0; row < read.size(); ++row)
    for (size_t column = 0; column < kFirstCalculated; ++column)
      EXPECT_EQ(Oracle::CellMismatch(table->columns[column], printed[row + 1].at(column), read[row][column],
                                     database->Info().format),
                "")
          << "row " << row << " column " << column;
}

}  // namespace
}  // namespace Jet
