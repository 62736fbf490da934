#pragma once

#include <functional>

#include "common/Error.h"

namespace Testing {

// The number of the Main::Error the action throws, 0 when it throws none.
inline long ErrorNumberOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Main::Error& error) {
    return error.Number();
  }
  return 0;
}

}  // namespace Testing
