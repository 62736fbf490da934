#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "jet/base/ByteReader.h"
#include "jet/crypto/PageCodec.h"
#include "jet/file/Header.h"

// Chooses how a file's pages are stored from its header page.
namespace Jet {

// Plain pages when the header holds no database key; RC4-encoded pages for a Jet3 or Jet4 file
// with one; for an ACE file with one (an encrypted .accdb) the scheme its EncryptionInfo names,
// keyed by `password`, which the scheme's verifier must accept. `headerPage` is page 0 as stored.
// Throws JetError kNotValidPassword for a password the file does not take, kNotSupported naming
// `fileName` for a scheme the engine does not decrypt, kCorrupt for damaged EncryptionInfo.
std::shared_ptr<const PageCodec> ChoosePageCodec(const Header& header, ByteSpan headerPage,
                                                 std::u16string_view password, const std::string& fileName);

}  // namespace Jet
