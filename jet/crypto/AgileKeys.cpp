#include "jet/crypto/AgileKeys.h"

#include <algorithm>

#include "jet/base/ByteWriter.h"
#include "jet/crypto/Aes.h"
#include "jet/crypto/PasswordBytes.h"

namespace Jet {
namespace {

std::vector<uint8_t> Decrypted(const AgilePasswordKey& key, const AgileBlock& block, std::vector<uint8_t> value) {
  AesApply(AesMode::Cbc, AesDirection::Decrypt, key.KeyFor(block), key.Iv(), value);
  return value;
}

}  // namespace

std::vector<uint8_t> FittedTo(std::vector<uint8_t> bytes, size_t size, uint8_t filler) {
  bytes.resize(size, filler);
  return bytes;
}

AgilePasswordKey::AgilePasswordKey(const AgileEncryption& agile, std::u16string_view password) : agile_(agile) {
  spun_ = Hash(agile.passwordHash, {agile.passwordSalt, PasswordBytes(password)});
  std::array<uint8_t, 4> round{};
  for (uint32_t n = 0; n < agile.spinCount; ++n) {
    PutU32(round, 0, n);
    spun_ = Hash(agile.passwordHash, {round, spun_});
  }
}

std::vector<uint8_t> AgilePasswordKey::KeyFor(const AgileBlock& block) const {
  return FittedTo(Hash(agile_.passwordHash, {spun_, block}), agile_.passwordKeyBits / 8, 0x36);
}

std::vector<uint8_t> AgilePasswordKey::Iv() const {
  return FittedTo(agile_.passwordSalt, agile_.passwordBlockSize, 0x36);
}

std::optional<std::vector<uint8_t>> UnlockAgileDataKey(const AgileEncryption& agile, std::u16string_view password) {
  const AgilePasswordKey key(agile, password);
  std::vector<uint8_t> input = Decrypted(key, kVerifierInputBlock, agile.encryptedVerifierHashInput);
  // The verifier's input is as long as the salt, padded to whole blocks.
  input.resize(std::min(input.size(), agile.passwordSalt.size()));
  const std::vector<uint8_t> expected = Decrypted(key, kVerifierHashBlock, agile.encryptedVerifierHashValue);
  // The stored hash is padded to whole blocks; the hash itself is its start.
  const std::vector<uint8_t> actual = Hash(agile.passwordHash, {input});
  if (expected.size() < actual.size() || !std::equal(actual.begin(), actual.end(), expected.begin()))
    return std::nullopt;
  std::vector<uint8_t> dataKey = Decrypted(key, kDataKeyBlock, agile.encryptedKeyValue);
  dataKey.resize(agile.keyBits / 8);
  return dataKey;
}

}  // namespace Jet
