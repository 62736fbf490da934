#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Exact, case-sensitive search for a fixed text and the replace-all built on it, in time linear
// in the value's length whatever the text searched for.
namespace Fundamental {

// Finds one fixed text (the needle) in values (Knuth-Morris-Pratt). The needle must outlive it.
class TextFinder {
 public:
  explicit TextFinder(std::u16string_view needle);

  // The index of the leftmost match starting at `from` or later, or npos; an empty needle is
  // found at `from`.
  std::size_t FindFrom(std::u16string_view value, std::size_t from) const;

 private:
  std::u16string_view needle_;
  // border_[i]: length of the longest proper prefix of needle_[0..i] that is also its suffix.
  std::vector<std::size_t> border_;
};

// Every match of `find`, left to right and not overlapping, becomes `replacement`; the inserted
// text is not searched again. An empty `find` matches nothing.
std::u16string ReplaceAll(std::u16string_view value, std::u16string_view find,
                          std::u16string_view replacement);

}  // namespace Fundamental
