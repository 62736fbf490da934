#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "common/ErrorReport.h"
#include "common/StepTrap.h"
#include "database/access/Connection.h"
#include "database/access/RecordSet.h"
#include "engine/Answers.h"
#include "engine/RunObserver.h"

// What one cleaning run holds while it works. It lives for one press of "Start Removing".
namespace Engine {

struct RunState {
  RunOptions options;
  std::unique_ptr<Access::Connection> connection;  // read-write, open for the whole run
  std::optional<Access::RecordSet> records;        // each field's query in turn, then the refill's
  Answers answers;                                 // cleared once per run, kept across its fields
  int32_t lastRecord = 0;                          // N: the field's record count minus 1
  Main::StepTrap trap{Main::HandlerProcedure(u"Form2", u"PushButton2_Click")};

  // The objects of steps 100 and 102; each throws like an unset object variable when its
  // creation failed.
  Access::Connection& Connection();
  Access::RecordSet& Records();

  // The run's end when the program is ending: the record set and the connection closed (the
  // changes made durable, the file let go), any failure ignored, nothing reported.
  void CloseQuietly() noexcept;

  // Tells the observer, when there is one.
  template <typename Call>
  void Notify(Call call) const {
    if (options.observer != nullptr) call(*options.observer);
  }
};

}  // namespace Engine
