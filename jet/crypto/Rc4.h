#pragma once

#include <array>
#include <cstdint>
#include <span>

// The RC4 stream cipher, which Jet uses to mask the header page and to encode the pages of files
// with a database key (Rc4PageCodec.h).
namespace Jet {

class Rc4 {
 public:
  explicit Rc4(std::span<const uint8_t> key);
  // XORs the key stream into `bytes` (encoding and decoding are the same operation).
  void Apply(std::span<uint8_t> bytes);

 private:
  std::array<uint8_t, 256> state_{};
  uint8_t i_ = 0;
  uint8_t j_ = 0;
};

}  // namespace Jet
