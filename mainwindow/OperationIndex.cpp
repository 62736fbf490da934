#include "mainwindow/OperationIndex.h"

#include <limits>

#include "common/Error.h"

namespace Windows {

int StoredOperationIndex(std::u16string_view text) {
  const auto first = text.find_first_not_of(u' ');
  const auto last = text.find_last_not_of(u' ');
  if (first == std::u16string_view::npos) throw Main::Error(Main::ErrorNumber::kTypeMismatch, "Type mismatch");
  std::u16string_view number = text.substr(first, last - first + 1);
  const bool negative = number.front() == u'-';
  if (number.front() == u'-' || number.front() == u'+') number.remove_prefix(1);
  if (number.empty()) throw Main::Error(Main::ErrorNumber::kTypeMismatch, "Type mismatch");
  long long value = 0;
  for (const char16_t digit : number) {
    if (digit < u'0' || digit > u'9') throw Main::Error(Main::ErrorNumber::kTypeMismatch, "Type mismatch");
    value = value * 10 + (digit - u'0');
    if (value > std::numeric_limits<int>::max()) throw Main::Error(Main::ErrorNumber::kOverflow, "Overflow");
  }
  return static_cast<int>(negative ? -value : value);
}

}  // namespace Windows
