#include "jet/crypto/Rc4PageCodec.h"

#include "jet/crypto/Rc4.h"

namespace Jet {

void Rc4PageCodec::ApplyKeyStream(uint32_t number, std::span<uint8_t> page) const {
  const uint32_t key = databaseKey_ ^ number;
  const uint8_t keyBytes[4] = {static_cast<uint8_t>(key), static_cast<uint8_t>(key >> 8),
                               static_cast<uint8_t>(key >> 16), static_cast<uint8_t>(key >> 24)};
  Rc4(keyBytes).Apply(page);
}

}  // namespace Jet
