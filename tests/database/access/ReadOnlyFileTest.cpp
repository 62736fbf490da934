// Databases that cannot be written, opened through a read-write connection, and the causes the
// write path's refusals carry.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "common/Error.h"
#include "database/access/Connection.h"
#include "database/access/ConnectionString.h"
#include "database/access/RecordSet.h"
#include "jet/Creator.h"
#include "jet/JetError.h"
#include "tests/support/DatabaseFiles.h"

namespace Access {
namespace {

using Main::ErrorCause;
using Main::Value;
namespace fs = std::filesystem;

constexpr fs::perms kReadOnlyFile = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
constexpr fs::perms kReadOnlyFolder = kReadOnlyFile | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;

// A generated database of one table: a counter, a name, a photo and three long texts.
class ReadOnlyFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = Jet::Testing::ScratchDir();
    file_ = folder_ / "people.mdb";
    auto db = Jet::CreateDatabase(file_, Jet::FileFormat::Jet4);
    db.AddTable({u"People",
                 {{u"Id", Jet::FieldType::AutoNumber},
                  {u"Name", Jet::FieldType::Text, 10},
                  {u"Qty", Jet::FieldType::LongInteger},
                  {u"Photo", Jet::FieldType::OleObject},
                  {u"A", Jet::FieldType::Text, 255},
                  {u"B", Jet::FieldType::Text, 255},
                  {u"C", Jet::FieldType::Text, 255},
                  {u"D", Jet::FieldType::Text, 255},
                  {u"E", Jet::FieldType::Text, 255},
                  {u"F", Jet::FieldType::Text, 255},
                  {u"G", Jet::FieldType::Text, 255},
                  {u"H", Jet::FieldType::Text, 255},
                  {u"I", Jet::FieldType::Text, 255}}});
    for (const char16_t* name : {u"Ann", u"Bob"}) {
      db.InsertRow(u"People", {Value::Null(), Value::Text(name), Value::Integer(1), Value::Binary({1, 2}),
                               Value::Null(), Value::Null(), Value::Null(), Value::Null(), Value::Null(),
                               Value::Null(), Value::Null(), Value::Null(), Value::Null()});
    }
    db.Close();
  }

  void TearDown() override { fs::permissions(folder_, fs::perms::owner_all); }

  std::unique_ptr<Connection> Open(int mode) const {
    auto connection = std::make_unique<Connection>();
    connection->SetMode(mode);
    connection->Open(u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" +
                     QuoteConnectionValue(::Testing::PathText(file_)) + u";Jet OLEDB:Database Password=");
    return connection;
  }

  // The cause of what `action` throws; fails the test when it throws nothing.
  static ErrorCause CauseOf(const std::function<void()>& action, long* number = nullptr) {
    try {
      action();
    } catch (const Main::Error& error) {
      if (number != nullptr) *number = error.Number();
      return error.Cause();
    }
    ADD_FAILURE() << "nothing was refused";
    return ErrorCause::kUnspecified;
  }

  std::vector<std::u16string> TableNames(Connection& connection) const {
    RecordSet rows = connection.OpenSchema(kSchemaTables);
    std::vector<std::u16string> names;
    for (; !rows.Eof(); rows.MoveNext()) names.push_back(rows.Value(u"TABLE_NAME").ToText());
    return names;
  }

  fs::path folder_;
  fs::path file_;
};

// Browsing a file the user may only read: the listing, the fields and the values are all there;
// every change is refused with the Access engine's text and nothing reaches the file.
TEST_F(ReadOnlyFileTest, AFileWithoutWritePermissionOpensReadOnlyForBrowsing) {
  fs::permissions(file_, kReadOnlyFile);
  const auto before = Jet::Testing::ReadBytes(file_);
  auto connection = Open(kModeReadWrite);
  EXPECT_TRUE(connection->IsReadOnly());
  EXPECT_EQ(connection->ReadOnlyReason(), u"Cannot update. Database or object is read-only.");
  EXPECT_EQ(connection->Mode(), kModeReadWrite);
  EXPECT_NE(std::find(TableNames(*connection).begin(), TableNames(*connection).end(), u"People"),
            TableNames(*connection).end());
  RecordSet records;
  records.Open(u"SELECT `Name` FROM `People`", *connection);
  EXPECT_EQ(records.FieldName(0), u"Name");
  EXPECT_EQ(records.RecordCount(), 2u);
  EXPECT_EQ(records.Value(0), Value::Text(u"Ann"));
  records.SetValue(0, Value::Text(u"Eve"));
  try {
    records.Update();
    ADD_FAILURE() << "a read-only file was changed";
  } catch (const Main::Error& error) {
    EXPECT_EQ(error.Number(), Jet::JetErrorNumber::kReadOnly);
    EXPECT_EQ(error.Description(), u"Cannot update. Database or object is read-only.");
    EXPECT_EQ(error.Cause(), ErrorCause::kReadOnly);
  }
  EXPECT_EQ(records.Value(0), Value::Text(u"Ann"));
  records.Close();
  connection->Close();
  // A second read-write connection finds no lock left behind and falls back the same way.
  auto again = Open(kModeReadWrite);
  EXPECT_TRUE(again->IsReadOnly());
  again->Close();
  EXPECT_EQ(Jet::Testing::ReadBytes(file_), before);
}

TEST_F(ReadOnlyFileTest, AFileInAReadOnlyFolderOpensReadOnlyAndAWritableOneDoesNot) {
  EXPECT_FALSE(Open(kModeReadWrite)->IsReadOnly());
  EXPECT_TRUE(Open(kModeRead)->IsReadOnly());
  fs::permissions(folder_, kReadOnlyFolder);
  auto connection = Open(kModeReadWrite);
  EXPECT_TRUE(connection->IsReadOnly());
  RecordSet records;
  records.Open(u"SELECT `Qty` FROM `People`", *connection);
  EXPECT_EQ(records.Value(0), Value::Integer(1));
  EXPECT_EQ(CauseOf([&] { connection->Execute(u"update [People] set [Qty]='2' where [Qty]='1'"); }),
            ErrorCause::kReadOnly);
  EXPECT_THROW(Connection().IsReadOnly(), Main::Error);  // a closed connection cannot tell
}

TEST_F(ReadOnlyFileTest, AFileAnotherProgramWritesStillFails) {
  auto writer = Open(kModeReadWrite);
  ASSERT_FALSE(writer->IsReadOnly());
  long number = 0;
  EXPECT_EQ(CauseOf([&] { Open(kModeReadWrite); }, &number), ErrorCause::kUnspecified);
  EXPECT_EQ(number, Jet::JetErrorNumber::kDatabaseInUse);
  EXPECT_TRUE(Open(kModeRead)->IsReadOnly());  // it can still be read
  writer->Close();
}

// A caller that goes on after a refusal must tell one record's failure from a field's: the
// numbers alone do not (3251 is both), the causes do.
TEST_F(ReadOnlyFileTest, RefusalsSayWhetherTheyConcernTheFieldOrTheRecord) {
  auto connection = Open(kModeReadWrite);
  const auto write = [&](const char16_t* field, const Value& value) {
    return CauseOf([&] {
      RecordSet records;
      records.Open(u"SELECT `" + std::u16string(field) + u"` FROM `People`", *connection);
      records.SetValue(0, value);
      records.Update();
    });
  };
  EXPECT_EQ(write(u"Id", Value::Text(u"7")), ErrorCause::kFieldCannotChange);
  EXPECT_EQ(write(u"Photo", Value::Text(u"x")), ErrorCause::kFieldCannotChange);
  EXPECT_EQ(write(u"Qty", Value::Text(u"many")), ErrorCause::kRecordValue);
  EXPECT_EQ(write(u"Qty", Value::Text(u"99999999999")), ErrorCause::kRecordValue);
  EXPECT_EQ(write(u"Name", Value::Text(u"far too long a name")), ErrorCause::kRecordValue);

  // Seven full fields of 510 bytes fit a row of a 4 KB page; an eighth does not, whichever field.
  RecordSet wide;
  wide.Open(u"SELECT * FROM `People`", *connection);
  const std::u16string full(255, u'\u0416');  // not compressible: two bytes a character
  constexpr size_t kFieldA = 4;
  for (size_t field = kFieldA; field < kFieldA + 7; ++field) {
    wide.SetValue(field, Value::Text(full));
    wide.Update();
  }
  long number = 0;
  EXPECT_EQ(CauseOf([&] {
              wide.SetValue(kFieldA + 7, Value::Text(full));
              wide.Update();
            }, &number),
            ErrorCause::kRecordStorage);
  EXPECT_EQ(number, Jet::JetErrorNumber::kRecordTooLarge);

  RecordSet readOnly;
  readOnly.Open(u"SELECT `Name` FROM `People`", *connection, kCursorStatic, kLockReadOnly);
  EXPECT_EQ(CauseOf([&] { readOnly.SetValue(0, Value::Text(u"x")); }), ErrorCause::kReadOnly);
  EXPECT_EQ(CauseOf([&] {
              RecordSet schema = connection->OpenSchema(kSchemaTables);
              schema.SetValue(0, Value::Text(u"x"));
              schema.Update();
            }),
            ErrorCause::kReadOnly);
  connection->Close();
}

}  // namespace
}  // namespace Access
