#include "jet/catalog/Catalog.h"

#include <algorithm>

#include "jet/text/CaseFold.h"
#include "jet/JetError.h"

// MSysObjects, whose definition is always at page 2, holds a row per object. The columns read:
//
//   Id        Long     for tables, bits 0-23 the page of the table's definition
//   Name      Text
//   Type      Integer  1 local table, 4 table linked through ODBC, 5 query, 6 linked Access
//                      table; others (containers, forms, relationships ...) are not tables
//   Flags     Long     tables: 0x80000000 a system table of the engine, 0x00000002 a table of
//                      Access itself (MSysAccess..., MSysNavPane...); queries: bits 4-7 the kind,
//                      0 for a select query
//   LvProp    OLE      the designer's properties of the object and its columns (PropertyBlob.h)
namespace Jet {
namespace {

constexpr int16_t kLocalTable = 1;
constexpr int16_t kOdbcLinkedTable = 4;
constexpr int16_t kQuery = 5;
constexpr int16_t kLinkedTable = 6;
constexpr uint32_t kEngineSystemFlag = 0x80000000;
constexpr uint32_t kAccessSystemFlag = 0x00000002;
constexpr uint32_t kQueryKindMask = 0xF0;
constexpr uint32_t kDefinitionPageMask = 0x00FFFFFF;

int ColumnOf(const TableDefinition& table, std::u16string_view name) {
  const int position = table.FindColumn(name);
  if (position < 0) ThrowCorrupt("the catalogue lacks one of its columns");
  return position;
}

int64_t IntegerOr(const Main::Value& value, int64_t fallback) {
  return value.kind() == Main::Value::Kind::Integer ? value.AsInteger() : fallback;
}

// The property blob of the scan's current row; none when the catalogue has no such column or the
// long value is damaged (the properties only annotate the table).
std::vector<uint8_t> PropertiesOf(const TableScan& scan, int lvProp) {
  if (lvProp < 0) return {};
  try {
    Main::Value blob = scan.Get(static_cast<size_t>(lvProp));
    if (blob.kind() == Main::Value::Kind::Bytes) return blob.AsBytes();
  } catch (const JetError& error) {
    if (error.Number() != JetErrorNumber::kCorrupt) throw;
  }
  return {};
}

}  // namespace

std::u16string_view RowsetType(const CatalogObject& object) {
  switch (object.type) {
    case kLocalTable:
      if (object.flags & kEngineSystemFlag) return u"SYSTEM TABLE";
      if (object.flags & kAccessSystemFlag) return u"ACCESS TABLE";
      return u"TABLE";
    case kQuery: return (object.flags & kQueryKindMask) == 0 ? u"VIEW" : u"";
    case kLinkedTable: return u"LINK";
    case kOdbcLinkedTable: return u"PASS-THROUGH";
    default: return u"";
  }
}

Catalog Catalog::Read(const ScanContext& context, std::shared_ptr<const TableLayout> msysObjects) {
  const TableDefinition& definition = *msysObjects->definition;
  const int id = ColumnOf(definition, u"Id");
  const int name = ColumnOf(definition, u"Name");
  const int type = ColumnOf(definition, u"Type");
  const int flags = ColumnOf(definition, u"Flags");
  const int lvProp = definition.FindColumn(u"LvProp");
  Catalog catalog;
  TableScan scan(context, std::move(msysObjects));
  while (scan.Next()) {
    CatalogObject object;
    if (!scan.GetText(static_cast<size_t>(name), object.name)) continue;
    object.id = static_cast<int32_t>(IntegerOr(scan.Get(static_cast<size_t>(id)), 0));
    object.type = static_cast<int16_t>(IntegerOr(scan.Get(static_cast<size_t>(type)), 0));
    object.flags = static_cast<uint32_t>(IntegerOr(scan.Get(static_cast<size_t>(flags)), 0));
    if (object.type == kLocalTable) object.properties = PropertiesOf(scan, lvProp);
    catalog.objects_.push_back(std::move(object));
  }
  return catalog;
}

const CatalogObject* Catalog::FindTable(std::u16string_view name) const {
  for (const CatalogObject& object : objects_)
    if (object.type == kLocalTable && EqualIgnoringCase(object.name, name)) return &object;
  return nullptr;
}

const CatalogObject* Catalog::FindTableAt(uint32_t definitionPage) const {
  for (const CatalogObject& object : objects_)
    if (object.type == kLocalTable && DefinitionPageOf(object) == definitionPage) return &object;
  return nullptr;
}

const CatalogObject* Catalog::FindById(int32_t id) const {
  for (const CatalogObject& object : objects_)
    if (object.id == id) return &object;
  return nullptr;
}

uint32_t Catalog::DefinitionPageOf(const CatalogObject& table) {
  return static_cast<uint32_t>(table.id) & kDefinitionPageMask;
}

std::vector<CatalogEntry> Catalog::TablesRowset() const {
  std::vector<CatalogEntry> rowset;
  for (const CatalogObject& object : objects_) {
    const std::u16string_view type = RowsetType(object);
    if (!type.empty()) rowset.push_back(CatalogEntry{object.name, std::u16string(type)});
  }
  std::sort(rowset.begin(), rowset.end(), [](const CatalogEntry& a, const CatalogEntry& b) {
    if (const int byType = a.type.compare(b.type); byType != 0) return byType < 0;
    return CompareIgnoringCase(a.name, b.name) < 0;
  });
  return rowset;
}

}  // namespace Jet
