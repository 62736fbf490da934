#pragma once

#include <filesystem>
#include <string>

#include "common/Text.h"
#include "database/access/ConnectionString.h"
#include "tests/jet/CorpusFiles.h"

// Paths of database files for the tests above the engine, as the program's text.
namespace Testing {

// A corpus file's path as text, or empty when the corpus is absent.
inline std::u16string CorpusFile(const std::string& relative) {
  const auto folder = Jet::Testing::CorpusDir();
  if (folder.empty() || !std::filesystem::exists(folder / relative)) return {};
  return Main::FromUtf8((folder / relative).string());
}

inline std::u16string PathText(const std::filesystem::path& path) {
  return Main::FromUtf8(path.string());
}

// The connection string of an .accdb file without a password, as the program makes it.
inline std::u16string AccdbConnectionString(const std::filesystem::path& path) {
  return u"PROVIDER=Microsoft.ACE.OLEDB.12.0;Data Source=" + Access::QuoteConnectionValue(PathText(path)) +
         u";JET OLEDB:Database Password=";
}

}  // namespace Testing
