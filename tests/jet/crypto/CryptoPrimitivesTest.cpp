#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "jet/JetError.h"
#include "jet/crypto/Aes.h"
#include "jet/crypto/Base64.h"
#include "jet/crypto/Hash.h"
#include "jet/crypto/PasswordBytes.h"
#include "tests/jet/crypto/HexBytes.h"

// The hash, AES and base64 wrappers against published test vectors (FIPS 180-2, FIPS 197,
// SP 800-38A, RFC 4648), and the password's bytes.
namespace Jet {
namespace {

using Bytes = std::vector<uint8_t>;

using Testing::FromHex;

Bytes Ascii(const std::string& text) { return Bytes(text.begin(), text.end()); }

TEST(CryptoPrimitives, HashesGiveTheirPublishedDigestsOfAbc) {
  const Bytes abc = Ascii("abc");
  EXPECT_EQ(Hash(HashAlgorithm::Sha1, {abc}), FromHex("a9993e364706816aba3e25717850c26c9cd0d89d"));
  EXPECT_EQ(Hash(HashAlgorithm::Sha256, {abc}),
            FromHex("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"));
  EXPECT_EQ(Hash(HashAlgorithm::Sha384, {abc}),
            FromHex("cb00753f45a35e8bb5a03d699ac65007272c32ab0eded1631a8b605a43ff5bed8086072ba1e7cc2358baeca134c825a7"));
  EXPECT_EQ(Hash(HashAlgorithm::Sha512, {abc}),
            FromHex("ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a2192992a274fc1a836ba3c23a3feebbd"
                    "454d4423643ce80e2a9ac94fa54ca49f"));
  // Parts are hashed one after another, as if joined.
  EXPECT_EQ(Hash(HashAlgorithm::Sha1, {Ascii("a"), Bytes{}, Ascii("bc")}), Hash(HashAlgorithm::Sha1, {abc}));
  EXPECT_EQ(HashSize(HashAlgorithm::Sha1), 20u);
  EXPECT_EQ(HashSize(HashAlgorithm::Sha512), 64u);
}

TEST(CryptoPrimitives, AesEcbMatchesTheStandardsExamplesForEveryKeySize) {
  const Bytes plain = FromHex("00112233445566778899aabbccddeeff");
  const struct {
    std::string key;
    std::string cipher;
  } cases[] = {
      {"000102030405060708090a0b0c0d0e0f", "69c4e0d86a7b0430d8cdb78070b4c55a"},
      {"000102030405060708090a0b0c0d0e0f1011121314151617", "dda97ca4864cdfe06eaf70a0ec0d7191"},
      {"000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f", "8ea2b7ca516745bfeafc49904b496089"},
  };
  for (const auto& example : cases) {
    Bytes data = plain;
    AesApply(AesMode::Ecb, AesDirection::Encrypt, FromHex(example.key), {}, data);
    EXPECT_EQ(data, FromHex(example.cipher)) << example.key;
    AesApply(AesMode::Ecb, AesDirection::Decrypt, FromHex(example.key), {}, data);
    EXPECT_EQ(data, plain) << example.key;
  }
}

TEST(CryptoPrimitives, AesCbcChainsBlocksFromTheIv) {
  const Bytes key = FromHex("2b7e151628aed2a6abf7158809cf4f3c");
  const Bytes iv = FromHex("000102030405060708090a0b0c0d0e0f");
  const Bytes plain = FromHex("6bc1bee22e409f96e93d7e117393172aae2d8a571e03ac9c9eb76fac45af8e51");
  Bytes data = plain;
  AesApply(AesMode::Cbc, AesDirection::Encrypt, key, iv, data);
  EXPECT_EQ(data, FromHex("7649abac8119b246cee98e9b12e9197d5086cb9b507219ee95db113a917678b2"));
  AesApply(AesMode::Cbc, AesDirection::Decrypt, key, iv, data);
  EXPECT_EQ(data, plain);
}

TEST(CryptoPrimitives, AesRefusesPartialBlocksAndOddKeys) {
  Bytes partial(20);
  EXPECT_THROW(AesApply(AesMode::Ecb, AesDirection::Encrypt, Bytes(16), {}, partial), JetError);
  Bytes block(16);
  EXPECT_THROW(AesApply(AesMode::Ecb, AesDirection::Encrypt, Bytes(20), {}, block), JetError);
  EXPECT_THROW(AesApply(AesMode::Cbc, AesDirection::Encrypt, Bytes(16), Bytes(8), block), JetError);
}

TEST(CryptoPrimitives, Base64FollowsRfc4648BothWays) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="},
      {"foobar", "Zm9vYmFy"}};
  for (const auto& [plain, encoded] : cases) {
    EXPECT_EQ(EncodeBase64(Ascii(plain)), encoded);
    const auto decoded = DecodeBase64(encoded);
    ASSERT_TRUE(decoded.has_value()) << encoded;
    EXPECT_EQ(*decoded, Ascii(plain)) << encoded;
  }
  EXPECT_FALSE(DecodeBase64("Zm9").has_value());
  EXPECT_FALSE(DecodeBase64("Zm9*").has_value());
}

TEST(CryptoPrimitives, PasswordBytesAreUtf16LittleEndianCutTo255Units) {
  EXPECT_EQ(PasswordBytes(u"Té"), (Bytes{'T', 0, 0xE9, 0}));
  EXPECT_TRUE(PasswordBytes(u"").empty());
  const std::u16string longest(255, u'x');
  EXPECT_EQ(PasswordBytes(longest + u"yz"), PasswordBytes(longest));
  EXPECT_NE(PasswordBytes(std::u16string(254, u'x') + u"y"), PasswordBytes(longest));
}

}  // namespace
}  // namespace Jet
