#include <QTest>

#include "common/FileExists.h"
#include "database/LoadTableList.h"
#include "jet/Database.h"
#include "mainwindow/CleaningRunStarter.h"
#include "mainwindow/Form2.h"
#include "tests/support/WindowTesting.h"

// "Start Removing" in the real main window runs the cleaning run over the window's own lists.
namespace Windows {
namespace {

struct Boxes : Access1::DatabaseChoice {
  std::u16string path;
  std::u16string DatabasePath() const override { return path; }
  std::u16string DatabasePassword() const override { return {}; }
};

class StartRemoving : public Testing::WindowTest {};

TEST_F(StartRemoving, CleansTheMarkedFieldAndRefillsThePreview) {
  Boxes boxes;
  boxes.path = MakeDatabase("spaces.mdb", {PeopleTable()},
                            {{u"People",
                              {{Main::Value::Integer(1), Main::Value::Text(u"  Ann   Lee "), Main::Value::Null()},
                               {Main::Value::Integer(2), Main::Value::Text(u"O'Brien  Jr"), Main::Value::Null()}}}});
  Testing::ScriptedInputBox inputBox;
  services.startRemoving = CleaningRunStarter(inputBox, messageBox, boxes);
  Form2 window(boxes, services, [] {});
  window.Form_Load();
  Access1::LoadTableList(boxes, window.ListView1());
  window.show();

  const auto click = [](Ui::QtListView& list, int index) {
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier,
                      list.visualItemRect(list.topLevelItem(index - 1)).center());
  };
  click(window.ListView1(), 1);
  click(window.ListView2(), 2);  // Name: marked and previewed
  window.Combo1().SetSelectedIndex(4);  // single spaces between words
  window.PushButton2().click();

  EXPECT_TRUE(reports.empty());
  ASSERT_FALSE(messageBox.shown.empty());
  EXPECT_EQ(messageBox.shown.back().prompt, u"Done.");
  EXPECT_EQ(Testing::Entries(window.ListView3()), (std::vector<std::u16string>{u"Ann Lee", u"O'Brien Jr"}));
  EXPECT_EQ(window.ProgressBar1().Value(), 0.0);

  const auto db = Jet::Database::Open(Main::PathFromText(boxes.path));
  const auto cursor = db->Scan(db->Table(u"People"));
  std::vector<std::u16string> names;
  while (cursor->Next()) names.push_back(cursor->Get(1).ToText());
  EXPECT_EQ(names, (std::vector<std::u16string>{u"Ann Lee", u"O'Brien Jr"}));
}

}  // namespace
}  // namespace Windows
