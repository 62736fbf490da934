#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/Error.h"
#include "common/ui/ControlErrors.h"
#include "common/ui/DropDownList.h"
#include "common/ui/ListView.h"
#include "common/ui/ProgressView.h"
#include "common/ui/WindowPointer.h"

// In-memory controls that keep the same rules as the window's real ones and remember what was
// done to them, so that the cleaning run and the windows' logic can be tested without windows.
namespace Testing {

class ScriptedListView : public Ui::ListView {
 public:
  explicit ScriptedListView(bool severalSelected = false) : several_(severalSelected) {}

  void AddColumn(std::u16string_view header, int widthTwips) override {
    columnHeader = header;
    columnWidthTwips = widthTwips;
  }
  void SetColumnWidth(int widthTwips) override { columnWidthTwips = widthTwips; }
  void Clear() override {
    entries_.clear();
    current_.reset();
  }
  void AddEntry(std::u16string_view text) override {
    entries_.push_back({std::u16string(text), entries_.empty()});
    if (entries_.size() == 1) current_ = 1;
  }
  int Count() const override { return static_cast<int>(entries_.size()); }
  std::u16string EntryText(int index) const override { return Entry(index).text; }
  bool IsEntrySelected(int index) const override { return Entry(index).selected; }
  void SetEntrySelected(int index, bool selected) override {
    Entry(index);
    if (selected && !several_) {
      Click(index);
    } else {
      entries_[index - 1].selected = selected;
    }
  }
  std::optional<int> CurrentEntry() const override { return current_; }
  std::u16string CurrentEntryText() const override {
    if (!current_) throw Main::Error(Ui::ControlError::kNoObject, "Object variable or With block variable not set");
    return EntryText(*current_);
  }
  void SetToolTip(std::u16string_view text) override { toolTip = text; }

  // The user clicks an entry: it becomes the current entry and the only selected one.
  void Click(int index) {
    Entry(index);
    for (auto& entry : entries_) entry.selected = false;
    entries_[index - 1].selected = true;
    current_ = index;
  }

  std::u16string columnHeader;
  int columnWidthTwips = 0;
  std::u16string toolTip;

 private:
  struct Item {
    std::u16string text;
    bool selected;
  };

  const Item& Entry(int index) const {
    if (index < 1 || index > Count()) throw Main::Error(Ui::ControlError::kIndexOutOfBounds, "Index out of bounds");
    return entries_[index - 1];
  }

  bool several_;
  std::vector<Item> entries_;
  std::optional<int> current_;
};

class ScriptedDropDownList : public Ui::DropDownList {
 public:
  void AddItem(std::u16string_view text) override { items.emplace_back(text); }
  int SelectedIndex() const override { return selected_; }
  void SetSelectedIndex(int index) override {
    if (index < -1 || index >= static_cast<int>(items.size())) {
      throw Main::Error(Ui::ControlError::kInvalidPropertyValue, "Invalid property value");
    }
    selected_ = index;
  }
  std::u16string Text() const override { return selected_ < 0 ? std::u16string() : items[selected_]; }

  std::vector<std::u16string> items;

 private:
  int selected_ = -1;
};

class ScriptedProgressView : public Ui::ProgressView {
 public:
  void SetValue(double percent) override {
    if (!(percent >= 0 && percent <= 100)) {
      throw Main::Error(Ui::ControlError::kInvalidPropertyValue, "Invalid property value");
    }
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
    if (value != Ui::kPointerDefault && value != Ui::kPointerBusy && value != Ui::kPointerCustom) {
      throw Main::Error(Ui::ControlError::kInvalidPropertyValue, "Invalid property value");
    }
    settings.push_back(value);
  }

  std::vector<int> settings;  // every value set, in order
};

}  // namespace Testing
