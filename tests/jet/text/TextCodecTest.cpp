#include "jet/text/TextCodec.h"

#include <gtest/gtest.h>

#include "jet/text/TextEncoder.h"
#include "tests/jet/PageBuilder.h"

namespace Jet {
namespace {

using Testing::Bytes;

TEST(TextCodec, Ucs2AndCompressedUnicode) {
  const TextCodec unicode;
  EXPECT_EQ(unicode.Decode(Bytes{'A', 0, 0x14, 0x20}), u"A\u2014");
  EXPECT_EQ(unicode.Decode(Bytes{'A', 0, 'B'}), u"A");  // odd trailing byte ignored
  // FF FE, then one-byte characters; 00 switches to two-byte characters and back.
  EXPECT_EQ(unicode.Decode(Bytes{0xFF, 0xFE, 'a', 'b', 0xE9}), u"ab\u00E9");
  EXPECT_EQ(unicode.Decode(Bytes{0xFF, 0xFE, 'x', 0x00, 0x3B, 0x04, 0x00, 'y'}), u"x\u043By");
  EXPECT_EQ(unicode.Decode(Bytes{0xFF, 0xFE}), u"");
  // A lone byte at the end of a two-byte run is dropped, not read past the end.
  EXPECT_EQ(unicode.Decode(Bytes{0xFF, 0xFE, 'x', 0x00, 0x41}), u"x");
  EXPECT_EQ(unicode.Decode(Bytes{0xFF}), u"");
}

TEST(TextCodec, Jet3CodePages) {
  EXPECT_EQ(TextCodec(1252).Decode(Bytes{'a', 0x80, 0xE9, 0x81}), u"a\u20AC\u00E9\u0081");
  EXPECT_EQ(TextCodec(1251).Decode(Bytes{0xC0, 0xFF}), u"\u0410\u044F");
  EXPECT_EQ(TextCodec(1250).Decode(Bytes{0x8A}), u"\u0160");
  EXPECT_EQ(TextCodec(1253).Decode(Bytes{0xC1}), u"\u0391");
  EXPECT_EQ(TextCodec(1254).Decode(Bytes{0xF0}), u"\u011F");
  EXPECT_EQ(TextCodec(1255).Decode(Bytes{0xE0}), u"\u05D0");
  EXPECT_EQ(TextCodec(1256).Decode(Bytes{0xC7}), u"\u0627");
  EXPECT_EQ(TextCodec(1257).Decode(Bytes{0xC0}), u"\u0104");
  EXPECT_EQ(TextCodec(1258).Decode(Bytes{0xD2}), u"\u0309");
  EXPECT_EQ(TextCodec(874).Decode(Bytes{0xA1}), u"\u0E01");
  // Other code pages the system's iconv knows go through it; an unknown one falls back to 1252.
  EXPECT_EQ(TextCodec(437).Decode(Bytes{0x80}), u"\u00C7");
  EXPECT_EQ(TextCodec(932).Decode(Bytes{0x95, 0x5C}), u"\u8868");
  EXPECT_EQ(TextCodec(65001).Decode(Bytes{0x80, 0xE9}), u"\u20AC\u00E9");
}

TEST(TextCodec, DecodeReusesTheCallersBuffer) {
  const TextCodec unicode;
  std::u16string out = u"previous contents that are longer";
  unicode.Decode(Bytes{'o', 0, 'k', 0}, out);
  EXPECT_EQ(out, u"ok");
}

TEST(TextEncoder, CompressesOnlyWhenShorterAndPossible) {
  EXPECT_EQ(EncodeUnicodeText(u"abc", true), (Bytes{0xFF, 0xFE, 'a', 'b', 'c'}));
  EXPECT_EQ(EncodeUnicodeText(u"abc", false), (Bytes{'a', 0, 'b', 0, 'c', 0}));
  // As long as UCS-2 (two characters and the marker): UCS-2.
  EXPECT_EQ(EncodeUnicodeText(u"ab", true), (Bytes{'a', 0, 'b', 0}));
  // A run of two-byte characters is entered and left with a zero byte.
  EXPECT_EQ(EncodeUnicodeText(u"xyzab\u043Bw", true),
            (Bytes{0xFF, 0xFE, 'x', 'y', 'z', 'a', 'b', 0, 0x3B, 0x04, 0, 'w'}));
  // Not shorter than UCS-2: stored as UCS-2.
  EXPECT_EQ(EncodeUnicodeText(u"\u043B\u043B", true), (Bytes{0x3B, 0x04, 0x3B, 0x04}));
  // A character whose low byte is zero cannot be compressed.
  EXPECT_EQ(EncodeUnicodeText(u"aaaa\u0100", true), (Bytes{'a', 0, 'a', 0, 'a', 0, 'a', 0, 0, 1}));
  EXPECT_EQ(EncodeUnicodeText(u"", true), Bytes{});
  // Long texts are stored as UCS-2, as Access does.
  EXPECT_EQ(EncodeUnicodeText(std::u16string(1025, u'a'), true).size(), 2050u);
  EXPECT_EQ(EncodeUnicodeText(std::u16string(1024, u'a'), true).size(), 1026u);
}

TEST(TextEncoder, AppendsAfterWhatTheBufferHoldsAndRoundTrips) {
  const TextCodec unicode;
  for (const std::u16string text : {u"plain text", u"\u00E9t\u00E9 \u043B\u043E\u0434\u043A\u0430 ok", u"\u0100x",
                                    u"\u4E2D\u6587"}) {
    for (const bool compressible : {true, false}) {
      std::vector<uint8_t> out{7, 7, 7};
      AppendUnicodeTextBytes(text, compressible, out);
      ASSERT_GE(out.size(), 3u);
      EXPECT_EQ((Bytes{out.begin(), out.begin() + 3}), (Bytes{7, 7, 7}));
      const Bytes stored(out.begin() + 3, out.end());
      EXPECT_EQ(stored, EncodeUnicodeText(text, compressible));
      EXPECT_EQ(unicode.Decode(stored), text);
    }
  }
}

TEST(TextEncoder, RandomTextsOfMixedRunsComeBackWhole) {
  const TextCodec unicode;
  uint32_t seed = 12345;
  const auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
  for (int round = 0; round < 2000; ++round) {
    std::u16string text;
    const size_t length = next() % 60;
    for (size_t n = 0; n < length; ++n) {
      // Mostly one-byte characters, with runs of two-byte ones (never a zero low byte, which
      // cannot be compressed).
      const uint32_t pick = next() >> 8;
      const char16_t c = pick % 4 == 0 ? static_cast<char16_t>(0x0101 + pick % 0x2000) : static_cast<char16_t>(1 + pick % 0xFF);
      text.push_back((c & 0xFF) == 0 ? static_cast<char16_t>(c + 1) : c);
    }
    const Bytes stored = EncodeUnicodeText(text, true);
    ASSERT_EQ(unicode.Decode(stored), text) << round;
  }
}

}  // namespace
}  // namespace Jet
