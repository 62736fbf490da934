#pragma once

#include <memory>
#include <string>

#include "jet/crypto/PageCodec.h"
#include "jet/file/Header.h"

// Chooses how a file's pages are stored from its header page.
namespace Jet {

// Plain pages when the header holds no database key; RC4-encoded pages for a Jet3 or Jet4 file
// with one. Throws JetError kNotSupported naming `fileName` for an ACE file with a database key
// (an encrypted .accdb).
std::shared_ptr<const PageCodec> ChoosePageCodec(const Header& header, const std::string& fileName);

}  // namespace Jet
