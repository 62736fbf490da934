#include "common/ui/qt/QtDropDownList.h"

#include <QSignalBlocker>
#include <string>

#include "common/Error.h"
#include "common/ui/ControlErrors.h"
#include "common/ui/qt/QtText.h"

namespace Ui {

QtDropDownList::QtDropDownList(QWidget* parent) : QComboBox(parent) {
  setEditable(false);
  connect(this, &QComboBox::activated, this, [this] {
    if (onClick) onClick();
  });
  connect(this, &QComboBox::currentIndexChanged, this, [this] {
    if (onChange) onChange();
  });
}

void QtDropDownList::AddItem(std::u16string_view text) {
  const QSignalBlocker quiet(this);
  const int selected = currentIndex();
  addItem(ToQString(text));
  setCurrentIndex(selected);
}

int QtDropDownList::SelectedIndex() const { return currentIndex(); }

void QtDropDownList::SetSelectedIndex(int index) {
  if (index < -1 || index >= count()) {
    throw Main::Error(ControlError::kInvalidPropertyValue,
                      "Invalid property value: no item " + std::to_string(index));
  }
  setCurrentIndex(index);
}

std::u16string QtDropDownList::Text() const { return FromQString(currentText()); }

}  // namespace Ui
