#include "jet/text/CodePageText.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "jet/JetError.h"
#include "jet/text/IconvConverter.h"
#include "tests/jet/PageBuilder.h"
#include "tests/jet/text/DoubleByteSamples.h"

namespace Jet {
namespace {

using Testing::Bytes;

std::u16string Read(uint16_t codePage, const Bytes& bytes) {
  std::u16string text;
  CodePageText(codePage).Append(bytes, text);
  return text;
}

// The refusal an action throws (the description empty and the cause unspecified when none).
Main::Error RefusalOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const JetError& error) {
    return error;
  }
  return Main::Error(0, std::u16string());
}

TEST(CodePageText, DoubleByteCodePagesReadAndWriteTheirBytes) {
  for (const Testing::DoubleByteSample& sample : Testing::DoubleByteSamples()) {
    const CodePageText text(sample.codePage);
    EXPECT_TRUE(text.Writable()) << sample.codePage;
    EXPECT_EQ(Read(sample.codePage, sample.bytes), sample.text) << sample.codePage;
    EXPECT_EQ(text.Encode(sample.text), sample.bytes) << sample.codePage;
    EXPECT_TRUE(text.RoundTrips(sample.bytes)) << sample.codePage;
  }
  // Appending keeps what the buffer held; empty text is no bytes.
  std::u16string out = u"x";
  CodePageText(932).Append(Bytes{0x95, 0x5C}, out);
  EXPECT_EQ(out, u"x表");
  EXPECT_TRUE(CodePageText(936).Encode(u"").empty());
}

TEST(CodePageText, LongTextOutgrowsTheFirstBuffer) {
  std::u16string text;
  Bytes bytes;
  for (int n = 0; n < 5000; ++n) {
    text += u"ｱ表a";
    bytes.insert(bytes.end(), {0xB1, 0x95, 0x5C, 0x61});
  }
  EXPECT_EQ(CodePageText(932).Encode(text), bytes);
  EXPECT_EQ(Read(932, bytes), text);
}

TEST(CodePageText, UndefinedBytesReadAsReplacementsAndDoNotRoundTrip) {
  const CodePageText shiftJis(932);
  // A lead byte at the end; a lead byte with a trail byte out of range (the space survives); bytes
  // Shift-JIS leaves undefined.
  const std::vector<std::pair<Bytes, std::u16string>> damaged = {
      {{'A', 0x81}, u"A\uFFFD"},
      {{0x81, 0x20, 'B'}, u"\uFFFD B"},
      {{0x80, 'C', 0xA0}, u"\uFFFDC\uFFFD"},
      {{0x95, 0x5C, 0xFF, 0x95, 0x5C}, u"表\uFFFD表"},
  };
  for (const auto& [bytes, text] : damaged) {
    EXPECT_EQ(Read(932, bytes), text);
    EXPECT_FALSE(shiftJis.RoundTrips(bytes));
  }
  EXPECT_EQ(Read(936, Bytes{0xD6}), u"\uFFFD");
  EXPECT_EQ(Read(949, Bytes{'k', 0xC7, 0x20}), u"k\uFFFD ");
  EXPECT_EQ(Read(950, Bytes{0xA5, 0x30}), u"\uFFFD0");
  // A character Shift-JIS holds twice (an IBM extension and its NEC twin) reads back from the
  // other bytes when written.
  EXPECT_EQ(Read(932, Bytes{0xEE, 0xF9}), u"\uFFE2");
  EXPECT_FALSE(shiftJis.RoundTrips(Bytes{0xEE, 0xF9}));
  EXPECT_TRUE(shiftJis.RoundTrips(Bytes{0x81, 0xCA}));
}

// Every pair of bytes, and each with a lone byte after it: what reads without U+FFFD and round
// trips writes back the very bytes; whatever does not is said not to round trip.
TEST(CodePageText, EveryTwoByteSequenceReadsAndRoundTripsOrSaysSo) {
  for (const uint16_t codePage : {932, 936, 949, 950}) {
    const CodePageText text(codePage);
    size_t kept = 0;
    for (unsigned pair = 0; pair < 0x10000; ++pair) {
      for (const Bytes& bytes : {Bytes{static_cast<uint8_t>(pair >> 8), static_cast<uint8_t>(pair)},
                                 Bytes{static_cast<uint8_t>(pair >> 8), static_cast<uint8_t>(pair), 0x81}}) {
        std::u16string read;
        text.Append(bytes, read);
        ASSERT_FALSE(read.empty());
        ASSERT_LE(read.size(), bytes.size());
        if (!text.RoundTrips(bytes)) continue;
        ++kept;
        ASSERT_EQ(read.find(u'\uFFFD'), std::u16string::npos) << codePage << " " << pair;
        ASSERT_EQ(text.Encode(read), bytes) << codePage << " " << pair;
      }
    }
    // Many pairs are characters of the code page or two single-byte ones (a lone lead byte at
    // the end never round trips).
    EXPECT_GT(kept, 0x10000u / 4) << codePage;
  }
}

TEST(CodePageText, CharactersTheCodePageCannotHoldAreRefusedByName) {
  // Not in the code page at all; stored by iconv as another character (U+00A5 as a backslash,
  // U+203E as a tilde); the replacement character of undefined bytes.
  const std::vector<std::pair<uint16_t, std::u16string>> refused = {
      {932, u"\u20AC"}, {932, u"\u00A5"}, {932, u"\u203E"}, {932, u"\uFFFD"},
      {936, u"\u3042\u05D0"}, {949, u"\u0E01"}, {950, u"\U0001F600"}, {1252, u"\u0141"}};
  for (const auto& [codePage, character] : refused) {
    const std::u16string text = u"ok " + character + u" ok";
    const Main::Error error = RefusalOf([&] { (void)CodePageText(codePage).Encode(text); });
    EXPECT_EQ(error.Number(), Main::ErrorNumber::kTypeMismatch) << codePage;
    EXPECT_EQ(error.Cause(), Main::ErrorCause::kRecordValue) << codePage;
    const std::u16string naming = u"The character '" + (codePage == 936 ? std::u16string(u"\u05D0") : character) +
                                  u"' cannot be stored in this database, whose text is in code page ";
    EXPECT_EQ(error.Description().rfind(naming, 0), 0u) << codePage;
  }
}

TEST(CodePageText, UnknownCodePagesReadAsWindowsLatinAndAreNotWritable) {
  for (const uint16_t codePage : {uint16_t{0}, uint16_t{1200}, uint16_t{65001}}) {
    const CodePageText text(codePage);
    EXPECT_FALSE(text.Writable()) << codePage;
    EXPECT_EQ(text.CodePage(), codePage);
    EXPECT_EQ(Read(codePage, Bytes{'a', 0x80, 0x95, 0x5C}), u"a\u20AC\u2022\\") << codePage;
    EXPECT_EQ(RefusalOf([&] { (void)text.Encode(u"a"); }).Number(), JetErrorNumber::kCorrupt);
  }
  EXPECT_TRUE(CodePageText(1252).Writable());
  EXPECT_TRUE(CodePageText(437).Writable());
}

// The single-byte code pages are read through tables, not iconv (a table look-up per byte). The
// tables agree with iconv on every byte iconv defines, and give the bytes it leaves undefined the
// character of the same number, as Windows does, so that every byte reads and writes back as it
// was.
TEST(CodePageText, SingleByteTablesAgreeWithIconvOnEveryByte) {
  for (const uint16_t codePage : {874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258}) {
    const auto iconv = IconvConverter::Open("UTF-16LE", ("CP" + std::to_string(codePage)).c_str());
    ASSERT_NE(iconv, nullptr) << codePage;
    const CodePageText text(codePage);
    int undefined = 0;
    for (unsigned value = 0; value < 256; ++value) {
      const Bytes byte{static_cast<uint8_t>(value)};
      Bytes converted;
      const IconvConverter::Outcome outcome = iconv->Convert(byte, converted);
      const std::u16string table = Read(codePage, byte);
      ASSERT_EQ(table.size(), 1u);
      if (outcome.stop == IconvConverter::Stop::kEnd) {
        ASSERT_EQ(converted.size(), 2u) << codePage << " " << value;
        EXPECT_EQ(table[0], converted[0] | (converted[1] << 8)) << codePage << " " << value;
      } else {
        ++undefined;
        EXPECT_EQ(table[0], value) << codePage << " " << value;
      }
      EXPECT_EQ(text.Encode(table), byte) << codePage << " " << value;
    }
    EXPECT_LT(undefined, 40) << codePage;
  }
}

}  // namespace
}  // namespace Jet
