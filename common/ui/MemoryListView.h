#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/Error.h"
#include "common/ui/ControlErrors.h"
#include "common/ui/ListView.h"

namespace Ui {

// A list view held in memory, with the same rules as the window's: the lists of a run without
// windows, and of tests. What was set on it stays readable.
class MemoryListView : public ListView {
 public:
  explicit MemoryListView(bool severalSelected = false) : several_(severalSelected) {}

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
    if (!current_) throw Main::Error(ControlError::kNoObject, "Object variable or With block variable not set");
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
    if (index < 1 || index > Count()) throw Main::Error(ControlError::kIndexOutOfBounds, "Index out of bounds");
    return entries_[index - 1];
  }

  bool several_;
  std::vector<Item> entries_;
  std::optional<int> current_;
};

}  // namespace Ui
