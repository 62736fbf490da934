#include <gtest/gtest.h>

#include <algorithm>

#include <openssl/rand.h>

#include "jet/Creator.h"
#include "jet/Database.h"
#include "jet/JetError.h"
#include "jet/crypto/Aes.h"
#include "jet/crypto/AgileKeys.h"
#include "jet/crypto/CryptoApiKeys.h"
#include "jet/crypto/Rc4.h"
#include "jet/crypto/Rc4CryptoApiPageCodec.h"
#include "jet/crypto/StandardAesPageCodec.h"
#include "tests/jet/create/CreatedDatabase.h"
#include "tests/jet/crypto/EncryptedPages.h"
#include "tests/jet/crypto/EncryptionFixtures.h"
#include "tests/jet/write/WriterFixture.h"

// .accdb files the creator encrypts (agile, of each key size and hash, with several spin counts)
// read back with their password and refused without it; updates of them, pages appended included;
// and the CryptoAPI schemes (RC4 of 40 and 128 bits, standard and unhashed AES), which the creator
// does not write, through created files encrypted here page by page.
namespace Jet {
namespace {

using namespace Testing;
using Main::Value;

const std::u16string kPassword = u"Sésame, ouvre-toi";

CreateOptions Encrypted(uint32_t keyBits, EncryptionOptions::Hash hash, uint32_t spinCount) {
  CreateOptions options;
  options.password = kPassword;
  options.encryption.keyBits = keyBits;
  options.encryption.hash = hash;
  options.encryption.spinCount = spinCount;
  return options;
}

void MakeFile(const std::filesystem::path& file, const CreateOptions& options) {
  auto creator = CreateDatabase(file, FileFormat::Ace12, options);
  creator.AddTable(EveryTypeTable(u"Every"));
  creator.InsertRows(u"Every", EveryTypeRows());
  creator.Close();
}

void ExpectOnlyThePasswordOpens(const std::filesystem::path& file) {
  EXPECT_EQ(ReadAll(*OpenWith(file, kPassword), u"Every"), EveryTypeRowsRead());
  for (const std::u16string& wrong : {std::u16string(), std::u16string(u"sésame, ouvre-toi"), kPassword + u" "})
    EXPECT_EQ(ErrorNumberOf([&] { OpenWith(file, wrong); }), JetErrorNumber::kNotValidPassword);
}

TEST(EncryptedCreator, TheDefaultIsAes256WithSha512And100000Rounds) {
  const auto file = CreatorScratchDir() / "secret.accdb";
  CreateOptions options;
  options.password = kPassword;
  MakeFile(file, options);
  ExpectOnlyThePasswordOpens(file);
  const auto bytes = ReadBytes(file);
  const auto agile = std::get<AgileEncryption>(ReadEncryptionInfo(bytes, "secret.accdb"));
  EXPECT_EQ(agile.keyBits, 256u);
  EXPECT_EQ(agile.keyHash, HashAlgorithm::Sha512);
  EXPECT_EQ(agile.passwordHash, HashAlgorithm::Sha512);
  EXPECT_EQ(agile.spinCount, 100000u);
  EXPECT_FALSE(agile.dataIntegrity);
  const auto database = OpenWith(file, kPassword);
  EXPECT_TRUE(database->Info().hasPassword);
  EXPECT_TRUE(database->Info().pagesEncoded);
  // Every page but the header is stored encrypted.
  const auto codec = CodecOf(bytes, kPassword);
  for (uint32_t page = 1; page < bytes.size() / 4096; ++page) {
    const auto decrypted = DecryptedPage(bytes, page, *codec);
    EXPECT_FALSE(std::equal(decrypted.begin(), decrypted.end(), bytes.begin() + page * 4096)) << page;
  }
  EXPECT_EQ(DecryptedPage(bytes, 2, *codec)[0], 0x02);
  EXPECT_NE(bytes[2 * 4096], 0x02);
}

TEST(EncryptedCreator, EveryKeySizeHashAndSpinCountReadsBack) {
  using Hash = EncryptionOptions::Hash;
  const struct {
    uint32_t keyBits;
    Hash hash;
    uint32_t spinCount;
    HashAlgorithm read;
  } cases[] = {
      {128, Hash::Sha1, 0, HashAlgorithm::Sha1},    {192, Hash::Sha256, 1, HashAlgorithm::Sha256},
      {256, Hash::Sha384, 7, HashAlgorithm::Sha384}, {128, Hash::Sha512, 1000, HashAlgorithm::Sha512},
      {192, Hash::Sha1, 50, HashAlgorithm::Sha1},
  };
  for (const auto& wanted : cases) {
    SCOPED_TRACE(std::to_string(wanted.keyBits) + " bits, " + std::to_string(wanted.spinCount) + " rounds");
    const auto file = CreatorScratchDir() / "made.accdb";
    MakeFile(file, Encrypted(wanted.keyBits, wanted.hash, wanted.spinCount));
    ExpectOnlyThePasswordOpens(file);
    const auto agile = std::get<AgileEncryption>(ReadEncryptionInfo(ReadBytes(file), "made.accdb"));
    EXPECT_EQ(agile.keyBits, wanted.keyBits);
    EXPECT_EQ(agile.keyHash, wanted.read);
    EXPECT_EQ(agile.spinCount, wanted.spinCount);
    // The spin count is part of the key: the same file told another count takes no password.
    AgileEncryption miscounted = agile;
    miscounted.spinCount = wanted.spinCount + 1;
    EXPECT_TRUE(UnlockAgileDataKey(agile, kPassword).has_value());
    EXPECT_FALSE(UnlockAgileDataKey(miscounted, kPassword).has_value());
  }
}

TEST(EncryptedCreator, TwoFilesOfOnePasswordGetTheirOwnKeys) {
  const auto folder = CreatorScratchDir();
  MakeFile(folder / "a.accdb", Encrypted(128, EncryptionOptions::Hash::Sha1, 10));
  MakeFile(folder / "b.accdb", Encrypted(128, EncryptionOptions::Hash::Sha1, 10));
  const auto a = ReadBytes(folder / "a.accdb");
  const auto b = ReadBytes(folder / "b.accdb");
  const auto infoA = std::get<AgileEncryption>(ReadEncryptionInfo(a, "a"));
  const auto infoB = std::get<AgileEncryption>(ReadEncryptionInfo(b, "b"));
  EXPECT_NE(infoA.keySalt, infoB.keySalt);
  EXPECT_NE(infoA.passwordSalt, infoB.passwordSalt);
  EXPECT_NE(*UnlockAgileDataKey(infoA, kPassword), *UnlockAgileDataKey(infoB, kPassword));
  EXPECT_NE(std::vector<uint8_t>(a.begin() + 4096, a.end()), std::vector<uint8_t>(b.begin() + 4096, b.end()));
}

TEST(EncryptedCreator, UpdatesAndAppendedPagesAreEncryptedWithTheirOwnPageNumber) {
  const auto file = CreatorScratchDir() / "grow.accdb";
  MakeFile(file, Encrypted(256, EncryptionOptions::Hash::Sha512, 10));
  const auto before = ReadBytes(file);
  std::u16string memo;
  for (int n = 0; memo.size() < 30000; ++n) memo += u"line " + Main::FromUtf8(std::to_string(n)) + u"; ";
  {
    const auto database = OpenWith(file, kPassword, true);
    const auto table = database->Table(u"Every");
    database->UpdateText(*table, RowAt(*database, table, 0), 2, memo);
    database->Close();
  }
  const auto after = ReadBytes(file);
  ASSERT_GT(after.size(), before.size());
  Rows expected = EveryTypeRowsRead();
  expected[0][2] = Value::Text(memo);
  EXPECT_EQ(ReadAll(*OpenWith(file, kPassword), u"Every"), expected);
  const auto codec = CodecOf(after, kPassword);
  for (uint32_t page = static_cast<uint32_t>(before.size() / 4096); page < after.size() / 4096; ++page) {
    SCOPED_TRACE(page);
    const auto decrypted = DecryptedPage(after, page, *codec);
    EXPECT_EQ(decrypted[0], 0x01);
    // Decrypted as another page's number its first cipher block comes out otherwise (in CBC the
    // page's IV reaches that block only, so its first byte alone would match 1 time in 256).
    const auto wrong = DecryptedPage(after, page, *codec, page + 1);
    EXPECT_FALSE(std::equal(decrypted.begin(), decrypted.begin() + 16, wrong.begin()));
  }
}

TEST(EncryptedCreator, PasswordsWithoutEncryptionAndEncryptionOfJet4AreRefused) {
  const auto folder = CreatorScratchDir();
  CreateOptions options = Encrypted(256, EncryptionOptions::Hash::Sha512, 1);
  options.encryption.keyBits = 160;
  EXPECT_EQ(ErrorNumberOf([&] { MakeFile(folder / "odd.accdb", options); }), JetErrorNumber::kNotSupported);
  options.encryption.keyBits = 128;
  options.encryption.spinCount = 10'000'001;
  EXPECT_EQ(ErrorNumberOf([&] { MakeFile(folder / "slow.accdb", options); }), JetErrorNumber::kNotSupported);
  EXPECT_FALSE(std::filesystem::exists(folder / "odd.accdb"));
  EXPECT_FALSE(std::filesystem::exists(folder / "slow.accdb"));
  // Jet4 keeps its password in the header and is not encrypted.
  const auto jet4 = folder / "plain.mdb";
  auto creator = CreateDatabase(jet4, FileFormat::Jet4, CreateOptions{u"short"});
  creator.Close();
  EXPECT_FALSE(OpenWith(jet4, u"short")->Info().pagesEncoded);
}

// A created file without a password turned into a CryptoAPI-encrypted one: its EncryptionInfo with
// a verifier of `cipher` made from the password, a database key, every page encrypted.
std::vector<uint8_t> CryptoApiFile(const std::vector<uint8_t>& plain, CryptoApiEncryption::Cipher cipher,
                                   uint32_t keyBits) {
  CryptoApiEncryption scheme;
  scheme.cipher = cipher;
  scheme.keyBits = keyBits;
  scheme.salt.resize(16);
  RAND_bytes(scheme.salt.data(), 16);
  const CryptoApiKey key(scheme, kPassword);
  std::vector<uint8_t> verifier(16);
  RAND_bytes(verifier.data(), 16);
  std::vector<uint8_t> hash = Hash(HashAlgorithm::Sha1, {verifier});
  if (cipher == CryptoApiEncryption::Cipher::Rc4) {
    Rc4 stream(key.KeyFor({0, 0, 0, 0}));
    stream.Apply(verifier);
    stream.Apply(hash);
  } else {
    hash.resize(32, 0);
    AesApply(AesMode::Ecb, AesDirection::Encrypt, key.KeyFor({0, 0, 0, 0}), {}, verifier);
    AesApply(AesMode::Ecb, AesDirection::Encrypt, key.KeyFor({0, 0, 0, 0}), {}, hash);
  }
  CryptoApiFields fields;
  fields.keyBits = keyBits;
  fields.salt = scheme.salt;
  fields.encryptedVerifier = verifier;
  fields.encryptedVerifierHash = hash;
  fields.provider = u"Microsoft Enhanced RSA and AES Cryptographic Provider";
  if (cipher == CryptoApiEncryption::Cipher::Rc4) fields.algorithm = 0x6801;
  else fields.algorithm = keyBits == 128 ? 0x660E : keyBits == 192 ? 0x660F : 0x6610;
  fields.flags = cipher == CryptoApiEncryption::Cipher::StandardAes ? 0x24 : 0x04;

  constexpr uint32_t kDatabaseKey = 0x6B1D42A7;
  std::vector<uint8_t> file = plain;
  PutEncryptionInfo(file, CryptoApiInfo(fields));
  PutDatabaseKey(file, kDatabaseKey);
  std::unique_ptr<PageCodec> codec;
  if (cipher == CryptoApiEncryption::Cipher::Rc4) codec = std::make_unique<Rc4CryptoApiPageCodec>(key, kDatabaseKey);
  else codec = std::make_unique<StandardAesPageCodec>(key, kDatabaseKey);
  for (uint32_t page = 1; page < file.size() / 4096; ++page)
    codec->Encode(page, std::span(file).subspan(page * 4096, 4096));
  return file;
}

TEST(EncryptedCreator, CryptoApiFilesReadAndTakeUpdates) {
  const auto folder = CreatorScratchDir();
  MakeFile(folder / "plain.accdb", CreateOptions{});
  const auto plain = ReadBytes(folder / "plain.accdb");
  using Cipher = CryptoApiEncryption::Cipher;
  const std::pair<Cipher, uint32_t> cases[] = {{Cipher::Rc4, 40},          {Cipher::Rc4, 128},
                                               {Cipher::StandardAes, 128}, {Cipher::StandardAes, 256},
                                               {Cipher::NonStandardAes, 192}};
  for (const auto& [cipher, keyBits] : cases) {
    SCOPED_TRACE(std::to_string(static_cast<int>(cipher)) + ", " + std::to_string(keyBits) + " bits");
    const auto file = WriteBytes(folder / "crypto.accdb", CryptoApiFile(plain, cipher, keyBits));
    const auto scheme = std::get<CryptoApiEncryption>(ReadEncryptionInfo(ReadBytes(file), "crypto.accdb"));
    EXPECT_EQ(scheme.cipher, cipher);
    EXPECT_EQ(scheme.keyBits, keyBits);
    ExpectOnlyThePasswordOpens(file);
    {
      const auto database = OpenWith(file, kPassword, true);
      const auto table = database->Table(u"Every");
      database->UpdateText(*table, RowAt(*database, table, 1), 1, u"rewritten");
      database->Close();
    }
    Rows expected = EveryTypeRowsRead();
    expected[1][1] = Value::Text(u"rewritten");
    EXPECT_EQ(ReadAll(*OpenWith(file, kPassword), u"Every"), expected);
  }
}

}  // namespace
}  // namespace Jet
