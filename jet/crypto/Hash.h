#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

// The hash functions of encrypted .accdb files (SHA-1 for every scheme, SHA-256/384/512 where an
// agile file names them), computed by OpenSSL's libcrypto.
namespace Jet {

enum class HashAlgorithm { Sha1, Sha256, Sha384, Sha512 };

// The digest's size in bytes.
size_t HashSize(HashAlgorithm algorithm);

// The digest of the parts one after another.
std::vector<uint8_t> Hash(HashAlgorithm algorithm, std::initializer_list<std::span<const uint8_t>> parts);

}  // namespace Jet
