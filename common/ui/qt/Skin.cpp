#include "common/ui/qt/Skin.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QRadioButton>
#include <QWidget>

#include "common/Error.h"
#include "common/FileExists.h"
#include "common/ui/ControlErrors.h"
#include "common/ui/qt/QtText.h"

namespace Ui {
namespace {

void PaintBackground(QWidget& widget, const QColor& colour) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, colour);
  widget.setPalette(palette);
  widget.setAutoFillBackground(true);
}

bool TakesButtonFace(const QWidget& control) {
  return qobject_cast<const QRadioButton*>(&control) != nullptr ||
         qobject_cast<const QCheckBox*>(&control) != nullptr ||
         qobject_cast<const QGroupBox*>(&control) != nullptr || qobject_cast<const QLabel*>(&control) != nullptr;
}

}  // namespace

std::u16string ProgramFolder() { return FromQString(QCoreApplication::applicationDirPath()); }

std::u16string SkinFilePath() { return ProgramFolder() + u"/x/o.cjs"; }

std::u16string HandPointerPath() { return ProgramFolder() + u"/HAND-M.CUR"; }

QColor ButtonFaceColor() { return QApplication::palette().color(QPalette::Button); }

void ApplyButtonFaceColors(QWidget& window) {
  const QColor face = ButtonFaceColor();
  PaintBackground(window, face);
  for (QWidget* control : window.findChildren<QWidget*>()) {
    if (TakesButtonFace(*control)) PaintBackground(*control, face);
  }
}

void ApplySkin(QWidget& window) {
  const std::u16string path = SkinFilePath();
  if (!Main::FileExists(path)) return;
  ApplyButtonFaceColors(window);
  QFile skin(ToQString(path));
  if (!skin.open(QIODevice::ReadOnly | QIODevice::Text)) {
    throw Main::Error(ControlError::kFileNotFound, u"The skin file cannot be read: " + path);
  }
  qApp->setStyleSheet(QString::fromUtf8(skin.readAll()));
}

}  // namespace Ui
