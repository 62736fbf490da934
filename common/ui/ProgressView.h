#pragma once

#include <string>
#include <string_view>

#include "common/Error.h"
#include "common/ui/ControlErrors.h"

// A progress bar with a caption drawn on it: the position of a cleaning run in the field in hand.
namespace Ui {

class ProgressView {
 public:
  virtual ~ProgressView() = default;

  // The value in percent, 0 to 100, fractions allowed and kept. A value outside that range (or
  // not a number) throws Main::Error (ControlError::kInvalidPropertyValue) and changes nothing.
  virtual void SetValue(double percent) = 0;
  virtual double Value() const = 0;

  virtual void SetCaption(std::u16string_view caption) = 0;
  virtual std::u16string Caption() const = 0;
};

// Throws Main::Error (ControlError::kInvalidPropertyValue) for a value a progress bar cannot take:
// one outside 0 to 100, or not a number.
inline void CheckProgressPercent(double percent) {
  if (!(percent >= 0 && percent <= 100)) {
    throw Main::Error(ControlError::kInvalidPropertyValue,
                      "Invalid property value: progress " + std::to_string(percent));
  }
}

}  // namespace Ui
