#include <algorithm>
#include <functional>
#include <iterator>

#include <gtest/gtest.h>

#include "jet/JetError.h"
#include "tests/jet/write/WriterFixture.h"

namespace Jet {
namespace {

using Main::Value;
using Testing::ExportAll;
using Testing::OpenForWriting;
using Testing::RowAt;
using Testing::RefusalNumber;
using Testing::WritableCopy;

// mdbtools returns a moved row where it finds it on its new page, Access (and the engine) in its
// original place; so exports are compared as sets of records.
struct ExportChange {
  size_t table = 0;
  std::vector<Oracle::CsvRecord> removed;
  std::vector<Oracle::CsvRecord> added;
};

std::vector<ExportChange> Differences(std::vector<std::vector<Oracle::CsvRecord>> before,
                                      std::vector<std::vector<Oracle::CsvRecord>> after) {
  std::vector<ExportChange> changes;
  EXPECT_EQ(before.size(), after.size());
  const auto byText = [](const Oracle::CsvRecord& a, const Oracle::CsvRecord& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](const auto& x, const auto& y) { return x.text < y.text; });
  };
  for (size_t t = 0; t < std::min(before.size(), after.size()); ++t) {
    std::sort(before[t].begin(), before[t].end(), byText);
    std::sort(after[t].begin(), after[t].end(), byText);
    ExportChange change{t, {}, {}};
    std::set_difference(before[t].begin(), before[t].end(), after[t].begin(), after[t].end(),
                        std::back_inserter(change.removed), byText);
    std::set_difference(after[t].begin(), after[t].end(), before[t].begin(), before[t].end(),
                        std::back_inserter(change.added), byText);
    if (!change.removed.empty() || !change.added.empty()) changes.push_back(std::move(change));
  }
  return changes;
}

TEST(UpdateValue, OneTextCellChangesAndNothingElseInEveryFormat) {
  QUORVANE_REQUIRE_CORPUS();
  QUORVANE_REQUIRE_MDBTOOLS();
  for (const std::string name : {"V1997/compIndexTestV1997.mdb", "V2000/compIndexTestV2000.mdb",
                                 "V2007/compIndexTestV2007.accdb", "V2000/delColTestV2000.mdb",
                                 "V2007/delTestV2007.accdb", "V1997/overflowTestV1997.mdb"}) {
    SCOPED_TRACE(name);
    const auto file = WritableCopy(name);
    const auto before = ExportAll(file);
    const std::u16string newText = u"Grüße aus Köln";
    size_t tableIndex = 0, columnIndex = 0, rowPosition = 1;
    {
      auto database = OpenForWriting(file);
      const auto tables = Oracle::MdbUserTables(file);
      // The first user table with a text column outside every index and at least two rows.
      bool found = false;
      for (size_t t = 0; t < tables.size() && !found; ++t) {
        const auto table = database->Table(Main::FromUtf8(tables[t]));
        for (size_t c = 0; c < table->columns.size() && !found; ++c) {
          const Column& column = table->columns[c];
          bool indexed = false;
          for (const Index& index : table->indexes)
            for (const IndexColumn& part : index.columns) indexed |= part.columnNumber == column.number;
          if (column.type != ColumnType::Text || indexed || column.maxCharacters < newText.size() ||
              before[t].size() < 3)
            continue;
          database->UpdateText(*table, RowAt(*database, table, rowPosition), c, newText);
          EXPECT_EQ(database->ReadRow(*table, RowAt(*database, table, rowPosition))[c], Value::Text(newText));
          tableIndex = t;
          columnIndex = c;
          found = true;
        }
      }
      ASSERT_TRUE(found);
      database->Close();
    }
    const auto after = ExportAll(file);
    const auto changes = Differences(before, after);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].table, tableIndex);
    ASSERT_EQ(changes[0].removed.size(), 1u);
    ASSERT_EQ(changes[0].added.size(), 1u);
    Oracle::CsvRecord expected = changes[0].removed[0];
    expected.at(columnIndex).text = Testing::Utf8(newText);
    expected.at(columnIndex).quoted = true;
    EXPECT_EQ(changes[0].added[0], expected);
    EXPECT_EQ(changes[0].removed[0], before[tableIndex][rowPosition + 1]);
  }
}

TEST(UpdateValue, RowsThatOutgrowTheirPageMoveAndKeepTheirPlace) {
  QUORVANE_REQUIRE_CORPUS();
  QUORVANE_REQUIRE_MDBTOOLS();
  for (const std::string name : {"V1997/compIndexTestV1997.mdb", "V2000/compIndexTestV2000.mdb",
                                 "V2007/compIndexTestV2007.accdb"}) {
    SCOPED_TRACE(name);
    const auto file = WritableCopy(name);
    const auto before = Oracle::MdbExport(file, "Table1");
    std::vector<std::u16string> written;
    {
      auto database = OpenForWriting(file);
      const auto table = database->Table(u"Table1");
      const size_t column = static_cast<size_t>(table->FindColumn(u"DC_AGENTE"));
      std::vector<RowId> ids;
      for (auto cursor = database->Scan(table); cursor->Next();) ids.push_back(cursor->Id());
      for (size_t n = 0; n < ids.size(); ++n) {
        std::u16string text = Main::FromUtf8("row " + std::to_string(n) + " ");
        text.resize(n % 3 == 0 ? 55 : 2 + n % 40, u'x');  // mostly growing, some shrinking
        database->UpdateText(*table, ids[n], column, text);
        written.push_back(text);
      }
      // The scan still returns every row once, in its place.
      size_t n = 0;
      for (auto cursor = database->Scan(table); cursor->Next(); ++n) {
        ASSERT_LT(n, ids.size());
        EXPECT_EQ(cursor->Id(), ids[n]);
        EXPECT_EQ(cursor->Get(column), Value::Text(written[n]));
      }
      EXPECT_EQ(n, ids.size());
    }
    // Compared as multisets: the original file's export is in scan order, later ones are not.
    const auto after = Oracle::MdbExport(file, "Table1");
    ASSERT_EQ(after.size(), before.size());
    std::vector<std::vector<std::string>> expected, actual;
    for (size_t r = 1; r < before.size(); ++r) {
      expected.push_back({before[r][0].text, before[r][1].text, Testing::Utf8(written[r - 1])});
      actual.push_back({after[r][0].text, after[r][1].text, after[r][2].text});
    }
    std::sort(expected.begin(), expected.end());
    std::sort(actual.begin(), actual.end());
    EXPECT_EQ(actual, expected);
  }
}

// Memo values on both sides of each place a long value can live: in the row (64 bytes), in one
// row of a long-value page (a page's worth), in a chain of pages (up to 16 MB).
TEST(UpdateValue, MemoValuesRoundTripAcrossTheLongValueBoundaries) {
  QUORVANE_REQUIRE_CORPUS();
  QUORVANE_REQUIRE_MDBTOOLS();
  for (const std::string name : {"V2000/test2V2000.mdb", "V2007/test2V2007.accdb", "V1997/test2V1997.mdb"}) {
    SCOPED_TRACE(name);
    const auto file = WritableCopy(name);
    const bool jet3 = name.starts_with("V1997");
    const size_t bytesPerChar = jet3 ? 1 : 2;
    // Characters that are not compressed, so the stored size is known.
    const char16_t letter = jet3 ? u'é' : u'Ж';
    const size_t chunk = jet3 ? 2032 : 4076;
    std::vector<size_t> sizes = {0, 64 / bytesPerChar, 64 / bytesPerChar + 1, chunk / bytesPerChar,
                                 chunk / bytesPerChar + 1, 3 * chunk / bytesPerChar + 7, 16u << 20 >> (bytesPerChar - 1)};
    const auto sizeBefore = std::filesystem::file_size(file);
    auto database = OpenForWriting(file);
    const auto table = database->Table(u"MSP_PROJECTS");
    const size_t column = static_cast<size_t>(table->FindColumn(u"PROJ_PROP_AUTHOR"));
    const RowId row = RowAt(*database, table, 0);
    for (const size_t size : sizes) {
      const std::u16string text(size, letter);
      database->UpdateValue(*table, row, column, Value::Text(text));
      ASSERT_EQ(database->ReadRow(*table, row)[column], Value::Text(text)) << size;
      if (size < 100000) {
        database->Flush();
        const auto exported = Oracle::MdbExport(file, "MSP_PROJECTS");
        EXPECT_EQ(exported[1][column].text, Testing::Utf8(text)) << size;
      }
    }
    // The space of replaced values is given back: twenty more chains cost no more pages than one.
    const auto sizeAfterBig = std::filesystem::file_size(file);
    for (int n = 0; n < 20; ++n)
      database->UpdateValue(*table, row, column, Value::Text(std::u16string(3 * chunk / bytesPerChar, letter)));
    database->UpdateValue(*table, row, column, Value::Null());
    EXPECT_TRUE(database->ReadRow(*table, row)[column].IsNull());
    database->Close();
    EXPECT_LE(std::filesystem::file_size(file), sizeAfterBig + 25 * chunk);
    EXPECT_GT(sizeAfterBig, sizeBefore);
    EXPECT_EQ(Oracle::MdbExport(file, "MSP_PROJECTS")[1][column].text, "");
  }
}

TEST(UpdateValue, TextConvertsForNumberDateAndYesNoColumns) {
  QUORVANE_REQUIRE_CORPUS();
  QUORVANE_REQUIRE_MDBTOOLS();
  const auto file = WritableCopy("V2000/testV2000.mdb");
  auto database = OpenForWriting(file);
  const auto table = database->Table(u"Table1");
  const RowId row = RowAt(*database, table, 1);
  const auto set = [&](const char16_t* column, std::u16string_view text) {
    database->UpdateText(*table, row, static_cast<size_t>(table->FindColumn(column)), text);
  };
  set(u"C", u"254");
  set(u"D", u"-32768");
  set(u"E", u"2147483647");
  set(u"F", u"-0.125");
  set(u"G", u"7/4/1976 1:30:00 PM");
  set(u"H", u"12.34565");
  set(u"I", u"Yes");
  database->Close();
  const auto exported = Oracle::MdbExport(file, "Table1");
  EXPECT_EQ(exported[2][2].text, "254");
  EXPECT_EQ(exported[2][3].text, "-32768");
  EXPECT_EQ(exported[2][4].text, "2147483647");
  EXPECT_EQ(exported[2][5].text, "-0.125");
  EXPECT_EQ(exported[2][6].text, "1976-07-04 13:30:00");
  EXPECT_EQ(exported[2][7].text, "12.3456");
  EXPECT_EQ(exported[2][8].text, "1");
}

TEST(UpdateValue, RefusalsLeaveTheFileByteIdentical) {
  QUORVANE_REQUIRE_CORPUS();
  const auto file = WritableCopy("V2000/testV2000.mdb");
  const auto original = Testing::ReadBytes(file);
  auto database = OpenForWriting(file);
  const auto table = database->Table(u"Table1");
  const RowId row = RowAt(*database, table, 0);
  const auto column = [&](const char16_t* name) { return static_cast<size_t>(table->FindColumn(name)); };
  std::u16string message;
  // The primary key: another row's key, in another case and with trailing spaces, is a duplicate.
  EXPECT_EQ(RefusalNumber([&] { database->UpdateText(*table, row, column(u"A"), u"A  "); }, &message),
            JetErrorNumber::kDuplicateKey);
  EXPECT_EQ(message.rfind(u"The changes you requested to the table were not successful because they would create "
                          u"duplicate values in the index, primary key, or relationship.", 0), 0u);
  EXPECT_EQ(RefusalNumber([&] { database->UpdateValue(*table, row, column(u"A"), Main::Value::Null()); }, &message),
            JetErrorNumber::kNullInIndex);
  EXPECT_EQ(message, u"Index or primary key cannot contain a Null value.");
  EXPECT_EQ(RefusalNumber([&] { database->UpdateText(*table, row, column(u"C"), u"twelve"); }, &message),
            Main::ErrorNumber::kTypeMismatch);
  EXPECT_NE(message.find(u"'twelve'"), std::u16string::npos);
  EXPECT_NE(message.find(u"Number (Byte)"), std::u16string::npos);
  EXPECT_EQ(RefusalNumber([&] { database->UpdateText(*table, row, column(u"C"), u"256"); }), Main::ErrorNumber::kOverflow);
  EXPECT_EQ(RefusalNumber([&] { database->UpdateText(*table, row, column(u"D"), u"40000"); }), Main::ErrorNumber::kOverflow);
  EXPECT_EQ(RefusalNumber([&] { database->UpdateText(*table, row, column(u"G"), u"2023-02-29"); }),
            Main::ErrorNumber::kTypeMismatch);
  EXPECT_EQ(RefusalNumber([&] { database->UpdateText(*table, row, column(u"I"), u"perhaps"); }),
            Main::ErrorNumber::kTypeMismatch);
  EXPECT_EQ(RefusalNumber([&] { database->UpdateValue(*table, row, column(u"I"), Value::Null()); }),
            JetErrorNumber::kValueRequired);
  const auto other = database->Table(u"Table3");
  (void)other;
  database->Close();
  EXPECT_EQ(Testing::ReadBytes(file), original);

  // Text longer than its field, on a column outside every index.
  const auto compIndex = WritableCopy("V2000/compIndexTestV2000.mdb");
  const auto compOriginal = Testing::ReadBytes(compIndex);
  auto writer = OpenForWriting(compIndex);
  const auto agents = writer->Table(u"Table1");
  EXPECT_EQ(RefusalNumber([&] {
              writer->UpdateText(*agents, RowAt(*writer, agents, 0), 2, std::u16string(56, u'x'));
            }, &message),
            JetErrorNumber::kFieldTooSmall);
  EXPECT_EQ(message, u"The field is too small to accept the amount of data you attempted to add.");
  writer->Close();
  EXPECT_EQ(Testing::ReadBytes(compIndex), compOriginal);

  // A database opened for reading refuses every change.
  auto reader = Database::Open(compIndex);
  EXPECT_FALSE(reader->IsWritable());
  EXPECT_EQ(RefusalNumber([&] { reader->UpdateText(*agents, RowAt(*reader, agents, 0), 2, u"x"); }),
            JetErrorNumber::kReadOnly);
}

// The run's trial checks each new text with CheckText: for every field of a table of every kind it
// must refuse what UpdateText refuses for the field (and the text), and take what it takes.
TEST(UpdateValue, CheckTextRefusesWhatUpdateTextRefusesForTheField) {
  QUORVANE_REQUIRE_CORPUS();
  const auto file = WritableCopy("V2000/testV2000.mdb");
  auto database = OpenForWriting(file);
  const auto table = database->Table(u"Table1");
  const RowId row = RowAt(*database, table, 1);
  const std::vector<std::u16string> texts{u"", u"x", u"twelve", u"256", u"-0.125", u"Yes", u"7/4/1976",
                                          std::u16string(50, u'a'), std::u16string(256, u'b'), u"Grüße"};
  int compared = 0;
  for (size_t column = 0; column < table->columns.size(); ++column) {
    for (const std::u16string& text : texts) {
      SCOPED_TRACE(Main::ToUtf8(table->columns[column].name) + " <- " + Main::ToUtf8(text.substr(0, 12)));
      const long checked = RefusalNumber([&] { database->CheckText(*table, column, text); });
      const long updated = RefusalNumber([&] { database->UpdateText(*table, row, column, text); });
      // Refusals of the row rather than the field are only found by the write.
      if (updated == JetErrorNumber::kDuplicateKey || updated == JetErrorNumber::kRecordTooLarge) continue;
      EXPECT_EQ(checked, updated);
      ++compared;
    }
  }
  EXPECT_GT(compared, 50);
}

TEST(UpdateValue, BinaryAndOleColumnsRefuseText) {
  QUORVANE_REQUIRE_CORPUS();
  const auto file = WritableCopy("V2000/test2V2000.mdb");
  const auto original = Testing::ReadBytes(file);
  auto database = OpenForWriting(file);
  const auto table = database->Table(u"MSP_PROJECTS");
  size_t refused = 0;
  for (size_t c = 0; c < table->columns.size(); ++c) {
    const ColumnType type = table->columns[c].type;
    if (type != ColumnType::Binary && type != ColumnType::OleObject && type != ColumnType::Guid) continue;
    EXPECT_EQ(RefusalNumber([&] { database->UpdateText(*table, RowAt(*database, table, 0), c, u"00"); }),
              Main::ErrorNumber::kTypeMismatch);
    ++refused;
  }
  EXPECT_GT(refused, 0u);
  database->Close();
  EXPECT_EQ(Testing::ReadBytes(file), original);
}

}  // namespace
}  // namespace Jet
