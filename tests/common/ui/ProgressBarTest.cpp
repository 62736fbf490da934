#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <limits>

#include "common/ui/ControlErrors.h"
#include "common/ui/qt/QtProgressBar.h"
#include "tests/common/ui/ErrorNumber.h"
#include "tests/support/ScriptedControls.h"

// The progress bar's rules, checked on the Qt bar and on the scripted one.
namespace Ui {
namespace {

using Testing::ErrorNumberOf;

template <class Bar>
class ProgressViewRules : public testing::Test {};
using Implementations = testing::Types<QtProgressBar, Testing::ScriptedProgressView>;
TYPED_TEST_SUITE(ProgressViewRules, Implementations);

TYPED_TEST(ProgressViewRules, KeepsFractionalValuesAndRejectsValuesOutsideZeroToHundred) {
  TypeParam bar;
  EXPECT_EQ(bar.Value(), 0);
  bar.SetValue(100.0 / 3);
  EXPECT_EQ(bar.Value(), 100.0 / 3);
  bar.SetValue(100);
  EXPECT_EQ(bar.Value(), 100);
  for (const double wrong : {-0.01, 100.01, std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_EQ(ErrorNumberOf([&] { bar.SetValue(wrong); }), ControlError::kInvalidPropertyValue);
    EXPECT_EQ(bar.Value(), 100);
  }
  bar.SetValue(0);
  EXPECT_EQ(bar.Value(), 0);
}

TYPED_TEST(ProgressViewRules, CaptionIsKeptAsGiven) {
  TypeParam bar;
  bar.SetCaption(u"Progress Bar");
  EXPECT_EQ(bar.Caption(), u"Progress Bar");
  bar.SetCaption(u"50% done %p %v");
  EXPECT_EQ(bar.Caption(), u"50% done %p %v");
}

TEST(QtProgressBar, ShowsFractionsInHundredthsOfAPercentAndDrawsTheCaptionOnTheBar) {
  QtProgressBar bar;
  bar.resize(600, 27);
  bar.SetValue(2.0 / 3 * 100);
  EXPECT_EQ(bar.value(), 6667);
  EXPECT_EQ(bar.maximum(), 10000);
  bar.SetValue(0.004);
  EXPECT_EQ(bar.value(), 0);
  bar.SetValue(0.005);
  EXPECT_EQ(bar.value(), 1);

  bar.SetCaption(u"100%");  // no percentage of Qt's own is put in place of "%"
  EXPECT_EQ(bar.text(), QStringLiteral("100%"));
  bar.SetCaption(u"");
  const QImage empty = bar.grab().toImage();
  bar.SetCaption(u"Progress Bar");
  const QImage captioned = bar.grab().toImage();
  EXPECT_NE(empty, captioned);  // the caption is drawn
}

}  // namespace
}  // namespace Ui
