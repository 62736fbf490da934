// The sample database the build puts beside the program: its tables, row counts and the dirty
// text it promises, made the same way every time.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <tuple>

#include "jet/Database.h"
#include "common/Text.h"
#include "tests/jet/create/CreatedDatabase.h"
#include "tests/jet/create/CreatedIndexes.h"
#include "tools/samplemaker/SampleDatabase.h"

namespace SampleMaker {
namespace {

using Main::Value;

std::vector<uint8_t> FileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

bool AnyText(const Jet::Testing::Rows& rows, size_t column, bool (*matches)(const std::u16string&)) {
  for (const Jet::Row& row : rows)
    if (row[column].kind() == Value::Kind::Text && matches(row[column].AsText())) return true;
  return false;
}

class SampleDatabase : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = Jet::Testing::CreatorScratchDir() / "sample.mdb";
    MakeSampleDatabase(file_);
    database_ = Jet::Database::Open(file_);
  }
  std::filesystem::path file_;
  std::unique_ptr<Jet::Database> database_;
};

TEST_F(SampleDatabase, HoldsItsTablesAndQuery) {
  EXPECT_EQ(database_->Info().format, Jet::FileFormat::Jet4);
  std::vector<std::pair<std::u16string, std::u16string>> user;
  for (const Jet::CatalogEntry& entry : database_->TablesRowset())
    if (entry.type != u"SYSTEM TABLE") user.emplace_back(entry.type, entry.name);
  EXPECT_EQ(user, (std::vector<std::pair<std::u16string, std::u16string>>{{u"TABLE", kArchive},
                                                                          {u"TABLE", kContacts},
                                                                          {u"TABLE", kCustomers},
                                                                          {u"TABLE", kProducts},
                                                                          {u"VIEW", u"Customer Phone List"}}));
  const size_t customers = Jet::Testing::ReadAll(*database_, kCustomers).size();
  const size_t products = Jet::Testing::ReadAll(*database_, kProducts).size();
  const size_t contacts = Jet::Testing::ReadAll(*database_, kContacts).size();
  EXPECT_EQ(customers, 240u);
  EXPECT_EQ(products, 36u);
  EXPECT_EQ(contacts, 60u);
  EXPECT_TRUE(Jet::Testing::ReadAll(*database_, kArchive).empty());
  EXPECT_GE(customers + products + contacts, 150u);
}

TEST_F(SampleDatabase, ShowsTheTextEveryCleaningOperationWorksOn) {
  const Jet::Testing::Rows customers = Jet::Testing::ReadAll(*database_, kCustomers);
  const auto definition = database_->Table(kCustomers);
  const size_t name = static_cast<size_t>(definition->FindColumn(u"FullName"));
  const size_t code = static_cast<size_t>(definition->FindColumn(u"CustomerCode"));
  const size_t notes = static_cast<size_t>(definition->FindColumn(u"Notes"));
  const size_t phone = static_cast<size_t>(definition->FindColumn(u"Phone"));
  const size_t joined = static_cast<size_t>(definition->FindColumn(u"Joined"));
  ASSERT_EQ(customers.front()[name], Value::Text(u"Mary O'Brien"));
  EXPECT_EQ(customers.front()[code], Value::Text(u"ID-00001"));
  EXPECT_EQ(definition->columns[notes].type, Jet::ColumnType::Memo);
  EXPECT_EQ(definition->columns[joined].type, Jet::ColumnType::DateTime);

  EXPECT_TRUE(AnyText(customers, name, [](const std::u16string& t) { return t.front() == u' '; }));
  EXPECT_TRUE(AnyText(customers, name, [](const std::u16string& t) { return t.back() == u' '; }));
  EXPECT_TRUE(AnyText(customers, name, [](const std::u16string& t) { return t.find(u"  ") != t.npos; }));
  EXPECT_TRUE(AnyText(customers, name, [](const std::u16string& t) { return t.find(u'\t') != t.npos; }));
  EXPECT_TRUE(AnyText(customers, name, [](const std::u16string& t) { return t.find(u"\r\n") != t.npos; }));
  EXPECT_TRUE(AnyText(customers, name, [](const std::u16string& t) { return t.find(u'ë') != t.npos; }));
  EXPECT_TRUE(AnyText(customers, name, [](const std::u16string& t) { return t.find(u'П') != t.npos; }));
  EXPECT_TRUE(AnyText(customers, name, [](const std::u16string& t) { return t == u"Sam2 Jones"; }));
  EXPECT_TRUE(AnyText(customers, code, [](const std::u16string& t) { return t.starts_with(u"key="); }));
  EXPECT_TRUE(AnyText(customers, notes, [](const std::u16string& t) { return t.size() > 1000; }));
  EXPECT_TRUE(AnyText(customers, notes, [](const std::u16string& t) { return t.find(u"St. John's Wood") != t.npos; }));
  EXPECT_TRUE(AnyText(customers, phone, [](const std::u16string& t) { return t == u"(555) 123-4567"; }));
  size_t nullPhones = 0;
  size_t nullNotes = 0;
  for (const Jet::Row& row : customers) {
    nullPhones += row[phone].IsNull();
    nullNotes += row[notes].IsNull();
  }
  EXPECT_GT(nullPhones, 0u);
  EXPECT_GT(nullNotes, 0u);
}

TEST_F(SampleDatabase, IndexesItsTablesAsARealCustomerFileDoes) {
  const auto customers = database_->Table(kCustomers);
  std::vector<std::tuple<std::u16string, bool, bool>> indexes;
  for (const Jet::Index& index : customers->indexes) indexes.emplace_back(index.name, index.primaryKey, index.unique);
  EXPECT_EQ(indexes, (std::vector<std::tuple<std::u16string, bool, bool>>{{u"PrimaryKey", true, true},
                                                                          {u"CustomerCode", false, true},
                                                                          {u"FullName", false, false},
                                                                          {u"City", false, false}}));
  for (const char16_t* table : {kCustomers, kProducts, kContacts, kArchive}) {
    EXPECT_TRUE(database_->Table(table)->indexes.front().primaryKey);
    const Jet::Testing::CreatedTable created(file_, Jet::FileFormat::Jet4, table);
    EXPECT_EQ(created.Problems(), "") << Main::ToUtf8(table);
  }
  // Every customer is found through the name index.
  EXPECT_EQ(Jet::Testing::CreatedTable(file_, Jet::FileFormat::Jet4, kCustomers).RowsInOrder(u"FullName").size(), 240u);
}

TEST_F(SampleDatabase, IsTheSameBytesEveryTime) {
  const auto again = file_.parent_path() / "again.mdb";
  MakeSampleDatabase(again);
  EXPECT_EQ(FileBytes(file_), FileBytes(again));
#ifdef QUORVANE_BUILT_SAMPLE
  // The copy the build made beside the program.
  if (std::filesystem::exists(QUORVANE_BUILT_SAMPLE)) {
    EXPECT_EQ(FileBytes(QUORVANE_BUILT_SAMPLE), FileBytes(file_));
  }
#endif
}

}  // namespace
}  // namespace SampleMaker
