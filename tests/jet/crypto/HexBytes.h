#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Test vectors written as hex digits, two a byte.
namespace Jet::Testing {

inline std::vector<uint8_t> FromHex(const std::string& hex) {
  std::vector<uint8_t> bytes;
  for (size_t n = 0; n + 1 < hex.size(); n += 2)
    bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(n, 2), nullptr, 16)));
  return bytes;
}

}  // namespace Jet::Testing
