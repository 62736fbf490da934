#include "jet/crypto/Rc4PageCodec.h"

#include "jet/crypto/Rc4.h"

namespace Jet {

void Rc4PageCodec::ApplyKeyStream(uint32_t number, std::span<uint8_t> page) const {
  Rc4(PageKeyBlock(databaseKey_, number)).Apply(page);
}

}  // namespace Jet
