#include "jet/crypto/NewAgileEncryption.h"

#include <openssl/rand.h>

#include "jet/base/ByteReader.h"
#include "jet/base/ByteWriter.h"
#include "jet/base/Failure.h"
#include "jet/crypto/Aes.h"
#include "jet/crypto/AgileKeys.h"
#include "jet/crypto/AgilePageCodec.h"
#include "jet/crypto/Base64.h"

namespace Jet {
namespace {

constexpr size_t kSaltSize = 16;

std::vector<uint8_t> RandomBytes(size_t count) {
  std::vector<uint8_t> bytes(count);
  if (RAND_bytes(bytes.data(), static_cast<int>(bytes.size())) != 1)
    ThrowInternalFault("The random generator of libcrypto failed.");
  return bytes;
}

std::vector<uint8_t> Encrypted(const AgilePasswordKey& key, const AgileBlock& block, std::vector<uint8_t> value) {
  // Zero-padded to whole blocks.
  value.resize((value.size() + kAesBlockSize - 1) / kAesBlockSize * kAesBlockSize, 0);
  AesApply(AesMode::Cbc, AesDirection::Encrypt, key.KeyFor(block), key.Iv(), value);
  return value;
}

const char* HashName(HashAlgorithm hash) {
  switch (hash) {
    case HashAlgorithm::Sha1: return "SHA1";
    case HashAlgorithm::Sha256: return "SHA256";
    case HashAlgorithm::Sha384: return "SHA384";
    case HashAlgorithm::Sha512: return "SHA512";
  }
  ThrowInternalFault("unknown hash algorithm");
}

// The attributes keyData and the password's encryptedKey share.
std::string CipherAttributes(const AgileEncryption& agile, const std::vector<uint8_t>& salt) {
  return "saltSize=\"" + std::to_string(salt.size()) + "\" blockSize=\"" + std::to_string(agile.blockSize) +
         "\" keyBits=\"" + std::to_string(agile.keyBits) + "\" hashSize=\"" +
         std::to_string(HashSize(agile.keyHash)) + "\" cipherAlgorithm=\"AES\" cipherChaining=\"ChainingModeCBC\" "
         "hashAlgorithm=\"" + HashName(agile.keyHash) + "\" saltValue=\"" + EncodeBase64(salt) + "\"";
}

std::string Description(const AgileEncryption& agile) {
  const std::string passwordUri = "http://schemas.microsoft.com/office/2006/keyEncryptor/password";
  return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
         "<encryption xmlns=\"http://schemas.microsoft.com/office/2006/encryption\" xmlns:p=\"" + passwordUri + "\">"
         "<keyData " + CipherAttributes(agile, agile.keySalt) + "/>"
         "<keyEncryptors><keyEncryptor uri=\"" + passwordUri + "\">"
         "<p:encryptedKey spinCount=\"" + std::to_string(agile.spinCount) + "\" " +
         CipherAttributes(agile, agile.passwordSalt) +
         " encryptedVerifierHashInput=\"" + EncodeBase64(agile.encryptedVerifierHashInput) +
         "\" encryptedVerifierHashValue=\"" + EncodeBase64(agile.encryptedVerifierHashValue) +
         "\" encryptedKeyValue=\"" + EncodeBase64(agile.encryptedKeyValue) + "\"/>"
         "</keyEncryptor></keyEncryptors></encryption>";
}

uint32_t NonZeroKey() {
  uint32_t key = 0;
  while (key == 0) key = ReadU32(RandomBytes(4), 0);
  return key;
}

}  // namespace

NewAgileEncryption MakeAgileEncryption(const AgileParameters& parameters, std::u16string_view password) {
  if (parameters.keyBits != 128 && parameters.keyBits != 192 && parameters.keyBits != 256)
    ThrowNotSupported("Agile encryption uses AES keys of 128, 192 or 256 bits.");
  if (parameters.spinCount > kMaxAgileSpinCount)
    ThrowNotSupported("Agile encryption hashes a password at most 10,000,000 times.");
  AgileEncryption agile;
  agile.keyBits = agile.passwordKeyBits = parameters.keyBits;
  agile.blockSize = agile.passwordBlockSize = kAesBlockSize;
  agile.keyHash = agile.passwordHash = parameters.hash;
  agile.spinCount = parameters.spinCount;
  agile.keySalt = RandomBytes(kSaltSize);
  agile.passwordSalt = RandomBytes(kSaltSize);
  const std::vector<uint8_t> dataKey = RandomBytes(parameters.keyBits / 8);
  const std::vector<uint8_t> verifierInput = RandomBytes(kSaltSize);

  const AgilePasswordKey key(agile, password);
  agile.encryptedVerifierHashInput = Encrypted(key, kVerifierInputBlock, verifierInput);
  agile.encryptedVerifierHashValue = Encrypted(key, kVerifierHashBlock, Hash(agile.passwordHash, {verifierInput}));
  agile.encryptedKeyValue = Encrypted(key, kDataKeyBlock, dataKey);

  NewAgileEncryption made;
  AppendU16(made.info, 4);
  AppendU16(made.info, 4);
  AppendU32(made.info, 0x40);
  const std::string xml = Description(agile);
  made.info.insert(made.info.end(), xml.begin(), xml.end());
  made.databaseKey = NonZeroKey();
  made.codec = std::make_shared<AgilePageCodec>(agile, dataKey, made.databaseKey);
  return made;
}

}  // namespace Jet
