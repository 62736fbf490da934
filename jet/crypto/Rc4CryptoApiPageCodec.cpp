#include "jet/crypto/Rc4CryptoApiPageCodec.h"

#include "jet/crypto/Rc4.h"

namespace Jet {

void Rc4CryptoApiPageCodec::ApplyKeyStream(uint32_t number, std::span<uint8_t> page) const {
  Rc4(key_.KeyFor(PageKeyBlock(databaseKey_, number))).Apply(page);
}

}  // namespace Jet
