#pragma once

#include <filesystem>
#include <optional>
#include <vector>

// The real Access files the engine is checked against (see the corpus README).
namespace Oracle {

// The folder QUORVANE_CORPUS names; nothing when the variable is unset or the folder missing.
std::optional<std::filesystem::path> CorpusFolder();

// The .mdb and .accdb files under the folder, as paths relative to it, sorted.
std::vector<std::filesystem::path> CorpusFiles(const std::filesystem::path& folder);

}  // namespace Oracle
