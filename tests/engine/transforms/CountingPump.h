#pragma once

#include "common/ui/EventPump.h"

namespace Fundamental::Testing {

// Counts the event-pump calls while it lives, then puts the previous hooks back.
class CountingPump {
 public:
  CountingPump() : previous_(Ui::InstallEventPump({[this] { ++calls_; }, {}})) {}
  ~CountingPump() { Ui::InstallEventPump(previous_); }
  CountingPump(const CountingPump&) = delete;
  CountingPump& operator=(const CountingPump&) = delete;

  int Calls() const { return calls_; }
  // The calls counted so far, counting again from zero.
  int Take() {
    const int calls = calls_;
    calls_ = 0;
    return calls;
  }

 private:
  int calls_ = 0;
  Ui::EventPumpHooks previous_;
};

}  // namespace Fundamental::Testing
