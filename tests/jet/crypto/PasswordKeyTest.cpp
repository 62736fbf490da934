#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "jet/crypto/Aes.h"
#include "jet/crypto/AgileKeys.h"
#include "jet/crypto/CryptoApiKeys.h"
#include "tests/jet/crypto/HexBytes.h"

// The keys a password gives against the published examples of the Office encryption key derivation
// (the password "Password1234_" of the msoffcrypto-tool project's documented examples): the
// standard AES key of block 0 after 50,000 SHA-1 rounds, and the agile data key unlocked after
// 100,000 SHA-512 rounds with AES-256.
namespace Jet {
namespace {

using Bytes = std::vector<uint8_t>;

using Testing::FromHex;

TEST(PasswordKey, StandardAesKeyOfBlockZeroMatchesThePublishedExample) {
  CryptoApiEncryption scheme;
  scheme.cipher = CryptoApiEncryption::Cipher::StandardAes;
  scheme.keyBits = 128;
  scheme.salt = FromHex("e88266490c5bd1eebd2b4394e3f830ef");
  EXPECT_EQ(CryptoApiKey(scheme, u"Password1234_").KeyFor({0, 0, 0, 0}), FromHex("40b13a71f90b966e375408f2d181a1aa"));
  // Without the 50,000 rounds (the unhashed form) the key is another.
  scheme.cipher = CryptoApiEncryption::Cipher::NonStandardAes;
  EXPECT_NE(CryptoApiKey(scheme, u"Password1234_").KeyFor({0, 0, 0, 0}), FromHex("40b13a71f90b966e375408f2d181a1aa"));
}

TEST(PasswordKey, AgileDataKeyMatchesThePublishedExample) {
  AgileEncryption agile;
  agile.passwordSalt = FromHex("4c725d45dc610f939412a04da7910466");
  agile.passwordHash = HashAlgorithm::Sha512;
  agile.passwordKeyBits = 256;
  agile.passwordBlockSize = 16;
  agile.spinCount = 100000;
  const AgilePasswordKey key(agile, u"Password1234_");
  Bytes dataKey = FromHex("a16cd5165a7ab9d271113ed386a78cf49692e8e527b0c5fc0055ed080b7cb94b");
  AesApply(AesMode::Cbc, AesDirection::Decrypt, key.KeyFor(kDataKeyBlock), key.Iv(), dataKey);
  EXPECT_EQ(dataKey, FromHex("40206609d9faadf24b076aebf2c435b74292c8b8a7aa81bc679be89711b02ac2"));
}

}  // namespace
}  // namespace Jet
