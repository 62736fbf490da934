#include <gtest/gtest.h>

#include <sstream>

#include "tools/jetdump/ColumnDescription.h"
#include "tools/jetdump/Commands.h"

namespace JetDump {
namespace {

using Jet::ColumnType;

Jet::Column MakeColumn(std::u16string name, ColumnType type, uint16_t number) {
  Jet::Column column;
  column.name = std::move(name);
  column.type = type;
  column.rawType = static_cast<uint8_t>(type);
  column.number = number;
  return column;
}

TEST(JetDumpColumns, NamesTypesAsTheTableDesignerDoes) {
  const std::pair<ColumnType, std::u16string_view> names[] = {
      {ColumnType::Boolean, u"Yes/No"},       {ColumnType::Byte, u"Byte"},
      {ColumnType::Integer, u"Integer"},      {ColumnType::Long, u"Long Integer"},
      {ColumnType::Currency, u"Currency"},    {ColumnType::Single, u"Single"},
      {ColumnType::Double, u"Double"},        {ColumnType::DateTime, u"Date/Time"},
      {ColumnType::Binary, u"Binary"},        {ColumnType::Text, u"Text"},
      {ColumnType::OleObject, u"OLE Object"}, {ColumnType::Memo, u"Memo"},
      {ColumnType::Guid, u"Replication ID"},  {ColumnType::Decimal, u"Decimal"},
      {ColumnType::Complex, u"Complex"},      {ColumnType::BigInt, u"Large Number"},
  };
  for (const auto& [type, name] : names) {
    EXPECT_EQ(DesignerTypeName(MakeColumn(u"c", type, 0)), name);
  }
  Jet::Column link = MakeColumn(u"Web", ColumnType::Memo, 0);
  link.hyperlink = true;
  EXPECT_EQ(DesignerTypeName(link), u"Hyperlink");
  Jet::Column attachments = MakeColumn(u"Files", ColumnType::Complex, 0);
  attachments.complexKind = Jet::ComplexKind::Attachment;
  EXPECT_EQ(DesignerTypeName(attachments), u"Attachment");
  for (const Jet::ComplexKind kind : {Jet::ComplexKind::MultiValue, Jet::ComplexKind::VersionHistory}) {
    Jet::Column complex = MakeColumn(u"List", ColumnType::Complex, 0);
    complex.complexKind = kind;
    EXPECT_EQ(DesignerTypeName(complex), u"Complex");
  }
  Jet::Column odd = MakeColumn(u"Odd", ColumnType::Binary, 0);
  odd.rawType = 0x46;
  EXPECT_EQ(DesignerTypeName(odd), u"Unknown (0x46)");
}

TEST(JetDumpColumns, CalculatedColumnsShowTheirResultAndAreFlagged) {
  Jet::TableDefinition table;
  Jet::Column price = MakeColumn(u"Price", ColumnType::Currency, 0);
  price.rawType = static_cast<uint8_t>(ColumnType::Double);
  price.calculated = true;
  Jet::Column label = MakeColumn(u"Label", ColumnType::Text, 1);
  label.calculated = true;
  label.maxCharacters = 30;
  Jet::Column lost = MakeColumn(u"Lost", ColumnType::Binary, 2);
  lost.rawType = static_cast<uint8_t>(ColumnType::Double);
  lost.calculated = true;
  table.columns = {price, label, lost};
  std::ostringstream out;
  ListColumns(table, out);
  EXPECT_EQ(out.str(),
            "Price\tCurrency\t0\tcalculated\n"
            "Label\tText\t30\tcalculated\n"
            "Lost\tUnknown (0x07)\t0\tcalculated\n");
}

TEST(JetDumpColumns, GivesASizeOnlyToText) {
  Jet::Column text = MakeColumn(u"t", ColumnType::Text, 0);
  text.maxLength = 100;
  text.maxCharacters = 50;
  EXPECT_EQ(FieldSize(text), 50u);
  Jet::Column number = MakeColumn(u"n", ColumnType::Long, 0);
  number.maxLength = 4;
  EXPECT_EQ(FieldSize(number), 0u);
}

TEST(JetDumpColumns, ListsEachColumnWithItsFlags) {
  Jet::TableDefinition table;
  table.name = u"Orders";
  Jet::Column id = MakeColumn(u"ID", ColumnType::Long, 0);
  id.autonumber = true;
  id.nullable = false;
  Jet::Column customer = MakeColumn(u"Customer", ColumnType::Text, 5);
  customer.maxCharacters = 255;
  Jet::Column note = MakeColumn(u"Note", ColumnType::Memo, 2);
  Jet::Column paid = MakeColumn(u"Paid", ColumnType::Boolean, 3);
  paid.nullable = false;
  table.columns = {id, customer, note, paid};
  Jet::Index primary;
  primary.name = u"PrimaryKey";
  primary.columns = {{0, true}};
  Jet::Index composite;
  composite.name = u"ByCustomer";
  composite.columns = {{5, true}, {0, false}};
  table.indexes = {primary, composite};

  std::ostringstream out;
  ListColumns(table, out);
  EXPECT_EQ(out.str(),
            "ID\tLong Integer\t0\tindexed,autonumber,required\n"
            "Customer\tText\t255\tindexed\n"
            "Note\tMemo\t0\t\n"
            "Paid\tYes/No\t0\trequired\n");
}

}  // namespace
}  // namespace JetDump
