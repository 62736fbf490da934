#pragma once

#include <filesystem>
#include <string_view>

namespace Main {

// True when the path names a file whose last-modified time can be read. Every failure (empty or
// malformed path, no such entry, no access) gives false; a folder is not a file.
bool FileExists(std::u16string_view path);

// The file-system path of a text path.
std::filesystem::path PathFromText(std::u16string_view path);

}  // namespace Main
