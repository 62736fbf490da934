#include "common/ui/Twips.h"

#include <cmath>

namespace Ui {

int TwipsToPixels(int twips, double dotsPerInch) {
  return static_cast<int>(std::lround(twips * dotsPerInch / kTwipsPerInch));
}

}  // namespace Ui
