#include "jet/crypto/StandardAesPageCodec.h"

#include "jet/crypto/Aes.h"

namespace Jet {

void StandardAesPageCodec::DecodePage(uint32_t number, std::span<uint8_t> page) const {
  AesApply(AesMode::Ecb, AesDirection::Decrypt, key_.KeyFor(PageKeyBlock(databaseKey_, number)), {}, page);
}

void StandardAesPageCodec::EncodePage(uint32_t number, std::span<uint8_t> page) const {
  AesApply(AesMode::Ecb, AesDirection::Encrypt, key_.KeyFor(PageKeyBlock(databaseKey_, number)), {}, page);
}

}  // namespace Jet
