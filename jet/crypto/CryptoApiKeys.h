#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "jet/crypto/EncryptionInfo.h"

// The keys of the CryptoAPI schemes, all SHA-1. The base is the hash of the salt and the password;
// the AES schemes hash it again 50,000 times (standard) or not at all (non-standard), each round
// with its number in front (computed once). A 4-byte block gives a key: RC4 takes the first key
// bits of the hash of base and block (a 40-bit key padded with zeros to 16 bytes); AES hashes that
// hash into two 64-byte pads (0x36 and 0x5C) and takes the key from their two hashes end to end.
// The key of block 0 decrypts the verifier and its hash, whose match proves the password.
namespace Jet {

using CryptoApiBlock = std::array<uint8_t, 4>;

class CryptoApiKey {
 public:
  CryptoApiKey(const CryptoApiEncryption& scheme, std::u16string_view password);

  std::vector<uint8_t> KeyFor(const CryptoApiBlock& block) const;
  // True when the password is the file's.
  bool Verifies() const;
  CryptoApiEncryption::Cipher Cipher() const { return cipher_; }

 private:
  std::vector<uint8_t> Rc4KeyFor(const CryptoApiBlock& block) const;
  std::vector<uint8_t> AesKeyFor(const CryptoApiBlock& block) const;

  CryptoApiEncryption::Cipher cipher_;
  uint32_t keyBits_;
  std::vector<uint8_t> base_;
  std::vector<uint8_t> encryptedVerifier_;
  std::vector<uint8_t> encryptedVerifierHash_;
};

}  // namespace Jet
