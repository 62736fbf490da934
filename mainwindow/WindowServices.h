#pragma once

#include <functional>

#include "common/SettingsStore.h"
#include "common/ui/Dialogs.h"
#include "common/ui/FileDialog.h"
#include "common/ui/UrlOpener.h"

namespace Windows {

class Form2;

// What the two windows need from the program around them: the settings store, the dialogs, the
// way to end the program and the cleaning run behind "Start Removing". Tests pass scripted ones.
struct WindowServices {
  Main::SettingsStore& settings;
  Ui::MessageBoxService& messageBox;
  Ui::OpenFileDialog& fileDialog;
  Ui::UrlOpener& urlOpener;
  std::function<void()> endProgram;              // closes every window at once
  std::function<void(Form2&)> startRemoving = {};  // the cleaning run; nothing happens without one
  bool settingsFailureTold = false;                // a failed settings write has been told
};

// Stores a setting as the user changes it. A store that cannot be written never ends the program
// and never touches what the user typed: the first failure of a program run is told in a message
// box (which file, and why), later ones are not, and the program goes on.
void StoreSetting(WindowServices& services, std::u16string_view key, std::u16string_view value);

}  // namespace Windows
