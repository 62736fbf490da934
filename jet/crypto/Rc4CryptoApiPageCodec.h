#pragma once

#include <cstdint>
#include <span>
#include <utility>

#include "jet/crypto/CryptoApiKeys.h"
#include "jet/crypto/PageCodec.h"

// The pages of an .accdb file with RC4 CryptoAPI encryption: each page is RC4 from its first byte
// with the key the password gives its key block.
namespace Jet {

class Rc4CryptoApiPageCodec final : public PageCodec {
 public:
  Rc4CryptoApiPageCodec(CryptoApiKey key, uint32_t databaseKey) : key_(std::move(key)), databaseKey_(databaseKey) {}
  bool IsPlain() const override { return false; }

 private:
  // RC4 is its own inverse: both directions apply the page's key stream.
  void DecodePage(uint32_t number, std::span<uint8_t> page) const override { ApplyKeyStream(number, page); }
  void EncodePage(uint32_t number, std::span<uint8_t> page) const override { ApplyKeyStream(number, page); }
  void ApplyKeyStream(uint32_t number, std::span<uint8_t> page) const;

  CryptoApiKey key_;
  uint32_t databaseKey_;
};

}  // namespace Jet
