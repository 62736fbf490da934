#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

// How the pages of a file are stored. A page codec decodes each page after it is read from the
// file and encodes it before it is written back. One codec is chosen from the header page when
// the file is opened and shared by the page file (reads) and the page writer (writes).
//
// What a codec gets: one whole page of the file's page size, with its number, to change in place.
// What it may assume: pages come in any order and any number of times, so a page's encoding may
// depend on its number and on what the codec was made with, never on earlier calls; the callers
// keep the page's bytes and do the caching. Page 0, the header, is never encoded: Decode and
// Encode leave it as it is without asking the codec. Encode undoes Decode and the other way round.
namespace Jet {

class PageCodec {
 public:
  virtual ~PageCodec() = default;

  // True when pages are stored as they are, so that readers may use the stored bytes in place.
  virtual bool IsPlain() const = 0;

  // Empty when pages may be written; else why the file takes no writes (it is read only then).
  virtual std::string WriteRefusal() const { return {}; }

  // The page as stored -> the page as the engine reads it.
  void Decode(uint32_t number, std::span<uint8_t> page) const {
    if (number != 0) DecodePage(number, page);
  }
  // The page as the engine wrote it -> the page as stored.
  void Encode(uint32_t number, std::span<uint8_t> page) const {
    if (number != 0) EncodePage(number, page);
  }

 private:
  // `number` is 1 or more.
  virtual void DecodePage(uint32_t number, std::span<uint8_t> page) const = 0;
  virtual void EncodePage(uint32_t number, std::span<uint8_t> page) const = 0;
};

// The four key bytes of page `number` that every keyed scheme mixes in: the database key XOR the
// page number, little-endian.
inline std::array<uint8_t, 4> PageKeyBlock(uint32_t databaseKey, uint32_t number) {
  const uint32_t key = databaseKey ^ number;
  return {static_cast<uint8_t>(key), static_cast<uint8_t>(key >> 8), static_cast<uint8_t>(key >> 16),
          static_cast<uint8_t>(key >> 24)};
}

// Pages stored as they are (no database key).
class PlainPageCodec final : public PageCodec {
 public:
  bool IsPlain() const override { return true; }

 private:
  void DecodePage(uint32_t, std::span<uint8_t>) const override {}
  void EncodePage(uint32_t, std::span<uint8_t>) const override {}
};

}  // namespace Jet
