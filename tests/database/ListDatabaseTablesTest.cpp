#include "database/ListDatabaseTables.h"

#include <gtest/gtest.h>

#include "common/Error.h"
#include "common/ui/EventPump.h"
#include "tests/database/access/CorpusFiles.h"

namespace Access1 {
namespace {

struct Boxes : DatabaseChoice {
  std::u16string path, password;
  std::u16string DatabasePath() const override { return path; }
  std::u16string DatabasePassword() const override { return password; }
};

TEST(ListDatabaseTables, NoListForAPathThatNamesNoFile) {
  Boxes boxes;
  boxes.path = u"/nonexistent/quorvane/none.mdb";
  EXPECT_EQ(ListDatabaseTables(boxes.path, boxes), std::nullopt);
  EXPECT_EQ(ListDatabaseTables(u"", boxes), std::nullopt);
}

TEST(ListDatabaseTables, UserTablesOnlyInCatalogueOrderPumpingPerRow) {
  Boxes boxes;
  boxes.path = Testing::CorpusFile("V2007/linkerTestV2007.accdb");
  if (boxes.path.empty()) GTEST_SKIP() << "the corpus is absent";
  int pumps = 0;
  const auto previous = Ui::InstallEventPump({[&] { ++pumps; }, nullptr});
  const auto tables = ListDatabaseTables(boxes.path, boxes);
  Ui::InstallEventPump(previous);
  ASSERT_TRUE(tables.has_value());
  // The linked tables of this file are left out; mdb-tables lists the same user tables.
  EXPECT_EQ(*tables, (std::vector<std::u16string>{u"Table1"}));
  EXPECT_GT(pumps, static_cast<int>(tables->size()));  // once per catalogue row, system rows too
}

TEST(ListDatabaseTables, DatabaseWithoutUserTablesGivesAnEmptyList) {
  Boxes boxes;
  boxes.path = Testing::CorpusFile("emptyJet4.mdb");
  if (boxes.path.empty()) GTEST_SKIP() << "the corpus is absent";
  const auto tables = ListDatabaseTables(boxes.path, boxes);
  ASSERT_TRUE(tables.has_value());
  EXPECT_TRUE(tables->empty());
}

TEST(ListDatabaseTables, AFileThatIsNotADatabaseFailsToTheCaller) {
  Boxes boxes;
  boxes.path = Testing::CorpusFile("README.md");
  if (boxes.path.empty()) GTEST_SKIP() << "the corpus is absent";
  try {
    ListDatabaseTables(boxes.path, boxes);
    ADD_FAILURE();
  } catch (const Main::Error& e) {
    EXPECT_NE(e.Description().find(u"Unrecognized database format"), std::u16string::npos);
  }
}

}  // namespace
}  // namespace Access1
