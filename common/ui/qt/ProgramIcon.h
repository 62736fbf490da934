#pragma once

#include <QIcon>
#include <QImage>

// The program's icon, drawn by the program itself: a database drum on a blue tile with a spark of
// cleaning light.
namespace Ui {

// The icon drawn at `size` by `size` pixels.
QImage ProgramIconImage(int size);

// The icon at the usual sizes, for the windows.
QIcon ProgramIcon();

}  // namespace Ui
