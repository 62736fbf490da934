#pragma once

#include <string>
#include <utility>

#include "common/Error.h"
#include "common/ErrorReport.h"

// Runs a reporting event handler as a fixed sequence of numbered steps. A step that fails is
// reported with its number and the handler goes on with the next step; a test that fails counts
// as passed, so the steps it guards run. A failure deep inside a called operation abandons that
// operation and is reported with the number of the calling step.
namespace Main {

class StepTrap {
 public:
  explicit StepTrap(std::u16string procedure) : procedure_(std::move(procedure)) {}

  const std::u16string& Procedure() const { return procedure_; }

  // Runs the action; a failure is reported with `number`. Returns true when it succeeded.
  template <class Action>
  bool step(int number, Action&& action) {
    try {
      std::forward<Action>(action)();
      return true;
    } catch (...) {
      ReportError(procedure_, number, DescribeCurrentException());
      return false;
    }
  }

  // Evaluates the condition; a failure is reported with `number` and counts as true.
  template <class Condition>
  bool test(int number, Condition&& condition) {
    try {
      return static_cast<bool>(std::forward<Condition>(condition)());
    } catch (...) {
      ReportError(procedure_, number, DescribeCurrentException());
      return true;
    }
  }

 private:
  std::u16string procedure_;
};

}  // namespace Main
