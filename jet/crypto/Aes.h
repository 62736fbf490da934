#pragma once

#include <cstdint>
#include <span>

// AES with a 128, 192 or 256-bit key, in CBC or ECB mode without padding (the data is a whole
// number of 16-byte blocks), computed by OpenSSL's libcrypto; used in place on a buffer.
namespace Jet {

enum class AesMode { Cbc, Ecb };
enum class AesDirection { Encrypt, Decrypt };

constexpr size_t kAesBlockSize = 16;

// `key` is 16, 24 or 32 bytes; `iv` is 16 bytes for CBC and ignored for ECB; `data` is a multiple of
// 16 bytes long.
void AesApply(AesMode mode, AesDirection direction, std::span<const uint8_t> key, std::span<const uint8_t> iv,
              std::span<uint8_t> data);

}  // namespace Jet
