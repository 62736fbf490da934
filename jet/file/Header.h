#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet/base/ByteReader.h"
#include "jet/Schema.h"

// The header page (page 0): the file's format, page size, code page, sort order, database key
// and password. The password is kept as stored; the database being opened decodes it as text.
namespace Jet {

// Where page 0 holds the code page of Jet3 text (inside the masked area).
constexpr size_t kHeaderCodePage = 0x3C;

struct Header {
  DatabaseInfo info;
  uint32_t databaseKey = 0;     // non-zero: pages 1.. are RC4-encoded (Jet3/Jet4) or encrypted (ACE)
  // The password without its padding: Jet3 bytes in the code page, Jet4 UCS-2 little-endian;
  // empty when none is set (always for ACE, which keeps it elsewhere).
  std::vector<uint8_t> storedPassword;
};

// The page size of the format named by the version byte of a header page, or 0 when the bytes are
// not an Access header page.
uint32_t PageSizeOfHeader(ByteSpan firstBytes);

// Reads a header page (at least as long as the page size of its format). Throws JetError
// kUnrecognizedFormat naming `fileName` when the page is not an Access header.
Header ReadHeader(ByteSpan page, const std::string& fileName);

}  // namespace Jet
