#pragma once

#include <functional>

#include "common/ui/DropDownList.h"
#include "common/ui/ListView.h"
#include "common/ui/ProgressView.h"
#include "common/ui/WindowPointer.h"

// What a cleaning run sees of the main window: the controls it reads and drives. The window
// passes its own controls; tests and the benchmark pass scripted ones.
namespace Engine {

struct RunView {
  Ui::ListView& tables;           // its current entry at the start is the table the run cleans
  Ui::ListView& fields;           // its entries selected at the start are the fields the run cleans
  Ui::DropDownList& operations;   // its text names the operation, read afresh for each field
  Ui::WindowPointer& pointer;     // the hourglass while the run works
  Ui::ProgressView& progress;     // the position in the field in hand
  Ui::ListView& preview;          // refilled from the field list's current entry at the end
};

// Waits the given seconds while the windows stay responsive (Main::PauseSeconds in the program).
using PauseFunction = std::function<void(double seconds)>;

}  // namespace Engine
