#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "jet/Database.h"

// What the engine tells tools about a database's indexes: each logical index of a table with its
// tree's size, and every index of every table checked against its pages and rows.
namespace Jet {

// One logical index as jetdump lists it.
struct IndexDescription {
  struct Field {
    std::u16string name;
    bool ascending = true;
  };
  std::u16string name;
  std::vector<Field> fields;
  // The text fields' sort order: "General", "General Legacy", "General 97", or "other (0xNNNN
  // version V)"; empty when the index has no Text or Memo field.
  std::string sortOrder;
  bool primaryKey = false;
  bool foreignKey = false;
  bool unique = false;       // flag 0x01, or backing a primary key
  bool ignoreNulls = false;  // flag 0x02
  bool required = false;     // flag 0x08
  size_t entries = 0;        // leaf entries of the physical index it uses
  size_t pages = 0;          // index pages of that tree
};

// The table's logical indexes in definition order; the entries and pages of a damaged tree are
// those a walk could reach.
std::vector<IndexDescription> DescribeIndexes(const Database& database, const TableDefinition& table);

// One finding of a database check: damage, or an index whose rows could not be compared.
struct IndexFinding {
  std::u16string table;
  std::u16string index;  // the logical index names, joined by ", "
  uint32_t page = 0;
  std::string what;
};

// What checking every index of every local table (user, system and Access tables) found.
struct DatabaseIndexCheck {
  std::vector<IndexFinding> problems;
  std::vector<IndexFinding> notChecked;  // "not checked: <reason>"; not damage
  size_t tables = 0;
  size_t indexes = 0;  // physical indexes
  size_t entries = 0;
  size_t pages = 0;
};

DatabaseIndexCheck CheckAllIndexes(const Database& database);

}  // namespace Jet
