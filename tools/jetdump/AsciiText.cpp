#include "tools/jetdump/AsciiText.h"

#include <charconv>
#include <stdexcept>

namespace JetDump {
namespace {

[[noreturn]] void ThrowFull() { throw std::length_error("an exported field's text is longer than its buffer"); }

}  // namespace

void AsciiText::Append(char c) {
  if (size_ == kCapacity) ThrowFull();
  chars_[size_++] = c;
}

void AsciiText::Append(std::string_view text) {
  if (text.size() > kCapacity - size_) ThrowFull();
  text.copy(End(), text.size());
  size_ += text.size();
}

void AsciiText::AppendPadded(int64_t number, int width) {
  // The magnitude without overflow for the smallest number.
  const uint64_t magnitude = number < 0 ? 0 - static_cast<uint64_t>(number) : static_cast<uint64_t>(number);
  char digits[24];
  const auto written = std::to_chars(digits, digits + sizeof digits, magnitude);
  const std::string_view digitText(digits, static_cast<size_t>(written.ptr - digits));
  if (number < 0) Append('-');
  for (int zeros = width - static_cast<int>(digitText.size()) - (number < 0 ? 1 : 0); zeros > 0; --zeros) Append('0');
  Append(digitText);
}

template <class Number>
void AsciiText::AppendShortest(Number number) {
  const auto written = std::to_chars(End(), chars_.data() + kCapacity, number);
  if (written.ec != std::errc()) ThrowFull();
  size_ = static_cast<size_t>(written.ptr - chars_.data());
}

template void AsciiText::AppendShortest<int64_t>(int64_t);
template void AsciiText::AppendShortest<uint64_t>(uint64_t);
template void AsciiText::AppendShortest<float>(float);
template void AsciiText::AppendShortest<double>(double);

}  // namespace JetDump
