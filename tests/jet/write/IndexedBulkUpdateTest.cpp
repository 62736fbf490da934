// Indexed Text fields of a created 100,000-row table changed through the whole engine thousands of
// times: keys moved to the front and the end of their indexes and grown to 50 characters, so that
// leaves split and the trees grow a level; every index then matches its rows and the rows the
// model of the changes.
#include <gtest/gtest.h>

#include <iostream>
#include <map>

#include "common/Text.h"
#include "jet/Creator.h"
#include "jet/OpenDatabase.h"
#include "jet/index/IndexShapeCheck.h"
#include "jet/index/IndexTree.h"
#include "tests/jet/write/IndexProblems.h"
#include "tests/jet/write/WriterFixture.h"

namespace Jet {
namespace {

using Main::Value;

// About 8 s a format in a RelWithDebInfo build; smaller tables would not make Name's root grow.
constexpr size_t kRows = 100000;

constexpr size_t kCode = 1;
constexpr size_t kName = 2;

// Lower-case base 36 digits of n.
std::u16string Base36(size_t n) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), u"0123456789abcdefghijklmnopqrstuvwxyz"[n % 36]);
    n /= 36;
  } while (n != 0);
  return digits;
}

// Items: a Long primary key, a unique Code, an ordinary index on Name and a descending index on
// Name and Rank; Code and Name start short ("c" and "n" with a number in base 36).
std::filesystem::path ItemsFile(FileFormat format) {
  const auto file = Testing::ScratchDir() / (format == FileFormat::Jet4 ? "items.mdb" : "items.accdb");
  auto creator = CreateDatabase(file, format);
  creator.AddTable({u"Items",
                    {{u"Id", FieldType::LongInteger},
                     {u"Code", FieldType::Text, 50},
                     {u"Name", FieldType::Text, 50},
                     {u"Rank", FieldType::LongInteger}},
                    {{u"PrimaryKey", {{u"Id"}}, true},
                     {u"Code", {{u"Code"}}, false, true},
                     {u"Name", {{u"Name"}}},
                     {u"NameRank", {{u"Name", false}, {u"Rank", false}}}}});
  creator.InsertGenerated(u"Items", kRows, [](size_t n, Row& row) {
    row = {Value::Integer(static_cast<int64_t>(n)), Value::Text(u"c" + Base36(n)), Value::Text(u"n" + Base36(n % 5000)),
           Value::Integer(static_cast<int64_t>(n % 7))};
  });
  creator.Close();
  return file;
}

// An index's tree: the pages from its root to its first leaf, and its pages.
struct TreeSize {
  size_t depth = 0;
  size_t pages = 0;
};

// The tree of each index of Items.
std::map<std::u16string, TreeSize> TreeSizes(const std::filesystem::path& file) {
  OpenDatabase database(file, {});
  const auto definition = database.Table(u"Items");
  const auto layout = database.Layout(definition->definitionPage, definition->name);
  std::map<std::u16string, TreeSize> sizes;
  for (const Index& index : definition->indexes) {
    const uint32_t root = layout->physicalIndexes.at(index.physicalIndex).firstPage;
    const IndexShape shape = CheckIndexShape(database.Pages(), database.Format(), root, definition->definitionPage);
    EXPECT_TRUE(shape.problems.empty()) << Main::ToUtf8(index.name);
    sizes[index.name] = {IndexTree(database.Pages(), database.Format(), root).PathTo(IndexEntry{}).size(), shape.pages};
  }
  return sizes;
}

// The new value of update k: to the front of the index, to its end, or 50 characters starting
// anywhere; unique by k (Code is unique).
std::u16string NewValue(size_t k) {
  switch (k % 4) {
    case 0: return u"  0" + Base36(k);
    case 1: return u"zz" + Base36(k);
    default: {
      std::u16string text = static_cast<char16_t>(u'a' + (k * 7) % 26) + Base36(k) + u"-";
      for (size_t n = text.size(); n < 50; ++n) text.push_back(static_cast<char16_t>(u'a' + (k * 13 + n * 5) % 26));
      return text;
    }
  }
}

class IndexedBulkUpdate : public ::testing::TestWithParam<FileFormat> {};

INSTANTIATE_TEST_SUITE_P(Formats, IndexedBulkUpdate, ::testing::Values(FileFormat::Jet4, FileFormat::Ace12),
                         [](const auto& info) { return info.param == FileFormat::Jet4 ? "Jet4" : "Ace12"; });

TEST_P(IndexedBulkUpdate, ThousandsOfMovedAndLongerKeysSplitLeavesGrowTheTreesAndMatchTheRows) {
  constexpr size_t kUpdates = 4000;
  const auto file = ItemsFile(GetParam());
  const auto before = TreeSizes(file);
  // The model: each row's Code and Name by its Id.
  std::map<int64_t, std::pair<std::u16string, std::u16string>> model;
  {
    auto database = Testing::OpenForWriting(file);
    const auto table = database->Table(u"Items");
    std::vector<RowId> ids;
    for (auto cursor = database->Scan(table); cursor->Next();) {
      ids.push_back(cursor->Id());
      model[cursor->Get(0).AsInteger()] = {cursor->Get(kCode).AsText(), cursor->Get(kName).AsText()};
    }
    ASSERT_EQ(ids.size(), kRows);
    for (size_t k = 0; k < kUpdates; ++k) {
      // Rows spread over the table, each changed once; Code and Name in turn.
      const size_t row = (k * 7919) % kRows;
      const size_t column = k % 8 < 4 ? kCode : kName;
      const std::u16string text = NewValue(k);
      database->UpdateText(*table, ids[row], column, text);
      auto& values = model.at(static_cast<int64_t>(row));
      (column == kCode ? values.first : values.second) = text;
    }
    database->Close();
  }
  EXPECT_EQ(Testing::IndexProblems(file), std::vector<std::string>{});
  // Every text index's leaves split; Name's root (short keys, a root nearly full of them) grows a
  // level. Code and NameRank start a level deeper, whose growth needs far more long keys.
  const auto after = TreeSizes(file);
  for (const auto& [index, size] : after) {
    std::cout << Main::ToUtf8(index) << ": depth " << before.at(index).depth << " -> " << size.depth << ", pages "
              << before.at(index).pages << " -> " << size.pages << "\n";
    EXPECT_GE(size.depth, before.at(index).depth) << Main::ToUtf8(index);
    if (index != u"PrimaryKey") EXPECT_GT(size.pages, before.at(index).pages + 20) << Main::ToUtf8(index);
  }
  EXPECT_EQ(after.at(u"PrimaryKey").pages, before.at(u"PrimaryKey").pages);
  EXPECT_GT(after.at(u"Name").depth, before.at(u"Name").depth);

  const auto database = Database::Open(file);
  const auto table = database->Table(u"Items");
  size_t rows = 0;
  for (auto cursor = database->Scan(table); cursor->Next(); ++rows) {
    const auto& values = model.at(cursor->Get(0).AsInteger());
    ASSERT_EQ(cursor->Get(kCode), Value::Text(values.first)) << rows;
    ASSERT_EQ(cursor->Get(kName), Value::Text(values.second)) << rows;
  }
  EXPECT_EQ(rows, kRows);
}

}  // namespace
}  // namespace Jet
