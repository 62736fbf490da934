#include "common/ApplicationTitle.h"

#include "common/Config.h"

namespace Main {
namespace {

constexpr size_t kMaximumTitleLength = 40;

std::u16string& StoredTitle() {
  static std::u16string title(Config::kProductName);
  return title;
}

}  // namespace

std::u16string TitleFromName(std::u16string_view name) {
  std::u16string_view title = name;
  do {
    const size_t blank = title.rfind(u' ');
    if (blank == std::u16string_view::npos) break;
    title = title.substr(0, blank);
  } while (title.size() > kMaximumTitleLength);
  return std::u16string(title);
}

void SetApplicationTitle() { StoredTitle() = TitleFromName(Config::kProductName); }

const std::u16string& ApplicationTitle() { return StoredTitle(); }

}  // namespace Main
