#pragma once

#include <QFont>

class QWidget;

// Placing the windows' controls as their layout gives them: positions and sizes in twips, Arial
// fonts in points, fixed-size windows centred on the screen.
namespace Ui {

// Moves and sizes `control` (relative to its parent) from twips.
void PlaceInTwips(QWidget& control, int left, int top, int width, int height);

// Arial (or the fonts that stand in for it) at `points`, bold or not.
QFont ArialFont(double points, bool bold);

// A window with a fixed single border, a minimize button and no maximize button, its client area
// `widthTwips` by `heightTwips`.
void MakeFixedWindow(QWidget& window, int widthTwips, int heightTwips);

// Moves the window to the centre of the screen it is on.
void CentreOnScreen(QWidget& window);

}  // namespace Ui
