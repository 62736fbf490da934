#pragma once

#include <optional>
#include <string>
#include <string_view>

// Qt-free interfaces of the modal boxes the core asks through; the window layer implements them
// with real dialogs and tests script them.
namespace Ui {

// Message box styles, as the program's callers pass them.
enum MessageBoxStyle : int {
  kOkOnly = 0,             // OK button, no icon
  kYesNo = 4,              // Yes and No buttons, no icon
  kOkOnlyExclamation = 48  // OK button, exclamation icon
};

// Answers of a message box.
enum MessageBoxAnswer : int { kAnswerOk = 1, kAnswerYes = 6, kAnswerNo = 7 };

// A modal message box. The caller always passes the title (the application title when it has
// none of its own).
class MessageBoxService {
 public:
  virtual ~MessageBoxService() = default;
  virtual int Show(std::u16string_view prompt, int style, std::u16string_view title) = 0;
};

// A modal input box showing only a prompt, no default text. Gives the typed text (possibly
// empty) after OK, nothing after Cancel.
class InputBoxService {
 public:
  virtual ~InputBoxService() = default;
  virtual std::optional<std::u16string> Ask(std::u16string_view prompt,
                                            std::u16string_view title) = 0;
};

}  // namespace Ui
