#pragma once

#include <string>
#include <string_view>

#include "jet/crypto/EncryptionInfo.h"

// The XML description of agile encryption (namespace http://schemas.microsoft.com/office/2006/
// encryption): `keyData` says how pages are encrypted; the one key encryptor, of the password kind,
// holds `p:encryptedKey` with the spin count and the encrypted verifier and data key; base64 for
// every binary value. Read with expat.
namespace Jet {

// Throws JetError kCorrupt naming `fileName` for text that is not such a description, and
// kNotSupported for ciphers, chaining, hashes or key encryptors the engine does not handle (any AES
// key size with CBC, SHA-1/256/384/512, exactly one password key encryptor are handled).
AgileEncryption ReadAgileDescription(std::string_view xml, const std::string& fileName);

}  // namespace Jet
