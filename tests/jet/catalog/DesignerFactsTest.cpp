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

// A table of calculated columns as Access stores them: a tdef type code beside the result type.
TableLayout Formulas() {
  auto definition = std::make_shared<TableDefinition>();
  definition->name = u"Formulas";
  const std::pair<const char16_t*, ColumnType> stored[] = {
      {u"Price", ColumnType::Double},   {u"Done", ColumnType::Integer}, {u"Story", ColumnType::Text},
      {u"Label", ColumnType::Text},     {u"Ratio", ColumnType::Decimal}, {u"Lost", ColumnType::Long},
      {u"Odd", ColumnType::Double},     {u"Plain", ColumnType::Double}};
  for (const auto& [name, type] : stored) {
    Column column = MakeColumn(name, type, true);
    column.calculated = std::u16string_view(name) != u"Plain";
    column.maxLength = 39;
    column.precision = 18;
    column.scale = 4;
    column.sortOrder = 0x0409;
    definition->columns.push_back(column);
  }
  definition->columns[3].maxLength = 20 * 2 + 23;
  TableLayout table;
  table.columns.resize(definition->columns.size());
  for (ColumnLayout& place : table.columns) {
    place.variable = true;
    place.fixedSize = 39;
  }
  table.definition = std::move(definition);
  return table;
}

PropertyBlock ResultType(std::u16string column, std::vector<uint8_t> value) {
  return PropertyBlock{std::move(column), {Property{u"Expression", 0x0C, {}}, Property{u"ResultType", 0x02, std::move(value)}}};
}

TEST(DesignerFacts, CalculatedColumnsTakeTheirResultTypeAndKeepTheirStoredShape) {
  const TableLayout table = Formulas();
  const auto annotated = WithDesignerFacts(
      table,
      {ResultType(u"price", {0x05}), ResultType(u"Done", {0x01}), ResultType(u"Story", {0x0C}),
       ResultType(u"Label", {0x0A}), ResultType(u"Ratio", {0x06}), ResultType(u"Odd", {0x0B}),
       ResultType(u"Plain", {0x0A}), PropertyBlock{u"Lost", {Property{u"ResultType", 0x02, {}}}}},
      {});
  const std::vector<Column>& columns = annotated->definition->columns;
  const ColumnType expected[] = {ColumnType::Currency, ColumnType::Boolean, ColumnType::Memo, ColumnType::Text,
                                 ColumnType::Single, ColumnType::Binary, ColumnType::Binary, ColumnType::Double};
  for (size_t n = 0; n < columns.size(); ++n) {
    EXPECT_EQ(columns[n].type, expected[n]) << n;
    EXPECT_EQ(columns[n].rawType, table.definition->columns[n].rawType) << n;
    EXPECT_EQ(columns[n].calculated, n != 7) << n;
    EXPECT_EQ(annotated->columns[n].fixedSize, 39) << "the row keeps its stored shape";
    EXPECT_TRUE(annotated->columns[n].variable);
    EXPECT_FALSE(annotated->columns[n].valueInNullMask);
  }
  EXPECT_EQ(columns[3].maxCharacters, 20);
  EXPECT_EQ(columns[3].sortOrder, 0x0409) << "a text result keeps its sort order";
  EXPECT_EQ(columns[0].sortOrder, 0) << "a number has none";
  EXPECT_EQ(columns[4].precision, 0);
  EXPECT_EQ(columns[7].precision, 18) << "an ordinary column is left alone";
  EXPECT_EQ(columns[7].scale, 4);
}

TEST(DesignerFacts, ADecimalResultCarriesItsOwnScale) {
  const auto annotated = WithDesignerFacts(Formulas(), {ResultType(u"Price", {0x10})}, {});
  const Column& price = annotated->definition->columns[0];
  EXPECT_EQ(price.type, ColumnType::Decimal);
  EXPECT_EQ(price.precision, 28);
  EXPECT_EQ(price.scale, 0);
  for (size_t n = 1; n < 7; ++n)
    EXPECT_EQ(annotated->definition->columns[n].type, ColumnType::Binary) << "no properties: " << n;
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
