#include "common/ui/WindowPointer.h"

namespace Ui {
namespace {

void SetUnlessBusy(WindowPointer& pointer, PointerValue value) {
  if (pointer.Pointer() != kPointerBusy) pointer.SetPointer(value);
}

}  // namespace

void PointerOverButton(WindowPointer& pointer) { SetUnlessBusy(pointer, kPointerCustom); }

void PointerOverBackground(WindowPointer& pointer) { SetUnlessBusy(pointer, kPointerDefault); }

}  // namespace Ui
