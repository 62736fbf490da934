#include "jet/crypto/CryptoApiKeys.h"

#include <algorithm>

#include "jet/base/ByteWriter.h"
#include "jet/crypto/Aes.h"
#include "jet/crypto/PasswordBytes.h"
#include "jet/crypto/Rc4.h"

namespace Jet {
namespace {

constexpr uint32_t kStandardAesRounds = 50'000;
constexpr size_t kPadSize = 64;
constexpr size_t kShortRc4Key = 16;  // a 40-bit RC4 key runs as 128 bits, the rest zero

std::vector<uint8_t> PadHash(const std::vector<uint8_t>& derived, uint8_t filler) {
  std::array<uint8_t, kPadSize> pad{};
  pad.fill(filler);
  for (size_t n = 0; n < derived.size() && n < pad.size(); ++n) pad[n] ^= derived[n];
  return Hash(HashAlgorithm::Sha1, {pad});
}

}  // namespace

CryptoApiKey::CryptoApiKey(const CryptoApiEncryption& scheme, std::u16string_view password)
    : cipher_(scheme.cipher), keyBits_(scheme.keyBits), encryptedVerifier_(scheme.encryptedVerifier),
      encryptedVerifierHash_(scheme.encryptedVerifierHash) {
  base_ = Hash(HashAlgorithm::Sha1, {scheme.salt, PasswordBytes(password)});
  const uint32_t rounds = cipher_ == CryptoApiEncryption::Cipher::StandardAes ? kStandardAesRounds : 0;
  std::array<uint8_t, 4> round{};
  for (uint32_t n = 0; n < rounds; ++n) {
    PutU32(round, 0, n);
    base_ = Hash(HashAlgorithm::Sha1, {round, base_});
  }
}

std::vector<uint8_t> CryptoApiKey::KeyFor(const CryptoApiBlock& block) const {
  return cipher_ == CryptoApiEncryption::Cipher::Rc4 ? Rc4KeyFor(block) : AesKeyFor(block);
}

std::vector<uint8_t> CryptoApiKey::Rc4KeyFor(const CryptoApiBlock& block) const {
  std::vector<uint8_t> key = Hash(HashAlgorithm::Sha1, {base_, block});
  key.resize(keyBits_ / 8);
  if (keyBits_ == 40) key.resize(kShortRc4Key, 0);
  return key;
}

std::vector<uint8_t> CryptoApiKey::AesKeyFor(const CryptoApiBlock& block) const {
  const std::vector<uint8_t> derived = Hash(HashAlgorithm::Sha1, {base_, block});
  std::vector<uint8_t> key = PadHash(derived, 0x36);
  const std::vector<uint8_t> second = PadHash(derived, 0x5C);
  key.insert(key.end(), second.begin(), second.end());
  key.resize(keyBits_ / 8);
  return key;
}

bool CryptoApiKey::Verifies() const {
  const std::vector<uint8_t> key = KeyFor({0, 0, 0, 0});
  std::vector<uint8_t> verifier = encryptedVerifier_;
  std::vector<uint8_t> hash = encryptedVerifierHash_;
  if (cipher_ == CryptoApiEncryption::Cipher::Rc4) {
    // One key stream runs over the verifier and on over its hash.
    Rc4 stream(key);
    stream.Apply(verifier);
    stream.Apply(hash);
  } else {
    AesApply(AesMode::Ecb, AesDirection::Decrypt, key, {}, verifier);
    AesApply(AesMode::Ecb, AesDirection::Decrypt, key, {}, hash);
  }
  const std::vector<uint8_t> expected = Hash(HashAlgorithm::Sha1, {verifier});
  return hash.size() >= expected.size() && std::equal(expected.begin(), expected.end(), hash.begin());
}

}  // namespace Jet
