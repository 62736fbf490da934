#pragma once

#include <cstdint>
#include <span>

#include "jet/crypto/PageCodec.h"

// The pages of a Jet3 or Jet4 file with a database key: each page is RC4-encoded with the key
// made of the database key XOR the page number, as four little-endian bytes.
namespace Jet {

class Rc4PageCodec final : public PageCodec {
 public:
  explicit Rc4PageCodec(uint32_t databaseKey) : databaseKey_(databaseKey) {}
  bool IsPlain() const override { return false; }

 private:
  // RC4 is its own inverse: both directions apply the page's key stream.
  void DecodePage(uint32_t number, std::span<uint8_t> page) const override { ApplyKeyStream(number, page); }
  void EncodePage(uint32_t number, std::span<uint8_t> page) const override { ApplyKeyStream(number, page); }
  void ApplyKeyStream(uint32_t number, std::span<uint8_t> page) const;

  uint32_t databaseKey_;
};

}  // namespace Jet
