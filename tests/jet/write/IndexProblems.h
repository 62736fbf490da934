#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "common/Text.h"
#include "jet/OpenDatabase.h"
#include "jet/index/IndexChecker.h"

// What the writer tests hold every index of a file to after their changes.
namespace Jet::Testing {

// Every problem the index checker finds in any table of the file (opened with `password`), one
// line each ("table: index: what").
inline std::vector<std::string> IndexProblems(const std::filesystem::path& file, const std::u16string& password = {}) {
  OpenDatabase database(file, OpenOptions{password, false});
  std::vector<std::string> lines;
  for (const CatalogEntry& entry : database.TablesRowset()) {
    if (entry.type != u"TABLE" && entry.type != u"SYSTEM TABLE" && entry.type != u"ACCESS TABLE") continue;
    const auto definition = database.Table(entry.name);
    const auto layout = database.Layout(definition->definitionPage, definition->name);
    for (const IndexProblem& problem : CheckIndexes(database.Pages(), database.Format(), database.Info().codePage, *layout))
      lines.push_back(Main::ToUtf8(entry.name) + ": " + Main::ToUtf8(problem.index) + ": " + problem.what);
  }
  return lines;
}

}  // namespace Jet::Testing
