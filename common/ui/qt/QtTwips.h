#pragma once

class QPaintDevice;

// Twips on a Qt device: through the logical dots per inch of the device's screen, so that Qt's
// high-DPI scaling does the rest.
namespace Ui {

int TwipsToPixels(const QPaintDevice& device, int twips);

}  // namespace Ui
