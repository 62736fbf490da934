#include "mainwindow/Form2.h"

#include <QHeaderView>

#include "common/ApplicationTitle.h"
#include "common/Config.h"
#include "common/FileExists.h"
#include "common/ui/qt/QtText.h"
#include "common/ErrorReport.h"
#include "database/LoadTableList.h"
#include "engine/OperationCatalogue.h"
#include "tests/support/WindowTesting.h"

// The main window, driven for real on the offscreen platform over databases made for each test.
namespace Windows {
namespace {

using Testing::Entries;
using Testing::Names;

struct Boxes : Access1::DatabaseChoice {
  std::u16string path, password;
  std::u16string DatabasePath() const override { return path; }
  std::u16string DatabasePassword() const override { return password; }
};

class MainWindow : public Testing::WindowTest {
 protected:
  // The main window over `path`, loaded and showing the tables as the selection window leaves it.
  Form2& Open(const std::u16string& path) {
    boxes.path = path;
    form = std::make_unique<Form2>(boxes, services, [this] { ++selectionShown; });
    form->Form_Load();
    Access1::LoadTableList(boxes, form->ListView1());
    form->show();
    return *form;
  }

  static void Click(Ui::QtListView& list, int index, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QRect entry = list.visualItemRect(list.topLevelItem(index - 1));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, modifiers, entry.center());
  }

  std::u16string OperationStored() const { return settings.Read(Main::SettingsStore::kOperationKey, u"<none>"); }

  Boxes boxes;
  std::unique_ptr<Form2> form;
  int selectionShown = 0;
  const std::u16string loadHandler = Main::HandlerProcedure(u"Form2", u"Form_Load");
};

std::vector<std::u16string> Numbered(std::u16string_view prefix, int count) {
  std::vector<std::u16string> texts;
  for (int n = 1; n <= count; ++n) texts.push_back(std::u16string(prefix) + Main::FormatInteger(n));
  return texts;
}

TEST_F(MainWindow, LoadFillsTheOperationsFromTheCatalogueAndSetsTheColumns) {
  Form2& window = Open(MakePeople("people.mdb", 0));
  ASSERT_EQ(window.Combo1().count(), 27);
  for (int i = 0; i < 27; ++i) {
    EXPECT_EQ(Ui::FromQString(window.Combo1().itemText(i)), Engine::Operations()[i].listText);
  }
  EXPECT_EQ(window.Combo1().SelectedIndex(), 0);  // nothing stored yet
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Quorvane"));
  EXPECT_EQ(window.ListView1().headerItem()->text(0), QStringLiteral("Table(s)"));
  EXPECT_EQ(window.ListView2().headerItem()->text(0), QStringLiteral("Field(s)"));
  EXPECT_EQ(window.ListView3().headerItem()->text(0), QStringLiteral("First 100 Records In Selected Field (Preview)"));
  EXPECT_EQ(window.ListView1().columnWidth(0), 267);  // 4000 twips
  EXPECT_EQ(window.ListView3().columnWidth(0), 567);  // 8500 twips
  EXPECT_EQ(Ui::FromQString(window.ListView2().toolTip()), kListToolTip);
  EXPECT_EQ(Ui::FromQString(window.ProgressBar1().text()), u"Progress Bar");
  EXPECT_EQ(window.size(), QSize(616, 526));
  EXPECT_EQ(window.ListView3().geometry(), QRect(8, 218, 600, 178));
  EXPECT_EQ(window.Combo1().parentWidget(), &window.Frame1());
  EXPECT_TRUE(reports.empty());
}

TEST_F(MainWindow, StoredOperationIsSelectedAndOneOutsideTheListReportsStep166) {
  const auto path = MakePeople("people.mdb", 0);
  const std::pair<std::u16string, int> cases[] = {{u"-1", -1}, {u"26", 26}, {u"5", 5}, {u"27", -1},
                                                   {u"-2", -1}, {u"two", -1}, {u"1.5", -1}};
  for (const auto& [stored, selected] : cases) {
    settings.Write(Main::SettingsStore::kOperationKey, stored);
    reports.clear();
    Form2& window = Open(path);
    EXPECT_EQ(window.Combo1().SelectedIndex(), selected) << Main::ToUtf8(stored);
    const bool valid = stored == u"-1" || stored == u"26" || stored == u"5";
    ASSERT_EQ(reports.size(), valid ? 0u : 1u) << Main::ToUtf8(stored);
    if (!valid) {
      EXPECT_TRUE(Names(reports[0], loadHandler, 166));
    }
    EXPECT_EQ(window.ListView3().headerItem()->text(0),  // the load went on with the columns
              QStringLiteral("First 100 Records In Selected Field (Preview)"));
  }
}

TEST_F(MainWindow, ChoosingAnOperationStoresItsIndexAtOnce) {
  Form2& window = Open(MakePeople("people.mdb", 0));
  window.Combo1().SetSelectedIndex(12);
  EXPECT_EQ(OperationStored(), u"12");
  window.Combo1().SetSelectedIndex(-1);
  EXPECT_EQ(OperationStored(), u"-1");
}

TEST_F(MainWindow, TableClickListsTheFieldsInColumnOrderAndPreviewsTheFirst) {
  Form2& window = Open(MakePeople("people.mdb", 3));
  Click(window.ListView1(), 1);
  EXPECT_EQ(Entries(window.ListView2()), (std::vector<std::u16string>{u"Id", u"Name", u"Note"}));
  EXPECT_TRUE(window.ListView2().IsEntrySelected(1));
  EXPECT_FALSE(window.ListView2().IsEntrySelected(2));
  EXPECT_EQ(Entries(window.ListView3()), (std::vector<std::u16string>{u"1", u"2", u"3"}));
  EXPECT_EQ(window.Pointer().Pointer(), Ui::kPointerDefault);
  EXPECT_TRUE(reports.empty());
}

TEST_F(MainWindow, PreviewHoldsAtMost101Values) {
  for (const auto& [count, shown] : {std::pair{0, 0}, {100, 100}, {101, 101}, {250, 101}}) {
    Form2& window = Open(MakePeople("people" + std::to_string(count) + ".mdb", count));
    Click(window.ListView1(), 1);
    Click(window.ListView2(), 2);
    EXPECT_EQ(Entries(window.ListView3()), Numbered(u"Person ", shown)) << count << " records";
    EXPECT_EQ(window.ListView2().Count(), 3);
  }
}

TEST_F(MainWindow, PreviewShowsValuesAsStoredAndNullAsEmpty) {
  const auto path = MakeDatabase("names.mdb", {PeopleTable()},
                                 {{u"People",
                                   {{Main::Value::Integer(1), Main::Value::Text(u"O'Brien"), Main::Value::Null()},
                                    {Main::Value::Integer(2), Main::Value::Null(), Main::Value::Text(u"it's ''quoted''")}}}});
  Form2& window = Open(path);
  Click(window.ListView1(), 1);
  Click(window.ListView2(), 2);
  EXPECT_EQ(Entries(window.ListView3()), (std::vector<std::u16string>{u"O'Brien", u""}));
  Click(window.ListView2(), 3);
  EXPECT_EQ(Entries(window.ListView3()), (std::vector<std::u16string>{u"", u"it's ''quoted''"}));
}

TEST_F(MainWindow, WithSeveralFieldsSelectedThePreviewFollowsTheLastClicked) {
  Form2& window = Open(MakePeople("people.mdb", 2));
  Click(window.ListView1(), 1);
  Click(window.ListView2(), 3, Qt::ControlModifier);
  EXPECT_TRUE(window.ListView2().IsEntrySelected(1));
  EXPECT_TRUE(window.ListView2().IsEntrySelected(3));
  EXPECT_EQ(Entries(window.ListView3()), (std::vector<std::u16string>{u"Note 1", u"Note 2"}));
  Click(window.ListView2(), 2, Qt::ControlModifier);
  EXPECT_EQ(Entries(window.ListView3()), (std::vector<std::u16string>{u"Person 1", u"Person 2"}));
}

TEST_F(MainWindow, SelectAndUnselectAllMarkEveryFieldWithoutTouchingThePreview) {
  Form2& window = Open(MakePeople("people.mdb", 2));
  window.PushButton4().click();  // on an empty field list: nothing
  window.PushButton5().click();
  EXPECT_EQ(window.ListView2().Count(), 0);
  Click(window.ListView1(), 1);
  const auto preview = Entries(window.ListView3());
  window.PushButton4().click();
  for (int i = 1; i <= 3; ++i) EXPECT_TRUE(window.ListView2().IsEntrySelected(i));
  EXPECT_EQ(Entries(window.ListView3()), preview);
  window.PushButton5().click();
  for (int i = 1; i <= 3; ++i) EXPECT_FALSE(window.ListView2().IsEntrySelected(i));
  EXPECT_EQ(Entries(window.ListView3()), preview);
  EXPECT_TRUE(reports.empty());
}

TEST_F(MainWindow, ClickOnAnEmptyListDoesNothing) {
  Form2& window = Open(MakeDatabase("empty.mdb", {}));
  QTest::mouseClick(window.ListView1().viewport(), Qt::LeftButton, {}, QPoint(20, 10));
  window.ListView1_Click();
  window.ListView2_Click();
  EXPECT_EQ(window.ListView2().Count(), 0);
  EXPECT_TRUE(reports.empty());
}

TEST_F(MainWindow, AFailedListingOnAClickIsReportedAndLeavesTheListsEmpty) {
  const auto path = MakePeople("people.mdb", 2);
  Form2& window = Open(path);
  Click(window.ListView1(), 1);
  ASSERT_EQ(window.ListView3().Count(), 2);
  std::filesystem::remove(Main::PathFromText(path));
  Click(window.ListView2(), 2);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_TRUE(Names(reports[0], Main::HandlerProcedure(u"Form2", u"ListView2_Click"), 100));
  EXPECT_EQ(window.ListView3().Count(), 0);
  EXPECT_EQ(window.ListView2().Count(), 3);
  Click(window.ListView1(), 1);
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_TRUE(Names(reports[1], Main::HandlerProcedure(u"Form2", u"ListView1_Click"), 100));
  EXPECT_EQ(window.ListView2().Count(), 0);
  EXPECT_EQ(window.ListView3().Count(), 0);
  EXPECT_EQ(window.Pointer().Pointer(), Ui::kPointerDefault);
}

TEST_F(MainWindow, HelpShowsTheCompanionProductUnderTheApplicationTitle) {
  Form2& window = Open(MakePeople("people.mdb", 0));
  window.PushButton3().click();
  ASSERT_EQ(messageBox.shown.size(), 1u);
  EXPECT_EQ(messageBox.shown[0].prompt,
            u"If you would like to add characters to records, there is software at " +
                std::u16string(Main::Config::kAddTextProductAddress) + u" that will do this.");
  EXPECT_EQ(messageBox.shown[0].style, Ui::kOkOnly);
  EXPECT_EQ(messageBox.shown[0].title, Main::ApplicationTitle());
}

TEST_F(MainWindow, SwitchShowsTheSelectionAndHidesThisWindow) {
  Form2& window = Open(MakePeople("people.mdb", 0));
  window.PushButton1().click();
  EXPECT_EQ(selectionShown, 1);
  EXPECT_FALSE(window.isVisible());
}

TEST_F(MainWindow, StartRemovingHandsTheWindowToTheCleaningRun) {
  Form2& window = Open(MakePeople("people.mdb", 0));
  window.PushButton2().click();  // no run attached: nothing happens
  Form2* handed = nullptr;
  services.startRemoving = [&handed](Form2& run) { handed = &run; };
  window.PushButton2().click();
  EXPECT_EQ(handed, &window);
}

TEST_F(MainWindow, PointerIsTheHandOverButtonsTheArrowOverListsAndUnchangedOverTheOperationList) {
  Form2& window = Open(MakePeople("people.mdb", 0));
  Testing::MoveMouseOver(window.PushButton4());
  EXPECT_EQ(window.Pointer().Pointer(), Ui::kPointerCustom);
  Testing::MoveMouseOver(window.Combo1());
  EXPECT_EQ(window.Pointer().Pointer(), Ui::kPointerCustom);
  Testing::MoveMouseOver(*window.ListView3().viewport());
  EXPECT_EQ(window.Pointer().Pointer(), Ui::kPointerDefault);
  Testing::MoveMouseOver(window.PushButton1());
  Testing::MoveMouseOver(window.Frame1(), QPointF(4, window.Frame1().height() - 4));  // beside the list
  EXPECT_EQ(window.Pointer().Pointer(), Ui::kPointerDefault);
}

}  // namespace
}  // namespace Windows
