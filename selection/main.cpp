#include <QApplication>
#include <cstdlib>
#include <iostream>

#include "common/SettingsStore.h"
#include "common/ui/qt/QtUi.h"
#include "mainwindow/CleaningRunStarter.h"
#include "selection/Form1.h"

namespace {

// True when Qt has somewhere to show the windows: a platform named in QT_QPA_PLATFORM, or on
// Linux an X or Wayland display.
bool DisplayAvailable() {
#if defined(__linux__)
  for (const char* variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
#else
  return true;
#endif
}

}  // namespace

// The program: the selection window's load decides whether it shows itself, moves straight on to
// the main window or ends the program; closing either window ends it.
int main(int argc, char** argv) {
  if (!DisplayAvailable()) {
    std::cout << "Quorvane is a desktop program and needs a display: start it from a desktop session\n"
                 "(or set DISPLAY / WAYLAND_DISPLAY), or without one with QT_QPA_PLATFORM=offscreen.\n";
    return 0;
  }
  QApplication application(argc, argv);
  Ui::QtUi ui;
  Main::SettingsStore settings = Main::SettingsStore::ForCurrentUser();
  bool ended = false;
  Windows::WindowServices services{settings, ui.MessageBox(), ui.FileDialog(), ui.Browser(), [&ended] {
                                     ended = true;
                                     QCoreApplication::exit(0);
                                   }};
  Windows::Form1 selection(services);
  services.startRemoving = Windows::CleaningRunStarter(ui.InputBox(), ui.MessageBox(), selection);
  selection.Form_Load();
  if (ended) return 0;
  const Windows::Form2* mainWindow = selection.LoadedMainWindow();
  if (mainWindow == nullptr || !mainWindow->isVisible()) selection.show();
  return QApplication::exec();
}
