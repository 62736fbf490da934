#pragma once

#include <string>

#include "jet/Schema.h"
#include "jet/base/ByteWriter.h"

// Writes the header page of a new file (its layout is described in Header.cpp): Jet4 or ACE12,
// code page 1252, the "General" sort order, database key 0, the password and the creation date.
namespace Jet::Create {

constexpr uint16_t kGeneralSortOrder = 1033;
constexpr uint16_t kWindowsLatinCodePage = 1252;
constexpr size_t kMaxPasswordLength = 20;

// Fills the zeroed page 0. Throws JetError kNotSupported for a format the creator does not make
// and for a password of a format that keeps it elsewhere (ACE) or one longer than 20 characters.
void WriteHeaderPage(MutableBytes page, FileFormat format, std::u16string_view password, double created);

}  // namespace Jet::Create
