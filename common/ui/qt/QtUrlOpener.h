#pragma once

#include "common/ui/UrlOpener.h"

// Opens web pages with the desktop's browser.
namespace Ui {

class QtUrlOpener : public UrlOpener {
 public:
  bool Open(std::u16string_view url) override;
};

}  // namespace Ui
