// Which columns the writer lets change: every refusal names the field and says it cannot change.
#include "jet/write/ColumnPolicy.h"

#include <gtest/gtest.h>

#include "common/Error.h"
#include "common/Text.h"
#include "jet/JetError.h"

namespace Jet {
namespace {

using Main::ToUtf8;

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
                   Field(u"Formula", 3), Field(u"Attachments", 4, ColumnType::Complex), Field(u"Memo", 5, ColumnType::Memo),
                   Field(u"Russian", 6), Field(u"Picture", 7, ColumnType::OleObject), Field(u"Caption", 8)};
  table.columns[2].autonumber = true;
  table.columns[3].calculated = true;
  for (Column& column : table.columns) column.sortOrder = 0x0409;
  table.columns[6].sortOrder = 0x0419;
  auto index = [](std::u16string name, std::vector<IndexColumn> columns) {
    Index made;
    made.name = std::move(name);
    made.columns = std::move(columns);
    return made;
  };
  table.indexes = {index(u"ByKey", {IndexColumn{1, true}}), index(u"ByRussian", {IndexColumn{6, true}}),
                   index(u"ByCaptionAndPicture", {IndexColumn{8, false}, IndexColumn{7, true}})};
  return table;
}

// The description of the refusal, empty when the column may be written.
std::u16string Refusal(const TableDefinition& table, size_t column) {
  try {
    CheckColumnWritable(table, column, LayoutOf(FileFormat::Jet4));
  } catch (const JetError& error) {
    EXPECT_EQ(error.Number(), static_cast<long>(JetErrorNumber::kNotSupported));
    EXPECT_EQ(error.Cause(), Main::ErrorCause::kFieldCannotChange);
    return error.Description();
  }
  return {};
}

TEST(ColumnPolicy, PlainColumnsAndColumnsOfIndexesInTheGeneralSortOrderMayBeWritten) {
  const TableDefinition table = Table();
  EXPECT_EQ(Refusal(table, 0), u"");
  EXPECT_EQ(Refusal(table, 5), u"");
  EXPECT_EQ(Refusal(table, 1), u"");
}

TEST(ColumnPolicy, ColumnsOfIndexesWhoseKeysTheEngineCannotMakeAreRefusedByNameAndIndex) {
  const TableDefinition table = Table();
  const std::u16string russian = Refusal(table, 6);
  EXPECT_NE(russian.find(u"'Russian' is part of the index 'ByRussian'"), std::u16string::npos) << ToUtf8(russian);
  EXPECT_NE(russian.find(u"0x0419"), std::u16string::npos) << ToUtf8(russian);
  // The text column is refused for the OLE object column beside it in the same index.
  const std::u16string caption = Refusal(table, 8);
  EXPECT_NE(caption.find(u"'Caption' is part of the index 'ByCaptionAndPicture'"), std::u16string::npos);
  EXPECT_NE(caption.find(u"'Picture'"), std::u16string::npos);
}

TEST(ColumnPolicy, AutoNumberCalculatedAndComplexColumnsAreRefusedByName) {
  const TableDefinition table = Table();
  EXPECT_NE(Refusal(table, 2).find(u"'Counter' is an AutoNumber field"), std::u16string::npos);
  EXPECT_EQ(Refusal(table, 3), u"The field 'Formula' is calculated; Access computes its value.");
  EXPECT_EQ(Refusal(table, 4), u"The field 'Attachments' holds attachments or several values; it cannot be changed.");
}

TEST(ColumnPolicy, AColumnPastTheLastIsAnError) {
  EXPECT_THROW(CheckColumnWritable(Table(), 9, LayoutOf(FileFormat::Jet4)), std::out_of_range);
}

}  // namespace
}  // namespace Jet
