#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "jet/row/TableScan.h"

// The catalogue: the objects MSysObjects lists (tables, queries, links) with their kinds.
namespace Jet {

struct CatalogObject {
  std::u16string name;
  int32_t id = 0;
  int16_t type = 0;
  uint32_t flags = 0;
  std::vector<uint8_t> properties;  // local tables: the designer's property blob (PropertyBlob.h)
};

class Catalog {
 public:
  // Reads every row of MSysObjects.
  static Catalog Read(const ScanContext& context, std::shared_ptr<const TableLayout> msysObjects);

  // The local table with this name (ignoring case), or nullptr.
  const CatalogObject* FindTable(std::u16string_view name) const;
  // The local table whose definition starts at this page, or nullptr.
  const CatalogObject* FindTableAt(uint32_t definitionPage) const;
  // The object with this Id, or nullptr.
  const CatalogObject* FindById(int32_t id) const;
  // The tables rowset, ordered by type and then by name, ignoring case.
  std::vector<CatalogEntry> TablesRowset() const;
  // The definition page of a local table.
  static uint32_t DefinitionPageOf(const CatalogObject& table);

 private:
  std::vector<CatalogObject> objects_;
};

// The rowset type of an object ("TABLE", "SYSTEM TABLE", ...), or empty for objects the rowset
// leaves out (containers, forms, action queries ...).
std::u16string_view RowsetType(const CatalogObject& object);

}  // namespace Jet
