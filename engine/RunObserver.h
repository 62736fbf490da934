#pragma once

#include <cstdint>
#include <string_view>

#include "common/Value.h"
#include "engine/FieldQuery.h"

// What a front end may hear of a cleaning run beyond what its view shows — each field's record
// count and what became of each record — and how the run treats the database. The window listens
// to nothing and writes; the command line counts, lists, and can try a run without writing.
namespace Engine {

enum class RecordOutcome {
  kUnchanged,  // a Null, or a value the operation leaves as it is
  kChanged,    // written (in a trial run: accepted by the engine, not written)
  kRefused,    // the write failed and was reported, or the field was refused as a whole
};

class RunObserver {
 public:
  virtual ~RunObserver() = default;
  // The field's query is open and holds `records` records; the rest of its pass follows.
  virtual void FieldStarted(const FieldInHand& field, int64_t records) = 0;
  // One record of the field in hand: its value as read (Null for a Null or a value that could not
  // be read) and, for a change, the new text.
  virtual void RecordHandled(RecordOutcome outcome, const Main::Value& old, std::u16string_view newText) = 0;
  // The field in hand is left unchanged as a whole from here on, for this reason.
  virtual void FieldRefused(std::u16string_view reason) = 0;
  // The field's pass is over.
  virtual void FieldFinished() = 0;
};

struct RunOptions {
  // A trial: the database is opened read-only and each new value is checked by the engine
  // instead of written.
  bool trialOnly = false;
  RunObserver* observer = nullptr;  // not owned; must outlive the run
};

}  // namespace Engine
