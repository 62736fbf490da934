// Long values of the three stored forms written by the writer's store (or, inline, by the header
// encoder) and read back by the reader; freed values give their pages back.
#include "jet/longvalue/LongValueStore.h"

#include <gtest/gtest.h>

#include "jet/longvalue/LongValue.h"
#include "jet/longvalue/LongValueFormat.h"
#include "tests/jet/write/PagesOfFile.h"

namespace Jet {
namespace {

using Testing::PagesOfFile;

std::vector<uint8_t> Data(size_t size) {
  std::vector<uint8_t> data(size);
  for (size_t n = 0; n < size; ++n) data[n] = static_cast<uint8_t>(n * 7 + n / 251);
  return data;
}

std::vector<uint8_t> ReadBack(const PagesOfFile& file, const std::vector<uint8_t>& stored) {
  std::vector<uint8_t> out;
  LongValueReader(file.Pages(), file.Layout()).Read(stored, out);
  return out;
}

TEST(LongValueRoundTrip, AnInlineValueReadsBack) {
  PagesOfFile file("inline-value.mdb", 1);
  const std::vector<uint8_t> data = Data(kLongValueMaxInline);
  const std::vector<uint8_t> stored = InlineLongValue(data);
  EXPECT_EQ(stored.size(), kLongValueHeaderSize + data.size());
  EXPECT_EQ(ReadLongValueHeader(stored).form, LongValueForm::kInline);
  EXPECT_EQ(ReadLongValueHeader(stored).length, data.size());
  EXPECT_EQ(ReadBack(file, stored), data);
}

TEST(LongValueRoundTrip, SingleRowAndChainedValuesReadBackAndGiveTheirPagesBackWhenFreed) {
  PagesOfFile file("stored-values.mdb", 1);
  LongValueStore store(file.Writer(), file.Allocator(), file.Layout());
  const std::vector<uint8_t> single = Data(1000);
  const std::vector<uint8_t> chain = Data(3 * file.Layout().longValueChunkMax + 17);
  const std::vector<uint8_t> singleStored = store.Place(single, nullptr);
  const std::vector<uint8_t> chainStored = store.Place(chain, nullptr);

  const LongValueHeader singleHeader = ReadLongValueHeader(singleStored);
  EXPECT_EQ(singleHeader.form, LongValueForm::kSingleRow);
  EXPECT_EQ(singleHeader.length, single.size());
  const LongValueHeader chainHeader = ReadLongValueHeader(chainStored);
  EXPECT_EQ(chainHeader.form, LongValueForm::kChain);
  EXPECT_EQ(chainHeader.length, chain.size());
  EXPECT_EQ(ReadBack(file, singleStored), single);
  EXPECT_EQ(ReadBack(file, chainStored), chain);

  // Every row of both values lies on pages the store took; freeing both empties them.
  EXPECT_FALSE(file.Allocator().Maps().GlobalMarksFree(singleHeader.first.page));
  EXPECT_FALSE(file.Allocator().Maps().GlobalMarksFree(chainHeader.first.page));
  store.Free(singleStored, nullptr);
  store.Free(chainStored, nullptr);
  EXPECT_TRUE(file.Allocator().Maps().GlobalMarksFree(singleHeader.first.page));
  EXPECT_TRUE(file.Allocator().Maps().GlobalMarksFree(chainHeader.first.page));
}

}  // namespace
}  // namespace Jet
