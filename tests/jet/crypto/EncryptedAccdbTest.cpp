#include <gtest/gtest.h>

#include "jet/Database.h"
#include "jet/JetError.h"
#include "tests/jet/create/CreatedDatabase.h"
#include "tests/jet/crypto/EncryptedPages.h"
#include "tests/jet/crypto/EncryptionFixtures.h"
#include "tests/jet/write/WriterFixture.h"

// The encrypted .accdb files of the corpus (agile AES-128 and RC4 CryptoAPI, password Test123)
// read, written through the engine's update on copies, refused with a wrong password, and an agile
// copy with a data integrity check read but never written.
namespace Jet {
namespace {

using namespace Testing;
using Main::Value;

const char* const kCorpusFiles[] = {"db2007-enc.accdb", "db2007-oldenc.accdb"};

std::filesystem::path WritableEncryptedCopy(const std::string& name) {
  const auto copy = ScratchDir() / name;
  WriteBytes(copy, ReadBytes(EncryptedCorpusFile(name)));
  return copy;
}

TEST(EncryptedAccdb, CorpusFilesReadWithTheirPassword) {
  QUORVANE_REQUIRE_ENCRYPTED(EncryptedCorpusFile(kCorpusFiles[0]));
  for (const char* name : kCorpusFiles) {
    SCOPED_TRACE(name);
    const auto database = OpenWith(EncryptedCorpusFile(name), kCorpusPassword);
    EXPECT_TRUE(database->Info().hasPassword);
    EXPECT_TRUE(database->Info().pagesEncoded);
    bool listed = false;
    for (const auto& entry : database->TablesRowset()) listed = listed || entry.name == u"Table1";
    EXPECT_TRUE(listed);
    EXPECT_EQ(ReadAll(*database, u"Table1"), (Rows{{Value::Integer(1), Value::Text(u"foo")}}));
  }
}

TEST(EncryptedAccdb, WrongPasswordsAreRefusedWithTheFileUntouched) {
  QUORVANE_REQUIRE_ENCRYPTED(EncryptedCorpusFile(kCorpusFiles[0]));
  const std::u16string wrong[] = {u"test123", u"", u"Test1234", u"Test12", std::u16string(300, u'T'),
                                  kCorpusPassword + std::u16string(260, u'x')};
  for (const char* name : kCorpusFiles) {
    const auto copy = WritableEncryptedCopy(name);
    const auto before = ReadBytes(copy);
    for (const auto& password : wrong) {
      SCOPED_TRACE(std::string(name) + " with a password of " + std::to_string(password.size()) + " characters");
      for (const bool readWrite : {false, true}) {
        try {
          OpenWith(copy, password, readWrite);
          ADD_FAILURE() << "opened";
        } catch (const JetError& error) {
          EXPECT_EQ(error.Number(), JetErrorNumber::kNotValidPassword);
          EXPECT_EQ(error.Description(), u"Not a valid password.");
        }
      }
    }
    EXPECT_EQ(ReadBytes(copy), before);
  }
}

TEST(EncryptedAccdb, AnUpdateIsWrittenEncryptedAndReadsBack) {
  QUORVANE_REQUIRE_ENCRYPTED(EncryptedCorpusFile(kCorpusFiles[0]));
  for (const char* name : kCorpusFiles) {
    SCOPED_TRACE(name);
    const auto copy = WritableEncryptedCopy(name);
    const auto before = ReadBytes(copy);
    {
      const auto database = OpenWith(copy, kCorpusPassword, true);
      ASSERT_TRUE(database->IsWritable());
      const auto table = database->Table(u"Table1");
      database->UpdateText(*table, RowAt(*database, table, 0), 1, u"changed in place");
      database->Close();
    }
    const auto reopened = OpenWith(copy, kCorpusPassword);
    EXPECT_EQ(ReadAll(*reopened, u"Table1"), (Rows{{Value::Integer(1), Value::Text(u"changed in place")}}));

    // The row's data page alone changed; stored, it does not show the text, decrypted it does.
    const auto after = ReadBytes(copy);
    ASSERT_EQ(after.size(), before.size());
    const auto changed = ChangedPages(before, after, 4096);
    ASSERT_EQ(changed.size(), 1u);
    const uint32_t page = *changed.begin();
    EXPECT_NE(page, 0u);
    EXPECT_FALSE(PageHoldsText(std::vector<uint8_t>(after.begin() + page * 4096, after.begin() + (page + 1) * 4096),
                               "changed in place"));
    const auto codec = CodecOf(after, kCorpusPassword);
    const auto decrypted = DecryptedPage(after, page, *codec);
    EXPECT_EQ(decrypted[0], 0x01);
    EXPECT_TRUE(PageHoldsText(decrypted, "changed in place"));
    EXPECT_FALSE(PageHoldsText(DecryptedPage(before, page, *codec), "changed in place"));
    EXPECT_TRUE(PageHoldsText(DecryptedPage(before, page, *codec), "foo"));
  }
}

TEST(EncryptedAccdb, AnAgileFileWithADataIntegrityCheckReadsButTakesNoWrite) {
  QUORVANE_REQUIRE_ENCRYPTED(EncryptedCorpusFile(kCorpusFiles[0]));
  auto bytes = ReadBytes(EncryptedCorpusFile("db2007-enc.accdb"));
  std::string xml = AgileXmlOf(EncryptionInfoOf(bytes));
  xml.insert(xml.find("<keyEncryptors>"), "<dataIntegrity encryptedHmacKey=\"AAAA\" encryptedHmacValue=\"AAAA\"/>");
  PutEncryptionInfo(bytes, AgileInfoWith(xml));
  const auto copy = WriteBytes(ScratchDir() / "integrity.accdb", bytes);

  const auto database = OpenWith(copy, kCorpusPassword, true);
  EXPECT_FALSE(database->IsWritable());
  EXPECT_NE(database->WriteRefusal().find(u"integrity.accdb' is encrypted with a data integrity check"),
            std::u16string::npos);
  EXPECT_TRUE(OpenWith(copy, kCorpusPassword)->WriteRefusal().empty()) << "opened for reading, nothing is refused";
  EXPECT_EQ(ReadAll(*database, u"Table1"), (Rows{{Value::Integer(1), Value::Text(u"foo")}}));
  const auto table = database->Table(u"Table1");
  try {
    database->UpdateText(*table, RowAt(*database, table, 0), 1, u"refused");
    ADD_FAILURE() << "written";
  } catch (const JetError& error) {
    EXPECT_EQ(error.Number(), JetErrorNumber::kNotSupported);
    EXPECT_NE(error.Description().find(u"integrity.accdb' is encrypted with a data integrity check"), std::u16string::npos);
  }
  EXPECT_EQ(ReadAll(*database, u"Table1"), (Rows{{Value::Integer(1), Value::Text(u"foo")}}));
  database->Close();
  EXPECT_EQ(ReadBytes(copy), bytes);
  EXPECT_EQ(ErrorNumberOf([&] { OpenWith(copy, u"test123"); }), JetErrorNumber::kNotValidPassword);
}

}  // namespace
}  // namespace Jet
