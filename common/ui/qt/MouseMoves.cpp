#include "common/ui/qt/MouseMoves.h"

#include <QEvent>
#include <QMouseEvent>
#include <QObject>
#include <QWidget>
#include <utility>

namespace Ui {
namespace {

constexpr char kWatchedProperty[] = "quorvaneMouseMovesWatched";

// True when the mouse is over a watched descendant of `widget`, whose watcher has the move.
bool OverWatchedChild(const QWidget& widget, const QPoint& position) {
  for (const QWidget* child = widget.childAt(position); child != nullptr && child != &widget;
       child = child->parentWidget()) {
    if (child->property(kWatchedProperty).toBool()) return true;
  }
  return false;
}

// Sees the mouse moves of the widget it is installed on before the widget does.
class MouseMoveFilter : public QObject {
 public:
  MouseMoveFilter(QWidget& widget, std::function<void()> onMove)
      : QObject(&widget), widget_(widget), onMove_(std::move(onMove)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseMove &&
        !OverWatchedChild(widget_, static_cast<QMouseEvent*>(event)->position().toPoint()) && onMove_) {
      onMove_();
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QWidget& widget_;
  std::function<void()> onMove_;
};

}  // namespace

void WatchMouseMoves(QWidget& widget, std::function<void()> onMove) {
  widget.setMouseTracking(true);
  widget.setProperty(kWatchedProperty, true);
  widget.installEventFilter(new MouseMoveFilter(widget, std::move(onMove)));
}

}  // namespace Ui
