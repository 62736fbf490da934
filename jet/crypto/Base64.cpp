#include "jet/crypto/Base64.h"

#include <openssl/evp.h>

#include <limits>

namespace Jet {

std::optional<std::vector<uint8_t>> DecodeBase64(std::string_view text) {
  if (text.size() % 4 != 0 || text.size() > std::numeric_limits<int>::max() / 2) return std::nullopt;
  std::vector<uint8_t> bytes(text.size() / 4 * 3);
  const int length = EVP_DecodeBlock(bytes.data(), reinterpret_cast<const unsigned char*>(text.data()),
                                     static_cast<int>(text.size()));
  if (length < 0 || static_cast<size_t>(length) != bytes.size()) return std::nullopt;
  // The block coder counts the bytes the padding stands in for; they are not part of the value.
  size_t padding = 0;
  while (padding < 2 && padding < text.size() && text[text.size() - 1 - padding] == '=') ++padding;
  bytes.resize(bytes.size() - padding);
  return bytes;
}

std::string EncodeBase64(std::span<const uint8_t> bytes) {
  std::string text((bytes.size() + 2) / 3 * 4 + 1, '\0');
  const int length = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()), bytes.data(),
                                     static_cast<int>(bytes.size()));
  text.resize(static_cast<size_t>(length));
  return text;
}

}  // namespace Jet
