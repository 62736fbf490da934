#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet/Schema.h"
#include "jet/base/ByteWriter.h"

// Writes the header page of a new file (its layout is described in Header.cpp): Jet4 or ACE12,
// code page 1252, the "General" sort order, the database key (0 unless encrypted), the password
// (Jet4) or the encryption (ACE) and the creation date.
namespace Jet::Create {

constexpr uint16_t kGeneralSortOrder = 1033;
constexpr uint16_t kWindowsLatinCodePage = 1252;
constexpr size_t kMaxPasswordLength = 20;

// An encrypted .accdb file's database key and the EncryptionInfo stream its header page holds.
struct HeaderEncryption {
  uint32_t databaseKey = 0;
  std::vector<uint8_t> info;
};

// Fills the zeroed page 0. An .accdb file with a password is encrypted: it needs `encryption`
// (the password itself is not stored; the encryption's keys are made from it). Throws JetError
// kNotSupported for a format the creator does not make, for a password of an .accdb file without
// encryption, for encryption of a Jet4 file or EncryptionInfo longer than the header page holds,
// and kNotValidPassword for a Jet4 password longer than 20 characters.
void WriteHeaderPage(MutableBytes page, FileFormat format, std::u16string_view password, double created,
                     const HeaderEncryption& encryption = {});

}  // namespace Jet::Create
