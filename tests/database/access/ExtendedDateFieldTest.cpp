// Date/Time Extended fields through the access layer: a date to the run (its Date warning), values
// whose text finds their rows again in an UPDATE's WHERE, and a Text field beside them that changes.
#include <gtest/gtest.h>

#include "common/Error.h"
#include "common/ExtendedDateTime.h"
#include "database/access/AdoDataType.h"
#include "database/access/Connection.h"
#include "database/access/RecordSet.h"
#include "jet/Creator.h"
#include "tests/support/DatabaseFiles.h"

namespace Access {
namespace {

using Main::Value;

class ExtendedDateFieldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = Jet::Testing::ScratchDir() / "events.accdb";
    auto db = Jet::CreateDatabase(file_, Jet::FileFormat::Ace17);
    db.AddTable({u"Events", {{u"Name", Jet::FieldType::Text, 40}, {u"When", Jet::FieldType::DateTimeExtended}}});
    db.InsertRow(u"Events", {Value::Text(u"launch"), Value::ExtendedDate(exact_)});
    db.InsertRow(u"Events", {Value::Text(u"dawn"), Value::ExtendedDate(Main::ExtendedDateTime{0})});
    db.Close();
  }

  std::unique_ptr<Connection> Open(int mode) const {
    auto connection = std::make_unique<Connection>();
    connection->SetMode(mode);
    connection->Open(Testing::AccdbConnectionString(file_));
    return connection;
  }

  const Main::ExtendedDateTime exact_ = Main::ExtendedFromCivil({2021, 6, 14, 12, 45, 0}, 1234567);
  std::filesystem::path file_;
};

TEST_F(ExtendedDateFieldTest, ADateToTheRunWithItsText) {
  auto connection = Open(0);
  RecordSet records;
  records.Open(u"SELECT * FROM `Events`", *connection);
  ASSERT_EQ(records.FieldCount(), 2u);
  EXPECT_EQ(records.FieldType(0), AdoType::kVarWChar);
  EXPECT_EQ(records.FieldType(1), AdoType::kDate);
  ASSERT_FALSE(records.Eof());
  EXPECT_EQ(records.Value(u"When"), Value::ExtendedDate(exact_));
  EXPECT_EQ(records.Value(u"When").ToText(), u"6/14/2021 12:45:00.1234567 PM");
  records.MoveNext();
  EXPECT_EQ(records.Value(u"When").ToText(), u"1/1/0001");
}

TEST_F(ExtendedDateFieldTest, ItsTextFindsItsRowAndTheTextFieldChanges) {
  {
    auto connection = Open(kModeReadWrite);
    connection->Execute(u"UPDATE [Events] SET [Name]='lift-off' WHERE [When]='6/14/2021 12:45:00.1234567 PM'");
    // One tick away matches nothing.
    connection->Execute(u"UPDATE [Events] SET [Name]='never' WHERE [When]='6/14/2021 12:45:00.1234568 PM'");
    connection->Execute(u"UPDATE [Events] SET [When]='12/31/9999 11:59:59.9999999 PM' WHERE [When]='1/1/0001'");
    EXPECT_THROW(connection->Execute(u"UPDATE [Events] SET [When]='1/1/10000' WHERE [Name]='dawn'"), Main::Error);
    connection->Close();
  }
  auto connection = Open(0);
  RecordSet records;
  records.Open(u"SELECT * FROM `Events`", *connection);
  EXPECT_EQ(records.Value(u"Name"), Value::Text(u"lift-off"));
  EXPECT_EQ(records.Value(u"When"), Value::ExtendedDate(exact_));
  records.MoveNext();
  EXPECT_EQ(records.Value(u"Name"), Value::Text(u"dawn"));
  EXPECT_EQ(records.Value(u"When"), Value::ExtendedDate(Main::ExtendedDateTime{Main::kMaxExtendedTicks}));
}

}  // namespace
}  // namespace Access
