#include "jet/index/IndexChecker.h"

#include <algorithm>
#include <map>
#include <set>

#include "jet/JetError.h"
#include "jet/base/Failure.h"
#include "jet/index/IndexShapeCheck.h"
#include "jet/index/RowKeys.h"
#include "jet/page/RowLocator.h"
#include "jet/row/TableScan.h"

namespace Jet {
namespace {

// Past this many problems with one index, the rest are only counted.
constexpr size_t kProblemsListed = 50;

using RowKeyOf = std::map<std::pair<uint32_t, uint16_t>, RowKey>;

// The rows' keys for one physical index, or why they could not be made.
struct IndexRows {
  RowKeyOf keys;
  std::string refused;  // empty: every row was keyed
};

std::string RowText(uint32_t page, uint16_t slot) { return "row " + std::to_string(slot) + " of " + PageText(page); }

// The keys of every row of the table for each of its physical indexes.
std::vector<IndexRows> KeysOfRows(const PageFile& pages, const FormatLayout& format, uint16_t codePage,
                                  const TableLayout& table) {
  std::vector<IndexRows> result(table.physicalIndexes.size());
  const TextCodec codec = format.jet3 ? TextCodec(codePage) : TextCodec();
  TableScan scan(ScanContext{pages, format, codec}, std::shared_ptr<const TableLayout>(std::shared_ptr<void>{}, &table));
  const RowLocator locator(pages, format, table.definition->definitionPage);
  const RowKeys keys(pages, format, codePage, table);
  while (scan.Next()) {
    const RowId id = scan.Id();
    const LocatedRow row = locator.Locate(RowPointer{id.page, id.slot});
    for (size_t i = 0; i < result.size(); ++i) {
      if (!result[i].refused.empty()) continue;
      try {
        result[i].keys[{id.page, id.slot}] = keys.KeyOf(table.physicalIndexes[i], row.bytes);
      } catch (const JetError& error) {
        if (error.Number() != JetErrorNumber::kNotSupported) throw;
        result[i].refused = error.what();
      }
    }
  }
  return result;
}

// The logical indexes a physical index backs, by name.
std::u16string NamesOf(const TableDefinition& definition, size_t physical) {
  std::u16string names;
  for (const Index& index : definition.indexes) {
    if (index.physicalIndex != physical) continue;
    if (!names.empty()) names += u", ";
    names += index.name;
  }
  if (names.empty()) {
    const std::string number = std::to_string(physical);
    names = u"physical index " + std::u16string(number.begin(), number.end());
  }
  return names;
}

bool IsUnique(const TableDefinition& definition, const PhysicalIndexLayout& index, size_t physical) {
  if ((index.flags & IndexFlag::kUnique) != 0) return true;
  for (const Index& logical : definition.indexes)
    if (logical.physicalIndex == physical && logical.primaryKey) return true;
  return false;
}

// The leaf where an entry belongs: the leaf of the first walked entry not below it, else the last leaf.
uint32_t LeafFor(const IndexShape& shape, const IndexEntry& probe, uint32_t root) {
  if (shape.entries.empty()) return root;
  const auto it = std::lower_bound(shape.entries.begin(), shape.entries.end(), probe,
                                   [](const WalkedEntry& walked, const IndexEntry& entry) {
                                     return CompareEntries(walked.entry, entry) < 0;
                                   });
  return it == shape.entries.end() ? shape.entries.back().leaf : it->leaf;
}

// Every entry names a row with its key, every row has one entry, and a unique index has no key twice.
void CompareWithRows(const IndexShape& shape, const RowKeyOf& rows, const PhysicalIndexLayout& index, bool unique,
                     std::vector<PageProblem>& problems) {
  const uint32_t root = index.firstPage;
  const bool ignoreNulls = (index.flags & IndexFlag::kIgnoreNulls) != 0;
  std::set<std::pair<uint32_t, uint16_t>> matched;
  for (const WalkedEntry& walked : shape.entries) {
    const IndexEntry& entry = walked.entry;
    const auto row = rows.find({entry.page, entry.slot});
    const std::string named = RowText(entry.page, entry.slot);
    if (row == rows.end()) {
      problems.push_back({walked.leaf, "an entry (key " + KeyText(entry.key) + ") names " + named +
                                           ", which is not a row of the table"});
      continue;
    }
    if (row->second.bytes != entry.key)
      problems.push_back({walked.leaf, "the entry of " + named + " has the key " + KeyText(entry.key) +
                                           "; the row's key is " + KeyText(row->second.bytes)});
    else if (ignoreNulls && row->second.allNull)
      problems.push_back({walked.leaf, "holds an entry for " + named +
                                           ", whose index fields are all null, in an index that leaves such rows out"});
    if (!matched.insert(row->first).second)
      problems.push_back({walked.leaf, named + " has a second entry"});
  }
  for (const auto& [where, key] : rows)
    if (matched.count(where) == 0 && !(ignoreNulls && key.allNull))
      problems.push_back({LeafFor(shape, IndexEntry{key.bytes, where.first, static_cast<uint8_t>(where.second), 0}, root),
                          RowText(where.first, where.second) + " has no entry (its key is " + KeyText(key.bytes) + ")"});
  if (!unique) return;
  for (size_t i = 1; i < shape.entries.size(); ++i) {
    const IndexEntry& a = shape.entries[i - 1].entry;
    const IndexEntry& b = shape.entries[i].entry;
    if (a.key != b.key) continue;
    const auto rowA = rows.find({a.page, a.slot});
    const auto rowB = rows.find({b.page, b.slot});
    if (rowA == rows.end() || rowB == rows.end() || rowA->second.allNull) continue;
    problems.push_back({shape.entries[i].leaf, "the key " + KeyText(b.key) + " of a unique index is held by both " +
                                                   RowText(a.page, a.slot) + " and " + RowText(b.page, b.slot)});
  }
}

void AddProblems(IndexCheckReport& report, const std::u16string& names, const std::vector<PageProblem>& problems) {
  for (size_t i = 0; i < problems.size() && i < kProblemsListed; ++i)
    report.problems.push_back({names, problems[i].page, problems[i].what});
  if (problems.size() > kProblemsListed)
    report.problems.push_back({names, problems[kProblemsListed].page,
                               std::to_string(problems.size() - kProblemsListed) + " more problems not listed"});
}

}  // namespace

IndexCheckReport CheckTableIndexes(const PageFile& pages, const FormatLayout& format, uint16_t codePage,
                                   const TableLayout& table) {
  const TableDefinition& definition = *table.definition;
  IndexCheckReport report;
  std::vector<IndexRows> rows(table.physicalIndexes.size());
  std::string unreadable;
  try {
    rows = KeysOfRows(pages, format, codePage, table);
  } catch (const JetError& error) {
    unreadable = std::string("the table's rows cannot be read: ") + error.what();
  }
  for (size_t i = 0; i < table.physicalIndexes.size(); ++i) {
    const PhysicalIndexLayout& index = table.physicalIndexes[i];
    const std::u16string names = NamesOf(definition, i);
    IndexShape shape = CheckIndexShape(pages, format, index.firstPage, definition.definitionPage);
    ++report.indexes;
    report.entries += shape.entries.size();
    report.pages += shape.pages;
    if (!unreadable.empty())
      shape.problems.push_back({definition.definitionPage, unreadable});
    else if (!rows[i].refused.empty())
      report.notChecked.push_back({names, index.firstPage, "not checked: " + rows[i].refused});
    else
      CompareWithRows(shape, rows[i].keys, index, IsUnique(definition, index, i), shape.problems);
    AddProblems(report, names, shape.problems);
  }
  return report;
}

std::vector<IndexProblem> CheckIndexes(const PageFile& pages, const FormatLayout& format, uint16_t codePage,
                                       const TableLayout& table) {
  return CheckTableIndexes(pages, format, codePage, table).problems;
}

}  // namespace Jet
