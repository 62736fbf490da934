#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTemporaryDir>
#include <iostream>

#include "common/SettingsStore.h"
#include "common/ui/qt/QtText.h"
#include "common/ui/qt/QtUi.h"
#include "selection/Form1.h"

// Renders the two windows at scale 1 against the sample database, client area only, for the
// README, showing the first table of the sample with values to preview: screenshots FOLDER writes selection-window.png and main-window.png there. It runs
// beside the program, so the skin, the pointer and the sample are the program's own; the user's
// settings are not touched.
int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: screenshots FOLDER\n";
    return 2;
  }
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QT_SCALE_FACTOR", "1");
  QApplication application(argc, argv);
  Ui::QtUi ui;
  QTemporaryDir scratch;
  Main::SettingsStore settings = Main::SettingsStore::AtFile(Ui::FromQString(scratch.filePath("settings.ini")));
  Windows::WindowServices services{settings, ui.MessageBox(), ui.FileDialog(), ui.Browser(), [] {}};
  const QDir folder(QString::fromLocal8Bit(argv[1]));

  Windows::Form1 selection(services);
  selection.Form_Load();
  selection.show();
  selection.PushButton3_Click();
  QApplication::processEvents();
  if (!selection.grab().save(folder.filePath("selection-window.png"))) {
    std::cerr << "screenshots: cannot write selection-window.png\n";
    return 1;
  }

  selection.PushButton2_Click();
  Windows::Form2& mainWindow = selection.MainWindow();
  // The first table whose first field has values to preview (the sample starts with an empty one).
  for (int table = 1; table <= mainWindow.ListView1().Count(); ++table) {
    mainWindow.ListView1().SetEntrySelected(table, true);
    mainWindow.ListView1_Click();
    if (mainWindow.ListView3().Count() > 0) break;
  }
  QApplication::processEvents();
  if (!mainWindow.grab().save(folder.filePath("main-window.png"))) {
    std::cerr << "screenshots: cannot write main-window.png\n";
    return 1;
  }
  return 0;
}
