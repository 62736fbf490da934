#include "common/ErrorReport.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "common/Error.h"
#include "common/StepTrap.h"

namespace Main {
namespace {

// Collects the reports instead of showing them, for the life of the test.
class CollectedReports {
 public:
  CollectedReports()
      : previous_(InstallErrorReporter([this](std::u16string_view text) { texts.emplace_back(text); })) {}
  ~CollectedReports() { InstallErrorReporter(previous_); }
  std::vector<std::u16string> texts;

 private:
  ErrorReporter previous_;
};

const std::u16string kLoad = u"in Tivelbrook2021/08/31.Form1.Form_Load ";

TEST(ErrorReport, TextIsAssembledExactly) {
  EXPECT_EQ(HandlerProcedure(u"Form1", u"Form_Load"), kLoad);
  EXPECT_EQ(ErrorReportText(kLoad, 104, u"File not found"),
            u"File not found\r\nin Tivelbrook2021/08/31.Form1.Form_Load at line 104\r\r"
            u"Please email screenshot of this message to support@kestrova.com");
}

TEST(ErrorReport, EmptyDescriptionStartsWithTheLineBreak) {
  const std::u16string text = ErrorReportText(kLoad, 7, u"");
  EXPECT_EQ(text.substr(0, 5), u"\r\nin ");
}

TEST(StepTrap, FailingStepIsReportedWithItsNumberAndTheHandlerGoesOn) {
  CollectedReports reports;
  StepTrap trap(HandlerProcedure(u"Form2", u"PushButton2_Click"));
  std::vector<int> ran;
  EXPECT_TRUE(trap.step(100, [&] { ran.push_back(100); }));
  EXPECT_FALSE(trap.step(102, [&] { throw Error(3024, "Could not find file 'x.mdb'."); }));
  EXPECT_TRUE(trap.step(104, [&] { ran.push_back(104); }));
  EXPECT_EQ(ran, (std::vector<int>{100, 104}));
  ASSERT_EQ(reports.texts.size(), 1u);
  EXPECT_EQ(reports.texts[0],
            u"Could not find file 'x.mdb'.\r\nin Tivelbrook2021/08/31.Form2.PushButton2_Click "
            u"at line 102\r\rPlease email screenshot of this message to support@kestrova.com");
}

TEST(StepTrap, FailingTestCountsAsPassedSoTheGuardedStepRuns) {
  CollectedReports reports;
  StepTrap trap(kLoad);
  bool loadedPointer = false;
  if (trap.test(112, []() -> bool { throw std::runtime_error("Bad file name"); })) {
    trap.step(114, [&] { loadedPointer = true; });
  }
  EXPECT_TRUE(loadedPointer);
  ASSERT_EQ(reports.texts.size(), 1u);
  EXPECT_NE(reports.texts[0].find(u"Bad file name\r\n"), std::u16string::npos);
  EXPECT_NE(reports.texts[0].find(u"at line 112\r\r"), std::u16string::npos);
  EXPECT_FALSE(trap.test(116, [] { return false; }));
}

void InnerOperation(std::vector<int>& trail) {
  trail.push_back(1);
  throw Error(ErrorNumber::kTypeMismatch, "Type mismatch");
}

void OuterOperation(std::vector<int>& trail) {
  InnerOperation(trail);
  trail.push_back(2);  // abandoned with the failure
}

TEST(StepTrap, FailureInsideACalledOperationReportsTheCallingStep) {
  CollectedReports reports;
  StepTrap trap(kLoad);
  std::vector<int> trail;
  std::u16string assigned = u"before";
  trap.step(120, [&] {
    OuterOperation(trail);
    assigned = u"after";
  });
  EXPECT_EQ(trail, std::vector<int>{1});
  EXPECT_EQ(assigned, u"before");  // what the failed step was to produce stays unset
  ASSERT_EQ(reports.texts.size(), 1u);
  EXPECT_EQ(reports.texts[0].substr(0, 15), u"Type mismatch\r\n");
  EXPECT_NE(reports.texts[0].find(u"at line 120\r\r"), std::u16string::npos);
}

TEST(StepTrap, EveryKindOfFailureIsReportedWithADescription) {
  CollectedReports reports;
  StepTrap trap(kLoad);
  trap.step(1, [] { throw std::out_of_range("index out of range"); });
  trap.step(2, [] { throw 42; });
  ASSERT_EQ(reports.texts.size(), 2u);
  EXPECT_EQ(reports.texts[0].substr(0, 18), u"index out of range");
  EXPECT_EQ(reports.texts[1].substr(0, 17), u"Unexpected error.");
}

}  // namespace
}  // namespace Main
