#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// The bytes an encrypted .accdb file's keys are made from: the password in UTF-16 little-endian
// without a terminator, cut to its first 255 units as Access does.
namespace Jet {

constexpr size_t kMaxPasswordUnits = 255;

inline std::vector<uint8_t> PasswordBytes(std::u16string_view password) {
  std::vector<uint8_t> bytes;
  for (const char16_t unit : password.substr(0, kMaxPasswordUnits)) {
    bytes.push_back(static_cast<uint8_t>(unit));
    bytes.push_back(static_cast<uint8_t>(unit >> 8));
  }
  return bytes;
}

}  // namespace Jet
