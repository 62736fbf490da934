#pragma once

#include <functional>

class QWidget;

// Mouse-move events of any widget, for the windows' pointer rule.
namespace Ui {

// Calls `onMove` whenever the mouse moves over `widget`, with or without a button held down, and
// turns on the widget's mouse tracking for that. A move over a watched child is that child's
// alone: when Qt passes it on to the parents, their watchers stay silent, so a move over a
// watched button never counts as a move over the frame or window around it. Widgets nobody
// watches report no moves (Qt's default), so the pointer stays as it was over them.
void WatchMouseMoves(QWidget& widget, std::function<void()> onMove);

}  // namespace Ui
