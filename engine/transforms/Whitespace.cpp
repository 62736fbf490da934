// The transforms of spaces, tabs and line breaks.
#include <bit>
#include <cstddef>

#include "common/ui/EventPump.h"
#include "engine/transforms/Fundamental.h"
#include "engine/transforms/TextSearch.h"

namespace Fundamental {
namespace {

constexpr char16_t kSpace = u' ';
constexpr std::u16string_view kSpaceText = u" ";
constexpr std::u16string_view kTabText = u"\t";
constexpr char16_t kLineFeed = u'\n';
constexpr char16_t kCarriageReturn = u'\r';
constexpr std::u16string_view kCarriageReturnText = u"\r";

// Passes of "two spaces become one" that a run of `run` spaces needs to shrink to one space:
// each pass turns a run of k spaces into ceil(k / 2).
int HalvingPasses(std::size_t run) {
  return run < 2 ? 0 : std::bit_width(run - 1);
}

}  // namespace

std::u16string RemoveAllSpaces(std::u16string_view value) {
  return ReplaceAll(value, kSpaceText, {});
}

std::u16string ReplaceAllSpaces(std::u16string_view value, std::u16string_view replacement) {
  return ReplaceAll(value, kSpaceText, replacement);
}

std::u16string RemoveLeadingSpaces(std::u16string_view value) {
  std::size_t first = 0;
  while (first < value.size() && value[first] == kSpace) {
    Ui::PumpEvents();
    ++first;
  }
  return std::u16string(value.substr(first));
}

std::u16string RemoveTrailingSpaces(std::u16string_view value) {
  std::size_t length = value.size();
  while (length >= 1 && value[length - 1] == kSpace) {
    Ui::PumpEvents();
    --length;
  }
  return std::u16string(value.substr(0, length));
}

// Collapsing every run of spaces in one sweep gives what repeated "two spaces become one" passes
// give; the events are still pumped once for each pass those would take, and once for each space
// the ends lose, as the leading and trailing removals pump.
std::u16string RemoveExtraSpaces(std::u16string_view value) {
  std::u16string collapsed(value.size(), u'\0');
  char16_t* out = collapsed.data();
  std::size_t run = 0;
  std::size_t longestRun = 0;
  for (const char16_t c : value) {
    if (c != kSpace) {
      *out++ = c;
      run = 0;
    } else if (++run == 1) {
      *out++ = c;
    } else if (run > longestRun) {
      longestRun = run;
    }
  }
  for (int pass = HalvingPasses(longestRun); pass > 0; --pass) Ui::PumpEvents();
  std::size_t first = 0;
  std::size_t end = static_cast<std::size_t>(out - collapsed.data());
  while (first < end && collapsed[first] == kSpace) {
    Ui::PumpEvents();
    ++first;
  }
  while (end > first && collapsed[end - 1] == kSpace) {
    Ui::PumpEvents();
    --end;
  }
  collapsed.resize(end);
  collapsed.erase(0, first);
  return collapsed;
}

std::u16string RemoveEnters(std::u16string_view value) {
  return ReplaceEnters(value, kSpaceText);
}

// One sweep giving what a pass over the line feeds followed by a pass over the carriage returns
// gives: a line feed becomes the replacement with the replacement's own carriage returns replaced
// in turn, a carriage return becomes the replacement.
std::u16string ReplaceEnters(std::u16string_view value, std::u16string_view replacement) {
  const std::u16string forLineFeed = ReplaceAll(replacement, kCarriageReturnText, replacement);
  std::u16string result;
  result.reserve(value.size());
  for (const char16_t c : value) {
    if (c == kLineFeed) {
      result.append(forLineFeed);
    } else if (c == kCarriageReturn) {
      result.append(replacement);
    } else {
      result.push_back(c);
    }
  }
  return result;
}

std::u16string RemoveTabs(std::u16string_view value) {
  return ReplaceAll(value, kTabText, {});
}

std::u16string ReplaceTabs(std::u16string_view value, std::u16string_view replacement) {
  return ReplaceAll(value, kTabText, replacement);
}

}  // namespace Fundamental
