#pragma once

#include <string>
#include <string_view>

// A drop-down list the user picks an item from and cannot type into: the operation list.
namespace Ui {

class DropDownList {
 public:
  virtual ~DropDownList() = default;

  virtual void AddItem(std::u16string_view text) = 0;
  // The selected item's 0-based index, -1 when none is selected.
  virtual int SelectedIndex() const = 0;
  // Selects the item at `index`, or nothing for -1. Any other index outside the items throws
  // Main::Error (ControlError::kInvalidPropertyValue) and leaves the selection as it was.
  virtual void SetSelectedIndex(int index) = 0;
  // The selected item's text; empty when none is selected.
  virtual std::u16string Text() const = 0;
};

}  // namespace Ui
