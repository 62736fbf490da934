#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "common/Text.h"
#include "common/Value.h"
#include "tests/tools/CsvReference.h"
#include "tools/jetdump/CsvWriter.h"

namespace JetDump {
namespace {

using Testing::QuotedReference;
using Testing::FailingSink;
using Testing::RecordingSink;

// ASCII, doubled quotes, two-, three- and four-byte characters and unpaired surrogates, in an
// order that puts each kind at every offset of a small buffer somewhere.
std::u16string MixedText() {
  std::u16string text;
  const std::u16string pieces[] = {u"plain",      u"\"",     u"\u00e9",        u"\u20ac",     u"\U0001F600",
                                   u"a,b",        u"\r\n",   std::u16string(1, char16_t(0xD800)),
                                   u"x",          std::u16string(1, char16_t(0xDC00)), u"\U0010FFFF"};
  for (int round = 0; round < 12; ++round) {
    for (const std::u16string& piece : pieces) text += piece;
    text += std::u16string(static_cast<size_t>(round), u'z');
  }
  return text;
}

std::string QuotedThrough(size_t capacity, std::u16string_view text, RecordingSink& sink) {
  CsvWriter csv(sink, capacity);
  csv.Quoted(text);
  csv.Flush();
  return sink.All();
}

TEST(JetDumpCsvWriter, QuotesPlainFieldsOnlyForCommasQuotesAndLineBreaks) {
  RecordingSink sink;
  CsvWriter csv(sink);
  for (const std::u16string_view field : {u"plain", u"a,b", u"q\"q", u"cr\rcr", u"lf\nlf", u"tab\tsemi;", u""})
    csv.Plain(field);
  csv.EndRecord();
  csv.Quoted(u"");
  csv.Unquoted("12.5");
  csv.Unquoted("");
  csv.EndRecord();
  csv.Flush();
  EXPECT_EQ(sink.All(),
            "plain,\"a,b\",\"q\"\"q\",\"cr\rcr\",\"lf\nlf\",tab\tsemi;,\r\n"
            "\"\",12.5,\r\n");
}

TEST(JetDumpCsvWriter, EncodesEachWidthOfUtf8) {
  RecordingSink sink;
  const std::u16string text = {0x7F, 0x80, 0x7FF, 0x800, 0xFFFF, 0xD800, 0xDC00, 0xDBFF, 0xDFFF};
  EXPECT_EQ(QuotedThrough(CsvWriter::kDefaultCapacity, text, sink),
            "\"\x7f\xc2\x80\xdf\xbf\xe0\xa0\x80\xef\xbf\xbf\xf0\x90\x80\x80\xf4\x8f\xbf\xbf\"");
}

TEST(JetDumpCsvWriter, ReplacesUnpairedSurrogatesAsTheCommonConversionDoes) {
  const std::u16string cases[] = {
      {0xD800},                  // a high surrogate at the end
      {0xD800, u'a'},            // followed by no low one
      {0xDC00, u'a'},            // a low surrogate alone
      {0xDC00, 0xD800},          // the pair reversed
      {0xD800, 0xD800, 0xDC00},  // a high one before a pair
      {u'"', 0xDFFF, u'"'},
  };
  for (const std::u16string& text : cases) {
    RecordingSink sink;
    const std::string written = QuotedThrough(CsvWriter::kDefaultCapacity, text, sink);
    EXPECT_EQ(written, QuotedReference(text));
    EXPECT_NE(written.find("\xef\xbf\xbd"), std::string::npos);
  }
}

TEST(JetDumpCsvWriter, GivesTheSameBytesWhereverTheBufferFills) {
  const std::u16string text = MixedText();
  const std::string expected = QuotedReference(text);
  for (size_t capacity = CsvWriter::kMinimumCapacity; capacity < 64; ++capacity) {
    RecordingSink sink;
    EXPECT_EQ(QuotedThrough(capacity, text, sink), expected) << "capacity " << capacity;
    for (size_t block = 0; block + 1 < sink.blocks.size(); ++block) {
      // A character is never split between the room left and the next buffer, so a block may end
      // up to three bytes short of full; never over it.
      EXPECT_LE(sink.blocks[block].size(), capacity);
      EXPECT_GE(sink.blocks[block].size() + 3, capacity);
    }
  }
}

TEST(JetDumpCsvWriter, SplitsLongAsciiAndHexFieldsAcrossBuffers) {
  std::string digits;
  for (int i = 0; i < 500; ++i) digits += std::to_string(i);
  Main::Bytes bytes;
  for (int i = 0; i < 300; ++i) bytes.push_back(static_cast<uint8_t>(i * 37));
  RecordingSink sink;
  CsvWriter csv(sink, 17);
  csv.Unquoted(digits);
  csv.Hex(bytes);
  csv.Hex({});
  csv.EndRecord();
  csv.Flush();
  EXPECT_EQ(sink.All(), digits + "," + Main::ToUtf8(Main::FormatHex(bytes)) + ",\r\n");
  EXPECT_GT(sink.blocks.size(), 100u);
  for (const std::string& block : sink.blocks) EXPECT_LE(block.size(), 17u);
}

TEST(JetDumpCsvWriter, HandsOverNothingUntilTheBufferFillsOrIsFlushed) {
  RecordingSink sink;
  CsvWriter csv(sink, 64);
  csv.Quoted(u"twenty characters...");
  csv.Unquoted("123");
  csv.EndRecord();
  EXPECT_TRUE(sink.blocks.empty());
  csv.Quoted(u"and forty more characters to fill it up");
  ASSERT_EQ(sink.blocks.size(), 1u);
  EXPECT_EQ(sink.blocks[0].size(), 61u);  // handed over with three bytes left, too few for every character
  csv.Flush();
  csv.Flush();
  EXPECT_EQ(sink.blocks.size(), 2u);  // an empty buffer is not handed over
  EXPECT_EQ(sink.All(), "\"twenty characters...\",123\r\n\"and forty more characters to fill it up\"");
}

TEST(JetDumpCsvWriter, TakesTheSmallestBufferForASmallerCapacity) {
  RecordingSink sink;
  EXPECT_EQ(QuotedThrough(1, u"\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600", sink),
            QuotedReference(u"\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600"));
  EXPECT_GT(sink.blocks.size(), 1u);
}

TEST(JetDumpCsvWriter, AFailedSinkIsReportedByFlushButNotAfterAFailure) {
  FailingSink sink;
  CsvWriter csv(sink);
  csv.Quoted(u"lost");
  EXPECT_THROW(csv.Flush(), std::runtime_error);
  csv.Quoted(u"lost too");
  EXPECT_NO_THROW(csv.FlushAfterFailure());

  RecordingSink working;
  CsvWriter rows(working);
  rows.Quoted(u"read before the failure");
  rows.FlushAfterFailure();
  EXPECT_EQ(working.All(), "\"read before the failure\"");
}

}  // namespace
}  // namespace JetDump
