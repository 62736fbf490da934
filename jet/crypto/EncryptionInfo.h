#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "jet/base/ByteReader.h"
#include "jet/crypto/Hash.h"

// What an encrypted .accdb file's header page says about its encryption (the EncryptionInfo
// stream, in clear on page 0 at 0x299: a u16 length, then u16 major and minor version and the
// scheme's own structure):
//
//   4.4            agile: u32 0x40, then an XML description (AgileDescription.h)
//   2.2, 3.2, 4.2  CryptoAPI: u32 flags, u32 header size, the header (flags, extra size, cipher id,
//                  hash id, key bits, provider type, two reserved u32, provider name in UTF-16),
//                  then the verifier (u32 salt size 16, salt, 16-byte encrypted verifier, u32 hash
//                  size, encrypted hash: 20 bytes for RC4, 32 for AES)
namespace Jet {

// The most password hash rounds agile encryption allows.
constexpr uint32_t kMaxAgileSpinCount = 10'000'000;

// Agile encryption: AES-CBC pages keyed by a data key that the password's key unlocks.
struct AgileEncryption {
  // keyData: how pages are encrypted.
  std::vector<uint8_t> keySalt;
  uint32_t keyBits = 0;
  uint32_t blockSize = 0;
  HashAlgorithm keyHash = HashAlgorithm::Sha1;
  // The password key encryptor.
  uint32_t spinCount = 0;
  std::vector<uint8_t> passwordSalt;
  uint32_t passwordKeyBits = 0;
  uint32_t passwordBlockSize = 0;
  HashAlgorithm passwordHash = HashAlgorithm::Sha1;
  std::vector<uint8_t> encryptedVerifierHashInput;
  std::vector<uint8_t> encryptedVerifierHashValue;
  std::vector<uint8_t> encryptedKeyValue;
  // An HMAC of the encrypted data that a writer would have to keep valid.
  bool dataIntegrity = false;
};

// The CryptoAPI schemes: RC4 pages, or AES-ECB pages (standard: 50,000 hash rounds; the
// non-standard form without the AES flag: none), each page keyed from the password.
struct CryptoApiEncryption {
  enum class Cipher { Rc4, StandardAes, NonStandardAes };
  Cipher cipher = Cipher::Rc4;
  uint32_t keyBits = 0;
  std::vector<uint8_t> salt;               // 16 bytes
  std::vector<uint8_t> encryptedVerifier;  // 16 bytes
  std::vector<uint8_t> encryptedVerifierHash;
};

using EncryptionScheme = std::variant<AgileEncryption, CryptoApiEncryption>;

// Where EncryptionInfo starts on the header page.
constexpr size_t kEncryptionInfoAt = 0x299;

// Reads the EncryptionInfo of a header page. Throws JetError kNotSupported naming `fileName` and
// the scheme for a scheme the engine does not read, kCorrupt for a structure that does not fit.
EncryptionScheme ReadEncryptionInfo(ByteSpan headerPage, const std::string& fileName);

}  // namespace Jet
