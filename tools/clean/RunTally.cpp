#include "tools/clean/RunTally.h"

#include "common/Text.h"

namespace Clean {
namespace {

std::u16string Count(int64_t number) { return Main::FromUtf8(std::to_string(number)); }

}  // namespace

void RunTally::FieldStarted(const Engine::FieldInHand& field, int64_t records) {
  FieldTally tally;
  tally.field = field.field;
  tally.records = records;
  fields_.push_back(std::move(tally));
  inHand_ = true;
  changes_.clear();
  printer_.Restart();
}

void RunTally::RecordHandled(Engine::RecordOutcome outcome, const Main::Value& old, std::u16string_view newText) {
  FieldTally* tally = InHand();
  if (tally == nullptr) return;
  ++tally->read;
  switch (outcome) {
    case Engine::RecordOutcome::kUnchanged: ++tally->unchanged; break;
    case Engine::RecordOutcome::kRefused: ++tally->refused; break;
    case Engine::RecordOutcome::kChanged:
      ++tally->changed;
      if (trial_ && changes_.size() < kListedChanges) changes_.emplace_back(old.ToText(), newText);
      break;
  }
  printer_.Show(progress_.Value(), tally->read, tally->records, tally->field);
}

void RunTally::FieldRefused(std::u16string_view reason) {
  if (FieldTally* tally = InHand()) tally->refusal = std::u16string(reason);
}

void RunTally::FieldFinished() {
  FieldTally* tally = InHand();
  if (tally == nullptr) return;
  inHand_ = false;
  // A field refused as a whole: the records its loop did not reach are refused too.
  if (tally->refusal) tally->refused = tally->records - tally->changed - tally->unchanged;
  console_.EndProgress();
  PrintField(*tally);
}

std::optional<std::pair<std::u16string, int64_t>> RunTally::RecordInHand() const {
  if (!inHand_) return std::nullopt;
  const FieldTally& tally = fields_.back();
  return std::make_pair(tally.field, tally.read + 1);
}

void RunTally::PrintField(const FieldTally& tally) {
  for (const auto& [before, after] : changes_) console_.Result(OneLine(before) + u'\t' + OneLine(after));
  std::u16string counts = tally.field + u": " + Count(tally.read) + u" of " + Count(tally.records) + u" records read, ";
  if (trial_) {
    counts += Count(tally.changed) + u" would change, " + Count(tally.unchanged) + u" would stay as they are, ";
  } else {
    counts += Count(tally.changed) + u" changed, " + Count(tally.unchanged) + u" unchanged, ";
  }
  console_.Result(counts + Count(tally.refused) + u" refused.");
}

}  // namespace Clean
