#include "engine/NumberAnswer.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "common/Error.h"

namespace Engine {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Counts the digits at `at`, moving past them.
size_t SkipDigits(std::u16string_view text, size_t& at) {
  const size_t start = at;
  while (at < text.size() && IsDigit(text[at])) ++at;
  return at - start;
}

// Nearest integer, a half going to the even neighbour.
double RoundHalfToEven(double value) {
  const double below = std::floor(value);
  const double fraction = value - below;
  if (fraction > 0.5) return below + 1;
  if (fraction < 0.5) return below;
  return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

}  // namespace

std::optional<double> ParseNumberAnswer(std::u16string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  text = text.substr(begin, end - begin);

  size_t at = 0;
  bool negative = false;
  if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) negative = text[at++] == u'-';
  const size_t numberStart = at;
  size_t digits = SkipDigits(text, at);
  if (at < text.size() && text[at] == u'.') {
    ++at;
    digits += SkipDigits(text, at);
  }
  if (digits == 0) return std::nullopt;
  if (at < text.size() && (text[at] == u'e' || text[at] == u'E')) {
    ++at;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) ++at;
    if (SkipDigits(text, at) == 0) return std::nullopt;
  }
  if (at != text.size()) return std::nullopt;

  // Only ASCII remains: narrow it for the locale-independent conversion.
  const std::string ascii(text.begin() + static_cast<std::ptrdiff_t>(numberStart), text.end());
  double value = 0;
  const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Too large in magnitude gives infinity, too small (a negative exponent) gives zero.
    const bool tiny = ascii.find("e-") != std::string::npos || ascii.find("E-") != std::string::npos;
    value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
  }
  return negative ? -value : value;
}

int16_t ToCount(std::u16string_view text) {
  const std::optional<double> number = ParseNumberAnswer(text);
  if (!number) throw Main::Error(Main::ErrorNumber::kTypeMismatch, "Type mismatch");
  const double rounded = RoundHalfToEven(*number);
  if (!(rounded >= -32768.0 && rounded <= 32767.0)) {
    throw Main::Error(Main::ErrorNumber::kOverflow, "Overflow");
  }
  return static_cast<int16_t>(rounded);
}

bool IsAcceptedCount(std::u16string_view text) {
  const std::optional<double> number = ParseNumberAnswer(text);
  if (!number) return false;
  const double rounded = RoundHalfToEven(*number);
  return rounded >= 0.0 && rounded <= 32767.0;
}

}  // namespace Engine
