#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <set>

#include "common/Text.h"
#include "jet/Database.h"
#include "jet/index/IndexTree.h"
#include "jet/index/RowKeys.h"
#include "jet/page/RowLocator.h"
#include "tests/jet/CorpusFiles.h"
#include "tests/jet/index/IndexTestTrees.h"

// The decisive check of the key encoder: every entry Access wrote into every index of the corpus
// is the key the engine makes of the row it points to, and every row has its one entry.
namespace Jet {
namespace {

using Testing::LocalTableLayouts;

constexpr uint8_t kIgnoreNulls = 0x02;

const OpenDatabase& Engine(const Database& database) { return dynamic_cast<const OpenDatabase&>(database); }

std::string Hex(const std::vector<uint8_t>& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string text;
  for (const uint8_t byte : bytes) {
    text += digits[byte >> 4];
    text += digits[byte & 0xF];
    text += ' ';
  }
  return text;
}

struct Tally {
  size_t files = 0;
  size_t indexes = 0;
  size_t entries = 0;
  std::map<std::string, size_t> skipped;  // where and why, how many indexes
};

// The entries the engine would write for every row of the table, in index order; throws what
// RowKeys throws.
std::vector<IndexEntry> EntriesFromRows(const Database& database, const std::shared_ptr<const TableLayout>& table,
                                        const PhysicalIndexLayout& index) {
  const OpenDatabase& engine = Engine(database);
  const RowKeys keys(engine.Pages(), engine.Format(), engine.Info().codePage, *table);
  const RowLocator locator(engine.Pages(), engine.Format(), table->definition->definitionPage);
  const auto scan = database.Scan(table->definition);
  std::vector<IndexEntry> entries;
  while (scan->Next()) {
    const RowId id = scan->Id();
    const LocatedRow row = locator.Locate(RowPointer{id.page, id.slot});
    const RowKey key = keys.KeyOf(index, row.bytes);
    if (key.allNull && (index.flags & kIgnoreNulls) != 0) continue;
    entries.push_back(IndexEntry{key.bytes, id.page, static_cast<uint8_t>(id.slot)});
  }
  std::sort(entries.begin(), entries.end(),
            [](const IndexEntry& a, const IndexEntry& b) { return CompareEntries(a, b) < 0; });
  return entries;
}

void CheckFile(const std::filesystem::path& file, Tally& tally) {
  SCOPED_TRACE(file.string());
  const auto database = Database::Open(file, OpenOptions{Testing::CorpusPassword(file)});
  const OpenDatabase& engine = Engine(*database);
  ++tally.files;
  for (const auto& table : LocalTableLayouts(engine)) {
    for (const PhysicalIndexLayout& index : table->physicalIndexes) {
      SCOPED_TRACE(Main::ToUtf8(table->definition->name) + ", index rooted at page " + std::to_string(index.firstPage));
      std::vector<IndexEntry> expected;
      try {
        expected = EntriesFromRows(*database, table, index);
      } catch (const JetError& error) {
        ASSERT_EQ(error.Number(), JetErrorNumber::kNotSupported) << error.what();
        ++tally.skipped[file.filename().string() + ", " + Main::ToUtf8(table->definition->name) + ": " + error.what()];
        continue;
      }
      std::vector<IndexEntry> stored;
      IndexTree(engine.Pages(), engine.Format(), index.firstPage).ForEachEntry([&](const IndexEntry& entry) {
        stored.push_back(entry);
        return true;
      });
      ++tally.indexes;
      tally.entries += stored.size();
      ASSERT_EQ(stored.size(), expected.size()) << "entries in the tree against rows";
      for (size_t n = 0; n < stored.size(); ++n) {
        ASSERT_TRUE(SameRowAndKey(stored[n], expected[n]))
            << "entry " << n << " of page " << stored[n].page << " slot " << int{stored[n].slot} << ":\n  stored "
            << Hex(stored[n].key) << "\n  made   " << Hex(expected[n].key) << " (page " << expected[n].page
            << " slot " << int{expected[n].slot} << ")";
      }
    }
  }
}

TEST(RowKeysCorpusTest, EveryEntryOfEveryIndexIsTheKeyOfItsRowAndEveryRowHasOne) {
  QUORVANE_REQUIRE_CORPUS();
  Tally tally;
  for (const auto& file : Testing::AllCorpusFiles()) CheckFile(file, tally);
  std::cout << "checked " << tally.entries << " entries of " << tally.indexes << " indexes in " << tally.files
            << " files\n";
  for (const auto& [why, count] : tally.skipped) std::cout << "skipped " << count << " indexes: " << why << "\n";
  EXPECT_GT(tally.entries, tally.indexes);
}

// The files that hold every character of the first 256 in both directions, and General keys: none
// of their indexes is skipped.
TEST(RowKeysCorpusTest, TheKeyCodeFilesAreReproducedWhole) {
  QUORVANE_REQUIRE_CORPUS();
  if (Testing::CorpusNextDir().empty()) GTEST_SKIP() << "no second corpus";
  const std::vector<std::filesystem::path> files = {
      Testing::CorpusDir() / "V1997/testIndexCodesV1997.mdb",
      Testing::CorpusNextDir() / "V2000/testIndexCodes.mdb",
      Testing::CorpusNextDir() / "empty/empty2010.accdb",
      Testing::CorpusNextDir() / "empty/empty2016.accdb",
  };
  for (const auto& file : files) {
    if (!std::filesystem::exists(file)) {
      ADD_FAILURE() << "missing " << file;
      continue;
    }
    Tally tally;
    CheckFile(file, tally);
    std::cout << file.filename().string() << ": " << tally.entries << " entries of " << tally.indexes << " indexes\n";
    EXPECT_TRUE(tally.skipped.empty()) << file << ": " << tally.skipped.begin()->first;
    EXPECT_GT(tally.entries, 0u) << file;
  }
}

}  // namespace
}  // namespace Jet
