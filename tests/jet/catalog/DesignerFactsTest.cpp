#include "jet/catalog/DesignerFacts.h"

#include <gtest/gtest.h>

namespace Jet {
namespace {

Column MakeColumn(std::u16string name, ColumnType type, bool nullable, bool autonumber = false) {
  Column column;
  column.name = std::move(name);
  column.type = type;
  column.rawType = static_cast<uint8_t>(type);
  column.nullable = nullable;
  column.autonumber = autonumber;
  return column;
}

// A table of two Text columns, a Long the flags already make required, and three complex columns
// (ids 4, 3 and 9) that Access flags as numbered.
TableLayout People() {
  auto definition = std::make_shared<TableDefinition>();
  definition->name = u"People";
  definition->columns = {MakeColumn(u"Name", ColumnType::Text, true),
                         MakeColumn(u"Town", ColumnType::Text, true),
                         MakeColumn(u"Id", ColumnType::Long, false, true),
                         MakeColumn(u"Photos", ColumnType::Complex, true, true),
                         MakeColumn(u"Colours", ColumnType::Complex, true, true),
                         MakeColumn(u"Orphan", ColumnType::Complex, true, true)};
  TableLayout table;
  table.columns.resize(definition->columns.size());
  table.columns[3].complexId = 4;
  table.columns[4].complexId = 3;
  table.columns[5].complexId = 9;
  table.definition = std::move(definition);
  return table;
}

PropertyBlock Block(std::u16string object, bool required) {
  return PropertyBlock{std::move(object), {Property{u"Required", 0x01, {static_cast<uint8_t>(required)}}}};
}

TEST(DesignerFacts, RequiredColumnsAreNotNullableAndOthersKeepTheirFlags) {
  const TableLayout table = People();
  const auto annotated =
      WithDesignerFacts(table, {Block(u"", true), Block(u"NAME", true), Block(u"Town", false), Block(u"Id", false)}, {});
  const std::vector<Column>& columns = annotated->definition->columns;
  EXPECT_FALSE(columns[0].nullable) << "named ignoring case";
  EXPECT_TRUE(columns[1].nullable) << "Required No";
  EXPECT_FALSE(columns[2].nullable) << "the flags' word stands";
  EXPECT_TRUE(columns[2].autonumber);
  EXPECT_TRUE(columns[3].nullable) << "the table's own block names no column";
  EXPECT_TRUE(table.definition->columns[0].nullable) << "the original stays as read";
  EXPECT_EQ(annotated->columns.size(), table.columns.size());
}

TEST(DesignerFacts, ComplexColumnsGetTheirKindAndAreNoAutoNumbers) {
  const auto annotated = WithDesignerFacts(
      People(), {}, ComplexKinds{{3, ComplexKind::MultiValue}, {4, ComplexKind::Attachment}});
  const std::vector<Column>& columns = annotated->definition->columns;
  EXPECT_EQ(columns[3].complexKind, ComplexKind::Attachment);
  EXPECT_EQ(columns[4].complexKind, ComplexKind::MultiValue);
  EXPECT_EQ(columns[5].complexKind, ComplexKind::None) << "an id MSysComplexColumns lacks";
  for (size_t n = 3; n < 6; ++n) EXPECT_FALSE(columns[n].autonumber) << n;
  EXPECT_EQ(columns[0].complexKind, ComplexKind::None);
}

TEST(DesignerFacts, TemplateTablesNameTheKinds) {
  EXPECT_EQ(ComplexKindOfTemplate(u"MSysComplexType_Attachment"), ComplexKind::Attachment);
  EXPECT_EQ(ComplexKindOfTemplate(u"MSysComplexTypeVH_7B4A12A4BE0B4564884754E9E31577B2"),
            ComplexKind::VersionHistory);
  for (const std::u16string_view valueType : {u"UnsignedByte", u"Short", u"Long", u"IEEESingle",
                                              u"IEEEDouble", u"GUID", u"Decimal", u"Text"})
    EXPECT_EQ(ComplexKindOfTemplate(u"MSysComplexType_" + std::u16string(valueType)), ComplexKind::MultiValue);
  EXPECT_EQ(ComplexKindOfTemplate(u"MSysComplexType_"), ComplexKind::None);
  EXPECT_EQ(ComplexKindOfTemplate(u"Table1"), ComplexKind::None);
}

}  // namespace
}  // namespace Jet
