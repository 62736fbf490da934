#pragma once

#include <string>

// The modal open-file dialog the windows ask for a database file; tests script it.
namespace Ui {

// Flags of the open-file dialog, as the callers pass them. Outside Windows only their meaning
// for the caller remains; the dialogs there have no such switches.
enum OpenFileFlags : long {
  kReadOnlyTicked = 0x1,     // the read-only check box starts ticked
  kExplorerStyle = 0x80000,  // the explorer-style dialog
  kLongNames = 0x200000      // long file names
};

// What the dialog shows. The filter is "|"-separated pairs of description and patterns, the
// patterns separated by ";": "Access Databases (*.mdb;*.accdb)|*.mdb;*.accdb|All Files (*.*)|*.*".
// A final "|" adds nothing. The first entry is the one selected when the dialog opens.
struct OpenFileRequest {
  std::u16string title;
  std::u16string filter;
  long flags = 0;
};

// Shows the dialog and waits until it is closed.
class OpenFileDialog {
 public:
  virtual ~OpenFileDialog() = default;
  // The full path of the chosen file; empty after Cancel, which is no failure.
  virtual std::u16string ShowOpen(const OpenFileRequest& request) = 0;
};

}  // namespace Ui
