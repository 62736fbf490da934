#include "jet/crypto/EncryptionInfo.h"

#include <cstdio>

#include "jet/base/Failure.h"
#include "jet/crypto/AgileDescription.h"

namespace Jet {
namespace {

constexpr uint32_t kAgileReserved = 0x40;
constexpr uint32_t kFlagCryptoApi = 0x04;
constexpr uint32_t kFlagAes = 0x20;
constexpr uint32_t kAlgorithmRc4 = 0x6801;
constexpr uint32_t kAlgorithmAes128 = 0x660E;
constexpr uint32_t kAlgorithmAes192 = 0x660F;
constexpr uint32_t kAlgorithmAes256 = 0x6610;
constexpr uint32_t kHashSha1 = 0x8004;
constexpr size_t kCryptoApiHeaderFixed = 32;  // the header's fields before the provider name
constexpr size_t kSaltSize = 16;
constexpr size_t kVerifierSize = 16;

// Reads one file's EncryptionInfo, refusing with messages that name the file.
class InfoReader {
 public:
  InfoReader(ByteSpan info, const std::string& fileName) : info_(info), fileName_(fileName) {}

  [[noreturn]] void Damaged(const std::string& what) const {
    ThrowCorrupt("the encryption information of '" + fileName_ + "' " + what);
  }
  [[noreturn]] void Unsupported(const std::string& scheme) const {
    ThrowNotSupported("The file '" + fileName_ + "' is encrypted with " + scheme +
                      ", which the engine does not decrypt.");
  }

  uint32_t U32(size_t at) const {
    Require(at, 4);
    return ReadU32(info_, at);
  }
  ByteSpan Bytes(size_t at, size_t length) const {
    Require(at, length);
    return info_.subspan(at, length);
  }

  CryptoApiEncryption CryptoApi(uint16_t major, uint16_t minor) const {
    const uint32_t headerSize = U32(8);
    const size_t header = 12;
    if (headerSize < kCryptoApiHeaderFixed) Damaged("has a CryptoAPI header too short for its fields");
    const uint32_t flags = U32(header);
    const uint32_t algorithm = U32(header + 8);
    const uint32_t hash = U32(header + 12);
    uint32_t keyBits = U32(header + 16);
    Require(header, headerSize);
    const std::string version = std::to_string(major) + "." + std::to_string(minor);
    if ((flags & kFlagCryptoApi) == 0) Unsupported("encryption " + version + " without the CryptoAPI flag");
    if (hash != 0 && hash != kHashSha1) Unsupported("CryptoAPI encryption with the hash algorithm id " + Hex(hash));
    CryptoApiEncryption scheme;
    const bool aesAlgorithm = algorithm == kAlgorithmAes128 || algorithm == kAlgorithmAes192 || algorithm == kAlgorithmAes256;
    if ((flags & kFlagAes) != 0) {
      if (algorithm != 0 && !aesAlgorithm) Unsupported("AES-flagged CryptoAPI encryption with the cipher id " + Hex(algorithm));
      scheme.cipher = CryptoApiEncryption::Cipher::StandardAes;
    } else if (algorithm == kAlgorithmRc4 || algorithm == 0) {
      scheme.cipher = CryptoApiEncryption::Cipher::Rc4;
    } else if (aesAlgorithm) {
      scheme.cipher = CryptoApiEncryption::Cipher::NonStandardAes;
    } else {
      Unsupported("CryptoAPI encryption with the cipher id " + Hex(algorithm));
    }
    if (scheme.cipher == CryptoApiEncryption::Cipher::Rc4) {
      if (keyBits == 0) keyBits = DefaultRc4KeyBits(Bytes(header + kCryptoApiHeaderFixed, headerSize - kCryptoApiHeaderFixed));
      if (keyBits < 40 || keyBits > 128 || keyBits % 8 != 0) Unsupported("RC4 with a key of " + std::to_string(keyBits) + " bits");
    } else {
      const uint32_t algorithmBits = algorithm == kAlgorithmAes192 ? 192 : algorithm == kAlgorithmAes256 ? 256 : 128;
      if (keyBits == 0) keyBits = algorithmBits;
      if (keyBits != algorithmBits && algorithm != 0) Damaged("gives AES a key size its cipher id does not have");
      if (keyBits != 128 && keyBits != 192 && keyBits != 256) Unsupported("AES with a key of " + std::to_string(keyBits) + " bits");
    }
    scheme.keyBits = keyBits;

    const size_t verifier = header + headerSize;
    if (U32(verifier) != kSaltSize) Damaged("has a verifier salt that is not 16 bytes");
    const ByteSpan salt = Bytes(verifier + 4, kSaltSize);
    const ByteSpan encryptedVerifier = Bytes(verifier + 4 + kSaltSize, kVerifierSize);
    const uint32_t hashSize = U32(verifier + 4 + kSaltSize + kVerifierSize);
    if (hashSize != 20) Damaged("has a verifier hash that is not 20 bytes");
    const size_t stored = scheme.cipher == CryptoApiEncryption::Cipher::Rc4 ? 20 : 32;
    const ByteSpan encryptedHash = Bytes(verifier + 8 + kSaltSize + kVerifierSize, stored);
    scheme.salt.assign(salt.begin(), salt.end());
    scheme.encryptedVerifier.assign(encryptedVerifier.begin(), encryptedVerifier.end());
    scheme.encryptedVerifierHash.assign(encryptedHash.begin(), encryptedHash.end());
    return scheme;
  }

  AgileEncryption Agile() const {
    if (U32(4) != kAgileReserved) Damaged("has agile encryption without its reserved value 0x40");
    const ByteSpan xml = info_.subspan(8);
    // The XML ends at the stream's end; Access pads nothing inside the stated length.
    return ReadAgileDescription(std::string_view(reinterpret_cast<const char*>(xml.data()), xml.size()), fileName_);
  }

 private:
  void Require(size_t at, size_t length) const {
    if (at > info_.size() || length > info_.size() - at) Damaged("reaches past its stated length");
  }

  static std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(value));
    return text;
  }

  // RC4 without a key size: 40 bits for a base provider (an empty name or one with " base "), else
  // 128.
  static uint32_t DefaultRc4KeyBits(ByteSpan providerName) {
    std::string name;
    for (size_t n = 0; n + 1 < providerName.size(); n += 2) {
      const uint16_t unit = ReadU16(providerName, n);
      if (unit == 0) break;
      name += unit < 0x80 ? static_cast<char>(unit >= 'A' && unit <= 'Z' ? unit + 32 : unit) : '?';
    }
    return name.empty() || name.find(" base ") != std::string::npos ? 40 : 128;
  }

  ByteSpan info_;
  const std::string& fileName_;
};

}  // namespace

EncryptionScheme ReadEncryptionInfo(ByteSpan headerPage, const std::string& fileName) {
  if (headerPage.size() < kEncryptionInfoAt + 2) ThrowCorrupt("the header page of '" + fileName + "' is cut short");
  const uint16_t length = ReadU16(headerPage, kEncryptionInfoAt);
  if (length > headerPage.size() - kEncryptionInfoAt - 2)
    ThrowCorrupt("the encryption information of '" + fileName + "' reaches past its header page");
  const InfoReader reader(headerPage.subspan(kEncryptionInfoAt + 2, length), fileName);
  if (length < 4)
    ThrowNotSupported("The file '" + fileName + "' is an encrypted .accdb database without encryption information.");
  const uint16_t major = ReadU16(headerPage, kEncryptionInfoAt + 2);
  const uint16_t minor = ReadU16(headerPage, kEncryptionInfoAt + 4);
  if (major == 4 && minor == 4) return reader.Agile();
  if ((major == 2 || major == 3 || major == 4) && minor == 2) return reader.CryptoApi(major, minor);
  const std::string version = std::to_string(major) + "." + std::to_string(minor);
  if ((major == 3 || major == 4) && minor == 3) reader.Unsupported("extensible encryption (" + version + ")");
  if (major == 1 && minor == 1) reader.Unsupported("Office binary RC4 encryption (1.1)");
  reader.Unsupported("an unknown encryption scheme (version " + version + ")");
}

}  // namespace Jet
