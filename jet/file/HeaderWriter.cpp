#include "jet/file/HeaderWriter.h"

#include <algorithm>
#include <cstring>

#include "jet/base/Failure.h"
#include "jet/crypto/EncryptionInfo.h"
#include "jet/crypto/Rc4.h"

namespace Jet::Create {
namespace {

constexpr size_t kSignatureAt = 4;
constexpr size_t kVersionAt = 0x14;
constexpr size_t kMaskAt = 0x18;
constexpr size_t kMaskLength = 128;
constexpr size_t kCodePageAt = 0x3C;
constexpr size_t kDatabaseKeyAt = 0x3E;
constexpr size_t kPasswordAt = 0x42;
constexpr size_t kPasswordBytes = 40;
constexpr size_t kSortOrderAt = 0x6E;
constexpr size_t kCreatedAt = 0x72;

uint32_t VersionOf(FileFormat format) {
  switch (format) {
    case FileFormat::Jet4: return 1;
    case FileFormat::Ace12: return 2;
    case FileFormat::Ace14: return 3;  // Access 2010: the first with calculated fields
    // Access 2019's format differs from ACE12 in its version alone as far as the creator's
    // structures go; it is the format that takes Date/Time Extended fields.
    case FileFormat::Ace17: return 6;
    default: ThrowNotSupported("new databases can be made in the Jet4 (.mdb), ACE12, ACE14 and ACE17 (.accdb) formats only");
  }
}

// The password field: Jet4 the password in UCS-2; an encrypted .accdb file, as Access fills it,
// the database key's first byte throughout. Each byte is XORed with a byte of the creation date's
// whole days.
void WritePasswordField(MutableBytes page, std::u16string_view password, const HeaderEncryption& encryption,
                        double created) {
  const uint32_t mask = static_cast<uint32_t>(static_cast<int32_t>(created));
  for (size_t n = 0; n < kPasswordBytes; ++n) {
    const size_t character = n / 2;
    const char16_t unit = character < password.size() ? password[character] : u'\0';
    const uint8_t byte = encryption.databaseKey != 0 ? static_cast<uint8_t>(encryption.databaseKey)
                                                     : static_cast<uint8_t>(n % 2 == 0 ? unit : unit >> 8);
    PutU8(page, kPasswordAt + n, static_cast<uint8_t>(byte ^ (mask >> (8 * (n % 4)))));
  }
}

// EncryptionInfo in clear after its u16 length.
void WriteEncryptionInfo(MutableBytes page, const std::vector<uint8_t>& info) {
  if (info.size() > page.size() - kEncryptionInfoAt - 2)
    ThrowNotSupported("The encryption information does not fit the header page.");
  PutU16(page, kEncryptionInfoAt, static_cast<uint16_t>(info.size()));
  std::copy(info.begin(), info.end(), page.begin() + kEncryptionInfoAt + 2);
}

}  // namespace

void WriteHeaderPage(MutableBytes page, FileFormat format, std::u16string_view password, double created,
                     const HeaderEncryption& encryption) {
  const uint32_t version = VersionOf(format);
  const bool encrypted = encryption.databaseKey != 0;
  if (format == FileFormat::Jet4 && encrypted)
    ThrowNotSupported("the creator encrypts .accdb files only");
  if (format != FileFormat::Jet4 && !password.empty() && !encrypted)
    ThrowNotSupported("a database password of an .accdb file needs encryption");
  if (format == FileFormat::Jet4 && password.size() > kMaxPasswordLength)
    ThrowNotValidPassword("A database password has at most 20 characters.");
  const char* signature = format == FileFormat::Jet4 ? "Standard Jet DB" : "Standard ACE DB";
  PutU8(page, 1, 0x01);
  std::memcpy(page.data() + kSignatureAt, signature, std::strlen(signature) + 1);
  PutU32(page, kVersionAt, version);
  PutU16(page, kCodePageAt, kWindowsLatinCodePage);
  PutU32(page, kDatabaseKeyAt, encryption.databaseKey);
  WritePasswordField(page, password, encryption, created);
  if (encrypted) WriteEncryptionInfo(page, encryption.info);
  PutU16(page, kSortOrderAt, kGeneralSortOrder);
  PutDouble(page, kCreatedAt, created);
  static constexpr uint8_t kMaskKey[] = {0xC7, 0xDA, 0x39, 0x6B};
  Rc4(kMaskKey).Apply(page.subspan(kMaskAt, kMaskLength));
}

}  // namespace Jet::Create
