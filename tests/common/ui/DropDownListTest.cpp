#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QTest>
#include <memory>

#include "common/ui/ControlErrors.h"
#include "common/ui/qt/QtDropDownList.h"
#include "tests/common/ui/ErrorNumber.h"
#include "tests/support/ScriptedControls.h"

// The drop-down list's rules, checked on the Qt list and on the scripted one.
namespace Ui {
namespace {

using Testing::ErrorNumberOf;

template <class List>
class DropDownListRules : public testing::Test {};
using Implementations = testing::Types<QtDropDownList, Testing::ScriptedDropDownList>;
TYPED_TEST_SUITE(DropDownListRules, Implementations);

TYPED_TEST(DropDownListRules, ItemsAddedSelectNothingUntilAnIndexIsSet) {
  TypeParam list;
  EXPECT_EQ(list.SelectedIndex(), -1);
  EXPECT_EQ(list.Text(), u"");
  list.AddItem(u"Remove All Spaces In Selected Field");
  list.AddItem(u"Replace All Spaces In Selected Field With...");
  EXPECT_EQ(list.SelectedIndex(), -1);
  EXPECT_EQ(list.Text(), u"");
  list.SetSelectedIndex(1);
  EXPECT_EQ(list.SelectedIndex(), 1);
  EXPECT_EQ(list.Text(), u"Replace All Spaces In Selected Field With...");
  list.AddItem(u"Remove Tabs In Selected Field");
  EXPECT_EQ(list.SelectedIndex(), 1);
  list.SetSelectedIndex(-1);
  EXPECT_EQ(list.SelectedIndex(), -1);
  EXPECT_EQ(list.Text(), u"");
}

TYPED_TEST(DropDownListRules, AnIndexOutsideTheItemsThrowsAndKeepsTheSelection) {
  TypeParam list;
  EXPECT_EQ(ErrorNumberOf([&] { list.SetSelectedIndex(0); }), ControlError::kInvalidPropertyValue);
  for (int i = 0; i < 27; ++i) list.AddItem(u"operation");
  list.SetSelectedIndex(26);
  for (const int index : {27, -2}) {
    EXPECT_EQ(ErrorNumberOf([&] { list.SetSelectedIndex(index); }), ControlError::kInvalidPropertyValue);
    EXPECT_EQ(list.SelectedIndex(), 26);
  }
}

TEST(QtDropDownList, CannotBeTypedIntoAndReportsPicksAndChanges) {
  QtDropDownList list;
  list.show();
  EXPECT_FALSE(list.isEditable());
  int clicks = 0;
  int changes = 0;
  list.onClick = [&] { ++clicks; };
  list.onChange = [&] { ++changes; };
  list.AddItem(u"first");
  list.AddItem(u"second");
  EXPECT_EQ(changes, 0);  // adding items changes no selection
  list.SetSelectedIndex(0);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(clicks, 0);

  // The user picks the second item with the keyboard: a pick and a change.
  list.setFocus();
  QTest::keyClick(&list, Qt::Key_Down);
  EXPECT_EQ(list.SelectedIndex(), 1);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(clicks, 1);
  // Picking the item already selected from the open list is a pick without a change.
  emit list.activated(1);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(changes, 2);
}

}  // namespace
}  // namespace Ui
