#pragma once

#include <QColor>
#include <string>

class QWidget;

// The program folder's optional files and the look they give the windows: the skin (a Qt style
// sheet at x/o.cjs), the hand pointer (HAND-M.CUR) and the button-face colours.
namespace Ui {

// The folder of the running program, without a trailing separator.
std::u16string ProgramFolder();

// The skin file and the hand pointer's cursor file in the program folder.
std::u16string SkinFilePath();
std::u16string HandPointerPath();

// The system's button-face colour, following the user's colour scheme.
QColor ButtonFaceColor();

// Gives the window, and each of its option buttons, check boxes, frames and labels, the
// button-face colour as background; other controls keep theirs.
void ApplyButtonFaceColors(QWidget& window);

// With a skin file in the program folder: the button-face colours on `window`, then the style
// sheet for the whole program. Without one nothing changes. A skin file that cannot be read throws
// Main::Error.
void ApplySkin(QWidget& window);

}  // namespace Ui
