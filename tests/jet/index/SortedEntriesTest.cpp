// Entries gathered into one key buffer sort as the index orders them and compare as CompareEntries.
#include "jet/index/SortedEntries.h"

#include <algorithm>
#include <random>

#include <gtest/gtest.h>

namespace Jet {
namespace {

TEST(SortedEntriesTest, SortsRandomEntriesIntoIndexOrderAndComparesAsTheIndexDoes) {
  std::mt19937 random(7);
  std::vector<IndexEntry> entries;
  SortedEntries sorted;
  for (int n = 0; n < 5000; ++n) {
    IndexEntry entry;
    // Short keys over few byte values: many equal keys, many proper prefixes, some empty.
    for (size_t length = random() % 6; length > 0; --length) entry.key.push_back(static_cast<uint8_t>(0x7E + random() % 3));
    entry.page = random() % 5;
    entry.slot = static_cast<uint8_t>(random() % 4);
    entries.push_back(entry);
    sorted.Add(entry.key, entry.page, entry.slot);
  }
  sorted.Sort();
  std::sort(entries.begin(), entries.end(), [](const IndexEntry& a, const IndexEntry& b) { return CompareEntries(a, b) < 0; });
  const std::vector<IndexEntry> back = sorted.Entries();
  ASSERT_EQ(back.size(), entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    ASSERT_TRUE(SameRowAndKey(back[i], entries[i])) << i;
    EXPECT_EQ(sorted.PageOf(i), entries[i].page);
    EXPECT_EQ(sorted.SlotOf(i), entries[i].slot);
    const IndexEntry& other = entries[random() % entries.size()];
    EXPECT_TRUE(sorted.Compare(i, other) == CompareEntries(entries[i], other)) << i;
  }
}

}  // namespace
}  // namespace Jet
