#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/Error.h"
#include "common/Text.h"
#include "jet/Database.h"
#include "tests/jet/CorpusFiles.h"
#include "tests/jet/oracle/MdbTools.h"

// Writable copies of corpus files and what the writer tests check on them.
namespace Jet::Testing {

// A copy of a corpus file (a path below the corpus folder) in the test's scratch folder, writable.
inline std::filesystem::path WritableCopy(const std::string& relative) {
  const std::filesystem::path source = CorpusDir() / relative;
  const std::filesystem::path copy = ScratchDir() / source.filename();
  std::filesystem::copy_file(source, copy, std::filesystem::copy_options::overwrite_existing);
  std::filesystem::permissions(copy, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  return copy;
}

inline std::unique_ptr<Database> OpenForWriting(const std::filesystem::path& file) {
  OpenOptions options;
  options.readWrite = true;
  return Database::Open(file, options);
}

// The identity of the row at this position of the scan.
inline RowId RowAt(const Database& database, std::shared_ptr<const TableDefinition> table, size_t position) {
  auto cursor = database.Scan(std::move(table));
  for (size_t n = 0; n <= position; ++n)
    if (!cursor->Next()) throw std::runtime_error("the table has too few rows");
  return cursor->Id();
}

// Every user table of the file as mdb-export prints it.
inline std::vector<std::vector<Oracle::CsvRecord>> ExportAll(const std::filesystem::path& file) {
  std::vector<std::vector<Oracle::CsvRecord>> tables;
  for (const std::string& table : Oracle::MdbUserTables(file)) tables.push_back(Oracle::MdbExport(file, table));
  return tables;
}

inline std::string Utf8(std::u16string_view text) { return Main::ToUtf8(text); }

// The number of the error the action throws (0 when it throws none), its description in
// `description` if given.
inline long RefusalNumber(const std::function<void()>& action, std::u16string* description = nullptr) {
  try {
    action();
  } catch (const Main::Error& error) {
    if (description != nullptr) *description = error.Description();
    return error.Number();
  }
  return 0;
}

}  // namespace Jet::Testing

#define QUORVANE_REQUIRE_MDBTOOLS() \
  if (!::Oracle::MdbToolsPresent()) GTEST_SKIP() << "no mdbtools"
