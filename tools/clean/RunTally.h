#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/ui/ProgressView.h"
#include "engine/RunObserver.h"
#include "tools/clean/Console.h"
#include "tools/clean/ProgressPrinter.h"

// What the command line hears of a cleaning run: each field's counts, its progress, and in a
// trial the records that would change.
namespace Clean {

// What became of one field's records.
struct FieldTally {
  std::u16string field;
  int64_t records = 0;    // in the field's query
  int64_t read = 0;       // handled by the record loop
  int64_t changed = 0;    // written (in a trial: would be written)
  int64_t unchanged = 0;  // Null, or left as it was by the operation
  int64_t refused = 0;    // reported, or not reached because the field was refused as a whole
  std::optional<std::u16string> refusal;  // why the field was refused as a whole
};

// A trial run lists at most this many changes of a field.
inline constexpr size_t kListedChanges = 101;

class RunTally : public Engine::RunObserver {
 public:
  // `progress` is the run's progress bar, read after each record.
  RunTally(Console& console, const Ui::ProgressView& progress, bool trial)
      : console_(console), progress_(progress), printer_(console), trial_(trial) {}

  void FieldStarted(const Engine::FieldInHand& field, int64_t records) override;
  void RecordHandled(Engine::RecordOutcome outcome, const Main::Value& old, std::u16string_view newText) override;
  void FieldRefused(std::u16string_view reason) override;
  void FieldFinished() override;

  // The fields whose records were worked, in the order of the run.
  const std::vector<FieldTally>& Fields() const { return fields_; }
  // The field being worked and its 1-based record in hand, for reports that arrive meanwhile.
  std::optional<std::pair<std::u16string, int64_t>> RecordInHand() const;

 private:
  FieldTally* InHand() { return inHand_ ? &fields_.back() : nullptr; }
  // The field's lines: in a trial its changes, then one line of counts.
  void PrintField(const FieldTally& tally);

  Console& console_;
  const Ui::ProgressView& progress_;
  ProgressPrinter printer_;
  bool trial_;
  bool inHand_ = false;
  std::vector<FieldTally> fields_;
  std::vector<std::pair<std::u16string, std::u16string>> changes_;  // the field in hand's, listed
};

}  // namespace Clean
