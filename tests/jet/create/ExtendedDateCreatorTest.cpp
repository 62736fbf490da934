// Date/Time Extended fields in files the creator makes (ACE17): values at the ends of the range,
// with fractions, at midnight and noon, Null; their text, their stored bytes, their indexes; a
// Text field of the same table cleaned around them; stored bytes spoiled; the type code made
// unknown; what mdbtools makes of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

#include "common/ExtendedDateTime.h"
#include "common/Text.h"
#include "jet/Creator.h"
#include "jet/Database.h"
#include "jet/JetError.h"
#include "jet/file/FormatLayout.h"
#include "tests/jet/create/CreatedDatabase.h"
#include "tests/jet/create/CreatedIndexes.h"
#include "tests/jet/oracle/MdbExportCell.h"
#include "tests/jet/oracle/MdbSchemaColumn.h"
#include "tests/jet/oracle/MdbTools.h"

namespace Jet {
namespace {

using Main::ExtendedDateTime;
using Main::Value;
using Testing::CreatorScratchDir;
using Testing::ErrorNumberOf;
using Bytes = std::vector<uint8_t>;

constexpr size_t kName = 0;
constexpr size_t kWhen = 1;

ExtendedDateTime When(int64_t year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                      int64_t fraction = 0) {
  return Main::ExtendedFromCivil(Main::CivilDateTime{year, month, day, hour, minute, second}, fraction);
}

// One row's name, value and the text Access shows for it (empty for Null).
struct Sample {
  std::u16string name;
  Value when;
  std::u16string shown;
};

std::vector<Sample> Samples() {
  return {
      {u"first  day", Value::ExtendedDate(ExtendedDateTime{0}), u"1/1/0001"},
      {u"last  tick", Value::ExtendedDate(ExtendedDateTime{Main::kMaxExtendedTicks}),
       u"12/31/9999 11:59:59.9999999 PM"},
      {u"a  fraction", Value::ExtendedDate(When(2021, 6, 14, 12, 45, 0, 1234567)), u"6/14/2021 12:45:00.1234567 PM"},
      {u"midnight", Value::ExtendedDate(When(2000, 2, 29)), u"2/29/2000"},
      {u"noon  sharp", Value::ExtendedDate(When(2024, 7, 1, 12)), u"7/1/2024 12:00:00 PM"},
      {u"just after midnight", Value::ExtendedDate(When(1, 1, 1, 0, 0, 0, 1)), u"1/1/0001 12:00:00.0000001 AM"},
      {u"no  date", Value::Null(), u""},
      {u"the example", Value::ExtendedDate(When(2021, 6, 14, 12, 45)), u"6/14/2021 12:45:00 PM"},
  };
}

// "Events": Name Text(50), When Date/Time Extended with an ascending and a descending index;
// "Plain": the same fields without indexes.
void MakeFile(const std::filesystem::path& file) {
  auto creator = CreateDatabase(file, FileFormat::Ace17);
  const std::vector<FieldSpec> fields = {{u"Name", FieldType::Text, 50}, {u"When", FieldType::DateTimeExtended}};
  creator.AddTable({u"Events", fields,
                    {IndexSpec{u"WhenUp", {{u"When", true}}}, IndexSpec{u"WhenDown", {{u"When", false}}}}});
  creator.AddTable({u"Plain", fields});
  for (const Sample& sample : Samples()) {
    creator.InsertRow(u"Events", {Value::Text(sample.name), sample.when});
    creator.InsertRow(u"Plain", {Value::Text(sample.name), sample.when});
  }
  creator.Close();
}

Bytes FileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::filesystem::path& file, const Bytes& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Where the 42 bytes of `stored` lie in the file, every place.
std::vector<size_t> Places(const Bytes& file, const std::string& stored) {
  std::vector<size_t> places;
  const Bytes pattern(stored.begin(), stored.end());
  for (auto at = file.begin(); (at = std::search(at, file.end(), pattern.begin(), pattern.end())) != file.end(); ++at)
    places.push_back(static_cast<size_t>(at - file.begin()));
  return places;
}

// The stored form of 2021-06-14 12:45:00 as Access writes it.
const std::string kExampleStored = std::string("0000000000000737954:0000000459000000000:7") + '\0';

std::vector<Value> Column(const Database& database, std::u16string_view table, size_t column) {
  std::vector<Value> values;
  for (const auto& row : Testing::ReadAll(database, table)) values.push_back(row.at(column));
  return values;
}

std::vector<Value> SampleValues() {
  std::vector<Value> values;
  for (const Sample& sample : Samples()) values.push_back(sample.when);
  return values;
}

TEST(ExtendedDates, CreatedRowsReadBackWithTheirText) {
  const auto file = CreatorScratchDir() / "dates.accdb";
  MakeFile(file);
  const auto database = Database::Open(file);
  EXPECT_EQ(database->Info().format, FileFormat::Ace17);
  const auto table = database->Table(u"Events");
  ASSERT_EQ(table->columns.size(), 2u);
  EXPECT_EQ(table->columns[kWhen].type, ColumnType::DateTimeExtended);
  EXPECT_EQ(table->columns[kWhen].rawType, 0x14);
  EXPECT_EQ(table->columns[kWhen].maxLength, 42);

  const std::vector<Sample> samples = Samples();
  const auto cursor = database->Scan(table);
  std::u16string text;
  for (const Sample& sample : samples) {
    ASSERT_TRUE(cursor->Next());
    EXPECT_EQ(cursor->Get(kWhen), sample.when) << Main::ToUtf8(sample.name);
    EXPECT_EQ(cursor->Get(kWhen).ToText(), sample.shown);
    EXPECT_EQ(cursor->GetText(kWhen, text), !sample.when.IsNull());
    EXPECT_EQ(text, sample.shown);
  }
  EXPECT_FALSE(cursor->Next());
}

TEST(ExtendedDates, StoredAsAccessStoresThem) {
  const auto file = CreatorScratchDir() / "dates.accdb";
  MakeFile(file);
  const Bytes bytes = FileBytes(file);
  EXPECT_EQ(bytes.at(0x14), 6) << "the ACE17 version byte";
  // One row in each table.
  EXPECT_EQ(Places(bytes, kExampleStored).size(), 2u);
  EXPECT_EQ(Places(bytes, std::string("0000000000003652058:0000000863999999999:7") + '\0').size(), 2u);
  EXPECT_EQ(Places(bytes, std::string("0000000000000000000:0000000000000000000:7") + '\0').size(), 2u);
}

TEST(ExtendedDates, IndexesHoldTheRowsInDateOrder) {
  const auto file = CreatorScratchDir() / "dates.accdb";
  MakeFile(file);
  const Testing::CreatedTable events(file, FileFormat::Ace17, u"Events");
  EXPECT_EQ(events.Problems(), "");
  const auto database = Database::Open(file);
  const auto table = database->Table(u"Events");
  std::vector<std::pair<RowId, Value>> rows;
  const auto cursor = database->Scan(table);
  while (cursor->Next()) rows.emplace_back(cursor->Id(), cursor->Get(kWhen));
  // Ascending: Null first, then by ticks.
  auto ascending = rows;
  std::stable_sort(ascending.begin(), ascending.end(), [](const auto& a, const auto& b) {
    if (a.second.IsNull() || b.second.IsNull()) return a.second.IsNull() && !b.second.IsNull();
    return a.second.AsExtendedDateTime().ticks < b.second.AsExtendedDateTime().ticks;
  });
  std::vector<RowId> up;
  for (const auto& row : ascending) up.push_back(row.first);
  EXPECT_EQ(events.RowsInOrder(u"WhenUp"), up);
  std::vector<RowId> down(up.rbegin(), up.rend());
  EXPECT_EQ(events.RowsInOrder(u"WhenDown"), down);
}

TEST(ExtendedDates, OnlyTheAce17FormatTakesTheField) {
  const auto folder = CreatorScratchDir();
  for (const FileFormat format : {FileFormat::Jet4, FileFormat::Ace12}) {
    auto creator = CreateDatabase(folder / "old.accdb", format);
    EXPECT_EQ(ErrorNumberOf([&] { creator.AddTable({u"T", {{u"When", FieldType::DateTimeExtended}}}); }),
              JetErrorNumber::kNotSupported);
    creator.AddTable({u"T", {{u"When", FieldType::DateTime}}});
    creator.Close();
  }
}

TEST(ExtendedDates, CleaningATextFieldLeavesTheDatesAsTheyWere) {
  const auto file = CreatorScratchDir() / "dates.accdb";
  MakeFile(file);
  const size_t examplesBefore = Places(FileBytes(file), kExampleStored).size();
  {
    const auto database = Database::Open(file, OpenOptions{{}, true});
    for (const std::u16string_view name : {std::u16string_view(u"Events"), std::u16string_view(u"Plain")}) {
      const auto table = database->Table(name);
      std::vector<std::pair<RowId, std::u16string>> changes;
      const auto cursor = database->Scan(table);
      std::u16string text;
      while (cursor->Next()) {
        ASSERT_TRUE(cursor->GetText(kName, text));
        std::u16string cleaned;
        for (const char16_t c : text)
          if (c != u' ' || cleaned.empty() || cleaned.back() != u' ') cleaned.push_back(c);
        if (cleaned != text) changes.emplace_back(cursor->Id(), cleaned);
      }
      ASSERT_EQ(changes.size(), 5u);
      for (const auto& [id, cleaned] : changes) database->UpdateText(*table, id, kName, cleaned);
    }
    database->Close();
  }
  const auto database = Database::Open(file);
  for (const std::u16string_view name : {std::u16string_view(u"Events"), std::u16string_view(u"Plain")}) {
    EXPECT_EQ(Column(*database, name, kWhen), SampleValues());
    const std::vector<Value> names = Column(*database, name, kName);
    EXPECT_EQ(names.at(0), Value::Text(u"first day"));
    EXPECT_EQ(names.at(2), Value::Text(u"a fraction"));
  }
  EXPECT_EQ(Places(FileBytes(file), kExampleStored).size(), examplesBefore);
  EXPECT_EQ(Testing::CreatedTable(file, FileFormat::Ace17, u"Events").Problems(), "");
}

TEST(ExtendedDates, TextWrittenToTheFieldAndRefused) {
  const auto file = CreatorScratchDir() / "dates.accdb";
  MakeFile(file);
  const auto database = Database::Open(file, OpenOptions{{}, true});
  const auto table = database->Table(u"Events");
  std::vector<RowId> ids;
  const auto cursor = database->Scan(table);
  while (cursor->Next()) ids.push_back(cursor->Id());

  database->UpdateText(*table, ids[6], kWhen, u"12/31/9999 11:59:59.9999999 PM");
  database->UpdateText(*table, ids[0], kWhen, u"0001-01-01 00:00:00.5");
  database->UpdateText(*table, ids[3], kWhen, u"2/29/2000 1:02:03 AM");
  database->Flush();
  const Bytes before = FileBytes(file);
  for (const std::u16string_view bad : {u"1/1/10000", u"12/31/9999 11:59:59.99999999 PM", u"2/30/2000",
                                         u"0000-12-31", u"2021-06-14 24:00:00", u"tomorrow", u"1.5"}) {
    try {
      database->UpdateText(*table, ids[1], kWhen, bad);
      ADD_FAILURE() << "took " << Main::ToUtf8(std::u16string(bad));
    } catch (const JetError& error) {
      EXPECT_EQ(error.Number(), Main::ErrorNumber::kTypeMismatch) << Main::ToUtf8(std::u16string(bad));
      EXPECT_EQ(error.Cause(), Main::ErrorCause::kRecordValue);
      EXPECT_NE(error.Description().find(u"Date/Time Extended"), std::u16string::npos);
    }
  }
  database->Flush();
  EXPECT_EQ(FileBytes(file), before) << "a refused value wrote something";
  database->Close();

  const auto reread = Database::Open(file);
  const std::vector<Value> values = Column(*reread, u"Events", kWhen);
  EXPECT_EQ(values[6], Value::ExtendedDate(ExtendedDateTime{Main::kMaxExtendedTicks}));
  EXPECT_EQ(values[0], Value::ExtendedDate(ExtendedDateTime{Main::kTicksPerSecond / 2}));
  EXPECT_EQ(values[3], Value::ExtendedDate(When(2000, 2, 29, 1, 2, 3)));
  EXPECT_EQ(values[1], Samples()[1].when);
  EXPECT_EQ(Testing::CreatedTable(file, FileFormat::Ace17, u"Events").Problems(), "");
}

// Spoils the stored bytes of the example row in both tables with `spoil`.
void SpoilExample(const std::filesystem::path& file, size_t offset, uint8_t byte) {
  Bytes bytes = FileBytes(file);
  const std::vector<size_t> places = Places(bytes, kExampleStored);
  ASSERT_EQ(places.size(), 2u);
  for (const size_t at : places) bytes[at + offset] = byte;
  WriteBytes(file, bytes);
}

TEST(ExtendedDates, SpoiledStoredBytesReadAsNullAndTheRestReads) {
  const auto folder = CreatorScratchDir();
  MakeFile(folder / "made.accdb");
  struct Spoil {
    const char* what;
    size_t offset;
    uint8_t byte;
  };
  const Spoil spoils[] = {{"a letter among the days", 3, 'x'},       {"a letter in the fraction", 35, ' '},
                          {"the first separator", 19, '-'},          {"the second separator", 39, 0},
                          {"the precision digit", 40, '6'},          {"the last byte", 41, 'A'},
                          {"days past 9999-12-31", 12, '9'},         {"seconds past the day", 26, '9'}};
  for (const Spoil& spoil : spoils) {
    const auto file = folder / "spoiled.accdb";
    std::filesystem::copy_file(folder / "made.accdb", file, std::filesystem::copy_options::overwrite_existing);
    SpoilExample(file, spoil.offset, spoil.byte);
    const auto database = Database::Open(file);
    for (const std::u16string_view table : {std::u16string_view(u"Events"), std::u16string_view(u"Plain")}) {
      std::vector<Value> expected = SampleValues();
      expected.back() = Value::Null();
      EXPECT_EQ(Column(*database, table, kWhen), expected) << spoil.what;
      EXPECT_EQ(Column(*database, table, kName).back(), Value::Text(u"the example")) << spoil.what;
    }
  }
}

TEST(ExtendedDates, AnUnknownTypeCodeReadsAsBytesAndIsNeverWritten) {
  const auto folder = CreatorScratchDir();
  const auto file = folder / "unknown.accdb";
  MakeFile(file);
  // "Plain" has no indexes: its second column block follows the header directly.
  uint32_t definitionPage = 0;
  {
    const auto database = Database::Open(file);
    definitionPage = database->Table(u"Plain")->definitionPage;
  }
  const FormatLayout& layout = LayoutOf(FileFormat::Ace17);
  Bytes bytes = FileBytes(file);
  const size_t typeAt = size_t{definitionPage} * layout.pageSize + layout.tdefHeaderSize + kWhen * layout.columnBlockSize;
  ASSERT_EQ(bytes.at(typeAt), 0x14);
  bytes[typeAt] = 0x15;
  WriteBytes(file, bytes);

  const auto database = Database::Open(file, OpenOptions{{}, true});
  const auto table = database->Table(u"Plain");
  EXPECT_EQ(table->columns[kWhen].rawType, 0x15);
  const std::vector<Value> values = Column(*database, u"Plain", kWhen);
  ASSERT_EQ(values.size(), Samples().size());
  EXPECT_EQ(values.back(), Value::Binary(Bytes(kExampleStored.begin(), kExampleStored.end())));
  EXPECT_TRUE(values[6].IsNull());

  std::vector<RowId> ids;
  const auto cursor = database->Scan(table);
  while (cursor->Next()) ids.push_back(cursor->Id());
  try {
    database->UpdateText(*table, ids.back(), kWhen, u"6/14/2021");
    ADD_FAILURE() << "wrote a field of an unknown type";
  } catch (const JetError& error) {
    EXPECT_EQ(error.Cause(), Main::ErrorCause::kFieldCannotChange) << Main::ToUtf8(error.Description());
    EXPECT_NE(error.Description().find(u"When"), std::u16string::npos);
    EXPECT_NE(error.Description().find(u"0x15"), std::u16string::npos);
  }
  EXPECT_EQ(ErrorNumberOf([&] { database->CheckText(*table, kWhen, u"x"); }), JetErrorNumber::kNotSupported);
  database->UpdateText(*table, ids.back(), kName, u"changed");
  database->Close();

  const auto reread = Database::Open(file);
  EXPECT_EQ(Column(*reread, u"Plain", kWhen), values);
  EXPECT_EQ(Column(*reread, u"Plain", kName).back(), Value::Text(u"changed"));
}

// mdbtools 1.0 knows the ACE17 version and the tables, declares the field Unknown_0014 and
// prints its cells empty; the Text cells beside it are as the engine reads them.
TEST(ExtendedDates, MdbToolsReadsTheFileAroundTheField) {
  if (!Oracle::MdbToolsPresent()) GTEST_SKIP() << "mdbtools is not installed";
  const auto file = CreatorScratchDir() / "dates.accdb";
  MakeFile(file);
  EXPECT_EQ(Oracle::MdbVersion(file), "ACE17");
  EXPECT_EQ(Oracle::MdbUserTables(file), (std::vector<std::string>{"Events", "Plain"}));
  const auto database = Database::Open(file);
  for (const std::u16string_view name : {std::u16string_view(u"Events"), std::u16string_view(u"Plain")}) {
    const auto table = database->Table(name);
    std::vector<Oracle::SchemaColumn> declared;
    for (const Jet::Column& column : table->columns) declared.push_back(Oracle::MdbSchemaDeclaration(column));
    EXPECT_EQ(Oracle::MdbSchemaColumns(file, Main::ToUtf8(name)), declared);
    EXPECT_EQ(declared.at(kWhen).type, "Unknown_0014");

    const std::vector<Oracle::CsvRecord> printed = Oracle::MdbExport(file, Main::ToUtf8(name));
    const Testing::Rows rows = Testing::ReadAll(*database, name);
    ASSERT_EQ(printed.size(), rows.size() + 1);
    for (size_t row = 0; row < rows.size(); ++row) {
      EXPECT_EQ(Oracle::CellMismatch(table->columns[kName], printed[row + 1].at(kName), rows[row][kName],
                                     FileFormat::Ace17),
                "");
      EXPECT_FALSE(printed[row + 1].at(kWhen).quoted);
      EXPECT_EQ(printed[row + 1].at(kWhen).text, "");
    }
  }
}

}  // namespace
}  // namespace Jet
