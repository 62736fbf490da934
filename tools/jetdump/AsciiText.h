#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A short ASCII text built in place, without the heap: the text of one exported number, date or id.
namespace JetDump {

class AsciiText {
 public:
  static constexpr size_t kCapacity = 64;

  std::string_view View() const { return {chars_.data(), size_}; }
  std::u16string Widened() const { return {chars_.begin(), chars_.begin() + static_cast<ptrdiff_t>(size_)}; }

  // Each throws std::length_error rather than write past the capacity.
  void Append(char c);
  void Append(std::string_view text);
  // A number in decimal, as printf's "%0*lld" gives it: at least `width` characters with the
  // sign, zeros after the sign.
  void AppendPadded(int64_t number, int width);
  // Shortest round-trip form (std::to_chars): integers, float and double.
  template <class Number>
  void AppendShortest(Number number);

 private:
  char* End() { return chars_.data() + size_; }
  std::array<char, kCapacity> chars_;
  size_t size_ = 0;
};

}  // namespace JetDump
