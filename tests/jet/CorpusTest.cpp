#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "tests/jet/CorpusFiles.h"
#include "common/Text.h"
#include "jet/OpenDatabase.h"

namespace Jet {
namespace {

using Testing::CorpusDir;
using Testing::CorpusFiles;

std::filesystem::path Corpus(const std::string& relative) { return CorpusDir() / relative; }

// What `mdb-tables -1 FILE` prints, one name a line; false when mdbtools is not installed.
bool MdbToolsTables(const std::filesystem::path& file, std::set<std::u16string>& tables) {
  if (std::system("command -v mdb-tables > /dev/null 2>&1") != 0) return false;
  FILE* pipe = ::popen(("mdb-tables -1 '" + file.string() + "'").c_str(), "r");
  if (pipe == nullptr) return false;
  std::string line;
  for (int c; (c = std::fgetc(pipe)) != EOF;) {
    if (c != '\n') {
      line += static_cast<char>(c);
      continue;
    }
    tables.insert(Main::FromUtf8(line));
    line.clear();
  }
  return ::pclose(pipe) == 0;
}

TEST(Corpus, FormatsAndPageSizes) {
  QUORVANE_REQUIRE_CORPUS();
  for (const auto& file : CorpusFiles()) {
    const auto database = Database::Open(file);
    const DatabaseInfo& info = database->Info();
    const std::string folder = file.parent_path().filename().string();
    const FileFormat expected = folder == "V1997" ? FileFormat::Jet3
                                : folder == "V2007" ? FileFormat::Ace12
                                                    : FileFormat::Jet4;
    EXPECT_EQ(info.format, expected) << file;
    EXPECT_EQ(info.pageSize, expected == FileFormat::Jet3 ? 2048u : 4096u) << file;
    EXPECT_EQ(info.pageCount * info.pageSize, std::filesystem::file_size(file)) << file;
    EXPECT_EQ(info.codePage, 1252) << file;
    EXPECT_FALSE(info.hasPassword) << file;
  }
}

TEST(Corpus, UserTablesAreThoseMdbToolsLists) {
  QUORVANE_REQUIRE_CORPUS();
  for (const auto& file : CorpusFiles()) {
    std::set<std::u16string> expected;
    if (!MdbToolsTables(file, expected)) GTEST_SKIP() << "mdbtools is not installed";
    std::set<std::u16string> tables;
    for (const CatalogEntry& entry : Database::Open(file)->TablesRowset())
      if (entry.type == u"TABLE") tables.insert(entry.name);
    EXPECT_EQ(tables, expected) << file;
  }
}

TEST(Corpus, TablesRowsetKindsAndOrder) {
  QUORVANE_REQUIRE_CORPUS();
  const auto rowset = Database::Open(Corpus("V1997/queryTestV1997.mdb"))->TablesRowset();
  std::vector<std::u16string> lines;
  for (const CatalogEntry& entry : rowset) lines.push_back(entry.type + u" " + entry.name);
  EXPECT_EQ(lines, (std::vector<std::u16string>{
                       u"ACCESS TABLE MSysModules", u"ACCESS TABLE MSysModules2",
                       u"SYSTEM TABLE MSysACEs", u"SYSTEM TABLE MSysObjects", u"SYSTEM TABLE MSysQueries",
                       u"SYSTEM TABLE MSysRelationships", u"TABLE Table1", u"TABLE Table2",
                       u"TABLE Table3", u"VIEW SelectQuery"}));

  std::set<std::u16string> kinds;
  for (const auto& entry : Database::Open(Corpus("V2007/linkerTestV2007.accdb"))->TablesRowset())
    if (entry.name == u"Table2" || entry.name == u"MSysNavPaneGroups") kinds.insert(entry.type + u" " + entry.name);
  EXPECT_EQ(kinds, (std::set<std::u16string>{u"LINK Table2", u"ACCESS TABLE MSysNavPaneGroups"}));

  bool passThrough = false;
  for (const auto& entry : Database::Open(Corpus("V2007/odbcLinkerTestV2007.accdb"))->TablesRowset())
    passThrough = passThrough || (entry.type == u"PASS-THROUGH" && entry.name == u"Ordrar");
  EXPECT_TRUE(passThrough);
}

std::vector<std::u16string> FirstRowText(const Database& database, const std::u16string& table) {
  const auto definition = database.Table(table);
  const auto cursor = database.Scan(definition);
  std::vector<std::u16string> cells;
  if (!cursor->Next()) return cells;
  for (size_t n = 0; n < definition->columns.size(); ++n) cells.push_back(cursor->Get(n).ToText());
  return cells;
}

TEST(Corpus, KnownValuesInEveryFormat) {
  QUORVANE_REQUIRE_CORPUS();
  // Text, Text, Byte, Integer, Long, Double, Date/Time, Currency, Yes/No.
  const std::vector<std::u16string> expected = {u"abcdefg", u"hijklmnop", u"2", u"222", u"333333333",
                                                u"444.555", u"1974-09-21", u"3.5", u"True"};
  for (const char* file : {"V1997/testV1997.mdb", "V2000/testV2000.mdb", "V2007/testV2007.accdb"}) {
    const auto database = Database::Open(Corpus(file));
    const auto definition = database->Table(u"table1");  // names match ignoring case
    EXPECT_EQ(definition->name, u"Table1");
    ASSERT_EQ(definition->columns.size(), 9u) << file;
    EXPECT_EQ(definition->columns[6].type, ColumnType::DateTime);
    EXPECT_EQ(definition->columns[7].type, ColumnType::Currency);
    const auto cursor = database->Scan(definition);
    bool found = false;
    while (cursor->Next()) {
      if (cursor->Get(0).ToText() != u"abcdefg") continue;
      found = true;
      for (size_t n = 0; n < expected.size(); ++n) EXPECT_EQ(cursor->Get(n).ToText(), expected[n]) << file;
    }
    EXPECT_TRUE(found) << file;
    EXPECT_THROW(database->Table(u"NoSuchTable"), JetError);
  }
}

TEST(Corpus, MovedRowsComeOnceInTheirOriginalPlace) {
  QUORVANE_REQUIRE_CORPUS();
  for (const char* file : {"V1997/overflowTestV1997.mdb", "V2000/overflowTestV2000.mdb",
                           "V2007/overflowTestV2007.accdb"}) {
    const auto database = Database::Open(Corpus(file));
    const auto definition = database->Table(u"Table1");
    const auto cursor = database->Scan(definition);
    std::vector<std::u16string> firstTexts;
    std::u16string text;
    while (cursor->Next()) {
      for (size_t n = 0; n < definition->columns.size(); ++n)
        if (cursor->GetText(n, text)) {
          firstTexts.push_back(text);
          break;
        }
    }
    EXPECT_EQ(firstTexts, (std::vector<std::u16string>{u"row1col1", u"row2col1", u"row3col3", u"row4col1",
                                                       u"row5col2", u"row6col2", u"row7col1"}))
        << file;
  }
}

TEST(Corpus, DeletedColumnsAndRows) {
  QUORVANE_REQUIRE_CORPUS();
  const auto database = Database::Open(Corpus("V2000/delColTestV2000.mdb"));
  const auto definition = database->Table(u"Table1");
  std::vector<std::u16string> names;
  for (const Column& column : definition->columns) names.push_back(column.name);
  // As mdb-schema and mdb-export show them.
  EXPECT_EQ(names, (std::vector<std::u16string>{u"id", u"id2", u"data", u"data2"}));
  EXPECT_EQ(FirstRowText(*database, u"Table1"), (std::vector<std::u16string>{u"0", u"2", u"foo", u"foo2"}));

  size_t rows = 0;
  const auto deleted = Database::Open(Corpus("V2000/delTestV2000.mdb"));
  const auto cursor = deleted->Scan(deleted->Table(u"Table"));
  while (cursor->Next()) ++rows;
  EXPECT_EQ(rows, 2u);
}

TEST(Corpus, DecimalsAndIndexes) {
  QUORVANE_REQUIRE_CORPUS();
  const auto database = Database::Open(Corpus("V2007/fixedNumericTestV2007.accdb"));
  const auto definition = database->Table(u"test");
  ASSERT_EQ(definition->columns.size(), 7u);
  const Column& decimal = definition->columns[1];
  EXPECT_EQ(decimal.name, u"col2");
  EXPECT_EQ(decimal.type, ColumnType::Decimal);
  EXPECT_EQ(decimal.precision, 18);
  EXPECT_EQ(decimal.scale, 0);
  // mdb-export: "some data",1,0,0,4,-1,1
  EXPECT_EQ(FirstRowText(*database, u"test"),
            (std::vector<std::u16string>{u"some data", u"1", u"0", u"0", u"4", u"-1", u"1"}));

  const auto indexed = Database::Open(Corpus("V2000/indexTestV2000.mdb"));
  bool primaryKey = false;
  for (const CatalogEntry& entry : indexed->TablesRowset()) {
    if (entry.type != u"TABLE") continue;
    for (const Index& index : indexed->Table(entry.name)->indexes) {
      EXPECT_FALSE(index.columns.empty()) << Main::ToUtf8(index.name);
      primaryKey = primaryKey || (index.primaryKey && index.unique);
    }
  }
  EXPECT_TRUE(primaryKey);
}

// mdb-schema declares every column of `users` NOT NULL: the designer's Required, kept in the
// table's properties rather than in the column flags.
TEST(Corpus, RequiredColumnsFromTheTablesProperties) {
  QUORVANE_REQUIRE_CORPUS();
  for (const char* file : {"V2000/fixedTextTestV2000.mdb", "V2007/fixedTextTestV2007.accdb"}) {
    const auto users = Database::Open(Corpus(file))->Table(u"users");
    ASSERT_EQ(users->columns.size(), 10u) << file;
    for (const Column& column : users->columns) EXPECT_FALSE(column.nullable) << file << " " << Main::ToUtf8(column.name);
  }
  // Required No: mdb-schema declares these without NOT NULL.
  const auto table1 = Database::Open(Corpus("V2007/complexDataTestV2007.accdb"))->Table(u"Table1");
  EXPECT_TRUE(table1->columns[table1->FindColumn(u"id")].nullable);
  EXPECT_TRUE(table1->columns[table1->FindColumn(u"memo-data")].nullable);
}

TEST(Corpus, ComplexColumnsOfEachKind) {
  QUORVANE_REQUIRE_CORPUS();
  const auto table1 = Database::Open(Corpus("V2007/complexDataTestV2007.accdb"))->Table(u"Table1");
  const auto column = [&](std::u16string_view name) -> const Column& {
    const int position = table1->FindColumn(name);
    EXPECT_GE(position, 0) << Main::ToUtf8(std::u16string(name));
    return table1->columns.at(static_cast<size_t>(position));
  };
  EXPECT_EQ(column(u"attach-data").complexKind, ComplexKind::Attachment);
  EXPECT_EQ(column(u"multi-value-data").complexKind, ComplexKind::MultiValue);
  EXPECT_EQ(column(u"VersionHistory_F5F8918F-0A3F-4DA9-AE71-184EE5012880").complexKind,
            ComplexKind::VersionHistory);
  EXPECT_EQ(column(u"memo-data").complexKind, ComplexKind::None);
  for (const Column& each : table1->columns) EXPECT_FALSE(each.autonumber) << Main::ToUtf8(each.name);
}

// Every table of every file scans to its end, GetText agrees with Get, and ReadRow and ReadValue
// by each row's id give the row again.
TEST(Corpus, EveryTableScansAndRowsReadBackById) {
  QUORVANE_REQUIRE_CORPUS();
  std::u16string text;
  for (const auto& file : CorpusFiles()) {
    const auto database = Database::Open(file);
    for (const CatalogEntry& entry : database->TablesRowset()) {
      if (entry.type != u"TABLE" && entry.type != u"SYSTEM TABLE") continue;
      const auto definition = database->Table(entry.name);
      const auto cursor = database->Scan(definition);
      while (cursor->Next()) {
        const std::vector<Main::Value> again = database->ReadRow(*definition, cursor->Id());
        ASSERT_EQ(again.size(), definition->columns.size());
        for (size_t n = 0; n < again.size(); ++n) {
          const Main::Value value = cursor->Get(n);
          EXPECT_EQ(value, again[n]) << file << " " << Main::ToUtf8(entry.name);
          EXPECT_EQ(database->ReadValue(*definition, cursor->Id(), n), value) << file << " " << n;
          EXPECT_EQ(cursor->IsNull(n), value.IsNull());
          if (value.kind() == Main::Value::Kind::Text) {
            EXPECT_TRUE(cursor->GetText(n, text));
            EXPECT_EQ(text, value.AsText());
          }
        }
        EXPECT_THROW(database->ReadValue(*definition, cursor->Id(), again.size()), JetError);
      }
    }
  }
}

TEST(Corpus, ReadRowOfADeletedSlot) {
  QUORVANE_REQUIRE_CORPUS();
  const auto database = Database::Open(Corpus("V2000/delTestV2000.mdb"));
  const auto definition = database->Table(u"Table");
  const auto cursor = database->Scan(definition);
  ASSERT_TRUE(cursor->Next());
  const RowId live = cursor->Id();
  bool sawDeleted = false;
  for (uint16_t slot = 0; slot < 8 && !sawDeleted; ++slot) {
    try {
      database->ReadRow(*definition, RowId{live.page, slot});
    } catch (const JetError& error) {
      sawDeleted = error.Number() == JetErrorNumber::kRecordDeleted;
      if (sawDeleted) {
        try {
          database->ReadValue(*definition, RowId{live.page, slot}, 0);
          ADD_FAILURE() << "ReadValue read a deleted slot";
        } catch (const JetError& again) {
          EXPECT_EQ(again.Number(), JetErrorNumber::kRecordDeleted);
        }
      }
    }
  }
  EXPECT_TRUE(sawDeleted);
}

TEST(Corpus, FirstRowsReadOnlyThePagesTheyNeed) {
  QUORVANE_REQUIRE_CORPUS();
  const auto file = Corpus("V1997/testIndexCodesV1997.mdb");
  auto countReads = [&](size_t rows) {
    const auto database = Database::Open(file);
    const auto& engine = dynamic_cast<const OpenDatabase&>(*database);
    const uint64_t before = engine.Pages().ReadsServed();
    const auto cursor = database->Scan(database->Table(u"Table1"));
    for (size_t n = 0; n < rows && cursor->Next(); ++n) cursor->Get(1);
    return engine.Pages().ReadsServed() - before;
  };
  const uint64_t first101 = countReads(101);
  const uint64_t all = countReads(100000);
  EXPECT_LT(first101, all);
  EXPECT_LT(first101, 40u);  // the definition, the map and the data pages of 101 rows, not the file
  EXPECT_LT(all, Database::Open(file)->Info().pageCount);
}

}  // namespace
}  // namespace Jet
