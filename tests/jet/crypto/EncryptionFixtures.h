#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "jet/base/ByteWriter.h"
#include "jet/crypto/EncryptionInfo.h"
#include "tests/jet/CorpusFiles.h"

// Encrypted .accdb files for tests: the corpus's two, their header page's EncryptionInfo and
// database key changed in place, and CryptoAPI EncryptionInfo streams laid out field by field.
namespace Jet::Testing {

inline const std::u16string kCorpusPassword = u"Test123";

// A file of the second corpus's encrypted folder; an empty path without the corpus.
inline std::filesystem::path EncryptedCorpusFile(const std::string& name) {
  if (CorpusNextDir().empty()) return {};
  const auto file = CorpusNextDir() / "encrypted" / name;
  return std::filesystem::exists(file) ? file : std::filesystem::path();
}

#define QUORVANE_REQUIRE_ENCRYPTED(file) \
  if ((file).empty()) GTEST_SKIP() << "no encrypted corpus files"

// The EncryptionInfo stream of a header page (without its length).
inline std::vector<uint8_t> EncryptionInfoOf(const std::vector<uint8_t>& file) {
  const size_t length = file.at(kEncryptionInfoAt) | file.at(kEncryptionInfoAt + 1) << 8;
  return std::vector<uint8_t>(file.begin() + kEncryptionInfoAt + 2, file.begin() + kEncryptionInfoAt + 2 + length);
}

// Replaces the EncryptionInfo stream of a header page, clearing what the old one left.
inline void PutEncryptionInfo(std::vector<uint8_t>& file, const std::vector<uint8_t>& info) {
  const size_t old = file.at(kEncryptionInfoAt) | file.at(kEncryptionInfoAt + 1) << 8;
  std::fill(file.begin() + kEncryptionInfoAt + 2, file.begin() + kEncryptionInfoAt + 2 + old, 0);
  PutU16(file, kEncryptionInfoAt, static_cast<uint16_t>(info.size()));
  std::copy(info.begin(), info.end(), file.begin() + kEncryptionInfoAt + 2);
}

inline void PutDatabaseKey(std::vector<uint8_t>& file, uint32_t key) {
  ToggleHeaderMask(file, false);
  PutU32(file, 0x3E, key);
  ToggleHeaderMask(file, false);
}

// The fields of a CryptoAPI EncryptionInfo stream (version x.2).
struct CryptoApiFields {
  uint16_t major = 4;
  uint32_t flags = 0x04;
  uint32_t algorithm = 0x6801;
  uint32_t hash = 0x8004;
  uint32_t keyBits = 40;
  std::u16string provider = u"Microsoft Base Cryptographic Provider v1.0";
  std::vector<uint8_t> salt = std::vector<uint8_t>(16, 0x11);
  std::vector<uint8_t> encryptedVerifier = std::vector<uint8_t>(16, 0x22);
  std::vector<uint8_t> encryptedVerifierHash = std::vector<uint8_t>(20, 0x33);
};

inline std::vector<uint8_t> CryptoApiInfo(const CryptoApiFields& fields) {
  std::vector<uint8_t> header;
  for (const uint32_t value : {fields.flags, 0u, fields.algorithm, fields.hash, fields.keyBits, 1u, 0u, 0u})
    AppendU32(header, value);
  for (const char16_t unit : fields.provider + u'\0') AppendU16(header, unit);
  std::vector<uint8_t> info;
  AppendU16(info, fields.major);
  AppendU16(info, 2);
  AppendU32(info, fields.flags);
  AppendU32(info, static_cast<uint32_t>(header.size()));
  info.insert(info.end(), header.begin(), header.end());
  AppendU32(info, static_cast<uint32_t>(fields.salt.size()));
  info.insert(info.end(), fields.salt.begin(), fields.salt.end());
  info.insert(info.end(), fields.encryptedVerifier.begin(), fields.encryptedVerifier.end());
  AppendU32(info, 20);
  info.insert(info.end(), fields.encryptedVerifierHash.begin(), fields.encryptedVerifierHash.end());
  return info;
}

// A header page holding `info` as its EncryptionInfo.
inline std::vector<uint8_t> HeaderPageWith(const std::vector<uint8_t>& info) {
  std::vector<uint8_t> page(4096, 0);
  PutEncryptionInfo(page, info);
  return page;
}

// An agile stream of the same version fields around other XML.
inline std::vector<uint8_t> AgileInfoWith(const std::string& xml) {
  std::vector<uint8_t> info = {4, 0, 4, 0, 0x40, 0, 0, 0};
  info.insert(info.end(), xml.begin(), xml.end());
  return info;
}

// The XML of an agile stream.
inline std::string AgileXmlOf(const std::vector<uint8_t>& info) { return std::string(info.begin() + 8, info.end()); }

}  // namespace Jet::Testing
