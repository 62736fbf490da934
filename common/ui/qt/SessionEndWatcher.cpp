#include "common/ui/qt/SessionEndWatcher.h"

#ifndef _WIN32
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <stdexcept>
#endif

namespace Ui {

#ifndef _WIN32

namespace {

constexpr std::array<int, 3> kWatchedSignals = {SIGTERM, SIGHUP, SIGINT};

// The end of the pair the signal handler writes to; a handler may only make async-signal-safe
// calls, so it wakes the event loop through a socket instead of calling into Qt.
volatile sig_atomic_t signalWriteEnd = -1;

extern "C" void WakeEventLoop(int) {
  const int savedErrno = errno;
  const char byte = 1;
  if (signalWriteEnd >= 0) [[maybe_unused]] const ssize_t written = ::write(signalWriteEnd, &byte, 1);
  errno = savedErrno;
}

}  // namespace

// The socket pair, its notifier and the handlers the signals had before.
struct SessionEndWatcher::Signals {
  std::array<int, 2> pair{-1, -1};
  std::unique_ptr<QSocketNotifier> notifier;
  std::array<struct sigaction, kWatchedSignals.size()> previous{};
};

SessionEndWatcher::SessionEndWatcher(std::function<void()> onEnd)
    : onEnd_(std::move(onEnd)), signals_(std::make_unique<Signals>()) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signals_->pair.data()) != 0) {
    throw std::runtime_error("The program cannot watch for the end of the session (socketpair failed).");
  }
  signalWriteEnd = signals_->pair[0];
  signals_->notifier = std::make_unique<QSocketNotifier>(signals_->pair[1], QSocketNotifier::Read);
  connect(signals_->notifier.get(), &QSocketNotifier::activated, this, [this] {
    char bytes[16];
    while (::read(signals_->pair[1], bytes, sizeof bytes) > 0) {
    }
    if (onEnd_) onEnd_();
  });
  struct sigaction action{};
  action.sa_handler = WakeEventLoop;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (size_t i = 0; i < kWatchedSignals.size(); ++i) ::sigaction(kWatchedSignals[i], &action, &signals_->previous[i]);
}

SessionEndWatcher::~SessionEndWatcher() {
  for (size_t i = 0; i < kWatchedSignals.size(); ++i) ::sigaction(kWatchedSignals[i], &signals_->previous[i], nullptr);
  signalWriteEnd = -1;
  signals_->notifier.reset();
  for (int end : signals_->pair) ::close(end);
}

#else

struct SessionEndWatcher::Signals {};

SessionEndWatcher::SessionEndWatcher(std::function<void()> onEnd) : onEnd_(std::move(onEnd)) {}

SessionEndWatcher::~SessionEndWatcher() = default;

#endif

}  // namespace Ui
