#pragma once

#include <string>

#include "common/Error.h"
#include "common/ui/ControlErrors.h"

// The mouse pointer setting of a window, one for the window and all its controls.
namespace Ui {

enum PointerValue : int {
  kPointerDefault = 0,  // the standard arrow
  kPointerBusy = 11,    // the hourglass, while the window works
  kPointerCustom = 99   // the window's own pointer image (the hand), the arrow when none is loaded
};

class WindowPointer {
 public:
  virtual ~WindowPointer() = default;
  virtual int Pointer() const = 0;
  // Takes one of the PointerValue values; any other throws Main::Error
  // (ControlError::kInvalidPropertyValue).
  virtual void SetPointer(int value) = 0;
};

// The pointer rule of the windows' mouse-move events. Neither changes a busy pointer: only the
// operation that set it puts it back.
// The mouse moves over a push button: the custom pointer.
void PointerOverButton(WindowPointer& pointer);
// The mouse moves over the window's background, a frame, a text box or a list: the default one.
void PointerOverBackground(WindowPointer& pointer);

// Throws Main::Error (ControlError::kInvalidPropertyValue) for a value that is not one of the
// PointerValue values.
inline void CheckPointerValue(int value) {
  if (value != kPointerDefault && value != kPointerBusy && value != kPointerCustom) {
    throw Main::Error(ControlError::kInvalidPropertyValue,
                      "Invalid property value: mouse pointer " + std::to_string(value));
  }
}

}  // namespace Ui
