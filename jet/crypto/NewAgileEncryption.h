#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "jet/crypto/Hash.h"
#include "jet/crypto/PageCodec.h"

// Agile encryption for a new .accdb file: fresh salts, data key and database key from libcrypto's
// random generator, the password's verifier and the data key encrypted with the keys it gives, the
// XML description written out, and the codec that encrypts the file's pages.
namespace Jet {

struct AgileParameters {
  uint32_t keyBits = 256;  // AES-128, 192 or 256
  HashAlgorithm hash = HashAlgorithm::Sha512;
  uint32_t spinCount = 100'000;
};

struct NewAgileEncryption {
  std::vector<uint8_t> info;  // the EncryptionInfo stream: version 4.4, reserved 0x40, the XML
  uint32_t databaseKey = 0;   // never 0
  std::shared_ptr<const PageCodec> codec;
};

// Throws JetError kNotSupported for a key size other than 128, 192 or 256 bits or a spin count above
// 10,000,000.
NewAgileEncryption MakeAgileEncryption(const AgileParameters& parameters, std::u16string_view password);

}  // namespace Jet
