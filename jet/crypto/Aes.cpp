#include "jet/crypto/Aes.h"

#include <openssl/evp.h>

#include <memory>

#include "jet/base/Failure.h"

namespace Jet {
namespace {

const EVP_CIPHER* Cipher(AesMode mode, size_t keySize) {
  const bool cbc = mode == AesMode::Cbc;
  switch (keySize) {
    case 16: return cbc ? EVP_aes_128_cbc() : EVP_aes_128_ecb();
    case 24: return cbc ? EVP_aes_192_cbc() : EVP_aes_192_ecb();
    case 32: return cbc ? EVP_aes_256_cbc() : EVP_aes_256_ecb();
    default: ThrowInternalFault("An AES key has 16, 24 or 32 bytes.");
  }
}

}  // namespace

void AesApply(AesMode mode, AesDirection direction, std::span<const uint8_t> key, std::span<const uint8_t> iv,
              std::span<uint8_t> data) {
  if (data.size() % kAesBlockSize != 0 || (mode == AesMode::Cbc && iv.size() != kAesBlockSize))
    ThrowInternalFault("AES takes whole 16-byte blocks and a 16-byte initialization vector.");
  const std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> context(EVP_CIPHER_CTX_new(),
                                                                                EVP_CIPHER_CTX_free);
  const int encrypt = direction == AesDirection::Encrypt ? 1 : 0;
  int length = 0;
  int last = 0;
  const bool done =
      context &&
      EVP_CipherInit_ex(context.get(), Cipher(mode, key.size()), nullptr, key.data(),
                        mode == AesMode::Cbc ? iv.data() : nullptr, encrypt) == 1 &&
      EVP_CIPHER_CTX_set_padding(context.get(), 0) == 1 &&
      EVP_CipherUpdate(context.get(), data.data(), &length, data.data(), static_cast<int>(data.size())) == 1 &&
      EVP_CipherFinal_ex(context.get(), data.data() + length, &last) == 1;
  if (!done || static_cast<size_t>(length + last) != data.size())
    ThrowInternalFault("The AES cipher of libcrypto failed.");
}

}  // namespace Jet
