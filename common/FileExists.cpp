#include "common/FileExists.h"

#include <system_error>

#include "common/Text.h"

namespace Main {

std::filesystem::path PathFromText(std::u16string_view path) {
  return std::filesystem::path(ToUtf8(path));
}

bool FileExists(std::u16string_view path) {
  if (path.empty()) return false;
  try {
    const std::filesystem::path target = PathFromText(path);
    std::error_code error;
    static_cast<void>(std::filesystem::last_write_time(target, error));
    if (error) return false;
    return !std::filesystem::is_directory(target, error) && !error;
  } catch (...) {  // a path the system cannot represent
    return false;
  }
}

}  // namespace Main
