#pragma once

#include <string>
#include <vector>

#include "common/ui/MemoryDropDownList.h"
#include "common/ui/MemoryListView.h"
#include "common/ui/ProgressView.h"
#include "common/ui/WindowPointer.h"

// In-memory controls that keep the same rules as the window's real ones and remember what was
// done to them, so that the cleaning run and the windows' logic can be tested without windows.
namespace Testing {

using ScriptedListView = Ui::MemoryListView;
using ScriptedDropDownList = Ui::MemoryDropDownList;

class ScriptedProgressView : public Ui::ProgressView {
 public:
  void SetValue(double percent) override {
    Ui::CheckProgressPercent(percent);
    values.push_back(percent);
  }
  double Value() const override { return values.empty() ? 0 : values.back(); }
  void SetCaption(std::u16string_view caption) override { captions.emplace_back(caption); }
  std::u16string Caption() const override { return captions.empty() ? std::u16string() : captions.back(); }

  std::vector<double> values;           // every value set, in order
  std::vector<std::u16string> captions;  // every caption set, in order
};

class ScriptedWindowPointer : public Ui::WindowPointer {
 public:
  int Pointer() const override { return settings.empty() ? Ui::kPointerDefault : settings.back(); }
  void SetPointer(int value) override {
    Ui::CheckPointerValue(value);
    settings.push_back(value);
  }

  std::vector<int> settings;  // every value set, in order
};

}  // namespace Testing
