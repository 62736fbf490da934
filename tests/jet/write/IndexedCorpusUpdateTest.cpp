// Indexed Text fields changed on every real file of both corpora: keys moved across their tables,
// another row's key refused byte for byte, case changes that leave every index page alone; then
// every index held to its rows and every table to mdb-export.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <optional>
#include <tuple>

#include "common/Text.h"
#include "jet/JetError.h"
#include "jet/OpenDatabase.h"
#include "jet/page/PageFormat.h"
#include "tests/jet/write/IndexProblems.h"
#include "tests/jet/write/WriterFixture.h"

namespace Jet {
namespace {

using Main::Value;
using Testing::IndexProblems;
using Testing::OpenForWriting;
using Testing::ReadBytes;

// What the run over the corpus did, printed at its end for the record.
struct CorpusTotals {
  size_t files = 0;
  size_t tables = 0;              // user tables with at least one indexed Text column
  size_t columns = 0;             // indexed Text columns changed
  size_t fixedColumns = 0;        // refused as a whole (keys the engine does not make)
  size_t emptyColumns = 0;        // in tables without rows
  size_t updates = 0;             // changes made
  size_t duplicatesRefused = 0;   // another row's key in another case, refused
  size_t caseChanges = 0;         // case-only changes with every index page unchanged
  std::map<long, size_t> refusals;  // other single-record refusals, by number
};

// A changed cell's final text as mdb-export prints it; a case-only change of a value the file held
// is mdb-export's own text of it, case swapped.
struct ChangedCell {
  bool caseSwapped = false;
  std::string text;  // where not caseSwapped
};

// The changed cells by table, then row position in the scan and column position.
using ChangedCells = std::map<std::string, std::map<std::pair<size_t, size_t>, ChangedCell>>;

bool Covers(const Index& index, uint16_t columnNumber) {
  return std::any_of(index.columns.begin(), index.columns.end(),
                     [&](const IndexColumn& part) { return part.columnNumber == columnNumber; });
}

bool IsAsciiLetter(char32_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

template <typename Text>
Text SwapCase(Text text) {
  for (auto& c : text)
    if (IsAsciiLetter(static_cast<char32_t>(c))) c = static_cast<typename Text::value_type>(c ^ 0x20);
  return text;
}

bool HasAsciiLetter(const Value& value) {
  if (value.IsNull()) return false;
  const auto& text = value.AsText();
  return std::any_of(text.begin(), text.end(), [](char16_t c) { return IsAsciiLetter(c); });
}

// One table's rows as the scan returns them.
struct ScannedRows {
  std::vector<RowId> ids;
  std::vector<std::vector<Value>> values;
};

ScannedRows Scanned(const Database& database, const std::shared_ptr<const TableDefinition>& table) {
  ScannedRows rows;
  for (auto cursor = database.Scan(table); cursor->Next();) {
    rows.ids.push_back(cursor->Id());
    auto& row = rows.values.emplace_back();
    for (size_t c = 0; c < table->columns.size(); ++c) row.push_back(cursor->Get(c));
  }
  return rows;
}

// The changes made to one copy of a corpus file, and the checks each makes at once.
class CorpusFileChanger {
 public:
  CorpusFileChanger(const std::filesystem::path& file, CorpusTotals& totals)
      : file_(file), database_(OpenForWriting(file)), totals_(totals) {}

  void ChangeTable(const std::u16string& name) {
    table_ = database_->Table(name);
    tableName_ = Main::ToUtf8(name);
    rows_ = Scanned(*database_, table_);
    bool counted = false;
    for (size_t c = 0; c < table_->columns.size(); ++c) {
      const Column& column = table_->columns[c];
      if (column.type != ColumnType::Text || column.maxCharacters == 0) continue;
      if (std::none_of(table_->indexes.begin(), table_->indexes.end(),
                       [&](const Index& index) { return Covers(index, column.number); }))
        continue;
      SCOPED_TRACE(tableName_ + "." + Main::ToUtf8(column.name));
      try {
        database_->CheckText(*table_, c, u"a");
      } catch (const Main::Error& refusal) {
        ASSERT_EQ(refusal.Cause(), Main::ErrorCause::kFieldCannotChange) << refusal.what();
        ++totals_.fixedColumns;
        std::cout << "  not changeable: " << tableName_ << "." << Main::ToUtf8(column.name) << ": " << refusal.what()
                  << "\n";
        continue;
      }
      if (rows_.ids.empty()) {
        ++totals_.emptyColumns;
        continue;
      }
      if (!counted) ++totals_.tables;
      counted = true;
      ++totals_.columns;
      RefuseAnotherRowsKey(c);
      const std::optional<size_t> moved = MoveKey(c);
      ChangeCase(c, moved);
    }
  }

  // Closes the database, then checks what the changes left: index pages untouched by case
  // changes, every index matching its rows, and mdb-export showing exactly the changed cells.
  void Finish(const std::vector<std::vector<Oracle::CsvRecord>>& exportedBefore,
              const std::vector<std::string>& exportedTables) {
    database_->Close();
    {
      OpenDatabase reopened(file_, {});
      for (const uint32_t page : caseChangedPages_)
        EXPECT_EQ(reopened.Pages().Read(page).Type(), kDataPageType) << "page " << page;
    }
    EXPECT_EQ(IndexProblems(file_), std::vector<std::string>{});
    const auto after = Testing::ExportAll(file_);
    ASSERT_EQ(after.size(), exportedBefore.size());
    for (size_t t = 0; t < after.size(); ++t) {
      SCOPED_TRACE(exportedTables[t]);
      auto expected = exportedBefore[t];
      for (const auto& [place, cell] : changed_[exportedTables[t]]) {
        ASSERT_LT(place.first + 1, expected.size());
        auto& field = expected[place.first + 1].at(place.second);
        field = {cell.caseSwapped ? SwapCase(field.text) : cell.text, true};
      }
      auto actual = after[t];
      // mdbtools lists a moved row where it finds it, the engine in its place: records compared as sets.
      const auto byFields = [](const Oracle::CsvRecord& a, const Oracle::CsvRecord& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
          return std::tie(x.text, x.quoted) < std::tie(y.text, y.quoted);
        });
      };
      std::sort(expected.begin() + 1, expected.end(), byFields);
      std::sort(actual.begin() + 1, actual.end(), byFields);
      EXPECT_EQ(actual, expected);
    }
  }

 private:
  // Sets the cell, returning 0 or the number of the refusal, which must leave the file as it was
  // and must be one a single record may meet.
  long Attempt(size_t position, size_t column, const std::u16string& text) {
    database_->Flush();
    const auto before = ReadBytes(file_);
    try {
      database_->UpdateText(*table_, rows_.ids[position], column, text);
    } catch (const Main::Error& refusal) {
      lastRefusal_ = refusal.Description();
      database_->Flush();
      EXPECT_EQ(ReadBytes(file_), before) << "refused " << refusal.Number() << " yet wrote";
      EXPECT_NE(refusal.Cause(), Main::ErrorCause::kFieldCannotChange) << refusal.what();
      return refusal.Number();
    }
    ++totals_.updates;
    rows_.values[position][column] = Value::Text(text);
    EXPECT_EQ(database_->ReadRow(*table_, rows_.ids[position])[column], Value::Text(text));
    return 0;
  }

  // A refusal the changed record itself explains: a key a unique index holds (3022), a referring
  // key the referenced table lacks (3201), a key other rows refer to (3200); and the engine's own
  // refusal to cascade an update into referring rows.
  void CountRefusal(long number, const std::u16string& what) {
    ++totals_.refusals[number];
    if (number == JetErrorNumber::kDuplicateKey || number == JetErrorNumber::kRelatedRecordRequired ||
        number == JetErrorNumber::kRelatedRecordsExist)
      return;
    EXPECT_EQ(number, JetErrorNumber::kNotSupported) << Main::ToUtf8(what);
    EXPECT_NE(what.find(u"cascades updates"), std::u16string::npos) << Main::ToUtf8(what);
  }

  long AttemptCounted(size_t position, size_t column, const std::u16string& text) {
    const long number = Attempt(position, column, text);
    if (number != 0) CountRefusal(number, lastRefusal_);
    return number;
  }

  // Two rows that agree on the other columns of a unique index over `column` (all present) and
  // whose `column` keys differ: the second row's value given to the first must be refused.
  void RefuseAnotherRowsKey(size_t column) {
    if (rows_.ids.size() < 2) return;
    const uint16_t number = table_->columns[column].number;
    for (const Index& index : table_->indexes) {
      if (!(index.unique || index.primaryKey) || !Covers(index, number)) continue;
      std::map<std::vector<std::u16string>, std::vector<size_t>> groups;
      for (size_t r = 0; r < rows_.ids.size(); ++r) {
        std::vector<std::u16string> others;
        bool present = true;
        for (const IndexColumn& part : index.columns) {
          if (part.columnNumber == number) continue;
          const Value& value = rows_.values[r][static_cast<size_t>(table_->FindColumnNumbered(part.columnNumber))];
          present = present && !value.IsNull();
          if (present) others.push_back(value.ToText());
        }
        if (present) groups[others].push_back(r);
      }
      for (const auto& [others, members] : groups) {
        if (members.size() < 2) continue;
        const size_t target = members[0];
        const auto source = std::find_if(members.begin() + 1, members.end(),
                                          [&](size_t r) { return !rows_.values[r][column].IsNull(); });
        if (source == members.end()) continue;
        std::u16string text = SwapCase(rows_.values[*source][column].AsText());
        const size_t size = table_->columns[column].maxCharacters;
        text.append(std::min<size_t>(2, size > text.size() ? size - text.size() : 0), u' ');
        EXPECT_EQ(Attempt(target, column, text), JetErrorNumber::kDuplicateKey)
            << "row " << target << " given \"" << Main::ToUtf8(text) << "\" of row " << *source << " in "
            << Main::ToUtf8(index.name);
        ++totals_.duplicatesRefused;
        return;
      }
    }
  }

  // Moves one row's key to the end of the index and then to its front; the row is the first of
  // the first few that other rows do not refer to. Returns the row changed, if any.
  std::optional<size_t> MoveKey(size_t column) {
    const size_t size = std::min<size_t>(table_->columns[column].maxCharacters, 50);
    const std::u16string last(size, u'z');
    const std::u16string first = size >= 6 ? std::u16string(u"  0000") : std::u16string(size, u'0');
    for (size_t position = 0; position < std::min<size_t>(rows_.ids.size(), 4); ++position) {
      const long toLast = AttemptCounted(position, column, last);
      if (toLast == JetErrorNumber::kRelatedRecordsExist) continue;
      if (toLast == 0) Changed(position, column, {false, Main::ToUtf8(last)});
      if (AttemptCounted(position, column, first) == 0) Changed(position, column, {false, Main::ToUtf8(first)});
      return position;
    }
    return std::nullopt;
  }

  // Changes the case of a row's value (another row than `moved` where one has letters) and
  // records the pages written, which must all be data pages.
  void ChangeCase(size_t column, std::optional<size_t> moved) {
    std::optional<size_t> row;
    for (size_t r = 0; r < rows_.ids.size() && !row; ++r)
      if (r != moved && HasAsciiLetter(rows_.values[r][column])) row = r;
    if (!row && moved && HasAsciiLetter(rows_.values[*moved][column])) row = moved;
    if (!row) return;
    const bool original = row != moved;
    database_->Flush();
    const auto before = ReadBytes(file_);
    const std::u16string text = SwapCase(rows_.values[*row][column].AsText());
    ASSERT_EQ(AttemptCounted(*row, column, text), 0) << "case change of row " << *row;
    database_->Flush();
    const auto after = ReadBytes(file_);
    ASSERT_EQ(after.size(), before.size());
    const size_t pageSize = database_->Info().pageSize;
    size_t pages = 0;
    for (size_t offset = 0; offset < after.size(); offset += pageSize)
      if (!std::equal(before.begin() + offset, before.begin() + offset + pageSize, after.begin() + offset)) {
        caseChangedPages_.push_back(static_cast<uint32_t>(offset / pageSize));
        ++pages;
      }
    EXPECT_GE(pages, 1u);
    ++totals_.caseChanges;
    Changed(*row, column, {original, original ? std::string() : Main::ToUtf8(text)});
  }

  void Changed(size_t position, size_t column, ChangedCell cell) {
    changed_[tableName_][{position, column}] = std::move(cell);
  }

  std::filesystem::path file_;
  std::unique_ptr<Database> database_;
  CorpusTotals& totals_;
  std::shared_ptr<const TableDefinition> table_;
  std::string tableName_;
  ScannedRows rows_;
  ChangedCells changed_;
  std::vector<uint32_t> caseChangedPages_;
  std::u16string lastRefusal_;  // the description of the last refusal
};

TEST(IndexedCorpusUpdate, IndexedTextChangesOnEveryFileKeepEveryIndexRightAndChangeOnlyTheirCells) {
  QUORVANE_REQUIRE_CORPUS();
  QUORVANE_REQUIRE_MDBTOOLS();
  CorpusTotals totals;
  const auto scratch = Testing::ScratchDir();
  for (const auto& source : Testing::PlainCorpusFiles()) {
    if (Database::Open(source)->Info().hasPassword) continue;
    SCOPED_TRACE(source.string());
    const auto file = scratch / (std::to_string(totals.files) + "_" + source.filename().string());
    std::filesystem::copy_file(source, file);
    std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    ++totals.files;
    const auto exportedTables = Oracle::MdbUserTables(file);
    const auto exportedBefore = Testing::ExportAll(file);
    CorpusFileChanger changer(file, totals);
    for (const CatalogEntry& entry : Database::Open(file)->TablesRowset())
      if (entry.type == u"TABLE") changer.ChangeTable(entry.name);
    changer.Finish(exportedBefore, exportedTables);
    std::filesystem::remove(file);
  }
  std::cout << "files " << totals.files << ", tables " << totals.tables << ", indexed text columns changed "
            << totals.columns << " (" << totals.fixedColumns << " refused as a whole, " << totals.emptyColumns
            << " in empty tables), updates " << totals.updates << ", duplicates refused " << totals.duplicatesRefused
            << ", case-only changes " << totals.caseChanges << "\n";
  for (const auto& [number, count] : totals.refusals) std::cout << "  refused " << number << ": " << count << "\n";
  ::testing::Test::RecordProperty("files", static_cast<int>(totals.files));
  ::testing::Test::RecordProperty("columns", static_cast<int>(totals.columns));
  ::testing::Test::RecordProperty("updates", static_cast<int>(totals.updates));
  EXPECT_GT(totals.columns, 0u);
  EXPECT_GT(totals.duplicatesRefused, 0u);
  EXPECT_GT(totals.caseChanges, 0u);
}

}  // namespace
}  // namespace Jet
