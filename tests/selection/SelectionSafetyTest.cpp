#include <QTest>
#include <fstream>

#include "common/ApplicationTitle.h"
#include "common/ui/qt/QtText.h"
#include "database/access/Connection.h"
#include "selection/Form1.h"
#include "tests/support/WindowTesting.h"

// What the selection window does when the world around it fails: a settings store that cannot be
// written, a database whose tables cannot be listed.
namespace Windows {
namespace {

using Testing::Entries;
using Testing::Names;

class SelectionSafety : public Testing::WindowTest {};

// Typing and choosing go on as usual; the user hears of the store once, with its file and the
// reason, and nothing typed is lost.
TEST_F(SelectionSafety, ASettingsStoreThatCannotBeWrittenIsToldOnceAndTheProgramGoesOn) {
  std::ofstream(scratch / "not-a-folder").put('x');
  const auto settingsFile = scratch / "not-a-folder" / "Quorvane.conf";
  Main::SettingsStore broken = Main::SettingsStore::AtFile(settingsFile);
  WindowServices brokenServices{broken, messageBox, fileDialog, urlOpener, [this] { ++programEnds; }};
  const auto path = MakePeople("people.mdb", 2);

  Form1 form(brokenServices);
  form.show();
  form.Form_Load();
  form.Text1().setFocus();
  QTest::keyClicks(&form.Text1(), Ui::ToQString(path));
  ASSERT_EQ(messageBox.shown.size(), 1u);
  const std::u16string& told = messageBox.shown[0].prompt;
  EXPECT_NE(told.find(Testing::PathText(settingsFile)), std::u16string::npos);
  EXPECT_NE(told.find(u"cannot be made"), std::u16string::npos);
  EXPECT_EQ(messageBox.shown[0].title, Main::ApplicationTitle());
  EXPECT_EQ(form.DatabasePath(), path);

  QTest::keyClicks(&form.Text2(), QStringLiteral("secret"));
  EXPECT_EQ(form.DatabasePassword(), u"secret");
  form.PushButton2().click();
  Form2& mainWindow = form.MainWindow();
  mainWindow.Combo1().SetSelectedIndex(7);
  EXPECT_EQ(mainWindow.Combo1().SelectedIndex(), 7);
  EXPECT_EQ(messageBox.shown.size(), 1u);
  EXPECT_TRUE(mainWindow.isVisible());
  EXPECT_EQ(programEnds, 0);
  EXPECT_TRUE(reports.empty());
}

// Counts the connections made and refuses the one with the given number.
struct FailingNthConnection {
  int refused;
  int made = 0;
  std::unique_ptr<Access::Connection> operator()() {
    if (++made == refused) throw Main::Error(3706, std::u16string(u"Provider cannot be found."));
    return std::make_unique<Access::Connection>();
  }
};

TEST_F(SelectionSafety, NextOnADatabaseWhoseListingFailsLeavesNoOtherDatabasesListsOnScreen) {
  const auto first = MakePeople("people.mdb", 3);
  const auto second = MakeDatabase("shop.mdb", {{u"Orders", {{u"Number", Jet::FieldType::LongInteger}}}});
  Form1 form(services);
  form.show();
  form.Form_Load();
  form.Text1().setText(Ui::ToQString(first));
  form.PushButton2().click();
  Form2& mainWindow = form.MainWindow();
  mainWindow.ListView1_Click();
  mainWindow.PushButton4().click();
  ASSERT_EQ(mainWindow.ListView2().Count(), 3);
  ASSERT_EQ(mainWindow.ListView3().Count(), 3);
  mainWindow.PushButton1().click();

  form.Text1().setText(Ui::ToQString(second));
  auto previous = Access::InstallConnectionFactory(FailingNthConnection{2});  // step 100 opens, step 106 fails
  form.PushButton2().click();
  Access::InstallConnectionFactory(std::move(previous));
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_TRUE(Names(reports[0], Main::HandlerProcedure(u"Form1", u"PushButton2_Click"), 106));
  EXPECT_EQ(mainWindow.ListView1().Count(), 0);
  EXPECT_EQ(mainWindow.ListView2().Count(), 0);
  EXPECT_EQ(mainWindow.ListView3().Count(), 0);
  EXPECT_TRUE(mainWindow.isVisible());  // the handler goes on after the report
}

}  // namespace
}  // namespace Windows
