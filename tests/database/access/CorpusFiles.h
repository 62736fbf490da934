#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/Text.h"

// The real Access files the tests may read, when they are present.
namespace Testing {

inline std::filesystem::path CorpusFolder() {
  const char* folder = std::getenv("QUORVANE_CORPUS");
  return folder == nullptr ? std::filesystem::path() : std::filesystem::path(folder);
}

// The corpus file's path as text, or empty when the corpus is absent.
inline std::u16string CorpusFile(const std::string& relative) {
  const auto folder = CorpusFolder();
  if (folder.empty() || !std::filesystem::exists(folder / relative)) return {};
  return Main::FromUtf8((folder / relative).string());
}

}  // namespace Testing
