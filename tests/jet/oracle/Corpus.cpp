#include "tests/jet/oracle/Corpus.h"

#include <algorithm>
#include <cstdlib>

namespace Oracle {

std::optional<std::filesystem::path> CorpusFolder() {
  const char* folder = std::getenv("QUORVANE_CORPUS");
  if (folder == nullptr || *folder == '\0') return std::nullopt;
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) return std::nullopt;
  return std::filesystem::path(folder);
}

std::vector<std::filesystem::path> CorpusFiles(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  std::error_code error;
  for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
       !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
    const std::string extension = it->path().extension().string();
    if (it->is_regular_file() && (extension == ".mdb" || extension == ".accdb")) {
      files.push_back(std::filesystem::relative(it->path(), folder));
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace Oracle
