#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Text of the double-byte code pages with the bytes each stores it as, known from the code pages'
// definitions: trail bytes 0x5C ('\') and 0x40-0x7E (ASCII letters) among them, and Shift-JIS's
// single-byte half-width katakana.
namespace Jet::Testing {

struct DoubleByteSample {
  uint16_t codePage;
  std::u16string text;
  std::vector<uint8_t> bytes;
};

inline const std::vector<DoubleByteSample>& DoubleByteSamples() {
  static const std::vector<DoubleByteSample> samples = {
      {932, u"日本語テキスト",
       {0x93, 0xFA, 0x96, 0x7B, 0x8C, 0xEA, 0x83, 0x65, 0x83, 0x4C, 0x83, 0x58, 0x83, 0x67}},
      {932, u"表\\ソ ｱｲｳ", {0x95, 0x5C, 0x5C, 0x83, 0x5C, 0x20, 0xB1, 0xB2, 0xB3}},
      {936, u"中文简体", {0xD6, 0xD0, 0xCE, 0xC4, 0xBC, 0xF2, 0xCC, 0xE5}},
      {949, u"한국어 a", {0xC7, 0xD1, 0xB1, 0xB9, 0xBE, 0xEE, 0x20, 0x61}},
      {950, u"功中文許蓋", {0xA5, 0x5C, 0xA4, 0xA4, 0xA4, 0xE5, 0xB3, 0x5C, 0xBB, 0x5C}},
  };
  return samples;
}

}  // namespace Jet::Testing
