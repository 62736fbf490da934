#include "common/ui/qt/WindowLayout.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "common/ui/qt/QtTwips.h"

namespace Ui {

void PlaceInTwips(QWidget& control, int left, int top, int width, int height) {
  control.setGeometry(TwipsToPixels(control, left), TwipsToPixels(control, top),
                      TwipsToPixels(control, width), TwipsToPixels(control, height));
}

QFont ArialFont(double points, bool bold) {
  QFont font(QStringLiteral("Arial"));
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

void MakeFixedWindow(QWidget& window, int widthTwips, int heightTwips) {
  window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                        Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  window.setFixedSize(TwipsToPixels(window, widthTwips), TwipsToPixels(window, heightTwips));
}

void CentreOnScreen(QWidget& window) {
  const QScreen* screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  QRect frame = window.frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  window.move(frame.topLeft());
}

}  // namespace Ui
