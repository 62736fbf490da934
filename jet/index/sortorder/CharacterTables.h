#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// The character tables of the text sort orders, made at build time from the data files in data/
// by SortOrderTableGenerator: for each UTF-16 unit (General Legacy, General) or Windows-1252 byte
// (General 97) how it goes into an index key. Each character is one 32-bit code:
//   bits 0-3    its kind (CharKind)
//   bits 4-7    inline bytes (0-15)
//   bits 8-9    extra bytes (0-3)
//   bit  10     International extension characters: their two-bit flag is 2 (else 3)
//   bits 11-31  where its inline bytes, then its extra bytes, start in the table's byte pool
namespace Jet::SortOrder {

enum class CharKind : uint8_t {
  Ignored,                 // no bytes at all
  Simple,                  // inline bytes only
  International,           // inline bytes and extra bytes (General 97: one extra nibble)
  Unprintable,             // no inline bytes; its code goes to the unprintable part (in `inlineBytes`)
  UnprintableExtension,    // a combining mark: adds its value (its one extra byte) to the last extra byte
  InternationalExtension,  // inline bytes, maybe extra bytes, and a two-bit flag
  Significant,             // General 97: a base letter, inline bytes, counts toward the extra nibbles
  Surrogate,               // half of a surrogate pair: computed, not in the tables
};

struct CharCode {
  CharKind kind = CharKind::Ignored;
  std::span<const uint8_t> inlineBytes;
  std::span<const uint8_t> extraBytes;
  uint8_t flag = 0;  // InternationalExtension: 2 or 3
};

// One sort order's table: a code per character from 0 to size-1.
struct CharacterTable {
  const uint32_t* codes;
  size_t size;
  const uint8_t* pool;
  size_t poolSize;

  CharCode Lookup(uint32_t character) const;
};

// How the generator packs a code; the generated tables and Lookup share these.
namespace Packing {
constexpr uint32_t kKindBits = 0xF;
constexpr uint32_t kInlineShift = 4;
constexpr uint32_t kInlineBits = 0xF;
constexpr uint32_t kExtraShift = 8;
constexpr uint32_t kExtraBits = 0x3;
constexpr uint32_t kFlagTwo = 1u << 10;
constexpr uint32_t kOffsetShift = 11;
constexpr uint32_t kMaxOffset = (1u << (32 - kOffsetShift)) - 1;
}  // namespace Packing

// General Legacy and General: U+0000 to U+FFFF. General 97: bytes 0x00 to 0xFF.
extern const CharacterTable kGeneralLegacy;
extern const CharacterTable kGeneral;
extern const CharacterTable kGeneral97;

// General 97: characters above U+00FF that have a Windows-1252 byte, sorted by character.
struct ByteMapping {
  char16_t character;
  uint8_t byte;
};
extern const std::span<const ByteMapping> kGeneral97Mappings;

// General 97: the Windows-1252 byte of a character above U+00FF, 0 (ignored) for any other.
uint8_t General97ByteOf(char16_t character);

}  // namespace Jet::SortOrder
