#include "common/ui/qt/QtUrlOpener.h"

#include <QDesktopServices>
#include <QUrl>

#include "common/ui/qt/QtText.h"

namespace Ui {

bool QtUrlOpener::Open(std::u16string_view url) {
  return QDesktopServices::openUrl(QUrl(ToQString(url), QUrl::TolerantMode));
}

}  // namespace Ui
