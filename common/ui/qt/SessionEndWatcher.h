#pragma once

#include <QObject>
#include <functional>
#include <memory>

class QSocketNotifier;

// Turns the signals that end a session or stop a program (SIGTERM, SIGHUP, SIGINT) into a call
// made from the event loop, so that the program ends as it does when its window is closed: also
// in the middle of a cleaning run, which pumps events. One watcher at a time; the signals get
// their earlier handlers back when it goes. On Windows it watches nothing yet.
namespace Ui {

class SessionEndWatcher : public QObject {
 public:
  explicit SessionEndWatcher(std::function<void()> onEnd);
  ~SessionEndWatcher() override;
  SessionEndWatcher(const SessionEndWatcher&) = delete;
  SessionEndWatcher& operator=(const SessionEndWatcher&) = delete;

 private:
  struct Signals;

  std::function<void()> onEnd_;
  std::unique_ptr<Signals> signals_;
};

}  // namespace Ui
