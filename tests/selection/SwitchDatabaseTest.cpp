#include "selection/Form1.h"

#include "common/ui/qt/QtText.h"
#include "tests/support/WindowTesting.h"

// Going back and forth between the two windows and the databases.
namespace Windows {
namespace {

using Testing::Entries;

class SwitchDatabase : public Testing::WindowTest {};

TEST_F(SwitchDatabase, SwitchAndBackListsTheOtherDatabaseWithFieldsAndPreviewCleared) {
  const auto first = MakePeople("people.mdb", 2);
  const auto second = MakeDatabase("shop.mdb", {{u"Orders", {{u"Number", Jet::FieldType::LongInteger}}},
                                                {u"Customers", {{u"Name", Jet::FieldType::Text, 40}}}});
  Form1 selection(services);
  selection.show();
  selection.Form_Load();
  selection.Text1().setText(Ui::ToQString(first));
  selection.PushButton2().click();
  Form2& mainWindow = selection.MainWindow();
  mainWindow.ListView1_Click();
  ASSERT_EQ(mainWindow.ListView2().Count(), 3);
  mainWindow.Combo1().SetSelectedIndex(4);

  mainWindow.PushButton1().click();
  EXPECT_TRUE(selection.isVisible());
  EXPECT_FALSE(mainWindow.isVisible());
  EXPECT_EQ(selection.DatabasePath(), first);  // the boxes as they were left

  selection.Text1().setText(Ui::ToQString(second));
  selection.PushButton2().click();
  EXPECT_TRUE(mainWindow.isVisible());
  EXPECT_FALSE(selection.isVisible());
  EXPECT_EQ(Entries(mainWindow.ListView1()), (std::vector<std::u16string>{u"Customers", u"Orders"}));
  EXPECT_EQ(mainWindow.ListView1().CurrentEntry(), 1);
  EXPECT_EQ(mainWindow.ListView2().Count(), 0);
  EXPECT_EQ(mainWindow.ListView3().Count(), 0);
  EXPECT_EQ(mainWindow.Combo1().SelectedIndex(), 4);  // the operation survives the switch
  mainWindow.ListView1_Click();
  EXPECT_EQ(Entries(mainWindow.ListView2()), std::vector<std::u16string>{u"Name"});
  EXPECT_TRUE(reports.empty());
}

}  // namespace
}  // namespace Windows
