#include "database/access/RecordSet.h"

#include <gtest/gtest.h>

#include "common/DateTime.h"
#include "common/Error.h"
#include "database/access/AdoDataType.h"
#include "database/access/Connection.h"
#include "database/access/ConnectionString.h"
#include "tests/support/DatabaseFiles.h"

namespace Access {
namespace {

std::u16string JetString(const std::u16string& path) {
  return u"PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=" + QuoteConnectionValue(path) +
         u";JET OLEDB:Database Password=";
}

// A connection opened on a corpus file; the test skips when the corpus is absent.
class CorpusRecordSetTest : public ::testing::Test {
 protected:
  // A skip inside OpenCorpus would only leave OpenCorpus, so the test body skips from here.
  void SetUp() override {
    if (Testing::CorpusFile("V2000/testV2000.mdb").empty()) GTEST_SKIP() << "the corpus is absent";
  }
  void OpenCorpus(const std::string& file, std::u16string_view prefix =
                                               u"PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=") {
    const std::u16string path = Testing::CorpusFile(file);
    if (path.empty()) GTEST_SKIP() << "the corpus is absent";
    connection.Open(std::u16string(prefix) + QuoteConnectionValue(path) +
                    u";JET OLEDB:Database Password=");
  }
  Connection connection;
};

TEST_F(CorpusRecordSetTest, SelectAllGivesFieldsInColumnOrderAndEveryRecord) {
  OpenCorpus("V2000/testV2000.mdb");
  RecordSet records;
  records.Open(u"SELECT * FROM `Table1`", connection);
  ASSERT_EQ(records.FieldCount(), 9u);
  const std::u16string names[] = {u"A", u"B", u"C", u"D", u"E", u"F", u"G", u"H", u"I"};
  for (size_t i = 0; i < 9; ++i) EXPECT_EQ(records.FieldName(i), names[i]);
  EXPECT_EQ(records.FieldType(0), AdoType::kVarWChar);
  EXPECT_EQ(records.FieldType(2), AdoType::kUnsignedTinyInt);
  EXPECT_EQ(records.FieldType(3), AdoType::kSmallInt);
  EXPECT_EQ(records.FieldType(4), AdoType::kInteger);
  EXPECT_EQ(records.FieldType(5), AdoType::kDouble);
  EXPECT_EQ(records.FieldType(6), AdoType::kDate);
  EXPECT_EQ(records.FieldType(7), AdoType::kCurrency);
  EXPECT_EQ(records.FieldType(8), AdoType::kBoolean);

  ASSERT_FALSE(records.Eof());
  EXPECT_EQ(records.Value(0), Main::Value::Text(u"abcdefg"));
  EXPECT_EQ(records.Value(u"b"), Main::Value::Text(u"hijklmnop"));  // names ignore case
  EXPECT_EQ(records.Value(u"E").ToText(), u"333333333");
  EXPECT_EQ(records.Value(u"G").ToText(), u"1974-09-21");
  EXPECT_EQ(records.Value(u"H").ToText(), u"3.5");
  EXPECT_EQ(records.Value(u"I"), Main::Value::Boolean(true));
  records.MoveNext();
  EXPECT_EQ(records.Value(0), Main::Value::Text(u"a"));
  records.MoveNext();
  EXPECT_TRUE(records.Eof());
  EXPECT_EQ(records.RecordCount(), 2u);
  EXPECT_THROW(records.MoveNext(), Main::Error);
  EXPECT_THROW(records.Value(0), Main::Error);
  records.Close();
  EXPECT_FALSE(records.IsOpen());
}

TEST_F(CorpusRecordSetTest, CountFirstThenReadGivesTheSameRecords) {
  OpenCorpus("V2000/testV2000.mdb");
  RecordSet counted, walked;
  counted.Open(u"SELECT `A` FROM `Table1`", connection);
  walked.Open(u"SELECT [A] FROM [Table1]", connection);
  EXPECT_EQ(counted.RecordCount(), 2u);  // reads every row id before the first value
  while (!walked.Eof()) {
    ASSERT_FALSE(counted.Eof());
    EXPECT_EQ(counted.Value(0), walked.Value(0));
    counted.MoveNext();
    walked.MoveNext();
  }
  EXPECT_TRUE(counted.Eof());
}

TEST_F(CorpusRecordSetTest, AceFileOpensThroughEitherProvider) {
  OpenCorpus("V2007/testV2007.accdb", u"Provider=Microsoft.ACE.OLEDB.12.0;Data Source=");
  RecordSet records;
  records.Open(u"SELECT `A` FROM `Table1`", connection);
  EXPECT_EQ(records.FieldCount(), 1u);
  EXPECT_FALSE(records.Eof());
  EXPECT_GT(records.RecordCount(), 0u);
}

TEST_F(CorpusRecordSetTest, SchemaRowsetListsTablesWithTheirTypes) {
  OpenCorpus("V2000/testV2000.mdb");
  RecordSet schema = connection.OpenSchema(kSchemaTables);
  std::vector<std::u16string> userTables;
  bool sawSystemTable = false;
  while (!schema.Eof()) {
    const std::u16string type = schema.Value(u"TABLE_TYPE").AsText();
    if (type == u"TABLE") userTables.push_back(schema.Value(u"TABLE_NAME").AsText());
    if (type == u"SYSTEM TABLE") sawSystemTable = true;
    schema.MoveNext();
  }
  EXPECT_EQ(userTables, (std::vector<std::u16string>{u"Table1", u"Table2", u"Table3", u"Table4"}));
  EXPECT_TRUE(sawSystemTable);
}

TEST_F(CorpusRecordSetTest, UnknownTableOrFieldIsNamed) {
  OpenCorpus("V2000/testV2000.mdb");
  RecordSet records;
  try {
    records.Open(u"SELECT * FROM `Nope`", connection);
    ADD_FAILURE();
  } catch (const Main::Error& e) {
    EXPECT_NE(e.Description().find(u"Nope"), std::u16string::npos);
  }
  try {
    records.Open(u"SELECT `Zed` FROM `Table1`", connection);
    ADD_FAILURE();
  } catch (const Main::Error& e) {
    EXPECT_NE(e.Description().find(u"'Zed'"), std::u16string::npos);
    EXPECT_NE(e.Description().find(u"'Table1'"), std::u16string::npos);
  }
  EXPECT_THROW(records.Open(u"SELECT A, B FROM Table1", connection), Main::Error);
  EXPECT_FALSE(records.IsOpen());
}

TEST(Connection, UnknownProviderIsReportedAsMissing) {
  Connection connection;
  try {
    connection.Open(u"Provider=SQLOLEDB;Data Source=x.mdb");
    ADD_FAILURE();
  } catch (const Main::Error& e) {
    EXPECT_EQ(e.Number(), 3706);
    EXPECT_NE(e.Description().find(u"Provider cannot be found"), std::u16string::npos);
  }
  EXPECT_FALSE(connection.IsOpen());
}

TEST(Connection, MissingFileAndClosedObjectsFailClearly) {
  Connection connection;
  EXPECT_THROW(connection.Open(JetString(u"/nonexistent/folder/db.mdb")), Main::Error);
  EXPECT_FALSE(connection.IsOpen());
  EXPECT_THROW(connection.OpenSchema(kSchemaTables), Main::Error);
  EXPECT_THROW(connection.Close(), Main::Error);
  RecordSet records;
  EXPECT_THROW(records.Open(u"SELECT * FROM `t`", connection), Main::Error);
  EXPECT_THROW(records.Eof(), Main::Error);
}

TEST(Connection, FactoryCanBeReplaced) {
  auto previous = InstallConnectionFactory(
      []() -> std::unique_ptr<Connection> { throw Main::Error(3706, "Provider cannot be found."); });
  EXPECT_THROW(CreateConnection(), Main::Error);
  InstallConnectionFactory(previous);
  EXPECT_NE(CreateConnection(), nullptr);
}

}  // namespace
}  // namespace Access
