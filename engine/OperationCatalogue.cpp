#include "engine/OperationCatalogue.h"

#include "engine/NumberAnswer.h"
#include "engine/transforms/Fundamental.h"

namespace Engine {
namespace {

// The first operation's test step; every later number follows from the order and the kinds.
constexpr int kFirstTestStep = 136;

// What defines an operation; the step numbers are derived.
struct Definition {
  std::u16string_view listText;
  PromptKind promptKind;
  std::u16string_view promptText;
  TransformFunction transform;
};

std::u16string_view First(const Answers& a) { return AnswerText(a.first); }
std::u16string_view Second(const Answers& a) { return AnswerText(a.second); }
int Count(const Answers& a) { return ToCount(First(a)); }

using namespace Fundamental;
using std::u16string_view;
constexpr auto kNone = PromptKind::NoPrompt;
constexpr auto kText = PromptKind::TextPrompt;
constexpr auto kFind = PromptKind::FindReplacePrompt;
constexpr auto kNumber = PromptKind::NumberPrompt;

const Definition kDefinitions[kOperationCount] = {
    {u"Remove All Spaces In Selected Field", kNone, {},
     [](u16string_view v, const Answers&) { return RemoveAllSpaces(v); }},
    {u"Replace All Spaces In Selected Field With...", kText, kReplaceWithPrompt,
     [](u16string_view v, const Answers& a) { return ReplaceAllSpaces(v, First(a)); }},
    {u"Remove Extra Spaces at Beginning of Selected Field", kNone, {},
     [](u16string_view v, const Answers&) { return RemoveLeadingSpaces(v); }},
    {u"Remove Extra Spaces at End of Selected Field", kNone, {},
     [](u16string_view v, const Answers&) { return RemoveTrailingSpaces(v); }},
    {u"Remove All Spaces Except for Single Spaces Between Words In Selected Field", kNone, {},
     [](u16string_view v, const Answers&) { return RemoveExtraSpaces(v); }},
    {u"Remove Enters (Carriage Returns) In Selected Field", kNone, {},
     [](u16string_view v, const Answers&) { return RemoveEnters(v); }},
    {u"Replace Enters (Carriage Returns) In Selected Field With...", kText, kReplaceWithPrompt,
     [](u16string_view v, const Answers& a) { return ReplaceEnters(v, First(a)); }},
    {u"Remove Tabs In Selected Field", kNone, {},
     [](u16string_view v, const Answers&) { return RemoveTabs(v); }},
    {u"Replace Tabs In Selected Field With...", kText, kReplaceWithPrompt,
     [](u16string_view v, const Answers& a) { return ReplaceTabs(v, First(a)); }},
    {u"Remove Alphabet Character(s) In Selected Field", kNone, {},
     [](u16string_view v, const Answers&) { return RemoveAlphabet(v); }},
    {u"Replace Alphabet Character(s) In Selected Field With...", kText, kReplaceWithPrompt,
     [](u16string_view v, const Answers& a) { return ReplaceAlphabet(v, First(a)); }},
    {u"Remove Numeric Character(s) In Selected Field", kNone, {},
     [](u16string_view v, const Answers&) { return RemoveNumeric(v); }},
    {u"Replace Numeric Character(s) In Selected Field With...", kText, kReplaceWithPrompt,
     [](u16string_view v, const Answers& a) { return ReplaceNumeric(v, First(a)); }},
    {u"Remove Alphanumeric Character(s) In Selected Field", kNone, {},
     [](u16string_view v, const Answers&) { return RemoveAlphanumeric(v); }},
    {u"Replace Alphanumeric Character(s) In Selected Field With...", kText, kReplaceWithPrompt,
     [](u16string_view v, const Answers& a) { return ReplaceAlphanumeric(v, First(a)); }},
    {u"Remove Non-Alphanumeric Character(s) In Selected Field", kNone, {},
     [](u16string_view v, const Answers&) { return RemoveNonAlphanumeric(v); }},
    {u"Replace Non-Alphanumeric Character(s) In Selected Field With...", kText, kReplaceWithPrompt,
     [](u16string_view v, const Answers& a) { return ReplaceNonAlphanumeric(v, First(a)); }},
    {u"Remove User-Defined Character(s) In Selected Field", kText, kUserCharactersPrompt,
     [](u16string_view v, const Answers& a) { return RemoveUserDefined(v, First(a)); }},
    {u"Replace User-Defined Character(s) In Selected Field With...", kFind, {},
     [](u16string_view v, const Answers& a) { return ReplaceUserDefined(v, First(a), Second(a)); }},
    {u"Remove All Text After User-Defined Character(s) In Selected Field", kText, kUserCharactersPrompt,
     [](u16string_view v, const Answers& a) { return RemoveTextAfter(v, First(a)); }},
    {u"Replace All Text After User-Defined Character(s) In Selected Field With...", kFind, {},
     [](u16string_view v, const Answers& a) { return ReplaceTextAfter(v, First(a), Second(a)); }},
    {u"Remove All Text Before User-Defined Character(s) In Selected Field", kText, kUserCharactersPrompt,
     [](u16string_view v, const Answers& a) { return RemoveTextBefore(v, First(a)); }},
    {u"Replace All Text Before User-Defined Character(s) In Selected Field With...", kFind, {},
     [](u16string_view v, const Answers& a) { return ReplaceTextBefore(v, First(a), Second(a)); }},
    {u"Remove First x Character(s) In Selected Field", kNumber, kEnterNumberPrompt,
     [](u16string_view v, const Answers& a) { return RemoveFirstChars(v, Count(a)); }},
    {u"Remove Last x Character(s) In Selected Field", kNumber, kEnterNumberPrompt,
     [](u16string_view v, const Answers& a) { return RemoveLastChars(v, Count(a)); }},
    {u"Remove All Text After x Position In Field", kNumber, kEnterNumberPrompt,
     [](u16string_view v, const Answers& a) { return RemoveAfterPosition(v, Count(a)); }},
    {u"Remove All Text Before x Position In Field", kNumber, kEnterNumberPrompt,
     [](u16string_view v, const Answers& a) { return RemoveBeforePosition(v, Count(a)); }},
};

// The prompt steps follow the test step L in steps of 2; returns the last number they use.
int NumberPromptSteps(PromptKind kind, int test, PromptSteps& steps) {
  switch (kind) {
    case PromptKind::NoPrompt:
      return test;
    case PromptKind::TextPrompt:
      steps.emptyTest = test + 2;
      steps.firstBox = test + 4;
      steps.firstAbsentTest = test + 6;
      return test + 6;
    case PromptKind::FindReplacePrompt:
      steps.emptyTest = test + 2;
      steps.firstBox = test + 4;
      steps.secondBox = test + 6;
      steps.firstAbsentTest = test + 8;
      steps.secondAbsentTest = test + 10;
      return test + 10;
    case PromptKind::NumberPrompt:
      steps.emptyTest = test + 2;
      steps.firstBox = test + 4;
      steps.repeatTest = test + 6;
      steps.numberTest = test + 8;
      steps.secondNumberTest = test + 10;
      return test + 10;
  }
  return test;
}

RecordLoopSteps NumberLoopSteps(int start) {
  return {start,      start + 2,  start + 4,  start + 6,  start + 8,
          start + 10, start + 12, start + 14, start + 16, start + 18};
}

std::array<Operation, kOperationCount> BuildOperations() {
  std::array<Operation, kOperationCount> operations;
  int test = kFirstTestStep;
  for (size_t i = 0; i < kOperationCount; ++i) {
    const Definition& d = kDefinitions[i];
    Operation& op = operations[i];
    op.number = static_cast<int>(i) + 1;
    op.listText = d.listText;
    op.promptKind = d.promptKind;
    op.promptText = d.promptText;
    op.transform = d.transform;
    op.testStep = test;
    const int lastPromptStep = NumberPromptSteps(d.promptKind, test, op.promptSteps);
    op.loopSteps = NumberLoopSteps(lastPromptStep + 2);
    op.lastStep = op.loopSteps.loopEnd;
    if (d.promptKind == PromptKind::NumberPrompt) {
      op.promptSteps.mustEnterNumber = op.loopSteps.loopStart + 20;
      op.lastStep = op.promptSteps.mustEnterNumber;
    }
    test = op.lastStep + 2;
  }
  return operations;
}

}  // namespace

const std::array<Operation, kOperationCount>& Operations() {
  static const std::array<Operation, kOperationCount> operations = BuildOperations();
  return operations;
}

const Operation* FindOperation(std::u16string_view listText) {
  for (const Operation& op : Operations()) {
    if (op.listText == listText) return &op;
  }
  return nullptr;
}

}  // namespace Engine
