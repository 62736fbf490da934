#include "jet/crypto/EncryptionInfo.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "jet/JetError.h"
#include "jet/crypto/AgileKeys.h"
#include "jet/crypto/CryptoApiKeys.h"
#include "tests/jet/crypto/EncryptionFixtures.h"

// The EncryptionInfo of the header page: the corpus's agile and RC4 CryptoAPI streams read field by
// field and their passwords checked, crafted streams of the other CryptoAPI forms, and the
// refusals of damaged streams and schemes the engine does not decrypt.
namespace Jet {
namespace {

using namespace Testing;
using Bytes = std::vector<uint8_t>;

EncryptionScheme Read(const Bytes& page) { return ReadEncryptionInfo(page, "x.accdb"); }

// The error reading `page` throws.
std::pair<long, std::u16string> Refusal(const Bytes& page) {
  try {
    Read(page);
  } catch (const JetError& error) {
    return {error.Number(), error.Description()};
  }
  return {0, u""};
}

void ExpectNotSupported(const Bytes& page, const std::u16string& words) {
  const auto [number, description] = Refusal(page);
  EXPECT_EQ(number, JetErrorNumber::kNotSupported) << std::string(description.begin(), description.end());
  EXPECT_NE(description.find(u"'x.accdb'"), std::u16string::npos);
  EXPECT_NE(description.find(words), std::u16string::npos) << std::string(description.begin(), description.end());
}

void ExpectDamaged(const Bytes& page) {
  EXPECT_EQ(Refusal(page).first, JetErrorNumber::kCorrupt);
}

TEST(EncryptionInfo, CorpusAgileStreamReadsAndTakesOnlyItsPassword) {
  const auto file = EncryptedCorpusFile("db2007-enc.accdb");
  QUORVANE_REQUIRE_ENCRYPTED(file);
  const auto scheme = Read(ReadBytes(file));
  ASSERT_TRUE(std::holds_alternative<AgileEncryption>(scheme));
  const auto& agile = std::get<AgileEncryption>(scheme);
  EXPECT_EQ(agile.keyBits, 128u);
  EXPECT_EQ(agile.blockSize, 16u);
  EXPECT_EQ(agile.keyHash, HashAlgorithm::Sha1);
  EXPECT_EQ(agile.spinCount, 100000u);
  EXPECT_EQ(agile.keySalt.size(), 16u);
  EXPECT_EQ(agile.passwordSalt.size(), 16u);
  EXPECT_EQ(agile.encryptedVerifierHashValue.size(), 32u);
  EXPECT_FALSE(agile.dataIntegrity);
  const auto key = UnlockAgileDataKey(agile, kCorpusPassword);
  ASSERT_TRUE(key.has_value());
  EXPECT_EQ(key->size(), 16u);
  EXPECT_FALSE(UnlockAgileDataKey(agile, u"test123").has_value());
  EXPECT_FALSE(UnlockAgileDataKey(agile, u"").has_value());
}

TEST(EncryptionInfo, CorpusRc4StreamReadsAndTakesOnlyItsPassword) {
  const auto file = EncryptedCorpusFile("db2007-oldenc.accdb");
  QUORVANE_REQUIRE_ENCRYPTED(file);
  const auto scheme = Read(ReadBytes(file));
  ASSERT_TRUE(std::holds_alternative<CryptoApiEncryption>(scheme));
  const auto& rc4 = std::get<CryptoApiEncryption>(scheme);
  EXPECT_EQ(rc4.cipher, CryptoApiEncryption::Cipher::Rc4);
  EXPECT_EQ(rc4.keyBits, 40u);
  EXPECT_EQ(rc4.encryptedVerifierHash.size(), 20u);
  EXPECT_TRUE(CryptoApiKey(rc4, kCorpusPassword).Verifies());
  EXPECT_FALSE(CryptoApiKey(rc4, u"test123").Verifies());
  EXPECT_FALSE(CryptoApiKey(rc4, u"").Verifies());
  // A 40-bit key runs as 16 bytes whose last 11 are zero.
  const Bytes key = CryptoApiKey(rc4, kCorpusPassword).KeyFor({1, 2, 3, 4});
  ASSERT_EQ(key.size(), 16u);
  EXPECT_EQ(Bytes(key.begin() + 5, key.end()), Bytes(11, 0));
}

TEST(EncryptionInfo, CryptoApiFormsAreToldByFlagsAndCipher) {
  CryptoApiFields fields;
  fields.flags = 0x24;
  fields.algorithm = 0x660F;
  fields.keyBits = 192;
  fields.encryptedVerifierHash = Bytes(32, 1);
  auto scheme = std::get<CryptoApiEncryption>(Read(HeaderPageWith(CryptoApiInfo(fields))));
  EXPECT_EQ(scheme.cipher, CryptoApiEncryption::Cipher::StandardAes);
  EXPECT_EQ(scheme.keyBits, 192u);
  EXPECT_EQ(scheme.encryptedVerifierHash.size(), 32u);

  fields.flags = 0x04;  // AES named without the AES flag
  fields.major = 3;
  scheme = std::get<CryptoApiEncryption>(Read(HeaderPageWith(CryptoApiInfo(fields))));
  EXPECT_EQ(scheme.cipher, CryptoApiEncryption::Cipher::NonStandardAes);

  fields.flags = 0x24;
  fields.algorithm = 0;  // AES by its flag, of the size given
  fields.keyBits = 0;
  scheme = std::get<CryptoApiEncryption>(Read(HeaderPageWith(CryptoApiInfo(fields))));
  EXPECT_EQ(scheme.keyBits, 128u);

  CryptoApiFields rc4;
  rc4.keyBits = 0;  // a default key size: 40 bits for a base provider, 128 for others
  EXPECT_EQ(std::get<CryptoApiEncryption>(Read(HeaderPageWith(CryptoApiInfo(rc4)))).keyBits, 40u);
  rc4.provider = u"Microsoft Enhanced Cryptographic Provider v1.0";
  EXPECT_EQ(std::get<CryptoApiEncryption>(Read(HeaderPageWith(CryptoApiInfo(rc4)))).keyBits, 128u);
  rc4.keyBits = 56;
  EXPECT_EQ(std::get<CryptoApiEncryption>(Read(HeaderPageWith(CryptoApiInfo(rc4)))).keyBits, 56u);
}

TEST(EncryptionInfo, SchemesTheEngineDoesNotDecryptAreNamed) {
  ExpectNotSupported(HeaderPageWith({4, 0, 3, 0, 0, 0, 0, 0}), u"extensible encryption (4.3)");
  ExpectNotSupported(HeaderPageWith({3, 0, 3, 0, 0, 0, 0, 0}), u"extensible encryption (3.3)");
  ExpectNotSupported(HeaderPageWith({1, 0, 1, 0, 0, 0, 0, 0}), u"Office binary RC4 encryption (1.1)");
  ExpectNotSupported(HeaderPageWith({9, 0, 7, 0, 0, 0, 0, 0}), u"unknown encryption scheme (version 9.7)");
  ExpectNotSupported(HeaderPageWith({}), u"without encryption information");
  CryptoApiFields fields;
  fields.algorithm = 0x6602;  // RC2
  ExpectNotSupported(HeaderPageWith(CryptoApiInfo(fields)), u"cipher id 0x6602");
  fields = {};
  fields.hash = 0x8003;  // MD5
  ExpectNotSupported(HeaderPageWith(CryptoApiInfo(fields)), u"hash algorithm id 0x8003");
  fields = {};
  fields.flags = 0;
  ExpectNotSupported(HeaderPageWith(CryptoApiInfo(fields)), u"without the CryptoAPI flag");
}

TEST(EncryptionInfo, DamagedCryptoApiStreamsAreRefusedWithinTheirLength) {
  const Bytes whole = CryptoApiInfo({});
  EXPECT_NO_THROW(Read(HeaderPageWith(whole)));
  // Every cut-short stream is refused, whatever bytes follow it on the page.
  for (size_t length = 4; length < whole.size(); ++length) {
    Bytes page = HeaderPageWith(whole);
    PutU16(page, kEncryptionInfoAt, static_cast<uint16_t>(length));
    EXPECT_EQ(Refusal(page).first, JetErrorNumber::kCorrupt) << length;
  }
  CryptoApiFields fields;
  fields.salt = Bytes(8, 1);
  ExpectDamaged(HeaderPageWith(CryptoApiInfo(fields)));
  Bytes tooLong = HeaderPageWith(whole);
  PutU16(tooLong, kEncryptionInfoAt, 4096);
  ExpectDamaged(tooLong);
  Bytes hugeHeader = whole;
  PutU32(hugeHeader, 8, 0xFFFFFFF0);
  ExpectDamaged(HeaderPageWith(hugeHeader));
  Bytes shortHeader = whole;
  PutU32(shortHeader, 8, 12);
  ExpectDamaged(HeaderPageWith(shortHeader));
}

// The corpus's agile stream with its XML changed by `change`.
Bytes AgilePageChanged(const std::function<void(std::string&)>& change) {
  const auto file = EncryptedCorpusFile("db2007-enc.accdb");
  std::string xml = AgileXmlOf(EncryptionInfoOf(ReadBytes(file)));
  change(xml);
  return HeaderPageWith(AgileInfoWith(xml));
}

void Replace(std::string& text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos) << from;
  text.replace(at, from.size(), to);
}

TEST(EncryptionInfo, AgileDescriptionsOfOtherFormsAreReadOrRefused) {
  QUORVANE_REQUIRE_ENCRYPTED(EncryptedCorpusFile("db2007-enc.accdb"));
  const Bytes integrity = AgilePageChanged([](std::string& xml) {
    Replace(xml, "<keyEncryptors>", "<dataIntegrity encryptedHmacKey=\"AAAA\" encryptedHmacValue=\"AAAA\"/><keyEncryptors>");
  });
  EXPECT_TRUE(std::get<AgileEncryption>(Read(integrity)).dataIntegrity);
  // Another prefix for the same namespaces reads the same.
  const Bytes prefixed = AgilePageChanged([](std::string& xml) {
    Replace(xml, "xmlns:p=", "xmlns:q=");
    Replace(xml, "<p:encryptedKey", "<q:encryptedKey");
  });
  EXPECT_EQ(std::get<AgileEncryption>(Read(prefixed)).spinCount, 100000u);

  ExpectNotSupported(AgilePageChanged([](std::string& xml) { Replace(xml, "cipherAlgorithm=\"AES\"", "cipherAlgorithm=\"DES\""); }),
                     u"the cipher DES");
  ExpectNotSupported(AgilePageChanged([](std::string& xml) { Replace(xml, "ChainingModeCBC", "ChainingModeCFB"); }),
                     u"the chaining ChainingModeCFB");
  ExpectNotSupported(AgilePageChanged([](std::string& xml) { Replace(xml, "hashAlgorithm=\"SHA1\"", "hashAlgorithm=\"MD5\""); }),
                     u"the hash MD5");
  ExpectNotSupported(AgilePageChanged([](std::string& xml) {
                       Replace(xml, "</keyEncryptors>", "<keyEncryptor uri=\"http://schemas.microsoft.com/office/2006/keyEncryptor/certificate\"/></keyEncryptors>");
                     }),
                     u"key encryptors other than one password");
  // encryptedKey in the encryption namespace instead of the password's is no password key.
  ExpectNotSupported(AgilePageChanged([](std::string& xml) {
                       Replace(xml, "<p:encryptedKey", "<encryptedKey");
                     }),
                     u"key encryptors other than one password");

  ExpectDamaged(AgilePageChanged([](std::string& xml) { xml.resize(xml.size() - 5); }));
  ExpectDamaged(AgilePageChanged([](std::string& xml) { Replace(xml, "spinCount=\"100000\"", "spinCount=\"1e5\""); }));
  ExpectDamaged(AgilePageChanged([](std::string& xml) { Replace(xml, "spinCount=\"100000\"", "spinCount=\"10000001\""); }));
  ExpectDamaged(AgilePageChanged([](std::string& xml) { Replace(xml, "hashSize=\"20\"", "hashSize=\"32\""); }));
  ExpectDamaged(AgilePageChanged([](std::string& xml) { Replace(xml, "saltSize=\"16\"", "saltSize=\"12\""); }));
  ExpectDamaged(AgilePageChanged([](std::string& xml) { Replace(xml, "encryptedKeyValue=\"", "encryptedKeyValu=\""); }));
  ExpectDamaged(AgilePageChanged([](std::string& xml) { Replace(xml, "encryptedKeyValue=\"", "encryptedKeyValue=\"!"); }));
  ExpectDamaged(AgilePageChanged([](std::string& xml) { xml.insert(xml.find("<encryption"), "<!DOCTYPE encryption [<!ENTITY a \"b\">]>"); }));
  Bytes reserved = AgilePageChanged([](std::string&) {});
  reserved[kEncryptionInfoAt + 2 + 4] = 0x41;
  ExpectDamaged(reserved);
}

// Streams damaged at random: each reads or is refused with a JetError, never anything else.
TEST(EncryptionInfo, RandomlyDamagedStreamsReadOrAreRefused) {
  const auto agileFile = EncryptedCorpusFile("db2007-enc.accdb");
  QUORVANE_REQUIRE_ENCRYPTED(agileFile);
  const std::vector<Bytes> streams = {EncryptionInfoOf(ReadBytes(agileFile)),
                                      EncryptionInfoOf(ReadBytes(EncryptedCorpusFile("db2007-oldenc.accdb"))),
                                      CryptoApiInfo({})};
  std::mt19937 random(20261208);
  size_t refused = 0;
  for (int trial = 0; trial < 3000; ++trial) {
    Bytes info = streams[trial % streams.size()];
    for (int flips = 1 + random() % 4; flips > 0; --flips) info[random() % info.size()] = static_cast<uint8_t>(random());
    if (trial % 7 == 0) info.resize(random() % info.size());
    try {
      const auto scheme = Read(HeaderPageWith(info));
      if (const auto* agile = std::get_if<AgileEncryption>(&scheme); agile != nullptr && agile->spinCount < 1000)
        UnlockAgileDataKey(*agile, kCorpusPassword);
      if (const auto* crypto = std::get_if<CryptoApiEncryption>(&scheme))
        CryptoApiKey(*crypto, kCorpusPassword).Verifies();
    } catch (const JetError&) {
      ++refused;
    }
  }
  EXPECT_GT(refused, 0u);
}

}  // namespace
}  // namespace Jet
