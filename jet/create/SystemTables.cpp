#include "jet/create/SystemTables.h"

#include "jet/schema/PropertyBlobWriter.h"

namespace Jet::Create {
namespace {

using Main::Value;

constexpr uint16_t kTextBytes = 510;    // Text (255)
constexpr uint16_t kBinaryBytes = 510;  // as Access sizes the binary columns of its system tables
constexpr int32_t kRootId = 0x0F000000;
constexpr int32_t kDatabasesContainerId = 0x0F000002;
constexpr int32_t kRelationshipsContainerId = 0x0F000003;
constexpr int32_t kDatabaseObjectId = 0x10000000;
constexpr int64_t kEngineObjectFlag = INT32_MIN;  // 0x80000000 as the Long column holds it
constexpr int64_t kLinkedTableFlag = 0x00200000;
constexpr size_t kLvPropColumn = 14;

constexpr int16_t kContainerType = 3;
constexpr int16_t kDatabaseType = 2;
constexpr int16_t kTableType = 1;
constexpr int16_t kQueryType = 5;
constexpr int16_t kLinkedTableType = 6;

constexpr uint8_t kQueryStart = 0;
constexpr uint8_t kQueryKind = 1;
constexpr uint8_t kQueryOptions = 3;
constexpr uint8_t kQueryInput = 5;
constexpr uint8_t kQueryOutput = 6;
constexpr uint8_t kQueryEnd = 255;
constexpr int16_t kSelectQueryKind = 1;

ColumnSpec Of(std::u16string name, ColumnType type, uint16_t maxLength = 0) {
  ColumnSpec column;
  column.name = std::move(name);
  column.type = type;
  column.maxLength = maxLength;
  return column;
}

// MSysObjects columns: Id, ParentId, Name, Type, DateCreate, DateUpdate, Owner, Flags, Database,
// Connect, ForeignName, RmtInfoShort, RmtInfoLong, Lv, LvProp, LvModule, LvExtra.
Row ObjectRow(int32_t id, int32_t parentId, std::u16string_view name, int16_t type, double created,
              int64_t flags) {
  Row row(17);
  row[0] = Value::Integer(id);
  row[1] = Value::Integer(parentId);
  row[2] = Value::Text(std::u16string(name));
  row[3] = Value::Integer(type);
  row[4] = Value::Date(Main::DateTime{created});
  row[5] = Value::Date(Main::DateTime{created});
  row[7] = Value::Integer(flags);
  return row;
}

std::u16string Bracketed(std::u16string_view name) { return u"[" + std::u16string(name) + u"]"; }

Row QueryRow(int32_t id, uint8_t attribute) {
  Row row(8);  // ObjectId, Attribute, Order, Name1, Name2, Expression, Flag, LvExtra
  row[0] = Value::Integer(id);
  row[1] = Value::Integer(attribute);
  return row;
}

}  // namespace

std::vector<ColumnSpec> MSysObjectsColumns() {
  return {Of(u"Id", ColumnType::Long),           Of(u"ParentId", ColumnType::Long),
          Of(u"Name", ColumnType::Text, kTextBytes), Of(u"Type", ColumnType::Integer),
          Of(u"DateCreate", ColumnType::DateTime), Of(u"DateUpdate", ColumnType::DateTime),
          Of(u"Owner", ColumnType::Binary, kBinaryBytes), Of(u"Flags", ColumnType::Long),
          Of(u"Database", ColumnType::Memo),      Of(u"Connect", ColumnType::Memo),
          Of(u"ForeignName", ColumnType::Text, kTextBytes), Of(u"RmtInfoShort", ColumnType::Binary, kBinaryBytes),
          Of(u"RmtInfoLong", ColumnType::OleObject), Of(u"Lv", ColumnType::OleObject),
          Of(u"LvProp", ColumnType::OleObject),   Of(u"LvModule", ColumnType::OleObject),
          Of(u"LvExtra", ColumnType::OleObject)};
}

std::vector<ColumnSpec> MSysACEsColumns() {
  return {Of(u"ObjectId", ColumnType::Long), Of(u"SID", ColumnType::Binary, kBinaryBytes),
          Of(u"ACM", ColumnType::Long), Of(u"FInheritable", ColumnType::Boolean)};
}

std::vector<ColumnSpec> MSysQueriesColumns() {
  return {Of(u"ObjectId", ColumnType::Long),          Of(u"Attribute", ColumnType::Byte),
          Of(u"Order", ColumnType::Binary, kBinaryBytes), Of(u"Name1", ColumnType::Text, kTextBytes),
          Of(u"Name2", ColumnType::Text, kTextBytes),  Of(u"Expression", ColumnType::Memo),
          Of(u"Flag", ColumnType::Integer),           Of(u"LvExtra", ColumnType::Long)};
}

std::vector<ColumnSpec> MSysRelationshipsColumns() {
  return {Of(u"szRelationship", ColumnType::Text, kTextBytes), Of(u"grbit", ColumnType::Long),
          Of(u"ccolumn", ColumnType::Long),                    Of(u"icolumn", ColumnType::Long),
          Of(u"szObject", ColumnType::Text, kTextBytes),       Of(u"szColumn", ColumnType::Text, kTextBytes),
          Of(u"szReferencedObject", ColumnType::Text, kTextBytes),
          Of(u"szReferencedColumn", ColumnType::Text, kTextBytes)};
}

std::vector<Row> ContainerObjectRows(double created) {
  return {ObjectRow(kTablesContainerId, kRootId, u"Tables", kContainerType, created, kEngineObjectFlag),
          ObjectRow(kDatabasesContainerId, kRootId, u"Databases", kContainerType, created, kEngineObjectFlag),
          ObjectRow(kRelationshipsContainerId, kRootId, u"Relationships", kContainerType, created, kEngineObjectFlag),
          ObjectRow(kDatabaseObjectId, kDatabasesContainerId, u"MSysDb", kDatabaseType, created, kEngineObjectFlag)};
}

Row TableObjectRow(std::u16string_view name, uint32_t definitionPage, bool system, double created,
                   const std::vector<PropertyBlock>& properties) {
  Row row = ObjectRow(static_cast<int32_t>(definitionPage), kTablesContainerId, name, kTableType, created,
                      system ? kEngineObjectFlag : 0);
  if (!properties.empty()) row[kLvPropColumn] = Value::Binary(EncodePropertyBlob(properties));
  return row;
}

Row QueryObjectRow(std::u16string_view name, int32_t id, double created) {
  return ObjectRow(id, kTablesContainerId, name, kQueryType, created, 0);
}

Row LinkedTableObjectRow(const LinkedTableSpec& link, int32_t id, double created) {
  Row row = ObjectRow(id, kTablesContainerId, link.name, kLinkedTableType, created, kLinkedTableFlag);
  row[8] = Value::Text(link.database);
  row[10] = Value::Text(link.foreignName);
  return row;
}

std::vector<Row> SelectQueryRows(const SelectQuerySpec& query, int32_t id) {
  std::vector<Row> rows;
  rows.push_back(QueryRow(id, kQueryStart));
  rows.back()[6] = Value::Integer(0);
  rows.push_back(QueryRow(id, kQueryKind));
  rows.back()[6] = Value::Integer(kSelectQueryKind);
  rows.push_back(QueryRow(id, kQueryOptions));
  rows.back()[6] = Value::Integer(0);
  rows.push_back(QueryRow(id, kQueryInput));
  rows.back()[3] = Value::Text(query.table);
  const std::u16string table = Bracketed(query.table);
  std::vector<std::u16string> outputs;
  for (const std::u16string& column : query.columns) outputs.push_back(table + u"." + Bracketed(column));
  if (outputs.empty()) outputs.push_back(table + u".*");
  for (std::u16string& output : outputs) {
    rows.push_back(QueryRow(id, kQueryOutput));
    rows.back()[5] = Value::Text(std::move(output));
    rows.back()[6] = Value::Integer(0);
  }
  rows.push_back(QueryRow(id, kQueryEnd));
  return rows;
}

}  // namespace Jet::Create
