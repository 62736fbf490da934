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

}  // namespace Engine
