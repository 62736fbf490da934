#include "jet/crypto/Rc4PageCodec.h"

#include <array>

#include "jet/base/ByteWriter.h"
#include "jet/crypto/Rc4.h"

namespace Jet {

void Rc4PageCodec::ApplyKeyStream(uint32_t number, std::span<uint8_t> page) const {
  const uint32_t key = databaseKey_ ^ number;
  std::array<uint8_t, 4> keyBytes{};
  PutU32(keyBytes, 0, key);
  Rc4(keyBytes).Apply(page);
}

}  // namespace Jet
