#include <QTimer>

#include "tests/mainwindow/RunWindowFixture.h"

// The table and fields on screen are the ones the cleaning run cleans: chosen with the mouse or
// the keyboard, and kept while a run works.
namespace Windows {
namespace {

using Testing::Entries;
using Testing::StoredTexts;

class ListChoice : public RunWindowTest {};

TEST_F(ListChoice, ATableChosenWithTheKeyboardIsListedPreviewedAndCleaned) {
  MakeTwoTables(2);
  Form2& window = Open();
  Click(window.ListView1(), 1);
  ASSERT_EQ(Entries(window.ListView2()), (std::vector<std::u16string>{u"Code", u"Name"}));

  window.ListView1().setFocus();
  QTest::keyClick(&window.ListView1(), Qt::Key_Down);
  EXPECT_EQ(window.ListView1().CurrentEntryText(), u"Beta");
  EXPECT_EQ(Entries(window.ListView2()), (std::vector<std::u16string>{u"Ref", u"Title"}));
  EXPECT_EQ(Entries(window.ListView3()), (std::vector<std::u16string>{u"B 1", u"B 2"}));

  window.ListView2().setFocus();
  QTest::keyClick(&window.ListView2(), Qt::Key_Down);
  EXPECT_EQ(Entries(window.ListView3()), (std::vector<std::u16string>{u"beta title 1", u"beta title 2"}));

  window.PushButton4().click();  // Select All Fields
  window.Combo1().SetSelectedIndex(0);  // Remove All Spaces
  window.PushButton2().click();
  EXPECT_TRUE(reports.empty());
  ASSERT_FALSE(messageBox.shown.empty());
  EXPECT_EQ(messageBox.shown.back().prompt, u"Done.");
  EXPECT_EQ(StoredTexts(boxes.path, u"Beta", 0), (std::vector<std::u16string>{u"B1", u"B2"}));
  EXPECT_EQ(StoredTexts(boxes.path, u"Beta", 1), (std::vector<std::u16string>{u"betatitle1", u"betatitle2"}));
  EXPECT_EQ(StoredTexts(boxes.path, u"Alpha", 0), (std::vector<std::u16string>{u"A 1", u"A 2"}));
  EXPECT_EQ(StoredTexts(boxes.path, u"Alpha", 1), (std::vector<std::u16string>{u"alpha name 1", u"alpha name 2"}));
}

// Clicks and keys that reach the lists while the run yields (it pumps events for every record)
// change neither the lists nor what the run cleans, and report nothing.
TEST_F(ListChoice, ClicksAndKeysInTheListsDuringARunAreIgnored) {
  MakeTwoTables(1200);
  Form2& window = Open();
  Click(window.ListView1(), 1);
  Click(window.ListView2(), 2);  // Name only
  window.Combo1().SetSelectedIndex(0);
  bool clickedDuringRun = false;
  bool listsClosedDuringRun = false;
  QTimer::singleShot(0, [&] {
    clickedDuringRun = window.RunInProgress();
    listsClosedDuringRun = !window.ListView1().isEnabled() && !window.ListView2().isEnabled();
    Click(window.ListView1(), 2);
    window.ListView2().setFocus();
    QTest::keyClick(&window.ListView2(), Qt::Key_Up);
    Click(window.ListView2(), 1);
    window.ListView1_Click();  // also when the program itself would call the handlers
    window.ListView2_Click();
    window.PushButton2().click();  // a second start: ignored
  });
  window.PushButton2().click();

  EXPECT_TRUE(clickedDuringRun);
  EXPECT_TRUE(listsClosedDuringRun);
  EXPECT_TRUE(reports.empty());
  ASSERT_EQ(messageBox.shown.size(), 1u);
  EXPECT_EQ(messageBox.shown.back().prompt, u"Done.");
  EXPECT_EQ(window.ListView1().CurrentEntryText(), u"Alpha");
  EXPECT_EQ(Entries(window.ListView2()), (std::vector<std::u16string>{u"Code", u"Name"}));
  EXPECT_EQ(window.ListView2().CurrentEntry(), 2);
  EXPECT_TRUE(window.ListView1().isEnabled());
  EXPECT_TRUE(window.ListView2().isEnabled());
  const auto names = StoredTexts(boxes.path, u"Alpha", 1);
  ASSERT_EQ(names.size(), 1200u);
  EXPECT_EQ(names.front(), u"alphaname1");
  EXPECT_EQ(names.back(), u"alphaname1200");
  EXPECT_EQ(StoredTexts(boxes.path, u"Alpha", 0).front(), u"A 1");
  EXPECT_EQ(StoredTexts(boxes.path, u"Beta", 1).front(), u"beta title 1");
  EXPECT_EQ(Entries(window.ListView3()).front(), u"alphaname1");  // the refill shows the cleaned field
}

}  // namespace
}  // namespace Windows
