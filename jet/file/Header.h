#pragma once

#include <cstdint>
#include <string>

#include "jet/base/ByteReader.h"
#include "jet/Database.h"

// The header page (page 0): the file's format, page size, code page, sort order, database key
// and password.
namespace Jet {

struct Header {
  DatabaseInfo info;
  uint32_t databaseKey = 0;     // non-zero: pages 1.. are RC4-encoded (Jet3/Jet4) or encrypted (ACE)
  std::u16string password;      // empty: none set
};

// The page size of the format named by the version byte of a header page, or 0 when the bytes are
// not an Access header page.
uint32_t PageSizeOfHeader(ByteSpan firstBytes);

// Reads a header page (at least as long as the page size of its format). Throws JetError
// kUnrecognizedFormat naming `fileName` when the page is not an Access header.
Header ReadHeader(ByteSpan page, const std::string& fileName);

// Throws "Not a valid password." when the header holds a password that `given` does not match;
// a password given for a file without one is accepted.
void CheckPassword(const Header& header, std::u16string_view given);

}  // namespace Jet
