#include "engine/RunState.h"

#include "common/ui/ControlErrors.h"

namespace Engine {
namespace {

[[noreturn]] void ThrowObjectNotSet() {
  throw Main::Error(Ui::ControlError::kNoObject, "Object variable or With block variable not set");
}

}  // namespace

Access::Connection& RunState::Connection() {
  if (!connection) ThrowObjectNotSet();
  return *connection;
}

Access::RecordSet& RunState::Records() {
  if (!records) ThrowObjectNotSet();
  return *records;
}

void RunState::CloseQuietly() noexcept {
  try {
    if (records && records->IsOpen()) records->Close();
  } catch (...) {
  }
  try {
    if (connection && connection->IsOpen()) connection->Close();
  } catch (...) {
  }
}

}  // namespace Engine
