#include <gtest/gtest.h>

#include <QApplication>

// The test program of the window-toolkit layer: GoogleTest inside a QApplication, on the offscreen
// platform unless the environment asks for another.
int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
