// Which columns the writer lets change: every refusal names the field and says it cannot change.
#include "jet/write/ColumnPolicy.h"

#include <gtest/gtest.h>

#include "common/Error.h"
#include "jet/JetError.h"

namespace Jet {
namespace {

Column Field(std::u16string name, uint16_t number, ColumnType type = ColumnType::Text) {
  Column column;
  column.name = std::move(name);
  column.number = number;
  column.type = type;
  return column;
}

TableDefinition Table() {
  TableDefinition table;
  table.name = u"T";
  table.columns = {Field(u"Plain", 0), Field(u"Keyed", 1), Field(u"Counter", 2, ColumnType::Long),
                   Field(u"Formula", 3), Field(u"Attachments", 4, ColumnType::Complex), Field(u"Memo", 5, ColumnType::Memo)};
  table.columns[2].autonumber = true;
  table.columns[3].calculated = true;
  Index index;
  index.name = u"ByKey";
  index.columns = {IndexColumn{1, true}};
  table.indexes = {index};
  return table;
}

// The description of the refusal, empty when the column may be written.
std::u16string Refusal(const TableDefinition& table, size_t column) {
  try {
    CheckColumnWritable(table, column);
  } catch (const JetError& error) {
    EXPECT_EQ(error.Number(), static_cast<long>(JetErrorNumber::kNotSupported));
    EXPECT_EQ(error.Cause(), Main::ErrorCause::kFieldCannotChange);
    return error.Description();
  }
  return {};
}

TEST(ColumnPolicy, PlainColumnsMayBeWritten) {
  const TableDefinition table = Table();
  EXPECT_EQ(Refusal(table, 0), u"");
  EXPECT_EQ(Refusal(table, 5), u"");
}

TEST(ColumnPolicy, IndexedAutoNumberCalculatedAndComplexColumnsAreRefusedByName) {
  const TableDefinition table = Table();
  const std::u16string keyed = Refusal(table, 1);
  EXPECT_NE(keyed.find(u"'Keyed'"), std::u16string::npos);
  EXPECT_NE(keyed.find(u"'ByKey'"), std::u16string::npos);
  EXPECT_NE(Refusal(table, 2).find(u"'Counter' is an AutoNumber field"), std::u16string::npos);
  EXPECT_NE(Refusal(table, 3).find(u"'Formula' is calculated"), std::u16string::npos);
  EXPECT_NE(Refusal(table, 4).find(u"'Attachments' is calculated or holds attachments"), std::u16string::npos);
}

TEST(ColumnPolicy, AColumnPastTheLastIsAnError) {
  EXPECT_THROW(CheckColumnWritable(Table(), 6), std::out_of_range);
}

}  // namespace
}  // namespace Jet
