#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "jet/crypto/EncryptionInfo.h"
#include "jet/crypto/PageCodec.h"

// The pages of an .accdb file with agile encryption: each whole page is AES-CBC with the data key,
// its IV the keyData hash of the keyData salt and the page's key block, cut or padded with 0x36 to
// the block size. CBC restarts on every page, so a page is always written whole.
namespace Jet {

class AgilePageCodec final : public PageCodec {
 public:
  // `writeRefusal`: empty when the file may be written (see PageCodec::WriteRefusal).
  AgilePageCodec(const AgileEncryption& agile, std::vector<uint8_t> dataKey, uint32_t databaseKey,
                 std::string writeRefusal = {});
  bool IsPlain() const override { return false; }
  std::string WriteRefusal() const override { return writeRefusal_; }

 private:
  void DecodePage(uint32_t number, std::span<uint8_t> page) const override;
  void EncodePage(uint32_t number, std::span<uint8_t> page) const override;
  std::vector<uint8_t> IvOf(uint32_t number) const;

  HashAlgorithm hash_;
  std::vector<uint8_t> salt_;
  uint32_t blockSize_;
  std::vector<uint8_t> dataKey_;
  uint32_t databaseKey_;
  std::string writeRefusal_;
};

}  // namespace Jet
