#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Base64 text, as the agile encryption description holds its salts and encrypted values (libcrypto's
// block coder).
namespace Jet {

// The bytes the text stands for; nothing when it is not base64.
std::optional<std::vector<uint8_t>> DecodeBase64(std::string_view text);

std::string EncodeBase64(std::span<const uint8_t> bytes);

}  // namespace Jet
