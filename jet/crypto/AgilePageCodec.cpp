#include "jet/crypto/AgilePageCodec.h"

#include "jet/crypto/Aes.h"
#include "jet/crypto/AgileKeys.h"

namespace Jet {

AgilePageCodec::AgilePageCodec(const AgileEncryption& agile, std::vector<uint8_t> dataKey, uint32_t databaseKey,
                               std::string writeRefusal)
    : hash_(agile.keyHash), salt_(agile.keySalt), blockSize_(agile.blockSize), dataKey_(std::move(dataKey)),
      databaseKey_(databaseKey), writeRefusal_(std::move(writeRefusal)) {}

std::vector<uint8_t> AgilePageCodec::IvOf(uint32_t number) const {
  return FittedTo(Hash(hash_, {salt_, PageKeyBlock(databaseKey_, number)}), blockSize_, 0x36);
}

void AgilePageCodec::DecodePage(uint32_t number, std::span<uint8_t> page) const {
  AesApply(AesMode::Cbc, AesDirection::Decrypt, dataKey_, IvOf(number), page);
}

void AgilePageCodec::EncodePage(uint32_t number, std::span<uint8_t> page) const {
  AesApply(AesMode::Cbc, AesDirection::Encrypt, dataKey_, IvOf(number), page);
}

}  // namespace Jet
