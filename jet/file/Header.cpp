#include "jet/file/Header.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "jet/base/Failure.h"
#include "jet/file/FormatLayout.h"
#include "jet/crypto/Rc4.h"

// Header page layout (all numbers little-endian):
//
//   0x00  1  page type, 0x00
//   0x04 16  "Standard Jet DB\0" (Jet3, Jet4) or "Standard ACE DB\0" (ACE)
//   0x14  1  version: 0 Jet3, 1 Jet4, 2 ACE12 (2007), 3 ACE14 (2010), 4 ACE15 (2013),
//            5 ACE16 (2016), 6 ACE17 (2019)
//   0x18     start of the masked area: 126 bytes (Jet3) or 128 bytes (later versions) XORed with
//            the RC4 stream of the key C7 DA 39 6B. Inside it:
//   0x3A  2  Jet3: sort order (collation id)
//   0x3C  2  code page of Jet3 text
//   0x3E  4  database key; non-zero when the other pages are encoded (see Rc4.h)
//   0x42 20  Jet3: database password in the code page, zero-padded
//   0x42 40  Jet4/ACE: password in UCS-2, zero-padded, each byte further XORed with byte (i % 4)
//            of the integer part of the creation date (as a little-endian int32)
//   0x6E  2  Jet4/ACE: sort order (collation id)
//   0x72  8  Jet4/ACE: creation date (double, days since 1899-12-30)
namespace Jet {
namespace {

constexpr size_t kSignatureOffset = 4;
constexpr char kJetSignature[] = "Standard Jet DB";
constexpr char kAceSignature[] = "Standard ACE DB";
constexpr size_t kVersionOffset = 0x14;
constexpr size_t kMaskOffset = 0x18;
constexpr size_t kJet3SortOrder = 0x3A;
constexpr size_t kDatabaseKey = 0x3E;
constexpr size_t kPassword = 0x42;
constexpr size_t kJet4SortOrder = 0x6E;
constexpr size_t kCreationDate = 0x72;

bool HasSignature(ByteSpan bytes, const char* signature) {
  const size_t length = std::strlen(signature) + 1;  // with the terminating zero
  return bytes.size() >= kSignatureOffset + length &&
         std::memcmp(bytes.data() + kSignatureOffset, signature, length) == 0;
}

bool FormatFromVersion(uint8_t version, FileFormat& format) {
  static constexpr FileFormat kFormats[] = {FileFormat::Jet3,  FileFormat::Jet4,  FileFormat::Ace12,
                                            FileFormat::Ace14, FileFormat::Ace15, FileFormat::Ace16,
                                            FileFormat::Ace17};
  if (version >= std::size(kFormats)) return false;
  format = kFormats[version];
  return true;
}

std::vector<uint8_t> Unmasked(ByteSpan page, bool jet3) {
  std::vector<uint8_t> copy(page.begin(), page.end());
  static constexpr uint8_t kMaskKey[] = {0xC7, 0xDA, 0x39, 0x6B};
  Rc4(kMaskKey).Apply(std::span(copy).subspan(kMaskOffset, jet3 ? 126 : 128));
  return copy;
}

std::vector<uint8_t> Jet3Password(ByteSpan unmasked) {
  ByteSpan stored = Slice(unmasked, kPassword, 20);
  size_t length = 0;
  while (length < stored.size() && stored[length] != 0) ++length;
  return std::vector<uint8_t>(stored.begin(), stored.begin() + length);
}

std::vector<uint8_t> Jet4Password(ByteSpan unmasked) {
  std::vector<uint8_t> stored(unmasked.begin() + kPassword, unmasked.begin() + kPassword + 40);
  const double created = ReadDouble(unmasked, kCreationDate);
  // The mask is the creation date's whole days; a damaged date must not make the cast undefined.
  const int32_t days = std::isfinite(created) && std::fabs(created) < 2.0e9
                           ? static_cast<int32_t>(created)
                           : 0;
  const uint32_t mask = static_cast<uint32_t>(days);
  for (size_t n = 0; n < stored.size(); ++n) stored[n] ^= static_cast<uint8_t>(mask >> (8 * (n % 4)));
  size_t length = 0;  // up to the first zero character
  while (length + 1 < stored.size() && (stored[length] != 0 || stored[length + 1] != 0)) length += 2;
  stored.resize(length);
  return stored;
}

}  // namespace

uint32_t PageSizeOfHeader(ByteSpan firstBytes) {
  if (firstBytes.size() <= kVersionOffset || firstBytes[0] != 0) return 0;
  if (!HasSignature(firstBytes, kJetSignature) && !HasSignature(firstBytes, kAceSignature))
    return 0;
  FileFormat format;
  if (!FormatFromVersion(firstBytes[kVersionOffset], format)) return 0;
  return LayoutOf(format).pageSize;
}

Header ReadHeader(ByteSpan page, const std::string& fileName) {
  const uint32_t pageSize = PageSizeOfHeader(page);
  if (pageSize == 0 || page.size() < pageSize) ThrowUnrecognizedFormat(fileName);
  Header header;
  FormatFromVersion(page[kVersionOffset], header.info.format);
  const bool jet3 = header.info.format == FileFormat::Jet3;
  const bool ace = header.info.format != FileFormat::Jet3 && header.info.format != FileFormat::Jet4;
  if (ace != HasSignature(page, kAceSignature)) ThrowUnrecognizedFormat(fileName);

  const std::vector<uint8_t> unmasked = Unmasked(page.first(pageSize), jet3);
  header.info.pageSize = pageSize;
  header.info.codePage = ReadU16(unmasked, kHeaderCodePage);
  header.info.sortOrder = ReadU16(unmasked, jet3 ? kJet3SortOrder : kJet4SortOrder);
  header.databaseKey = ReadU32(unmasked, kDatabaseKey);
  header.info.pagesEncoded = header.databaseKey != 0;
  if (!ace) header.storedPassword = jet3 ? Jet3Password(unmasked) : Jet4Password(unmasked);
  // An encrypted .accdb file always has a password: its keys are made from it.
  header.info.hasPassword = !header.storedPassword.empty() || (ace && header.databaseKey != 0);
  return header;
}

}  // namespace Jet

