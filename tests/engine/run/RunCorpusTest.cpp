// The run on copies of the real Access files: the first unindexed Text field of each file's first
// user table with its letters replaced, checked with mdb-export before and after; and the first
// indexed one cleaned with its indexes kept in step, the records whose cleaned key a unique index
// holds already reported and left as they were.
#include <gtest/gtest.h>

#include "common/Text.h"
#include "engine/transforms/Fundamental.h"
#include "jet/Database.h"
#include "tests/engine/run/RunFixture.h"
#include "tests/jet/CorpusFiles.h"
#include "tests/jet/oracle/MdbTools.h"
#include "tests/jet/write/IndexProblems.h"

namespace Engine::Testing {
namespace {

constexpr int kReplaceAlphabet = 11;

struct TextField {
  std::u16string table;
  std::u16string field;
};

// The first Text column (indexed or not, as asked) of the first user table that has one; nothing
// when the file has none.
std::optional<TextField> FirstTextField(const std::filesystem::path& file, bool wantIndexed) {
  const auto database = Jet::Database::Open(file);
  for (const Jet::CatalogEntry& entry : database->TablesRowset()) {
    if (entry.type != u"TABLE") continue;
    const auto table = database->Table(entry.name);
    for (const Jet::Column& column : table->columns) {
      if (column.type != Jet::ColumnType::Text) continue;
      bool indexed = false;
      for (const Jet::Index& index : table->indexes)
        for (const Jet::IndexColumn& part : index.columns) indexed |= part.columnNumber == column.number;
      if (indexed == wantIndexed) return TextField{table->name, column.name};
    }
  }
  return std::nullopt;
}

// The column's cells as mdb-export prints them.
std::vector<std::string> ExportedField(const std::filesystem::path& file, const TextField& field) {
  const auto records = Oracle::MdbExport(file, Main::ToUtf8(field.table));
  const auto& header = records.at(0);
  size_t column = 0;
  while (column < header.size() && header[column].text != Main::ToUtf8(field.field)) ++column;
  std::vector<std::string> cells;
  for (size_t i = 1; i < records.size(); ++i) cells.push_back(records[i].at(column).text);
  return cells;
}

class RunCorpusTest : public RunTest {
 protected:
  // A copy of the corpus file in the test's own folder.
  std::filesystem::path CopyOf(const std::filesystem::path& original) {
    const auto copy = Jet::Testing::ScratchDir() / original.filename();
    std::filesystem::copy_file(original, copy, std::filesystem::copy_options::overwrite_existing);
    std::filesystem::permissions(copy, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
    return copy;
  }

  void Clean(const TextField& field) {
    ShowTable(field.table, {field.field});
    MarkFields({field.field});
    ChooseOperation(kReplaceAlphabet);
    input.Answer(u"x");
    Start();
  }
};

TEST_F(RunCorpusTest, FirstTextFieldOfEveryFileReadsBackInMdbExport) {
  QUORVANE_REQUIRE_CORPUS();
  if (!Oracle::MdbToolsPresent()) GTEST_SKIP() << "mdbtools is not installed";
  int cleaned = 0;
  for (const auto& original : Jet::Testing::CorpusFiles()) {
    SCOPED_TRACE(original.string());
    std::optional<TextField> field;
    try {
      field = FirstTextField(original, false);
    } catch (const Main::Error&) {
      continue;  // a file the engine cannot open without more (a password, an encrypted .accdb)
    }
    if (!field) continue;
    const auto copy = CopyOf(original);
    UseDatabase(copy);
    const std::vector<std::string> before = ExportedField(copy, *field);
    reports.clear();
    messages.shown.clear();
    Clean(*field);
    EXPECT_TRUE(reports.empty()) << Main::ToUtf8(reports.empty() ? u"" : reports[0]);
    const std::vector<std::string> after = ExportedField(copy, *field);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
      const std::string expected = Main::ToUtf8(Fundamental::ReplaceAlphabet(Main::FromUtf8(before[i]), u"x"));
      EXPECT_EQ(after[i], expected) << "row " << i;
    }
    EXPECT_EQ(Messages().size(), 1u);
    ++cleaned;
  }
  EXPECT_GT(cleaned, 10);
}

TEST_F(RunCorpusTest, IndexedFieldIsCleanedWithItsIndexesKeptInStep) {
  QUORVANE_REQUIRE_CORPUS();
  int cleaned = 0;
  for (const auto& original : Jet::Testing::CorpusFiles()) {
    std::optional<TextField> field;
    try {
      field = FirstTextField(original, true);
    } catch (const Main::Error&) {
      continue;
    }
    if (!field) continue;
    SCOPED_TRACE(original.string());
    UseDatabase(CopyOf(original));
    const std::vector<Value> before = Stored(field->table, field->field);
    reports.clear();
    messages.shown.clear();
    Clean(*field);
    const std::vector<Value> after = Stored(field->table, field->field);
    ASSERT_EQ(after.size(), before.size());
    if (Messages().size() == 2u) {
      // A field whose index the engine cannot key (another sort order) is named once, untouched.
      EXPECT_NE(Messages()[0].find(u"sort order"), std::u16string::npos) << Main::ToUtf8(Messages()[0]);
      EXPECT_EQ(after, before);
      continue;
    }
    EXPECT_EQ(Messages(), std::vector<std::u16string>{u"Done."});
    // Every record is cleaned, or reported and left as it was because its cleaned key is taken.
    size_t left = 0;
    for (size_t i = 0; i < before.size(); ++i) {
      if (before[i].IsNull()) continue;
      const std::u16string expected = Fundamental::ReplaceAlphabet(before[i].AsText(), u"x");
      if (after[i].AsText() == expected) continue;
      EXPECT_EQ(after[i].AsText(), before[i].AsText()) << "row " << i;
      ++left;
    }
    EXPECT_EQ(reports.size(), left);
    for (const std::u16string& report : reports)
      EXPECT_NE(report.find(u"would create duplicate values"), std::u16string::npos) << Main::ToUtf8(report);
    EXPECT_EQ(Jet::Testing::IndexProblems(file), std::vector<std::string>{});
    ++cleaned;
  }
  EXPECT_GT(cleaned, 10);
}

}  // namespace
}  // namespace Engine::Testing
