#pragma once

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <functional>

// Drives the real modal dialogs of the windows from a test: the action runs inside the dialog's
// own event loop, as soon as the dialog is shown, and should close it.
namespace Testing {

// Waits (in the event loop the caller is about to enter) for a modal dialog of type Dialog and
// runs `action` on it once. If none appears within `patienceMs`, or the action leaves it open,
// the dialog is rejected, so that a failing test ends instead of hanging; `handled` tells whether
// the action ran.
template <class Dialog>
void WhenModalShown(std::function<void(Dialog&)> action, bool* handled = nullptr, int patienceMs = 5000) {
  if (handled != nullptr) *handled = false;
  auto* poll = new QTimer;
  auto* elapsed = new QElapsedTimer;
  elapsed->start();
  poll->setInterval(5);
  QObject::connect(poll, &QTimer::timeout, [poll, elapsed, action, handled, patienceMs] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    const bool timeUp = elapsed->elapsed() > patienceMs;
    if (dialog == nullptr && !timeUp) return;
    poll->stop();
    poll->deleteLater();
    delete elapsed;
    if (dialog == nullptr) return;
    action(*dialog);
    if (handled != nullptr) *handled = true;
    QTimer::singleShot(patienceMs, [open = QPointer<Dialog>(dialog)] {
      if (open && open->isVisible()) open->reject();
    });
  });
  poll->start();
}

}  // namespace Testing
