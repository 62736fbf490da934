#include "common/ui/qt/QtWindowPointer.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <string>

#include "common/Error.h"
#include "common/ui/ControlErrors.h"
#include "common/ui/qt/QtText.h"

namespace Ui {

QCursor CursorFromImage(const CursorImage& image) {
  QImage pixels(image.width, image.height, QImage::Format_ARGB32);
  for (int y = 0; y < image.height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(pixels.scanLine(y));
    for (int x = 0; x < image.width; ++x) line[x] = image.pixels[static_cast<std::size_t>(y) * image.width + x];
  }
  return QCursor(QPixmap::fromImage(pixels), image.hotspotX, image.hotspotY);
}

QtWindowPointer::QtWindowPointer(QWidget& window) : window_(&window) {}

QtWindowPointer::~QtWindowPointer() {
  if (overriding_) QGuiApplication::restoreOverrideCursor();
}

int QtWindowPointer::Pointer() const { return value_; }

void QtWindowPointer::SetPointer(int value) {
  CheckPointerValue(value);
  value_ = value;
  Apply();
}

void QtWindowPointer::LoadCustomImage(std::u16string_view path) {
  QFile file(ToQString(path));
  if (!file.open(QIODevice::ReadOnly)) {
    throw Main::Error(ControlError::kFileNotFound, u"File not found: " + std::u16string(path));
  }
  const QByteArray bytes = file.readAll();
  custom_ = CursorFromImage(ReadCursorFile(
      std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size()))));
  Apply();
}

void QtWindowPointer::Apply() {
  const bool busy = value_ == kPointerBusy;
  if (busy && !overriding_) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  if (!busy && overriding_) QGuiApplication::restoreOverrideCursor();
  overriding_ = busy;
  if (window_.isNull()) return;
  if (busy) {
    window_->setCursor(Qt::WaitCursor);
  } else if (value_ == kPointerCustom && custom_) {
    window_->setCursor(*custom_);
  } else {
    window_->unsetCursor();
  }
}

}  // namespace Ui
