#include "jet/index/TextKeyForms.h"

#include <array>

#include "jet/index/IndexKeyEncoder.h"

namespace Jet {
namespace {

using SortOrder::CharKind;

constexpr uint8_t kEndOfText = 0x01;       // after the inline part; also opens the later parts
constexpr uint8_t kEndOfKey = 0x00;
constexpr uint8_t kExtraPlaceholder = 0x02;  // an extra-part slot of a character without extra bytes
constexpr uint8_t kUnprintableMidfix = 0x06;
constexpr uint16_t kUnprintableStart = 7;
constexpr uint16_t kUnprintableStep = 4;
constexpr uint16_t kUnprintableFlag = 0x8000;
constexpr uint8_t kFlagsStart = 0x80;
constexpr uint8_t kTrailingFlag = 3;         // flags of this value at the end are dropped
constexpr std::array<uint8_t, 5> kFlagsSuffix = {0xFF, 0x02, 0x80, 0xFF, 0x80};
constexpr uint8_t kFlagsBeforeUnprintables = 0xFF;

// Surrogates are not in the tables: their inline bytes are computed from the unit, and each has the
// extra byte 0x3F.
constexpr uint8_t kSurrogateExtra = 0x3F;
constexpr uint32_t kHighSurrogateOffset = 10238;

std::array<uint8_t, 2> SurrogateInline(char16_t unit) {
  uint32_t offset = kHighSurrogateOffset;
  if (unit >= 0xDC00) {
    // Low surrogates: by the unit's place in its block of 1024.
    const uint32_t place = (unit - 0xDC00u) % 1024;
    offset = place < 8 ? 9992 : place < 8 + 254 ? 9990 : place < 8 + 2 * 254 ? 9988 : place < 8 + 3 * 254 ? 9986 : 9984;
  }
  const uint32_t index = unit - offset;
  return {static_cast<uint8_t>(index >> 8), static_cast<uint8_t>(index)};
}

// The parts of a key besides its inline bytes, gathered while the characters are read.
struct LaterParts {
  bool extraStarted = false;
  std::vector<uint8_t> extra;  // one slot or more per position that has one
  size_t extraPositions = 0;   // positions the extra part covers
  size_t extraPrefix = 0;      // 1 when a combining mark opened the extra part
  std::vector<uint8_t> unprintables;
  std::vector<uint8_t> flags;

  // Pads the extra part with placeholders up to `position`.
  void PadExtra(size_t position) {
    extraStarted = true;
    if (extraPositions < position) {
      extra.insert(extra.end(), position - extraPositions, kExtraPlaceholder);
      extraPositions = position;
    }
  }

  void AddExtra(size_t position, std::span<const uint8_t> bytes) {
    PadExtra(position);
    extra.insert(extra.end(), bytes.begin(), bytes.end());
    ++extraPositions;
  }

  // A combining mark adds its value to the last extra byte.
  void AddMark(size_t position, uint8_t value) {
    PadExtra(position);
    if (!extra.empty()) {
      extra.back() = static_cast<uint8_t>(extra.back() + value);
    } else {
      extra.push_back(value);
      extraPrefix = 1;
    }
  }

  void AddUnprintable(size_t position, std::span<const uint8_t> code) {
    const size_t place = extraStarted ? extra.size() + (position - extraPositions) - extraPrefix : position;
    const uint16_t offset = static_cast<uint16_t>((kUnprintableStart + kUnprintableStep * place) | kUnprintableFlag);
    unprintables.push_back(static_cast<uint8_t>(offset >> 8));
    unprintables.push_back(static_cast<uint8_t>(offset));
    unprintables.push_back(kUnprintableMidfix);
    unprintables.insert(unprintables.end(), code.begin(), code.end());
  }

  void AppendTo(std::vector<uint8_t>& key) {
    while (!extra.empty() && extra.back() <= kExtraPlaceholder) extra.pop_back();
    if (extra.empty() && unprintables.empty() && flags.empty()) return;
    key.insert(key.end(), extra.begin(), extra.end());
    if (unprintables.empty() && flags.empty()) return;
    key.push_back(kEndOfText);
    key.push_back(kEndOfText);
    if (!flags.empty()) {
      AppendFlags(key);
      if (!unprintables.empty()) key.push_back(kFlagsBeforeUnprintables);
    }
    if (!unprintables.empty()) {
      key.push_back(kEndOfText);
      key.insert(key.end(), unprintables.begin(), unprintables.end());
    }
  }

  // Two-bit flags, three to a byte after the bits 10; the suffix follows even when every flag
  // was dropped.
  void AppendFlags(std::vector<uint8_t>& key) {
    while (!flags.empty() && flags.back() == kTrailingFlag) flags.pop_back();
    for (size_t n = 0; n < flags.size(); n += 3) {
      uint8_t byte = kFlagsStart;
      for (size_t k = 0; k < 3 && n + k < flags.size(); ++k) byte |= static_cast<uint8_t>(flags[n + k] << (2 * (2 - k)));
      key.push_back(byte);
    }
    key.insert(key.end(), kFlagsSuffix.begin(), kFlagsSuffix.end());
  }
};

}  // namespace

// General Legacy (Access 2000-2007) and General (Access 2010 and later). Each unit's code gives
// inline bytes, which make the first part of the key and count as a position; extra bytes, which
// go to the extra part at their position's slot (earlier positions without any padded with 0x02);
// combining marks, which change the last extra byte; unprintable codes, which go to a part of
// their own with their place; and two-bit flags. The key is the inline part, 0x01, the extra part
// without trailing bytes up to 0x02, then when flags or unprintables exist 01 01, the packed flags
// with their suffix, and 01 with the unprintables; then 0x00. A descending key is inverted after
// that 0x00 and gets another 0x00.
void AppendGeneralTextKey(std::vector<uint8_t>& key, std::u16string_view text, bool ascending,
                          const SortOrder::CharacterTable& table) {
  const size_t start = key.size();
  key.reserve(start + 2 * text.size() + 8);  // most characters have one or two inline bytes
  LaterParts later;
  size_t position = 0;
  for (const char16_t unit : text) {
    const SortOrder::CharCode code = table.Lookup(unit);
    const size_t here = position;
    switch (code.kind) {
      case CharKind::Simple:
        key.insert(key.end(), code.inlineBytes.begin(), code.inlineBytes.end());
        ++position;
        break;
      case CharKind::International:
      case CharKind::InternationalExtension:
        key.insert(key.end(), code.inlineBytes.begin(), code.inlineBytes.end());
        ++position;
        if (!code.extraBytes.empty()) later.AddExtra(here, code.extraBytes);
        if (code.kind == CharKind::InternationalExtension) later.flags.push_back(code.flag);
        break;
      case CharKind::Surrogate: {
        const auto inlineBytes = SurrogateInline(unit);
        key.insert(key.end(), inlineBytes.begin(), inlineBytes.end());
        ++position;
        later.AddExtra(here, std::span<const uint8_t>(&kSurrogateExtra, 1));
        break;
      }
      case CharKind::UnprintableExtension: later.AddMark(here, code.extraBytes.front()); break;
      case CharKind::Unprintable: later.AddUnprintable(here, code.inlineBytes); break;
      case CharKind::Ignored:
      case CharKind::Significant: break;
    }
  }
  key.push_back(kEndOfText);
  later.AppendTo(key);
  if (!ascending) {
    key.push_back(kEndOfKey);
    InvertKeyBytes(key, start);
  }
  key.push_back(kEndOfKey);
}

}  // namespace Jet
