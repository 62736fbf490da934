#include "tests/jet/oracle/LibMdbCatalog.h"

#include <mdbtools.h>

namespace Oracle {

std::vector<std::string> LibMdbUserTables(const std::filesystem::path& file) {
  std::vector<std::string> tables;
  MdbHandle* mdb = mdb_open(file.c_str(), MDB_NOFLAGS);
  if (mdb == nullptr) return tables;
  if (mdb_read_catalog(mdb, MDB_TABLE) != nullptr) {
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
      const auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
      if (entry->object_type == MDB_TABLE && !mdb_is_system_table(const_cast<MdbCatalogEntry*>(entry))) {
        tables.emplace_back(entry->object_name);
      }
    }
  }
  mdb_close(mdb);
  return tables;
}

}  // namespace Oracle
