#pragma once

#include <optional>
#include <string>
#include <string_view>

// The two answers a cleaning run collects from its input boxes and keeps for all its fields.
namespace Engine {

// One answer: the typed text (possibly empty), or nothing after Cancel.
using AnswerSlot = std::optional<std::u16string>;

// In every comparison with the empty text, a cancelled answer counts as empty.
inline bool IsEmptyOrAbsent(const AnswerSlot& slot) { return !slot || slot->empty(); }

// The text an answer contributes to a transform: a cancelled answer contributes nothing.
inline std::u16string_view AnswerText(const AnswerSlot& slot) {
  return slot ? std::u16string_view(*slot) : std::u16string_view();
}

struct Answers {
  AnswerSlot first{std::u16string()};   // the text, the find text or the number
  AnswerSlot second{std::u16string()};  // the replacement of a find-and-replace
};

}  // namespace Engine
