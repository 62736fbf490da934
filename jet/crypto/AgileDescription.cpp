#include "jet/crypto/AgileDescription.h"

#include <expat.h>

#include <charconv>
#include <map>
#include <memory>
#include <optional>

#include "jet/base/Failure.h"
#include "jet/crypto/Aes.h"
#include "jet/crypto/Base64.h"

namespace Jet {
namespace {

// Expat joins a namespace and a local name with this character.
constexpr char kSeparator = '|';
const std::string kEncryptionNamespace = "http://schemas.microsoft.com/office/2006/encryption";
const std::string kPasswordNamespace = "http://schemas.microsoft.com/office/2006/keyEncryptor/password";
const std::string kKeyData = kEncryptionNamespace + kSeparator + "keyData";
const std::string kKeyEncryptor = kEncryptionNamespace + kSeparator + "keyEncryptor";
const std::string kDataIntegrity = kEncryptionNamespace + kSeparator + "dataIntegrity";
const std::string kEncryptedKey = kPasswordNamespace + kSeparator + "encryptedKey";

using Attributes = std::map<std::string, std::string>;

// The elements the description is read from, gathered as the parser meets them.
struct Gathered {
  std::optional<Attributes> keyData;
  std::optional<Attributes> encryptedKey;
  size_t keyEncryptors = 0;
  bool dataIntegrity = false;
  bool documentType = false;
  XML_Parser parser = nullptr;
};

void OnStart(void* data, const XML_Char* name, const XML_Char** attributes) {
  auto& gathered = *static_cast<Gathered*>(data);
  Attributes read;
  for (size_t n = 0; attributes[n] != nullptr && attributes[n + 1] != nullptr; n += 2)
    read.emplace(attributes[n], attributes[n + 1]);
  if (name == kKeyData && !gathered.keyData) gathered.keyData = std::move(read);
  else if (name == kEncryptedKey && !gathered.encryptedKey) gathered.encryptedKey = std::move(read);
  else if (name == kKeyEncryptor) ++gathered.keyEncryptors;
  else if (name == kDataIntegrity) gathered.dataIntegrity = true;
}

// Reads the parts of the description for one file, refusing with messages that name it.
class Reader {
 public:
  explicit Reader(const std::string& fileName) : fileName_(fileName) {}

  [[noreturn]] void Damaged(const std::string& what) const {
    ThrowCorrupt("the agile encryption description of '" + fileName_ + "' " + what);
  }
  [[noreturn]] void Unsupported(const std::string& what) const {
    ThrowNotSupported("The file '" + fileName_ + "' is encrypted with agile encryption using " + what +
                      ", which the engine does not decrypt.");
  }

  const std::string& Text(const Attributes& element, const std::string& name) const {
    const auto found = element.find(name);
    if (found == element.end()) Damaged("lacks the attribute " + name);
    return found->second;
  }

  uint32_t Number(const Attributes& element, const std::string& name) const {
    const std::string& text = Text(element, name);
    uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) Damaged("has " + name + " \"" + text + "\"");
    return value;
  }

  std::vector<uint8_t> Bytes(const Attributes& element, const std::string& name) const {
    auto bytes = DecodeBase64(Text(element, name));
    if (!bytes) Damaged("has an attribute " + name + " that is not base64");
    return std::move(*bytes);
  }

  HashAlgorithm Hash(const Attributes& element) const {
    const std::string& name = Text(element, "hashAlgorithm");
    if (name == "SHA1") return HashAlgorithm::Sha1;
    if (name == "SHA256") return HashAlgorithm::Sha256;
    if (name == "SHA384") return HashAlgorithm::Sha384;
    if (name == "SHA512") return HashAlgorithm::Sha512;
    Unsupported("the hash " + name);
  }

  // Cipher, chaining, key and block size of an element: AES in CBC mode only; returns the key bits.
  uint32_t AesKeyBits(const Attributes& element) const {
    const std::string& cipher = Text(element, "cipherAlgorithm");
    const std::string& chaining = Text(element, "cipherChaining");
    if (cipher != "AES") Unsupported("the cipher " + cipher);
    if (chaining != "ChainingModeCBC") Unsupported("the chaining " + chaining);
    const uint32_t keyBits = Number(element, "keyBits");
    if (keyBits != 128 && keyBits != 192 && keyBits != 256) Unsupported("AES with a key of " + std::to_string(keyBits) + " bits");
    if (Number(element, "blockSize") != kAesBlockSize) Damaged("gives AES a block size other than 16");
    return keyBits;
  }

  std::vector<uint8_t> Salt(const Attributes& element) const {
    std::vector<uint8_t> salt = Bytes(element, "saltValue");
    if (salt.size() != Number(element, "saltSize") || salt.empty()) Damaged("has a salt of the wrong size");
    return salt;
  }

  void RequireHashSize(const Attributes& element, HashAlgorithm hash) const {
    if (Number(element, "hashSize") != HashSize(hash)) Damaged("gives a hash size its hash does not have");
  }

 private:
  const std::string& fileName_;
};

}  // namespace

AgileEncryption ReadAgileDescription(std::string_view xml, const std::string& fileName) {
  const Reader reader(fileName);
  const std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(XML_ParserCreateNS("UTF-8", kSeparator),
                                                                            XML_ParserFree);
  if (!parser) ThrowInternalFault("The XML parser could not be made.");
  Gathered gathered;
  gathered.parser = parser.get();
  XML_SetUserData(parser.get(), &gathered);
  XML_SetStartElementHandler(parser.get(), OnStart);
  // Access writes no document type; stopping at one keeps entity expansion out of the parser's work.
  XML_SetStartDoctypeDeclHandler(parser.get(), [](void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    auto& gathered = *static_cast<Gathered*>(data);
    gathered.documentType = true;
    XML_StopParser(gathered.parser, XML_FALSE);
  });
  const bool parsed = xml.size() <= static_cast<size_t>(INT32_MAX) &&
                      XML_Parse(parser.get(), xml.data(), static_cast<int>(xml.size()), XML_TRUE) == XML_STATUS_OK;
  if (gathered.documentType) reader.Damaged("has a document type");
  if (!parsed) reader.Damaged("is not well-formed XML");
  if (!gathered.keyData) reader.Damaged("lacks keyData");
  if (gathered.keyEncryptors != 1 || !gathered.encryptedKey)
    reader.Unsupported("key encryptors other than one password");

  const Attributes& data = *gathered.keyData;
  const Attributes& key = *gathered.encryptedKey;
  AgileEncryption agile;
  agile.keyBits = reader.AesKeyBits(data);
  agile.blockSize = kAesBlockSize;
  agile.keyHash = reader.Hash(data);
  reader.RequireHashSize(data, agile.keyHash);
  agile.keySalt = reader.Salt(data);
  agile.passwordKeyBits = reader.AesKeyBits(key);
  agile.passwordBlockSize = kAesBlockSize;
  agile.passwordHash = reader.Hash(key);
  reader.RequireHashSize(key, agile.passwordHash);
  agile.passwordSalt = reader.Salt(key);
  agile.spinCount = reader.Number(key, "spinCount");
  if (agile.spinCount > kMaxAgileSpinCount) reader.Damaged("has a spin count above 10,000,000");
  agile.encryptedVerifierHashInput = reader.Bytes(key, "encryptedVerifierHashInput");
  agile.encryptedVerifierHashValue = reader.Bytes(key, "encryptedVerifierHashValue");
  agile.encryptedKeyValue = reader.Bytes(key, "encryptedKeyValue");
  for (const auto* value : {&agile.encryptedVerifierHashInput, &agile.encryptedVerifierHashValue, &agile.encryptedKeyValue})
    if (value->empty() || value->size() % kAesBlockSize != 0) reader.Damaged("has an encrypted value that is not whole AES blocks");
  if (agile.encryptedKeyValue.size() < agile.keyBits / 8) reader.Damaged("has an encrypted key shorter than its key");
  agile.dataIntegrity = gathered.dataIntegrity;
  return agile;
}

}  // namespace Jet
