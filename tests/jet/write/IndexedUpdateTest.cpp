// Changing indexed fields: the refusals of unique indexes, primary keys and enforced relationships
// (each leaving the file byte for byte as it was), and the indexes checked against their rows
// after every change that is made.
#include <gtest/gtest.h>

#include "common/Text.h"
#include "jet/Creator.h"
#include "jet/JetError.h"
#include "jet/index/IndexTree.h"
#include "tests/jet/write/IndexProblems.h"
#include "tests/jet/write/WriterFixture.h"

namespace Jet {
namespace {

using Main::Value;
using Testing::IndexProblems;
using Testing::OpenForWriting;
using Testing::RefusalNumber;
using Testing::RowAt;
using Testing::WritableCopy;

size_t Column(const TableDefinition& table, const char16_t* name) {
  const int position = table.FindColumn(name);
  EXPECT_GE(position, 0) << Main::ToUtf8(name);
  return static_cast<size_t>(position);
}

// The row of the table whose `column` holds the whole number `value`.
RowId RowWith(const Database& database, std::shared_ptr<const TableDefinition> table, size_t column, int64_t value) {
  auto cursor = database.Scan(table);
  while (cursor->Next())
    if (!cursor->IsNull(column) && cursor->Get(column).ToText() == Main::FromUtf8(std::to_string(value)))
      return cursor->Id();
  ADD_FAILURE() << "no row with " << value;
  return {};
}

// Files with Long primary keys and two enforced relationships: Table1.otherfk1 refers to
// Table2.id (cascading deletes only), Table1.otherfk2 to Table3.id (cascading updates).
const char* const kRelationshipFiles[] = {"V1997/indexTestV1997.mdb", "V2000/indexTestV2000.mdb",
                                          "V2007/indexTestV2007.accdb"};

TEST(IndexedUpdate, RelationshipsAndKeysRefuseAsAccessDoesAndLeaveTheFileAsItWas) {
  QUORVANE_REQUIRE_CORPUS();
  for (const char* name : kRelationshipFiles) {
    SCOPED_TRACE(name);
    const auto file = WritableCopy(name);
    const auto original = Testing::ReadBytes(file);
    auto database = OpenForWriting(file);
    const auto table1 = database->Table(u"Table1");
    const auto table2 = database->Table(u"Table2");
    const auto table3 = database->Table(u"Table3");
    std::u16string message;

    // A referring key its referenced table lacks.
    const size_t fk1 = Column(*table1, u"otherfk1");
    EXPECT_EQ(RefusalNumber([&] { database->UpdateValue(*table1, RowWith(*database, table1, fk1, 0), fk1, Value::Integer(7)); },
                            &message),
              JetErrorNumber::kRelatedRecordRequired);
    EXPECT_EQ(message, u"You cannot add or change a record because a related record is required in table 'Table2'.");

    // A referenced key that rows of another table still refer to.
    const size_t id2 = Column(*table2, u"id");
    EXPECT_EQ(RefusalNumber([&] { database->UpdateValue(*table2, RowWith(*database, table2, id2, 1), id2, Value::Integer(5)); },
                            &message),
              JetErrorNumber::kRelatedRecordsExist);
    EXPECT_EQ(message, u"The record cannot be deleted or changed because table 'Table1' includes related records.");

    // The same where the relationship would cascade the change: not done, said so.
    const size_t id3 = Column(*table3, u"id");
    EXPECT_EQ(RefusalNumber([&] { database->UpdateValue(*table3, RowWith(*database, table3, id3, 11), id3, Value::Integer(15)); },
                            &message),
              JetErrorNumber::kNotSupported);
    EXPECT_NE(message.find(u"cascades updates to table 'Table1'"), std::u16string::npos) << Main::ToUtf8(message);

    // Another row's primary key, and Null in a primary key.
    const size_t id1 = Column(*table1, u"id");
    EXPECT_EQ(RefusalNumber([&] { database->UpdateValue(*table1, RowWith(*database, table1, id1, 0), id1, Value::Integer(3)); }),
              JetErrorNumber::kDuplicateKey);
    EXPECT_EQ(RefusalNumber([&] { database->UpdateValue(*table1, RowWith(*database, table1, id1, 0), id1, Value::Null()); }),
              JetErrorNumber::kNullInIndex);

    database->Close();
    EXPECT_EQ(Testing::ReadBytes(file), original);
  }
}

TEST(IndexedUpdate, KeysMoveThroughTheIndexesAndEveryIndexStillMatchesItsRows) {
  QUORVANE_REQUIRE_CORPUS();
  for (const char* name : kRelationshipFiles) {
    SCOPED_TRACE(name);
    const auto file = WritableCopy(name);
    {
      auto database = OpenForWriting(file);
      const auto table1 = database->Table(u"Table1");
      const auto table3 = database->Table(u"Table3");
      const size_t fk1 = Column(*table1, u"otherfk1");
      const size_t id1 = Column(*table1, u"id");
      const size_t id3 = Column(*table3, u"id");
      // A referring key to another row the referenced table has; a primary key moved past every
      // other; a referenced key no row refers to, although its relationship cascades.
      database->UpdateValue(*table1, RowWith(*database, table1, fk1, 0), fk1, Value::Integer(2));
      database->UpdateValue(*table1, RowWith(*database, table1, id1, 0), id1, Value::Integer(1000));
      database->UpdateValue(*table1, RowWith(*database, table1, id1, 2), id1, Value::Integer(-5));
      database->UpdateValue(*table3, RowWith(*database, table3, id3, 12), id3, Value::Integer(120));
      // A referring key set to Null: nothing to refer to.
      database->UpdateValue(*table1, RowWith(*database, table1, id1, 1000), fk1, Value::Null());
      database->Close();
    }
    EXPECT_EQ(IndexProblems(file), std::vector<std::string>{});
    auto database = Database::Open(file);
    const auto table1 = database->Table(u"Table1");
    const size_t id1 = Column(*table1, u"id");
    const RowId moved = RowWith(*database, table1, id1, 1000);
    EXPECT_TRUE(database->ReadRow(*table1, moved)[Column(*table1, u"otherfk1")].IsNull());
    (void)RowWith(*database, table1, id1, -5);
    (void)RowWith(*database, database->Table(u"Table3"), 0, 120);
  }
}

// A Jet4 file whose table People has 2,000 rows and a unique index on Code.
std::filesystem::path PeopleFile() {
  const auto file = Testing::ScratchDir() / "people.mdb";
  auto creator = CreateDatabase(file, FileFormat::Jet4);
  TableSpec table{u"People", {{u"Code", FieldType::Text, 20}, {u"Name", FieldType::Text, 40}}};
  table.indexes = {IndexSpec{u"Code", {{u"Code"}}, false, true}};
  creator.AddTable(table);
  creator.InsertGenerated(u"People", 2000, [](size_t n, Row& row) {
    row = {Value::Text(Main::FromUtf8("C" + std::to_string(100000 + n))), Value::Text(u"someone")};
  });
  creator.Close();
  return file;
}

// Takes the first `count` entries out of the index's first leaf, as a writer killed between a
// row and its index entry (or worse) would leave it.
void DropFirstEntries(const std::filesystem::path& file, size_t count) {
  uint32_t leafNumber = 0;
  std::vector<uint8_t> leafBytes;
  {
    OpenDatabase database(file, {});
    const auto definition = database.Table(u"People");
    const auto layout = database.Layout(definition->definitionPage, definition->name);
    const IndexTree tree(database.Pages(), database.Format(), layout->physicalIndexes.at(0).firstPage);
    leafNumber = tree.PathTo(IndexEntry{}).back();
    IndexPage leaf = tree.ReadPage(leafNumber);
    ASSERT_TRUE(leaf.leaf);
    ASSERT_GT(leaf.entries.size(), count);
    leaf.entries.erase(leaf.entries.begin(), leaf.entries.begin() + static_cast<std::ptrdiff_t>(count));
    leafBytes = EncodeIndexPage(leaf, IndexPageLayoutOf(database.Format()));
  }
  auto bytes = Testing::ReadBytes(file);
  std::copy(leafBytes.begin(), leafBytes.end(), bytes.begin() + static_cast<std::ptrdiff_t>(leafNumber) * 4096);
  Testing::WriteBytes(file, bytes);
}

TEST(IndexRepair, AnIndexOneRowOutOfStepIsRebuiltBeforeTheTablesFirstChange) {
  const auto file = PeopleFile();
  DropFirstEntries(file, 1);
  ASSERT_EQ(IndexProblems(file).size(), 1u);
  {
    auto database = OpenForWriting(file);
    const auto table = database->Table(u"People");
    database->UpdateText(*table, RowAt(*database, table, 5), 1, u"someone else");
    database->Close();
  }
  EXPECT_EQ(IndexProblems(file), std::vector<std::string>{});
}

TEST(IndexRepair, AnIndexOutOfStepWithSeveralRowsRefusesEveryChangeAndWritesNothing) {
  const auto file = PeopleFile();
  DropFirstEntries(file, 2);
  const auto damaged = Testing::ReadBytes(file);
  auto database = OpenForWriting(file);
  const auto table = database->Table(u"People");
  std::u16string message;
  EXPECT_EQ(RefusalNumber([&] { database->UpdateText(*table, RowAt(*database, table, 5), 1, u"x"); }, &message),
            JetErrorNumber::kCorrupt);
  EXPECT_EQ(message, u"The index 'Code' of table 'People' is damaged; repair the database in Access (Compact and Repair) first.");
  database->Close();
  EXPECT_EQ(Testing::ReadBytes(file), damaged);
}

}  // namespace
}  // namespace Jet
