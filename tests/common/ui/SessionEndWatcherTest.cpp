#include "common/ui/qt/SessionEndWatcher.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <csignal>

// The signals that end a session reach the program through its event loop.
namespace Ui {
namespace {

#ifndef _WIN32
// Processes events until `done` or a second has passed.
template <class Condition>
void ProcessEventsUntil(Condition done) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < 1000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

TEST(SessionEndWatcher, EachEndingSignalIsToldOnceFromTheEventLoop) {
  for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
    SCOPED_TRACE(signal);
    int ends = 0;
    {
      SessionEndWatcher watcher([&] { ++ends; });
      ASSERT_EQ(std::raise(signal), 0);
      EXPECT_EQ(ends, 0);  // not from inside the signal handler
      ProcessEventsUntil([&] { return ends > 0; });
      EXPECT_EQ(ends, 1);
    }
    // Gone, the watcher has put the earlier handler back: ignore the signal and raise it again.
    const auto previous = std::signal(signal, SIG_IGN);
    EXPECT_EQ(previous, SIG_DFL);
    ASSERT_EQ(std::raise(signal), 0);
    std::signal(signal, SIG_DFL);
    QCoreApplication::processEvents();
    EXPECT_EQ(ends, 1);
  }
}
#endif

}  // namespace
}  // namespace Ui
