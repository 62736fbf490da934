#pragma once

#include <string_view>

// Opens a web page in the user's browser.
namespace Ui {

class UrlOpener {
 public:
  virtual ~UrlOpener() = default;
  // True when the page was handed to the browser.
  virtual bool Open(std::u16string_view url) = 0;
};

}  // namespace Ui
