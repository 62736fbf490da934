#pragma once

#include "common/ErrorReport.h"
#include "common/ui/EventPump.h"
#include "common/ui/qt/QtFileDialog.h"
#include "common/ui/qt/QtMessageBox.h"
#include "common/ui/qt/QtUrlOpener.h"

// The program's window toolkit: the Qt dialogs, the Qt event pump and the "Application Error"
// box, for as long as the program's main keeps it (created after the QApplication).
namespace Ui {

// A reporter that shows the report text in `box`, titled "Application Error", with the OK button
// and the exclamation icon.
Main::ErrorReporter MessageBoxErrorReporter(MessageBoxService& box);

// Installs the Qt event pump and the message-box error reporter while it lives; puts back the
// ones installed before when it goes.
class QtUi {
 public:
  QtUi();
  ~QtUi();
  QtUi(const QtUi&) = delete;
  QtUi& operator=(const QtUi&) = delete;

  MessageBoxService& MessageBox() { return messageBox_; }
  InputBoxService& InputBox() { return inputBox_; }
  OpenFileDialog& FileDialog() { return fileDialog_; }
  UrlOpener& Browser() { return urlOpener_; }

 private:
  QtMessageBox messageBox_;
  QtInputBox inputBox_;
  QtFileDialog fileDialog_;
  QtUrlOpener urlOpener_;
  EventPumpHooks previousPump_;
  Main::ErrorReporter previousReporter_;
};

}  // namespace Ui
