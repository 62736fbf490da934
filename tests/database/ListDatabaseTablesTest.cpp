#include "database/ListDatabaseTables.h"

#include <gtest/gtest.h>

#include "common/Error.h"
#include "common/ui/EventPump.h"
#include "jet/Creator.h"
#include "tests/support/DatabaseFiles.h"

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

// A database with two user tables, a saved query and a linked table, as the creator makes it.
std::filesystem::path MakeDatabase(const std::filesystem::path& folder, Jet::FileFormat format,
                                   std::u16string password = {}) {
  const auto file = folder / (format == Jet::FileFormat::Jet4 ? "listing.mdb" : "listing.accdb");
  Jet::CreateOptions options;
  options.password = std::move(password);
  auto db = Jet::CreateDatabase(file, format, options);
  db.AddTable({u"Zebra", {{u"Name", Jet::FieldType::Text, 50}}});
  db.AddTable({u"alpha", {{u"Id", Jet::FieldType::AutoNumber}}});
  db.AddSelectQuery({u"Names", u"Zebra", {u"Name"}});
  db.AddLinkedTable({u"Linked", u"/elsewhere/other.mdb", u"Remote"});
  db.Close();
  return file;
}

TEST(ListDatabaseTables, GeneratedDatabasesListTheirUserTablesOnly) {
  for (const auto format : {Jet::FileFormat::Jet4, Jet::FileFormat::Ace12}) {
    Boxes boxes;
    boxes.path = Testing::PathText(MakeDatabase(Jet::Testing::ScratchDir(), format));
    const auto tables = ListDatabaseTables(boxes.path, boxes);
    ASSERT_TRUE(tables.has_value());
    // Catalogue order: by name, ignoring case; the query, the link and the system tables left out.
    EXPECT_EQ(*tables, (std::vector<std::u16string>{u"alpha", u"Zebra"}));
  }
}

TEST(ListDatabaseTables, WrongOrMissingPasswordFailsWithTheEnginesMessage) {
  Boxes boxes;
  boxes.path = Testing::PathText(MakeDatabase(Jet::Testing::ScratchDir(), Jet::FileFormat::Jet4, u"s3cret"));
  for (const std::u16string wrong : {u"", u"S3CRET", u"s3cret "}) {
    boxes.password = wrong;
    try {
      ListDatabaseTables(boxes.path, boxes);
      ADD_FAILURE() << "opened with a wrong password";
    } catch (const Main::Error& e) {
      EXPECT_EQ(e.Description(), u"Not a valid password.");
    }
  }
  boxes.password = u"s3cret";
  EXPECT_EQ(ListDatabaseTables(boxes.path, boxes)->size(), 2u);
}

}  // namespace
}  // namespace Access1
