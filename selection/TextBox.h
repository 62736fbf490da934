#pragma once

#include <QLineEdit>
#include <functional>

namespace Windows {

// A one-line text box that tells when it receives the focus.
class TextBox : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;

  std::function<void()> onGotFocus;

 protected:
  void focusInEvent(QFocusEvent* event) override {
    QLineEdit::focusInEvent(event);
    if (onGotFocus) onGotFocus();
  }
};

}  // namespace Windows
