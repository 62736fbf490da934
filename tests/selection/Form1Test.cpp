#include "selection/Form1.h"

#include <QStyle>

#include "common/ApplicationTitle.h"
#include "common/ErrorReport.h"
#include "common/ui/qt/Skin.h"
#include "common/ui/qt/QtText.h"
#include "tests/support/WindowTesting.h"

// The database selection window, driven for real on the offscreen platform.
namespace Windows {
namespace {

using Testing::Entries;
using Testing::Names;
using Key = Main::SettingsStore;

class SelectionWindow : public Testing::WindowTest {
 protected:
  std::u16string Stored(std::u16string_view key) const { return settings.Read(key, u"<none>"); }
  const std::u16string nextHandler = Main::HandlerProcedure(u"Form1", u"PushButton2_Click");
};

TEST_F(SelectionWindow, FirstRunShowsEmptyBoxesAndStaysOnTheSelection) {
  Form1 form(services);
  form.Form_Load();
  EXPECT_EQ(form.DatabasePath(), u"");
  EXPECT_EQ(form.DatabasePassword(), u"");
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Quorvane"));
  EXPECT_FALSE(form.windowIcon().isNull());
  EXPECT_EQ(Main::ApplicationTitle(), u"Quorvane");
  EXPECT_EQ(form.LoadedMainWindow(), nullptr);
  EXPECT_EQ(programEnds, 0);
  EXPECT_TRUE(reports.empty());
  EXPECT_TRUE(messageBox.shown.empty());
}

TEST_F(SelectionWindow, StoredPathOfAnExistingDatabaseMovesStraightOnToTheMainWindow) {
  const auto path = MakePeople("people.mdb", 3);
  settings.Write(Key::kDatabasePathKey, path);
  settings.Write(Key::kPasswordKey, u"");
  Form1 form(services);
  form.show();
  form.Form_Load();
  ASSERT_NE(form.LoadedMainWindow(), nullptr);
  Form2& mainWindow = *form.LoadedMainWindow();
  EXPECT_TRUE(mainWindow.isVisible());
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(Entries(mainWindow.ListView1()), std::vector<std::u16string>{u"People"});
  EXPECT_EQ(mainWindow.ListView1().CurrentEntry(), 1);
  EXPECT_EQ(mainWindow.ListView2().Count(), 0);  // the fields come with a click on a table
  EXPECT_TRUE(reports.empty());
}

TEST_F(SelectionWindow, StoredPathThatIsGoneFillsTheBoxesAndStays) {
  const std::u16string gone = Testing::PathText(scratch / "gone.mdb");
  settings.Write(Key::kDatabasePathKey, gone);
  settings.Write(Key::kPasswordKey, u"secret");
  Form1 form(services);
  form.Form_Load();
  EXPECT_EQ(form.DatabasePath(), gone);
  EXPECT_EQ(form.DatabasePassword(), u"secret");
  EXPECT_EQ(form.LoadedMainWindow(), nullptr);
  EXPECT_EQ(Stored(Key::kDatabasePathKey), gone);  // written back unchanged
  EXPECT_TRUE(reports.empty());
}

TEST_F(SelectionWindow, BrowseAsksForAnAccessDatabaseAndStoresTheChoiceAtOnce) {
  Form1 form(services);
  form.Form_Load();
  form.Text1().setText(QStringLiteral("/earlier/choice.mdb"));

  fileDialog.Answer(u"");  // cancelled
  form.PushButton1().click();
  EXPECT_EQ(form.DatabasePath(), u"/earlier/choice.mdb");
  ASSERT_EQ(fileDialog.shown.size(), 1u);
  EXPECT_EQ(fileDialog.shown[0].title, u"Select Access Database");
  EXPECT_EQ(fileDialog.shown[0].filter,
            u"All Microsoft Databases (*.mdb,*.accdb)|*.*db|Microsoft Database (*.mdb)|*.mdb|"
            u"Microsoft 2007 Database (*.accdb)|*.accdb|");
  EXPECT_EQ(fileDialog.shown[0].flags, 0x280001);

  fileDialog.Answer(u"/data/orders.accdb");
  form.PushButton1().click();
  EXPECT_EQ(form.DatabasePath(), u"/data/orders.accdb");
  EXPECT_EQ(Stored(Key::kDatabasePathKey), u"/data/orders.accdb");
  EXPECT_EQ(form.LoadedMainWindow(), nullptr);  // nothing opens before "Next >"
  EXPECT_TRUE(reports.empty());
}

TEST_F(SelectionWindow, SampleButtonNamesTheSampleBesideTheProgramAndKeepsThePassword) {
  Form1 form(services);
  form.Form_Load();
  form.Text2().setText(QStringLiteral("pw"));
  form.PushButton3().click();
  const std::u16string sample = Ui::ProgramFolder() + u"/Samples/sample.mdb";
  EXPECT_EQ(form.DatabasePath(), sample);
  EXPECT_EQ(Stored(Key::kDatabasePathKey), sample);
  EXPECT_EQ(form.DatabasePassword(), u"pw");
  EXPECT_EQ(form.LoadedMainWindow(), nullptr);
}

TEST_F(SelectionWindow, EveryKeystrokeInEitherBoxIsStored) {
  Form1 form(services);
  form.Form_Load();
  QTest::keyClicks(&form.Text2(), QStringLiteral("ab"));
  EXPECT_EQ(Stored(Key::kPasswordKey), u"ab");
  QTest::keyClick(&form.Text2(), Qt::Key_Backspace);
  EXPECT_EQ(Stored(Key::kPasswordKey), u"a");
  QTest::keyClicks(&form.Text1(), QStringLiteral("/x.mdb"));
  EXPECT_EQ(Stored(Key::kDatabasePathKey), u"/x.mdb");
  // A password typed and never used is there at the next start.
  Form1 next(services);
  next.Form_Load();
  EXPECT_EQ(next.DatabasePassword(), u"a");
}

TEST_F(SelectionWindow, NextWithNoFileAtThePathDoesNothingAndSaysNothing) {
  Form1 form(services);
  form.show();
  form.Form_Load();
  form.PushButton2().click();  // empty path
  form.Text1().setText(Ui::ToQString(Testing::PathText(scratch / "missing.mdb")));
  form.PushButton2().click();
  EXPECT_EQ(form.LoadedMainWindow(), nullptr);
  EXPECT_TRUE(form.isVisible());
  EXPECT_TRUE(reports.empty());
  EXPECT_TRUE(messageBox.shown.empty());
}

TEST_F(SelectionWindow, NextWithAWrongPasswordReportsOnceAtLine100AndStays) {
  const auto path = MakeDatabase("locked.mdb", {PeopleTable()}, {}, u"right");
  Form1 form(services);
  form.show();
  form.Form_Load();
  form.Text1().setText(Ui::ToQString(path));
  form.Text2().setText(QStringLiteral("wrong"));
  form.PushButton2().click();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_TRUE(Names(reports[0], nextHandler, 100)) << Main::ToUtf8(reports[0]);
  EXPECT_EQ(form.LoadedMainWindow(), nullptr);
  EXPECT_TRUE(form.isVisible());

  form.Text2().setText(QStringLiteral("right"));
  form.PushButton2().click();
  ASSERT_NE(form.LoadedMainWindow(), nullptr);
  EXPECT_EQ(Entries(form.LoadedMainWindow()->ListView1()), std::vector<std::u16string>{u"People"});
  EXPECT_EQ(reports.size(), 1u);
}

TEST_F(SelectionWindow, NextOnADatabaseWithoutUserTablesOpensAnEmptyMainWindow) {
  const auto path = MakeDatabase("empty.mdb", {});
  Form1 form(services);
  form.show();
  form.Form_Load();
  form.Text1().setText(Ui::ToQString(path));
  form.PushButton2().click();
  ASSERT_NE(form.LoadedMainWindow(), nullptr);
  EXPECT_TRUE(form.LoadedMainWindow()->isVisible());
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.LoadedMainWindow()->ListView1().Count(), 0);
  EXPECT_TRUE(reports.empty());
}

TEST_F(SelectionWindow, TabVisitsPathBrowsePasswordSampleNextAndEnteringABoxSelectsItsText) {
  Form1 form(services);
  form.Form_Load();
  form.Text1().setText(QStringLiteral("/some/path.mdb"));
  form.Text2().setText(QStringLiteral("secret"));
  form.show();
  QApplication::setActiveWindow(&form);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  form.Text1().setFocus(Qt::MouseFocusReason);
  EXPECT_EQ(form.Text1().selectedText(), QStringLiteral("/some/path.mdb"));
  const std::vector<QWidget*> order = {&form.PushButton1(), &form.Text2(), &form.PushButton3(), &form.PushButton2(),
                                       &form.Text1()};
  for (QWidget* expected : order) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), expected);
  }
  form.Text2().setFocus(Qt::MouseFocusReason);
  EXPECT_EQ(form.Text2().selectedText(), QStringLiteral("secret"));
}

TEST_F(SelectionWindow, LayoutFontsAndPasswordMaskAreAsDesigned) {
  Form1 form(services);
  EXPECT_EQ(form.size(), QSize(536, 139));
  EXPECT_EQ(form.Frame1().geometry(), QRect(8, 8, 520, 89));
  EXPECT_EQ(form.Text1().geometry(), QRect(152, 20, 313, 23));
  EXPECT_EQ(form.Text2().geometry(), QRect(152, 53, 351, 23));
  EXPECT_EQ(form.PushButton2().geometry(), QRect(272, 105, 256, 27));
  EXPECT_EQ(form.Text1().parentWidget(), &form.Frame1());
  EXPECT_DOUBLE_EQ(form.PushButton3().font().pointSizeF(), 11.25);
  EXPECT_TRUE(form.PushButton3().font().bold());
  EXPECT_EQ(form.Label5().text(), QStringLiteral("MDB or ACCDB File:"));
  EXPECT_EQ(form.lblPassword().text(), QStringLiteral("Password (if required):"));
  EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_EQ(form.Text2().echoMode(), QLineEdit::Password);
  EXPECT_EQ(form.Text2().style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, &form.Text2()), '*');
}

TEST_F(SelectionWindow, PointerIsTheHandOverButtonsAndTheArrowElsewhereButNeverReplacesBusy) {
  Form1 form(services);
  form.show();
  Testing::MoveMouseOver(form.PushButton3());
  EXPECT_EQ(form.Pointer().Pointer(), Ui::kPointerCustom);
  Testing::MoveMouseOver(form.Label5());  // labels leave it as it is
  EXPECT_EQ(form.Pointer().Pointer(), Ui::kPointerCustom);
  Testing::MoveMouseOver(form.Text1());
  EXPECT_EQ(form.Pointer().Pointer(), Ui::kPointerDefault);
  form.Pointer().SetPointer(Ui::kPointerBusy);
  Testing::MoveMouseOver(form.PushButton1());
  EXPECT_EQ(form.Pointer().Pointer(), Ui::kPointerBusy);
  form.Pointer().SetPointer(Ui::kPointerDefault);
}

TEST_F(SelectionWindow, ClosingEitherWindowEndsTheProgram) {
  const auto path = MakePeople("people.mdb", 1);
  Form1 form(services);
  form.show();
  form.Form_Load();
  form.close();
  EXPECT_EQ(programEnds, 1);
  form.Text1().setText(Ui::ToQString(path));
  form.PushButton2().click();
  ASSERT_NE(form.LoadedMainWindow(), nullptr);
  form.LoadedMainWindow()->close();  // the selection window is hidden
  EXPECT_EQ(programEnds, 2);
}

}  // namespace
}  // namespace Windows
