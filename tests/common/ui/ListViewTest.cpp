#include <gtest/gtest.h>

#include <QHeaderView>
#include <QMouseEvent>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "common/ui/ControlErrors.h"
#include "common/ui/Twips.h"
#include "common/ui/qt/QtListView.h"
#include "tests/common/ui/ErrorNumber.h"
#include "tests/support/ScriptedControls.h"

// The list view's rules, checked on the Qt list and on the scripted one the core's tests use.
namespace Ui {
namespace {

using Testing::ErrorNumberOf;

struct QtLists {
  static std::unique_ptr<QtListView> Make(bool several) {
    auto list = std::make_unique<QtListView>(several ? QtListView::Selection::kSeveral : QtListView::Selection::kOne);
    list->resize(300, 300);
    list->show();
    return list;
  }
  static void Click(QtListView& list, int index, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QRect entry = list.visualItemRect(list.topLevelItem(index - 1));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, modifiers, entry.center());
  }
};

struct ScriptedLists {
  static std::unique_ptr<Testing::ScriptedListView> Make(bool several) {
    return std::make_unique<Testing::ScriptedListView>(several);
  }
  static void Click(Testing::ScriptedListView& list, int index) { list.Click(index); }
};

template <class Lists>
class ListViewRules : public testing::Test {};
using Implementations = testing::Types<QtLists, ScriptedLists>;
TYPED_TEST_SUITE(ListViewRules, Implementations);

template <class List>
void Fill(List& list, std::initializer_list<const char16_t*> texts) {
  for (const char16_t* text : texts) list.AddEntry(text);
}

TYPED_TEST(ListViewRules, FillingAnEmptyListMakesItsFirstEntryCurrentAndOnlySelected) {
  for (const bool several : {false, true}) {
    auto list = TypeParam::Make(several);
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(list->CurrentEntry(), std::nullopt);
    Fill(*list, {u"Customers", u"Orders", u"Order Details"});
    EXPECT_EQ(list->Count(), 3);
    EXPECT_EQ(list->CurrentEntry(), 1);
    EXPECT_EQ(list->CurrentEntryText(), u"Customers");
    EXPECT_TRUE(list->IsEntrySelected(1));
    EXPECT_FALSE(list->IsEntrySelected(2));
    EXPECT_FALSE(list->IsEntrySelected(3));
    EXPECT_EQ(list->EntryText(3), u"Order Details");

    list->Clear();  // and filled again: the first entry is current again
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(list->CurrentEntry(), std::nullopt);
    Fill(*list, {u"Suppliers", u"Products"});
    EXPECT_EQ(list->CurrentEntryText(), u"Suppliers");
    EXPECT_TRUE(list->IsEntrySelected(1));
  }
}

TYPED_TEST(ListViewRules, AddingToAListThatHasEntriesLeavesTheCurrentEntry) {
  auto list = TypeParam::Make(false);
  Fill(*list, {u"a", u"b"});
  TypeParam::Click(*list, 2);
  list->AddEntry(u"c");
  EXPECT_EQ(list->CurrentEntry(), 2);
  EXPECT_FALSE(list->IsEntrySelected(3));
}

TYPED_TEST(ListViewRules, EntriesOutsideOneToCountAndAMissingCurrentEntryThrow) {
  auto list = TypeParam::Make(false);
  EXPECT_EQ(ErrorNumberOf([&] { list->CurrentEntryText(); }), ControlError::kNoObject);
  Fill(*list, {u"a", u"b"});
  for (const int index : {0, 3, -1}) {
    EXPECT_EQ(ErrorNumberOf([&] { list->EntryText(index); }), ControlError::kIndexOutOfBounds);
    EXPECT_EQ(ErrorNumberOf([&] { list->IsEntrySelected(index); }), ControlError::kIndexOutOfBounds);
    EXPECT_EQ(ErrorNumberOf([&] { list->SetEntrySelected(index, true); }), ControlError::kIndexOutOfBounds);
  }
}

TYPED_TEST(ListViewRules, OneSelectionListMovesItsOnlySelectionAndCurrentEntry) {
  auto list = TypeParam::Make(false);
  Fill(*list, {u"a", u"b", u"c"});
  list->SetEntrySelected(3, true);
  EXPECT_FALSE(list->IsEntrySelected(1));
  EXPECT_TRUE(list->IsEntrySelected(3));
  EXPECT_EQ(list->CurrentEntryText(), u"c");
  TypeParam::Click(*list, 2);
  EXPECT_FALSE(list->IsEntrySelected(3));
  EXPECT_TRUE(list->IsEntrySelected(2));
  EXPECT_EQ(list->CurrentEntryText(), u"b");
  list->SetEntrySelected(2, false);
  EXPECT_FALSE(list->IsEntrySelected(2));
}

TYPED_TEST(ListViewRules, SeveralSelectionListMarksEntriesWithoutMovingTheCurrentOne) {
  auto list = TypeParam::Make(true);
  Fill(*list, {u"ID", u"Name", u"City", u"Notes"});
  TypeParam::Click(*list, 2);  // the field the preview shows
  for (int index = 1; index <= list->Count(); ++index) list->SetEntrySelected(index, true);
  for (int index = 1; index <= list->Count(); ++index) EXPECT_TRUE(list->IsEntrySelected(index));
  EXPECT_EQ(list->CurrentEntryText(), u"Name");
  list->SetEntrySelected(1, false);
  list->SetEntrySelected(4, false);
  EXPECT_FALSE(list->IsEntrySelected(1));
  EXPECT_TRUE(list->IsEntrySelected(2));
  EXPECT_TRUE(list->IsEntrySelected(3));
  EXPECT_FALSE(list->IsEntrySelected(4));
  EXPECT_EQ(list->CurrentEntry(), 2);
}

TEST(QtListView, ControlClickAddsToTheSelectionOfTheFieldListOnly) {
  auto fields = QtLists::Make(true);
  Fill(*fields, {u"ID", u"Name", u"City"});
  QtLists::Click(*fields, 3, Qt::ControlModifier);
  EXPECT_TRUE(fields->IsEntrySelected(1));
  EXPECT_TRUE(fields->IsEntrySelected(3));
  EXPECT_EQ(fields->CurrentEntryText(), u"City");  // the one clicked last
  QtLists::Click(*fields, 3, Qt::ControlModifier);  // clicked again: unmarked, still current
  EXPECT_FALSE(fields->IsEntrySelected(3));
  EXPECT_EQ(fields->CurrentEntryText(), u"City");

  auto tables = QtLists::Make(false);
  Fill(*tables, {u"a", u"b"});
  QtLists::Click(*tables, 2, Qt::ControlModifier);
  EXPECT_FALSE(tables->IsEntrySelected(1));
  EXPECT_TRUE(tables->IsEntrySelected(2));
}

TEST(QtListView, ColumnHeaderAndWidthInTwipsThroughTheScreensDotsPerInch) {
  auto list = QtLists::Make(false);
  EXPECT_TRUE(list->isHeaderHidden());
  list->AddColumn(u"Table(s)", 4000);
  EXPECT_FALSE(list->isHeaderHidden());
  EXPECT_EQ(list->headerItem()->text(0), QStringLiteral("Table(s)"));
  EXPECT_EQ(list->columnWidth(0), TwipsToPixels(4000, list->logicalDpiX()));
  list->SetColumnWidth(8500);
  EXPECT_EQ(list->columnWidth(0), TwipsToPixels(8500, list->logicalDpiX()));
  EXPECT_EQ(list->columnCount(), 1);
  list->SetToolTip(u"Move | line to right and out of window to reveal full names.");
  EXPECT_EQ(list->toolTip(), QStringLiteral("Move | line to right and out of window to reveal full names."));
}

TEST(Twips, FifteenTwipsAreOnePixelAtNinetySixDotsPerInch) {
  EXPECT_EQ(TwipsToPixels(15, 96), 1);
  EXPECT_EQ(TwipsToPixels(4000, 96), 267);  // 266.67
  EXPECT_EQ(TwipsToPixels(8500, 96), 567);  // 566.67
  EXPECT_EQ(TwipsToPixels(9240, 96), 616);
  EXPECT_EQ(TwipsToPixels(4000, 144), 400);
  EXPECT_EQ(TwipsToPixels(22, 96), 1);  // 1.47
  EXPECT_EQ(TwipsToPixels(23, 96), 2);  // 1.53
  EXPECT_EQ(TwipsToPixels(0, 96), 0);
}

TEST(QtListView, ClicksOnEntriesAndMouseMovesReachTheCallbacks) {
  auto list = QtLists::Make(false);
  list->AddColumn(u"Field(s)", 4000);
  Fill(*list, {u"a", u"b"});
  int choices = 0;
  int moves = 0;
  std::optional<int> currentAtChoice;
  list->onChoose = [&] {
    ++choices;
    currentAtChoice = list->CurrentEntry();
  };
  list->onMouseMove = [&] { ++moves; };
  QtLists::Click(*list, 2);
  EXPECT_EQ(choices, 1);  // told once, though the press made it current and the release clicked it
  EXPECT_EQ(currentAtChoice, 2);
  QtLists::Click(*list, 2);
  EXPECT_EQ(choices, 2);  // a click on the current entry is a choice too
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, list->viewport()->height() - 5));
  EXPECT_EQ(choices, 2);  // below the entries: no entry clicked

  QTest::mouseMove(list->viewport(), QPoint(10, 10));
  EXPECT_GE(moves, 1);
  const int afterViewport = moves;
  QMouseEvent overHeader(QEvent::MouseMove, QPointF(10, 5), list->header()->mapToGlobal(QPointF(10, 5)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(list->header()->viewport(), &overHeader);
  EXPECT_GT(moves, afterViewport);
}

// Every way the keyboard moves the current entry is a choice, as a click is; what the program
// does to the list is not.
TEST(QtListView, KeyboardMovesOfTheCurrentEntryAreChoicesAndTheProgramsChangesAreNot) {
  for (const bool several : {false, true}) {
    SCOPED_TRACE(several ? "several selected" : "one selected");
    auto list = QtLists::Make(several);
    std::vector<std::u16string> chosen;
    list->onChoose = [&] { chosen.push_back(list->CurrentEntryText()); };
    Fill(*list, {u"Alpha", u"Beta", u"Gamma", u"Delta"});
    list->SetEntrySelected(3, true);
    list->Clear();
    Fill(*list, {u"Alpha", u"Beta", u"Gamma", u"Delta"});
    EXPECT_TRUE(chosen.empty());

    list->setFocus();
    QTest::keyClick(list.get(), Qt::Key_Down);
    QTest::keyClick(list.get(), Qt::Key_End);
    QTest::keyClick(list.get(), Qt::Key_Home);
    QTest::keyClick(list.get(), Qt::Key_PageDown);
    QTest::keyClick(list.get(), Qt::Key_Up);
    QTest::keyClicks(list.get(), QStringLiteral("b"));  // type-ahead
    EXPECT_EQ(chosen, (std::vector<std::u16string>{u"Beta", u"Delta", u"Alpha", u"Delta", u"Gamma", u"Beta"}));
    EXPECT_EQ(list->CurrentEntry(), 2);
    EXPECT_TRUE(list->IsEntrySelected(2));
  }
}

}  // namespace
}  // namespace Ui
