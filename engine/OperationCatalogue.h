#pragma once

#include <array>
#include <string>
#include <string_view>

#include "engine/Answers.h"

// The 27 cleaning operations: the text the operation list shows, the prompts that collect the
// inputs, the transform, and the step numbers the error report prints for each of their steps.
namespace Engine {

enum class PromptKind { NoPrompt, TextPrompt, FindReplacePrompt, NumberPrompt };

// Step numbers of an operation's prompt stage; 0 where the kind has no such step.
struct PromptSteps {
  int emptyTest = 0;          // is the first answer empty or absent?
  int firstBox = 0;           // the first input box
  int secondBox = 0;          // find and replace: "Replace With:"
  int repeatTest = 0;         // number: ask again while no number was given
  int firstAbsentTest = 0;    // text, find and replace: was the first box cancelled?
  int secondAbsentTest = 0;   // find and replace: was the second box cancelled?
  int numberTest = 0;         // number: is the first answer a number?
  int secondNumberTest = 0;   // number: the second look at the answer
  int mustEnterNumber = 0;    // number: the "Must enter number" message
};

// Step numbers of the record loop an operation runs for each field.
struct RecordLoopSteps {
  int loopStart = 0;
  int yield = 0;
  int zeroTest = 0;         // is N zero?
  int progressFull = 0;     // progress 100
  int progressPercent = 0;  // progress r / N x 100
  int nullTest = 0;
  int update = 0;
  int pauseTest = 0;        // multiple of 500, and the pause
  int moveNext = 0;
  int loopEnd = 0;
};

// The transform of an operation, applied to one value with the run's answers. It may throw
// Main::Error (a count that does not convert).
using TransformFunction = std::u16string (*)(std::u16string_view value, const Answers& answers);

struct Operation {
  int number = 0;                 // 1 to 27, the position in the operation list
  std::u16string_view listText;   // the only key, compared exactly
  PromptKind promptKind = PromptKind::NoPrompt;
  std::u16string_view promptText; // text prompts: "Replace With:" or "Enter User-Defined Character(s):"
  TransformFunction transform = nullptr;
  int testStep = 0;               // the comparison of the operation list's text with listText
  PromptSteps promptSteps;
  RecordLoopSteps loopSteps;
  int lastStep = 0;               // the highest number the operation uses

  std::u16string Apply(std::u16string_view value, const Answers& answers) const {
    return transform(value, answers);
  }
};

inline constexpr size_t kOperationCount = 27;

// All operations in list order.
const std::array<Operation, kOperationCount>& Operations();

// The operation whose list text equals `listText` exactly (case-sensitive), or nullptr.
const Operation* FindOperation(std::u16string_view listText);

// The prompt texts.
inline constexpr std::u16string_view kReplaceWithPrompt = u"Replace With:";
inline constexpr std::u16string_view kUserCharactersPrompt = u"Enter User-Defined Character(s):";
inline constexpr std::u16string_view kFindWhatPrompt = u"Find What:";
inline constexpr std::u16string_view kEnterNumberPrompt = u"Enter Number:";
inline constexpr std::u16string_view kMustEnterNumberMessage = u"Must enter number";

}  // namespace Engine
