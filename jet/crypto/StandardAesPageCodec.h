#pragma once

#include <cstdint>
#include <span>
#include <utility>

#include "jet/crypto/CryptoApiKeys.h"
#include "jet/crypto/PageCodec.h"

// The pages of an .accdb file with standard (or non-standard, unhashed) AES CryptoAPI encryption:
// each whole page is AES-ECB with the key the password gives its key block. A page key costs three
// SHA-1 hashes, so it is made again for every page rather than kept.
namespace Jet {

class StandardAesPageCodec final : public PageCodec {
 public:
  StandardAesPageCodec(CryptoApiKey key, uint32_t databaseKey) : key_(std::move(key)), databaseKey_(databaseKey) {}
  bool IsPlain() const override { return false; }

 private:
  void DecodePage(uint32_t number, std::span<uint8_t> page) const override;
  void EncodePage(uint32_t number, std::span<uint8_t> page) const override;

  CryptoApiKey key_;
  uint32_t databaseKey_;
};

}  // namespace Jet
