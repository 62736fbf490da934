#pragma once

#include <QCursor>
#include <QPointer>
#include <QWidget>
#include <optional>
#include <string_view>

#include "common/ui/WindowPointer.h"
#include "common/ui/qt/CursorFile.h"

// The window pointer as Qt cursors: the arrow, the wait cursor (over the whole program while
// busy, as an override cursor) and the custom image.
namespace Ui {

// The Qt cursor of a cursor image, with its hotspot.
QCursor CursorFromImage(const CursorImage& image);

class QtWindowPointer : public WindowPointer {
 public:
  explicit QtWindowPointer(QWidget& window);
  ~QtWindowPointer() override;
  QtWindowPointer(const QtWindowPointer&) = delete;
  QtWindowPointer& operator=(const QtWindowPointer&) = delete;

  int Pointer() const override;
  void SetPointer(int value) override;

  // Loads the custom pointer image from a Windows cursor file. A missing or unreadable file throws
  // Main::Error (ControlError::kFileNotFound, ControlError::kInvalidPicture) and keeps the image
  // as it was; without an image the custom pointer shows as the arrow.
  void LoadCustomImage(std::u16string_view path);
  bool HasCustomImage() const { return custom_.has_value(); }

 private:
  void Apply();

  QPointer<QWidget> window_;
  int value_ = kPointerDefault;
  std::optional<QCursor> custom_;
  bool overriding_ = false;  // this pointer has put the wait cursor over the whole program
};

}  // namespace Ui
