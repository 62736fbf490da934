// Indexes of tables the creator makes: read back by the engine (definitions, physical indexes,
// trees), checked by the index checker, and the declarations and rows the creator refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "common/Text.h"
#include "jet/Creator.h"
#include "jet/Database.h"
#include "jet/JetError.h"
#include "jet/index/IndexFormat.h"
#include "tests/jet/create/CreatedDatabase.h"
#include "tests/jet/create/CreatedIndexes.h"

namespace Jet {
namespace {

using Main::Value;
using Testing::CreatedTable;
using Testing::CreatorScratchDir;
using Testing::ErrorNumberOf;

// An index's columns as (column number, ascending).
using Columns = std::vector<std::pair<uint16_t, bool>>;
Columns ColumnsOf(const Index& index) {
  Columns columns;
  for (const IndexColumn& column : index.columns) columns.emplace_back(column.columnNumber, column.ascending);
  return columns;
}

// A table of people: a primary key, a unique code, a name and postal code index (postal code
// descending), a descending number index and an index on a Memo note that ignores nulls.
TableSpec People() {
  return TableSpec{u"People",
                   {{u"Id", FieldType::AutoNumber},
                    {u"Code", FieldType::Text, 12},
                    {u"Name", FieldType::Text, 40},
                    {u"Postal", FieldType::Text, 10},
                    {u"Score", FieldType::LongInteger},
                    {u"Note", FieldType::Memo},
                    {u"Photo", FieldType::OleObject}},
                   {{u"PrimaryKey", {{u"Id"}}, true},
                    {u"Code", {{u"Code"}}, false, true},
                    {u"NamePostal", {{u"Name"}, {u"Postal", false}}},
                    {u"Score", {{u"Score", false}}},
                    {u"Note", {{u"Note"}}, false, false, true}}};
}

// Row n of People: distinct codes, names in mixed case repeating every 97 rows, scores spread
// over negative and positive numbers, a note on every third row.
Row Person(size_t n) {
  const auto number = static_cast<int64_t>(n);
  std::u16string name = (n % 2 == 0 ? u"Name " : u"NAME ") + Main::FormatInteger(number % 97);
  return Row{Value(),
             Value::Text(u"C" + Main::FormatInteger(number * 7)),
             Value::Text(std::move(name)),
             n % 11 == 0 ? Value() : Value::Text(Main::FormatInteger(1000 + number % 50)),
             Value::Integer((number * 7919) % 10007 - 5000),
             n % 3 == 0 ? Value::Text(std::u16string(300, static_cast<char16_t>(u'a' + n % 26))) : Value(),
             Value()};
}

// ASCII text in lower case.
std::string Lowered(const Value& text) {
  std::string lowered = Main::ToUtf8(text.AsText());
  for (char& character : lowered) character = static_cast<char>(std::tolower(static_cast<unsigned char>(character)));
  return lowered;
}

class CreatorIndexes : public ::testing::TestWithParam<FileFormat> {};

INSTANTIATE_TEST_SUITE_P(Formats, CreatorIndexes, ::testing::Values(FileFormat::Jet4, FileFormat::Ace12),
                         [](const auto& info) { return info.param == FileFormat::Jet4 ? "Jet4" : "Ace12"; });

TEST_P(CreatorIndexes, DefinitionsReadBack) {
  const auto file = CreatorScratchDir() / "people.mdb";
  auto creator = CreateDatabase(file, GetParam());
  creator.AddTable(People());
  creator.Close();

  const auto table = Database::Open(file)->Table(u"People");
  ASSERT_EQ(table->indexes.size(), 5u);
  const Index& key = table->indexes[0];
  EXPECT_EQ(key.name, u"PrimaryKey");
  EXPECT_TRUE(key.primaryKey);
  EXPECT_TRUE(key.unique);
  EXPECT_FALSE(key.foreignKey);
  EXPECT_EQ(ColumnsOf(key), (Columns{{0, true}}));
  EXPECT_TRUE(table->indexes[1].unique);
  EXPECT_FALSE(table->indexes[1].primaryKey);
  EXPECT_EQ(table->indexes[2].name, u"NamePostal");
  EXPECT_EQ(ColumnsOf(table->indexes[2]), (Columns{{2, true}, {3, false}}));
  EXPECT_FALSE(table->indexes[2].unique);
  EXPECT_EQ(ColumnsOf(table->indexes[3]), (Columns{{4, false}}));
  for (const Index& index : table->indexes) EXPECT_EQ(index.relatedIndex, -1) << Main::ToUtf8(index.name);
  // Text is keyed in General Legacy order: collation 1033, version 0.
  EXPECT_EQ(table->columns[1].sortOrder, 1033);
  EXPECT_EQ(table->columns[1].sortOrderVersion, 0);

  const CreatedTable back(file, GetParam(), u"People");
  EXPECT_EQ(back.Physical(u"PrimaryKey").flags, 0x89);
  EXPECT_EQ(back.Physical(u"Code").flags, 0x81);
  EXPECT_EQ(back.Physical(u"NamePostal").flags, 0x80);
  EXPECT_EQ(back.Physical(u"Note").flags, 0x82);
  // Every index of a table without rows is an empty leaf of its own.
  std::set<uint32_t> roots;
  for (const Index& index : back.Table().definition->indexes) {
    roots.insert(back.Physical(index.name).firstPage);
    EXPECT_EQ(back.Pages().Read(back.Physical(index.name).firstPage).Type(), kIndexLeafPageType);
    EXPECT_TRUE(back.RowsInOrder(index.name).empty()) << Main::ToUtf8(index.name);
  }
  EXPECT_EQ(roots.size(), 5u);
  EXPECT_EQ(back.Problems(), "");
}

TEST_P(CreatorIndexes, TenThousandRowsMakeTreesThatFollowTheRows) {
  constexpr size_t kRows = 10000;
  const auto file = CreatorScratchDir() / "people.mdb";
  auto creator = CreateDatabase(file, GetParam());
  creator.AddTable(People());
  creator.InsertGenerated(u"People", kRows, [](size_t n, Row& row) { row = Person(n); });
  creator.Close();

  const auto database = Database::Open(file);
  std::map<std::pair<uint32_t, uint16_t>, Row> rows;
  const auto definition = database->Table(u"People");
  const auto cursor = database->Scan(definition);
  while (cursor->Next()) {
    Row& row = rows[{cursor->Id().page, cursor->Id().slot}];
    for (size_t column = 0; column < definition->columns.size(); ++column) row.push_back(cursor->Get(column));
  }
  ASSERT_EQ(rows.size(), kRows);
  const auto value = [&](const RowId& id, size_t column) { return rows.at({id.page, id.slot}).at(column); };

  const CreatedTable back(file, GetParam(), u"People");
  EXPECT_EQ(back.Problems(), "");
  EXPECT_TRUE(back.RootIsNode(u"PrimaryKey"));
  EXPECT_TRUE(back.RootIsNode(u"NamePostal"));

  const std::vector<RowId> byId = back.RowsInOrder(u"PrimaryKey");
  ASSERT_EQ(byId.size(), kRows);
  for (size_t n = 0; n < kRows; ++n) ASSERT_EQ(value(byId[n], 0).AsInteger(), static_cast<int64_t>(n + 1));

  const std::vector<RowId> byScore = back.RowsInOrder(u"Score");
  ASSERT_EQ(byScore.size(), kRows);
  for (size_t n = 1; n < kRows; ++n)
    ASSERT_GE(value(byScore[n - 1], 4).AsInteger(), value(byScore[n], 4).AsInteger()) << n;

  // Names ignoring case ascending; within one name, postal codes descending with the Nulls last.
  const std::vector<RowId> byName = back.RowsInOrder(u"NamePostal");
  ASSERT_EQ(byName.size(), kRows);
  for (size_t n = 1; n < kRows; ++n) {
    const std::string before = Lowered(value(byName[n - 1], 2));
    const std::string after = Lowered(value(byName[n], 2));
    ASSERT_LE(before, after) << n;
    if (before != after) continue;
    const Value previous = value(byName[n - 1], 3);
    const Value next = value(byName[n], 3);
    if (next.IsNull()) continue;
    ASSERT_FALSE(previous.IsNull()) << n;
    ASSERT_GE(previous.AsText(), next.AsText()) << n;
  }

  // Only the rows with a note have an entry in the index that ignores nulls.
  EXPECT_EQ(back.RowsInOrder(u"Note").size(), (kRows + 2) / 3);
}

TEST_P(CreatorIndexes, KeysOfEveryIndexableTypeAndOrderPassTheChecker) {
  const auto file = CreatorScratchDir() / "types.mdb";
  auto creator = CreateDatabase(file, GetParam());
  TableSpec table = Testing::EveryTypeTable(u"Every Type");
  for (const FieldSpec& field : table.fields) {
    if (field.type == FieldType::OleObject) continue;
    table.indexes.push_back({field.name + u" up", {{field.name}}});
    table.indexes.push_back({field.name + u" down", {{field.name, false}}});
  }
  creator.AddTable(table);
  creator.InsertRows(u"Every Type", Testing::EveryTypeRows());
  creator.Close();

  const CreatedTable back(file, GetParam(), u"Every Type");
  EXPECT_EQ(back.Table().physicalIndexes.size(), 2 * (table.fields.size() - 1));
  EXPECT_EQ(back.Problems(), "");
  // Every row has an entry in every index.
  for (const Index& index : back.Table().definition->indexes)
    EXPECT_EQ(back.RowsInOrder(index.name).size(), Testing::EveryTypeRows().size()) << Main::ToUtf8(index.name);
}

TEST_P(CreatorIndexes, DuplicateKeysInAUniqueIndexAreRefusedAndNothingIsWritten) {
  const auto folder = CreatorScratchDir();
  const auto make = [&](const char* name, std::vector<Row> rows, bool primaryKey) {
    auto creator = CreateDatabase(folder / name, GetParam());
    creator.AddTable({u"T", {{u"Code", FieldType::Text, 10}, {u"Other", FieldType::Integer}},
                      {{u"Code", {{u"Code"}, {u"Other"}}, primaryKey, !primaryKey}}});
    creator.InsertRows(u"T", rows);
    creator.Close();
  };
  // Case and trailing spaces do not tell keys apart.
  EXPECT_EQ(ErrorNumberOf([&] {
              make("case.mdb", {{Value::Text(u"abc"), Value::Integer(1)}, {Value::Text(u"ABC "), Value::Integer(1)}},
                   false);
            }),
            JetErrorNumber::kDuplicateKey);
  EXPECT_FALSE(std::filesystem::exists(folder / "case.mdb"));
  EXPECT_EQ(ErrorNumberOf([&] {
              make("pk.mdb", {{Value::Text(u"x"), Value::Integer(2)}, {Value::Text(u"X"), Value::Integer(2)}}, true);
            }),
            JetErrorNumber::kDuplicateKey);
  // Keys wholly Null may repeat in a unique index; partly Null keys still collide.
  EXPECT_EQ(ErrorNumberOf([&] { make("nulls.mdb", {{Value(), Value()}, {Value(), Value()}}, false); }), 0);
  EXPECT_EQ(ErrorNumberOf([&] {
              make("partly.mdb", {{Value(), Value::Integer(3)}, {Value(), Value::Integer(3)}}, false);
            }),
            JetErrorNumber::kDuplicateKey);
  // Different keys are fine.
  EXPECT_EQ(ErrorNumberOf([&] {
              make("fine.mdb", {{Value::Text(u"abc"), Value::Integer(1)}, {Value::Text(u"abd"), Value::Integer(1)}},
                   true);
            }),
            0);
  const CreatedTable back(folder / "fine.mdb", GetParam(), u"T");
  EXPECT_EQ(back.RowsInOrder(u"Code").size(), 2u);
  EXPECT_EQ(back.Problems(), "");
}

TEST_P(CreatorIndexes, NullsInAPrimaryKeyOrRequiredIndexAreRefusedRowByRow) {
  const auto file = CreatorScratchDir() / "nulls.mdb";
  auto creator = CreateDatabase(file, GetParam());
  creator.AddTable({u"T",
                    {{u"Id", FieldType::AutoNumber}, {u"Key", FieldType::Integer}, {u"Must", FieldType::Text, 5},
                     {u"Flag", FieldType::YesNo}},
                    {{u"PrimaryKey", {{u"Id"}, {u"Key"}}, true},
                     {u"Must", {{u"Must"}, {u"Flag"}}, false, false, false, true}}});
  EXPECT_EQ(ErrorNumberOf([&] { creator.InsertRow(u"T", {Value(), Value(), Value::Text(u"a"), Value()}); }), JetErrorNumber::kNullInIndex);
  EXPECT_EQ(ErrorNumberOf([&] { creator.InsertRow(u"T", {Value(), Value::Integer(1), Value(), Value()}); }), JetErrorNumber::kNullInIndex);
  // An AutoNumber numbers a Null and a Null Yes/No is No: neither is a Null key.
  creator.InsertRow(u"T", {Value(), Value::Integer(1), Value::Text(u"a"), Value()});
  creator.Close();

  const auto database = Database::Open(file);
  EXPECT_EQ(Testing::ReadAll(*database, u"T"),
            (Testing::Rows{{Value::Integer(1), Value::Integer(1), Value::Text(u"a"), Value::Boolean(false)}}));
  EXPECT_EQ(CreatedTable(file, GetParam(), u"T").Problems(), "");
}

TEST(CreatorIndexDeclarations, AreRefusedWhenAccessWouldRefuseThem) {
  const auto file = CreatorScratchDir() / "refused.mdb";
  auto creator = CreateDatabase(file, FileFormat::Jet4);
  const std::vector<FieldSpec> fields{{u"A", FieldType::Text, 10}, {u"B", FieldType::Memo},
                                      {u"C", FieldType::OleObject}};
  const auto add = [&](std::vector<IndexSpec> indexes) {
    return ErrorNumberOf([&] { creator.AddTable({u"T", fields, std::move(indexes)}); });
  };
  std::vector<IndexColumnSpec> eleven;
  for (int n = 0; n < 11; ++n) eleven.push_back({n % 2 == 0 ? u"A" : u"B"});
  EXPECT_EQ(add({{u"None", {}}}), Main::ErrorNumber::kTypeMismatch);
  EXPECT_EQ(add({{u"Eleven", eleven}}), Main::ErrorNumber::kTypeMismatch);
  EXPECT_EQ(add({{u"Missing", {{u"Z"}}}}), JetErrorNumber::kNoSuchColumn);
  EXPECT_EQ(add({{u"Twice", {{u"A"}, {u"a", false}}}}), Main::ErrorNumber::kTypeMismatch);
  EXPECT_EQ(add({{u"Ole", {{u"C"}}}}), Main::ErrorNumber::kTypeMismatch);
  EXPECT_EQ(add({{u"Same", {{u"A"}}}, {u"SAME", {{u"B"}}}}), Main::ErrorNumber::kTypeMismatch);
  EXPECT_EQ(add({{u"Key1", {{u"A"}}, true}, {u"Key2", {{u"B"}}, true}}), Main::ErrorNumber::kTypeMismatch);
  EXPECT_EQ(add({{u"", {{u"A"}}}}), Main::ErrorNumber::kTypeMismatch);
  // None of the refused tables was made; a Memo index is fine.
  EXPECT_EQ(add({{u"Memo", {{u"B"}, {u"A", false}}}}), 0);
  creator.Close();
  EXPECT_EQ(Database::Open(file)->Table(u"T")->indexes.size(), 1u);
}

}  // namespace
}  // namespace Jet
