#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/Error.h"
#include "common/Text.h"
#include "database/access/Connection.h"
#include "database/access/ConnectionString.h"
#include "database/access/RecordSet.h"
#include "jet/Creator.h"
#include "tests/support/DatabaseFiles.h"

namespace Access {
namespace {

using Main::Value;

// A generated database with one table of names and quantities, reached through the access layer.
class WritePathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = Jet::Testing::ScratchDir() / "people.mdb";
    auto db = Jet::CreateDatabase(file_, Jet::FileFormat::Jet4);
    db.AddTable({u"People", {{u"Name", Jet::FieldType::Text, 40}, {u"Qty", Jet::FieldType::LongInteger}}});
    db.InsertRows(u"People", {{Value::Text(u"abc"), Value::Integer(5)},
                              {Value::Text(u"bc"), Value::Integer(7)},
                              {Value::Text(u"abc"), Value::Null()},
                              {Value::Text(u"St. John's Wood"), Value::Integer(5)},
                              {Value::Text(u"ST. JOHN'S WOOD"), Value::Integer(6)}});
    db.Close();
  }

  std::u16string ConnectionText() const {
    return u"PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=" +
           QuoteConnectionValue(Testing::PathText(file_)) + u";JET OLEDB:Database Password=";
  }

  std::unique_ptr<Connection> Open(int mode) const {
    auto connection = std::make_unique<Connection>();
    connection->SetMode(mode);
    connection->Open(ConnectionText());
    return connection;
  }

  std::vector<std::u16string> Names() const {
    auto connection = Open(0);
    RecordSet records;
    records.Open(u"SELECT `Name` FROM `People`", *connection);
    std::vector<std::u16string> names;
    for (; !records.Eof(); records.MoveNext()) names.push_back(records.Value(0).ToText());
    return names;
  }

  std::string Bytes() const {
    std::ifstream in(file_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  std::filesystem::path file_;
};

TEST_F(WritePathTest, UpdateChangesTheCurrentRecordAndNoOther) {
  {
    auto connection = Open(kModeReadWrite);
    RecordSet records;
    records.Open(u"SELECT `Name` FROM `People`", *connection);
    const size_t count = records.RecordCount();
    // Drop the first character of every record, each written to its own record: abc and bc
    // become bc and c, and the second abc is changed once, not twice.
    for (; !records.Eof(); records.MoveNext()) {
      const std::u16string old = records.Value(0).ToText();
      records.SetValue(0, Value::Text(old.substr(1) + u"-grown-past-its-old-length"));
      records.Update();
      EXPECT_EQ(records.Value(0).ToText(), old.substr(1) + u"-grown-past-its-old-length");
    }
    EXPECT_EQ(records.RecordCount(), count);  // the snapshot holds the same records
    connection->Close();
  }
  EXPECT_EQ(Names(), (std::vector<std::u16string>{
                         u"bc-grown-past-its-old-length", u"c-grown-past-its-old-length",
                         u"bc-grown-past-its-old-length", u"t. John's Wood-grown-past-its-old-length",
                         u"T. JOHN'S WOOD-grown-past-its-old-length"}));
}

TEST_F(WritePathTest, TextIsConvertedToTheFieldsTypeOrRefused) {
  auto connection = Open(kModeReadWrite);
  RecordSet records;
  records.Open(u"SELECT `Qty` FROM `People`", *connection);
  records.SetValue(0, Value::Text(u"42"));
  records.Update();
  EXPECT_EQ(records.Value(0), Value::Integer(42));
  records.MoveNext();
  records.SetValue(0, Value::Text(u"many"));
  EXPECT_THROW(records.Update(), Main::Error);
  EXPECT_EQ(records.Value(0), Value::Integer(7));
}

TEST_F(WritePathTest, PendingValuesTakeTheLastSetPerFieldAndAreGoneAfterAFailedUpdate) {
  auto connection = Open(kModeReadWrite);
  RecordSet records;
  records.Open(u"SELECT * FROM `People`", *connection);
  // Set in reverse field order, one field twice: both fields change, the later value wins.
  records.SetValue(1, Value::Text(u"11"));
  records.SetValue(0, Value::Text(u"first"));
  records.SetValue(1, Value::Text(u"12"));
  records.Update();
  EXPECT_EQ(records.Value(0), Value::Text(u"first"));
  EXPECT_EQ(records.Value(1), Value::Integer(12));
  // A refused value is not kept for the next Update.
  records.SetValue(1, Value::Text(u"many"));
  EXPECT_THROW(records.Update(), Main::Error);
  records.SetValue(0, Value::Text(u"second"));
  records.Update();
  EXPECT_EQ(records.Value(0), Value::Text(u"second"));
  EXPECT_EQ(records.Value(1), Value::Integer(12));
  // Moving on drops what was set and not updated.
  records.SetValue(0, Value::Text(u"never written"));
  records.MoveNext();
  records.Update();
  EXPECT_EQ(records.Value(0), Value::Text(u"bc"));
  connection->Close();
  EXPECT_EQ(Names()[0], u"second");
}

TEST_F(WritePathTest, RecordSetsOfTwoTablesReadInTurnGiveEachTheirOwnValues) {
  const auto file = Jet::Testing::ScratchDir() / "two_tables.mdb";
  {
    auto db = Jet::CreateDatabase(file, Jet::FileFormat::Jet4);
    db.AddTable({u"Left", {{u"Id", Jet::FieldType::LongInteger}, {u"Word", Jet::FieldType::Text, 60}}});
    db.AddTable({u"Right", {{u"Word", Jet::FieldType::Text, 60}, {u"Id", Jet::FieldType::LongInteger}}});
    for (const std::u16string table : {u"Left", u"Right"}) {
      db.InsertGenerated(table, 300, [&](size_t n, Jet::Row& row) {
        const Value id = Value::Integer(static_cast<int64_t>(n));
        const Value word = Value::Text(table + Main::FormatInteger(static_cast<int64_t>(n)));
        row = table == u"Left" ? Jet::Row{id, word} : Jet::Row{word, id};
      });
    }
    db.Close();
  }
  Connection connection;
  connection.SetMode(kModeReadWrite);
  connection.Open(u"PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=" + QuoteConnectionValue(Testing::PathText(file)));
  RecordSet left, right;
  left.Open(u"SELECT `Word` FROM `Left`", connection);
  right.Open(u"SELECT * FROM `Right`", connection);
  ASSERT_EQ(left.RecordCount(), 300u);
  ASSERT_EQ(right.RecordCount(), 300u);
  for (int64_t n = 0; !left.Eof(); ++n, left.MoveNext(), right.MoveNext()) {
    const std::u16string number = Main::FormatInteger(n);
    ASSERT_EQ(left.Value(0), Value::Text(u"Left" + number));
    ASSERT_EQ(right.Value(1), Value::Integer(n));
    // Every third row grows past its page's room and moves; it reads back from where it went.
    if (n % 3 == 0) {
      right.SetValue(0, Value::Text(u"Right" + number + std::u16string(50, u'+')));
      right.Update();
    }
    ASSERT_EQ(right.Value(0).ToText().substr(0, 5 + number.size()), u"Right" + number);
    ASSERT_EQ(left.Value(0), Value::Text(u"Left" + number));
  }
}

TEST_F(WritePathTest, ReadOnlyConnectionRefusesEveryChangeAndLeavesTheFileAlone) {
  const std::string before = Bytes();
  auto connection = Open(0);
  RecordSet records;
  records.Open(u"SELECT `Name` FROM `People`", *connection);
  records.SetValue(0, Value::Text(u"x"));
  EXPECT_THROW(records.Update(), Main::Error);
  EXPECT_THROW(connection->Execute(u"update [People] set [Name]='x' where [Name]='abc'"), Main::Error);
  RecordSet readOnly;
  auto writable = Open(kModeReadWrite);
  readOnly.Open(u"SELECT `Name` FROM `People`", *writable, kCursorStatic, kLockReadOnly);
  EXPECT_THROW(readOnly.SetValue(0, Value::Text(u"x")), Main::Error);
  writable->Close();
  connection->Close();
  EXPECT_EQ(Bytes(), before);
}

TEST_F(WritePathTest, ExecuteUpdatesEveryRowEqualIgnoringCase) {
  auto connection = Open(kModeReadWrite);
  connection->Execute(u"update [People] set [Name]='Wood' where [Name]='st. john''s wood'");
  connection->Execute(u"UPDATE [People] SET [Qty]='1' WHERE [Qty]='5.0'");
  connection->Execute(u"SELECT `Qty` FROM `People`");  // checks, changes nothing
  connection->Close();
  EXPECT_EQ(Names(), (std::vector<std::u16string>{u"abc", u"bc", u"abc", u"Wood", u"Wood"}));
  auto reader = Open(0);
  RecordSet records;
  records.Open(u"SELECT `Qty` FROM `People`", *reader);
  std::vector<std::u16string> quantities;
  for (; !records.Eof(); records.MoveNext()) quantities.push_back(records.Value(0).ToText());
  EXPECT_EQ(quantities, (std::vector<std::u16string>{u"1", u"7", u"", u"1", u"6"}));
}

TEST_F(WritePathTest, ExecuteRefusesWhatItCannotDoBeforeChangingAnything) {
  const std::string before = Bytes();
  auto connection = Open(kModeReadWrite);
  for (const std::u16string_view sql : {
           u"update [People] set [Qty]='1' where [Qty]='many'",      // criteria type mismatch
           u"update [People] set [Nope]='1' where [Qty]='5'",        // unknown field
           u"update [Nobody] set [Qty]='1' where [Qty]='5'",         // unknown table
           u"update [People] set [Name]='it's' where [Name]='abc'",  // an apostrophe ends the literal
           u"delete from [People]"}) {
    EXPECT_THROW(connection->Execute(sql), Main::Error) << std::string(sql.begin(), sql.end());
  }
  connection->Close();
  EXPECT_EQ(Bytes(), before);
}

TEST_F(WritePathTest, ASecondWriterIsRefused) {
  auto first = Open(kModeReadWrite);
  try {
    Open(kModeReadWrite);
    ADD_FAILURE() << "two writers";
  } catch (const Main::Error& e) {
    EXPECT_NE(e.Description().find(u"in use"), std::u16string::npos);
  }
  first->Close();
  EXPECT_NO_THROW(Open(kModeReadWrite)->Close());
}

}  // namespace
}  // namespace Access
