#pragma once

#include <cstddef>
#include <random>
#include <string>
#include <string_view>

// Slow, literal versions of the text operations, and random values to compare the real ones with.
namespace Fundamental::Testing {

// Replace-all by trying a match at every position, left to right, skipping past each match.
inline std::u16string LiteralReplaceAll(std::u16string_view value, std::u16string_view find,
                                        std::u16string_view replacement) {
  if (find.empty()) return std::u16string(value);
  std::u16string result;
  std::size_t i = 0;
  while (i < value.size()) {
    if (value.substr(i, find.size()) == find) {
      result += replacement;
      i += find.size();
    } else {
      result += value[i++];
    }
  }
  return result;
}

// A random value of up to `maxLength` characters drawn from `alphabet`.
inline std::u16string RandomText(std::mt19937& random, std::u16string_view alphabet,
                                 std::size_t maxLength) {
  std::uniform_int_distribution<std::size_t> length(0, maxLength);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::u16string text(length(random), u' ');
  for (char16_t& c : text) c = alphabet[pick(random)];
  return text;
}

}  // namespace Fundamental::Testing
