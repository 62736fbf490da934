#include "jet/crypto/Hash.h"

#include <openssl/evp.h>

#include <memory>

#include "jet/base/Failure.h"

namespace Jet {
namespace {

const EVP_MD* Digest(HashAlgorithm algorithm) {
  switch (algorithm) {
    case HashAlgorithm::Sha1: return EVP_sha1();
    case HashAlgorithm::Sha256: return EVP_sha256();
    case HashAlgorithm::Sha384: return EVP_sha384();
    case HashAlgorithm::Sha512: return EVP_sha512();
  }
  ThrowInternalFault("unknown hash algorithm");
}

}  // namespace

size_t HashSize(HashAlgorithm algorithm) {
  return static_cast<size_t>(EVP_MD_get_size(Digest(algorithm)));
}

std::vector<uint8_t> Hash(HashAlgorithm algorithm, std::initializer_list<std::span<const uint8_t>> parts) {
  const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(), EVP_MD_CTX_free);
  std::vector<uint8_t> digest(HashSize(algorithm));
  unsigned int length = 0;
  bool done = context && EVP_DigestInit_ex(context.get(), Digest(algorithm), nullptr) == 1;
  for (const auto part : parts) done = done && EVP_DigestUpdate(context.get(), part.data(), part.size()) == 1;
  done = done && EVP_DigestFinal_ex(context.get(), digest.data(), &length) == 1;
  if (!done || length != digest.size()) ThrowInternalFault("The hash function of libcrypto failed.");
  return digest;
}

}  // namespace Jet
