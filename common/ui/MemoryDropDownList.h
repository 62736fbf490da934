#pragma once

#include <string>
#include <vector>

#include "common/Error.h"
#include "common/ui/ControlErrors.h"
#include "common/ui/DropDownList.h"

namespace Ui {

// A drop-down list held in memory, with the same rules as the window's: the operation list of a
// run without windows, and of tests.
class MemoryDropDownList : public DropDownList {
 public:
  void AddItem(std::u16string_view text) override { items.emplace_back(text); }
  int SelectedIndex() const override { return selected_; }
  void SetSelectedIndex(int index) override {
    if (index < -1 || index >= static_cast<int>(items.size())) {
      throw Main::Error(ControlError::kInvalidPropertyValue, "Invalid property value");
    }
    selected_ = index;
  }
  std::u16string Text() const override { return selected_ < 0 ? std::u16string() : items[selected_]; }

  std::vector<std::u16string> items;

 private:
  int selected_ = -1;
};

}  // namespace Ui
