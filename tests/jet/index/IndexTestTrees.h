#pragma once

#include <cctype>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "jet/JetError.h"
#include "jet/OpenDatabase.h"
#include "jet/file/PageFile.h"
#include "jet/index/IndexPage.h"

// What the index reader and checker tests share: every local table of an open corpus file, and
// small trees of hand-made index pages held in memory.
namespace Jet::Testing {

// The layouts of every local table (user, system and Access tables) of an open database.
inline std::vector<std::shared_ptr<const TableLayout>> LocalTableLayouts(const OpenDatabase& database) {
  std::vector<std::shared_ptr<const TableLayout>> layouts;
  for (const CatalogEntry& entry : database.TablesRowset()) {
    if (entry.type != u"TABLE" && entry.type != u"SYSTEM TABLE" && entry.type != u"ACCESS TABLE") continue;
    const auto definition = database.Table(entry.name);
    layouts.push_back(database.Layout(definition->definitionPage, entry.name));
  }
  return layouts;
}

inline IndexEntry Entry(std::vector<uint8_t> key, uint32_t page, uint8_t slot, uint32_t child = 0) {
  return IndexEntry{std::move(key), page, slot, child};
}

// A Jet4 file of `count` zeroed pages, where pages can be set to index pages.
class HandMadeFile {
 public:
  static constexpr uint32_t kOwner = 2;  // the table definition page the index pages name

  explicit HandMadeFile(uint32_t count)
      : bytes_(std::make_shared<std::vector<uint8_t>>(size_t{count} * 4096)), pages_(*bytes_, 4096) {}

  const FormatLayout& Format() const { return LayoutOf(FileFormat::Jet4); }
  const PageFile& Pages() const { return pages_; }

  void Leaf(uint32_t number, std::vector<IndexEntry> entries, uint32_t previous = 0, uint32_t next = 0) {
    Put(number, IndexPage{true, kOwner, previous, next, 0, std::move(entries)});
  }
  void Node(uint32_t number, std::vector<IndexEntry> entries, uint32_t tail) {
    Put(number, IndexPage{false, kOwner, 0, 0, tail, std::move(entries)});
  }
  void Put(uint32_t number, const IndexPage& page) {
    pages_.Replace(number, EncodeIndexPage(page, IndexPageLayoutOf(Format())));
  }

 private:
  std::shared_ptr<std::vector<uint8_t>> bytes_;
  PageFile pages_;
};

// Runs `action`, which must fail with kCorrupt naming `page`.
template <typename Action>
void ExpectCorruptAt(uint32_t page, Action action) {
  try {
    action();
    ADD_FAILURE() << "no error; expected damage at page " << page;
  } catch (const JetError& error) {
    EXPECT_EQ(error.Number(), JetErrorNumber::kCorrupt);
    const std::string what = error.what();
    const std::string named = "page " + std::to_string(page);
    bool found = false;
    for (size_t at = what.find(named); at != std::string::npos && !found; at = what.find(named, at + 1))
      found = at + named.size() == what.size() || !std::isdigit(static_cast<unsigned char>(what[at + named.size()]));
    EXPECT_TRUE(found) << what;
  }
}

}  // namespace Jet::Testing
