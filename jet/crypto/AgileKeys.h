#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "jet/crypto/EncryptionInfo.h"

// The keys of agile encryption. The password is hashed with the password salt and then again
// spinCount times, each round with its number in front (computed once); each key is the hash of
// that result and an 8-byte block constant, cut or padded with 0x36 to its size. The keys of the
// three block constants decrypt (AES-CBC, the password salt as IV) the verifier's input, the
// verifier's hash and the data key that encrypts the pages.
namespace Jet {

using AgileBlock = std::array<uint8_t, 8>;
constexpr AgileBlock kVerifierInputBlock = {0xFE, 0xA7, 0xD2, 0x76, 0x3B, 0x4B, 0x9E, 0x79};
constexpr AgileBlock kVerifierHashBlock = {0xD7, 0xAA, 0x0F, 0x6D, 0x30, 0x61, 0x34, 0x4E};
constexpr AgileBlock kDataKeyBlock = {0x14, 0x6E, 0x0B, 0xE7, 0xAB, 0xAC, 0xD0, 0xD6};

// `bytes` cut to `size`, or padded to it with `filler`.
std::vector<uint8_t> FittedTo(std::vector<uint8_t> bytes, size_t size, uint8_t filler);

class AgilePasswordKey {
 public:
  // Runs the spin loop of `password` with the key encryptor's salt, hash and spin count.
  AgilePasswordKey(const AgileEncryption& agile, std::u16string_view password);

  // The key of one block constant, of the key encryptor's size.
  std::vector<uint8_t> KeyFor(const AgileBlock& block) const;
  // The key encryptor's IV: its salt fitted to its block size.
  std::vector<uint8_t> Iv() const;

 private:
  const AgileEncryption& agile_;
  std::vector<uint8_t> spun_;
};

// The data key `password` unlocks, or nothing when the password is not the file's.
std::optional<std::vector<uint8_t>> UnlockAgileDataKey(const AgileEncryption& agile, std::u16string_view password);

}  // namespace Jet
