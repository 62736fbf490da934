#include "common/ui/qt/QtTwips.h"

#include <QPaintDevice>

#include "common/ui/Twips.h"

namespace Ui {

int TwipsToPixels(const QPaintDevice& device, int twips) { return TwipsToPixels(twips, device.logicalDpiX()); }

}  // namespace Ui
