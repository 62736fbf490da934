#include <QApplication>
#include <cstdlib>
#include <iostream>

#include "common/Config.h"
#include "common/SettingsStore.h"
#include "common/ui/EventPump.h"
#include "common/ui/qt/QtText.h"
#include "common/ui/qt/QtUi.h"
#include "common/ui/qt/SessionEndWatcher.h"
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
// the main window or ends the program; closing either window, or the end of the session, ends
// it. A cleaning run at work then stops after the record in hand and lets the file go.
int main(int argc, char** argv) {
  if (!DisplayAvailable()) {
    std::cout << "Quorvane is a desktop program and needs a display: start it from a desktop session\n"
                 "(or set DISPLAY / WAYLAND_DISPLAY), or without one with QT_QPA_PLATFORM=offscreen.\n";
    return 0;
  }
  QApplication application(argc, argv);
  QCoreApplication::setOrganizationName(Ui::ToQString(Main::Config::kCompanyName));
  QCoreApplication::setApplicationName(Ui::ToQString(Main::Config::kProductName));
  Ui::QtUi ui;
  Main::SettingsStore settings = Main::SettingsStore::ForCurrentUser();
  bool ended = false;
  const auto endProgram = [&ended] {
    ended = true;
    Ui::RequestProgramEnd();
    for (QWidget* window : QApplication::topLevelWidgets()) window->hide();
    QCoreApplication::exit(0);
  };
  Ui::SessionEndWatcher sessionEnd(endProgram);
  Windows::WindowServices services{settings, ui.MessageBox(), ui.FileDialog(), ui.Browser(), endProgram};
  Windows::Form1 selection(services);
  services.startRemoving = Windows::CleaningRunStarter(ui.InputBox(), ui.MessageBox(), selection);
  selection.Form_Load();
  if (ended) return 0;
  const Windows::Form2* mainWindow = selection.LoadedMainWindow();
  if (mainWindow == nullptr || !mainWindow->isVisible()) selection.show();
  return QApplication::exec();
}
