#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/jet/oracle/Csv.h"

// mdbtools, the independent reader the engine is checked against. Every call throws
// std::runtime_error when the tool fails.
namespace Oracle {

// Whether mdb-tables, mdb-export and mdb-ver can be run (found out once).
bool MdbToolsPresent();

// `mdb-tables -1 FILE`: the user tables, in catalogue order.
std::vector<std::string> MdbUserTables(const std::filesystem::path& file);

// `mdb-ver FILE`: "JET3", "JET4", "ACE12", ...
std::string MdbVersion(const std::filesystem::path& file);

// One column's name and type as `mdb-schema -T TABLE FILE access` declares it (its NOT NULL is
// compared on its own, MdbSchemaNotNullColumns).
struct SchemaColumn {
  std::string name;
  std::string type;  // "Text (50)", "Long Integer", "Memo/Hyperlink (255)", "Unknown_0012", ...
  friend bool operator==(const SchemaColumn&, const SchemaColumn&) = default;
};

// The table's columns from `mdb-schema -T TABLE FILE access`, in column order.
std::vector<SchemaColumn> MdbSchemaColumns(const std::filesystem::path& file,
                                           const std::string& table);

// The names of the columns `mdb-schema -T TABLE FILE access` declares NOT NULL, in column order:
// those whose Required property is Yes, and every Yes/No column.
std::vector<std::string> MdbSchemaNotNullColumns(const std::filesystem::path& file,
                                                 const std::string& table);

// `mdb-export -D '%Y-%m-%d %H:%M:%S' -T '%Y-%m-%d %H:%M:%S' -b hex FILE TABLE`, parsed; the
// first record is the header.
std::vector<CsvRecord> MdbExport(const std::filesystem::path& file, const std::string& table);

}  // namespace Oracle
