#pragma once

#include <QComboBox>
#include <functional>

#include "common/ui/DropDownList.h"

// The drop-down list as a Qt combo box that cannot be typed into. Adding items selects none of
// them (a Qt combo box would select its first item by itself).
namespace Ui {

class QtDropDownList : public QComboBox, public DropDownList {
 public:
  explicit QtDropDownList(QWidget* parent = nullptr);

  void AddItem(std::u16string_view text) override;
  int SelectedIndex() const override;
  void SetSelectedIndex(int index) override;
  std::u16string Text() const override;

  std::function<void()> onClick;   // the user picked an item, even the one already selected
  std::function<void()> onChange;  // the selected item changed, by the user or by the program
};

}  // namespace Ui
