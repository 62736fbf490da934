#pragma once

// The layout unit of the windows' positions and column widths: the twip, 1/1440 inch.
namespace Ui {

inline constexpr int kTwipsPerInch = 1440;

// Pixels for a length in twips on a device with that many dots per inch, rounded to the nearest
// pixel (15 twips are one pixel at 96 dots per inch).
int TwipsToPixels(int twips, double dotsPerInch);

}  // namespace Ui
