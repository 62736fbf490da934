#include "database/LoadTableList.h"

#include <gtest/gtest.h>

#include "jet/Creator.h"
#include "tests/support/DatabaseFiles.h"
#include "tests/support/ScriptedControls.h"

namespace Access1 {
namespace {

struct Boxes : DatabaseChoice {
  std::u16string path, password;
  std::u16string DatabasePath() const override { return path; }
  std::u16string DatabasePassword() const override { return password; }
};

std::vector<std::u16string> Entries(const Ui::ListView& list) {
  std::vector<std::u16string> entries;
  for (int i = 1; i <= list.Count(); ++i) entries.push_back(list.EntryText(i));
  return entries;
}

TEST(LoadTableList, ReplacesTheEntriesWithTheTablesAndSelectsTheFirst) {
  const auto file = Jet::Testing::ScratchDir() / "two.mdb";
  auto db = Jet::CreateDatabase(file, Jet::FileFormat::Jet4);
  db.AddTable({u"Orders", {{u"Id", Jet::FieldType::LongInteger}}});
  db.AddTable({u"Customers", {{u"Id", Jet::FieldType::LongInteger}}});
  db.Close();
  Boxes boxes;
  boxes.path = Testing::PathText(file);
  Testing::ScriptedListView tables;
  tables.AddEntry(u"left over");
  tables.Clear();
  LoadTableList(boxes, tables);
  EXPECT_EQ(Entries(tables), (std::vector<std::u16string>{u"Customers", u"Orders"}));
  EXPECT_EQ(tables.CurrentEntry(), 1);
}

TEST(LoadTableList, MissingFileLeavesTheListAsItWas) {
  Boxes boxes;
  boxes.path = u"/nonexistent/quorvane.mdb";
  Testing::ScriptedListView tables;
  tables.AddEntry(u"Earlier");
  LoadTableList(boxes, tables);
  EXPECT_EQ(Entries(tables), std::vector<std::u16string>{u"Earlier"});
}

TEST(LoadTableList, DatabaseWithoutUserTablesEmptiesTheList) {
  const auto file = Jet::Testing::ScratchDir() / "none.accdb";
  Jet::CreateDatabase(file, Jet::FileFormat::Ace12).Close();
  Boxes boxes;
  boxes.path = Testing::PathText(file);
  Testing::ScriptedListView tables;
  tables.AddEntry(u"Earlier");
  LoadTableList(boxes, tables);
  EXPECT_EQ(tables.Count(), 0);
}

}  // namespace
}  // namespace Access1
