#pragma once

#include "common/ui/Dialogs.h"

// The message box and the input box as Qt dialogs, over the window that is active when they open.
namespace Ui {

// Styles 0 (OK), 4 (Yes/No) and 48 (OK with an exclamation icon); any other style throws
// Main::Error (ControlError::kInvalidCall). A CR LF or a lone CR in the prompt breaks the line.
class QtMessageBox : public MessageBoxService {
 public:
  int Show(std::u16string_view prompt, int style, std::u16string_view title) override;
};

// A prompt above an empty text box, with OK and Cancel.
class QtInputBox : public InputBoxService {
 public:
  std::optional<std::u16string> Ask(std::u16string_view prompt, std::u16string_view title) override;
};

}  // namespace Ui
