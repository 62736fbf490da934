// Calculated fields through the access layer: each field's type is its result's (a Date result is
// a date to the run, a Currency result money), values read as such, and a write is refused as a
// whole field while the table's other fields still change.
#include <gtest/gtest.h>

#include "common/DateTime.h"
#include "common/Error.h"
#include "database/access/AdoDataType.h"
#include "database/access/Connection.h"
#include "database/access/RecordSet.h"
#include "jet/Creator.h"
#include "tests/support/DatabaseFiles.h"

namespace Access {
namespace {

using Main::Value;

Jet::FieldSpec Calculated(std::u16string name, Jet::FieldType result, std::u16string expression) {
  Jet::FieldSpec field{std::move(name), result};
  field.calculated = true;
  field.expression = std::move(expression);
  return field;
}

class CalculatedFieldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = Jet::Testing::ScratchDir() / "orders.accdb";
    auto db = Jet::CreateDatabase(file_, Jet::FileFormat::Ace14);
    db.AddTable({u"Orders",
                 {{u"Item", Jet::FieldType::Text, 40},
                  Calculated(u"Due", Jet::FieldType::DateTime, u"#2021-06-14# + 7"),
                  Calculated(u"Total", Jet::FieldType::Currency, u"3 * 1.25"),
                  Calculated(u"Late", Jet::FieldType::YesNo, u"False"),
                  Calculated(u"Label", Jet::FieldType::Text, u"[Item] & \"!\"")}});
    db.InsertRow(u"Orders", {Value::Text(u"tea"), Value::Date(Main::DateTime{due_}),
                             Value::Money(Main::Currency{37500}), Value::Boolean(true), Value::Text(u"tea!")});
    db.Close();
  }

  std::unique_ptr<Connection> Open(int mode) const {
    auto connection = std::make_unique<Connection>();
    connection->SetMode(mode);
    connection->Open(Testing::AccdbConnectionString(file_));
    return connection;
  }

  const double due_ = Main::OleDateFromCivil({2021, 6, 21, 0, 0, 0});
  std::filesystem::path file_;
};

TEST_F(CalculatedFieldTest, FieldsHaveTheirResultsTypesAndValues) {
  auto connection = Open(0);
  RecordSet records;
  records.Open(u"SELECT * FROM `Orders`", *connection);
  ASSERT_EQ(records.FieldCount(), 5u);
  EXPECT_EQ(records.FieldType(1), AdoType::kDate);
  EXPECT_EQ(records.FieldType(2), AdoType::kCurrency);
  EXPECT_EQ(records.FieldType(3), AdoType::kBoolean);
  EXPECT_EQ(records.FieldType(4), AdoType::kVarWChar);
  ASSERT_FALSE(records.Eof());
  EXPECT_EQ(records.Value(u"Due"), Value::Date(Main::DateTime{due_}));
  EXPECT_EQ(records.Value(u"Total"), Value::Money(Main::Currency{37500}));
  EXPECT_EQ(records.Value(u"Late"), Value::Boolean(true));
  EXPECT_EQ(records.Value(u"Label"), Value::Text(u"tea!"));
}

TEST_F(CalculatedFieldTest, AWriteIsRefusedAsAWholeFieldAndOtherFieldsChange) {
  auto connection = Open(kModeReadWrite);
  RecordSet records;
  records.Open(u"SELECT * FROM `Orders`", *connection);
  records.SetValue(4, Value::Text(u"coffee!"));
  try {
    records.Update();
    ADD_FAILURE() << "the calculated field was written";
  } catch (const Main::Error& refusal) {
    EXPECT_EQ(refusal.Description(), u"The field 'Label' is calculated; Access computes its value.");
    EXPECT_EQ(refusal.Cause(), Main::ErrorCause::kFieldCannotChange);
  }
  records.SetValue(0, Value::Text(u"green tea"));
  records.Update();
  connection->Close();

  auto reader = Open(0);
  RecordSet reread;
  reread.Open(u"SELECT * FROM `Orders`", *reader);
  EXPECT_EQ(reread.Value(u"Item"), Value::Text(u"green tea"));
  EXPECT_EQ(reread.Value(u"Label"), Value::Text(u"tea!")) << "stored results are not recomputed";
  EXPECT_EQ(reread.Value(u"Total"), Value::Money(Main::Currency{37500}));
}

}  // namespace
}  // namespace Access
