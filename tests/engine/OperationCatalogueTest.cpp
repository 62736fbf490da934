#include "engine/OperationCatalogue.h"

#include <gtest/gtest.h>

#include <set>

#include "common/Error.h"

namespace Engine {
namespace {

struct Expected {
  std::u16string_view text;
  PromptKind kind;
  int test;
  int update;
};

constexpr auto kNone = PromptKind::NoPrompt;
constexpr auto kText = PromptKind::TextPrompt;
constexpr auto kFind = PromptKind::FindReplacePrompt;
constexpr auto kNumber = PromptKind::NumberPrompt;

// The operation list as the user sees it, with the step numbers the error report prints.
const Expected kExpected[] = {
    {u"Remove All Spaces In Selected Field", kNone, 136, 150},
    {u"Replace All Spaces In Selected Field With...", kText, 158, 178},
    {u"Remove Extra Spaces at Beginning of Selected Field", kNone, 186, 200},
    {u"Remove Extra Spaces at End of Selected Field", kNone, 208, 222},
    {u"Remove All Spaces Except for Single Spaces Between Words In Selected Field", kNone, 230, 244},
    {u"Remove Enters (Carriage Returns) In Selected Field", kNone, 252, 266},
    {u"Replace Enters (Carriage Returns) In Selected Field With...", kText, 274, 294},
    {u"Remove Tabs In Selected Field", kNone, 302, 316},
    {u"Replace Tabs In Selected Field With...", kText, 324, 344},
    {u"Remove Alphabet Character(s) In Selected Field", kNone, 352, 366},
    {u"Replace Alphabet Character(s) In Selected Field With...", kText, 374, 394},
    {u"Remove Numeric Character(s) In Selected Field", kNone, 402, 416},
    {u"Replace Numeric Character(s) In Selected Field With...", kText, 424, 444},
    {u"Remove Alphanumeric Character(s) In Selected Field", kNone, 452, 466},
    {u"Replace Alphanumeric Character(s) In Selected Field With...", kText, 474, 494},
    {u"Remove Non-Alphanumeric Character(s) In Selected Field", kNone, 502, 516},
    {u"Replace Non-Alphanumeric Character(s) In Selected Field With...", kText, 524, 544},
    {u"Remove User-Defined Character(s) In Selected Field", kText, 552, 572},
    {u"Replace User-Defined Character(s) In Selected Field With...", kFind, 580, 604},
    {u"Remove All Text After User-Defined Character(s) In Selected Field", kText, 612, 632},
    {u"Replace All Text After User-Defined Character(s) In Selected Field With...", kFind, 640, 664},
    {u"Remove All Text Before User-Defined Character(s) In Selected Field", kText, 672, 692},
    {u"Replace All Text Before User-Defined Character(s) In Selected Field With...", kFind, 700, 724},
    {u"Remove First x Character(s) In Selected Field", kNumber, 732, 756},
    {u"Remove Last x Character(s) In Selected Field", kNumber, 766, 790},
    {u"Remove All Text After x Position In Field", kNumber, 800, 824},
    {u"Remove All Text Before x Position In Field", kNumber, 834, 858},
};

TEST(OperationCatalogue, ListTextsKindsAndStepNumbersInListOrder) {
  const auto& ops = Operations();
  ASSERT_EQ(std::size(kExpected), ops.size());
  for (size_t i = 0; i < ops.size(); ++i) {
    SCOPED_TRACE(i + 1);
    EXPECT_EQ(ops[i].number, static_cast<int>(i) + 1);
    EXPECT_EQ(ops[i].listText, kExpected[i].text);
    EXPECT_EQ(ops[i].promptKind, kExpected[i].kind);
    EXPECT_EQ(ops[i].testStep, kExpected[i].test);
    EXPECT_EQ(ops[i].loopSteps.update, kExpected[i].update);
  }
  // The last operation's "Must enter number" shares its number with the run's end-of-field step.
  EXPECT_EQ(ops[26].promptSteps.mustEnterNumber, 866);
}

TEST(OperationCatalogue, StepNumbersOfOneOperationAreDistinctAndRise) {
  int previousLast = 0;
  for (const Operation& op : Operations()) {
    const PromptSteps& p = op.promptSteps;
    const RecordLoopSteps& l = op.loopSteps;
    std::vector<int> numbers{op.testStep};
    for (int n : {p.emptyTest, p.firstBox, p.secondBox, p.repeatTest, p.firstAbsentTest,
                  p.secondAbsentTest, p.numberTest, p.secondNumberTest}) {
      if (n != 0) numbers.push_back(n);
    }
    for (int n : {l.loopStart, l.yield, l.zeroTest, l.progressFull, l.progressPercent, l.nullTest,
                  l.update, l.pauseTest, l.moveNext, l.loopEnd}) {
      numbers.push_back(n);
    }
    if (p.mustEnterNumber != 0) numbers.push_back(p.mustEnterNumber);
    EXPECT_EQ(std::set<int>(numbers.begin(), numbers.end()).size(), numbers.size());
    EXPECT_EQ(*std::max_element(numbers.begin(), numbers.end()), op.lastStep);
    EXPECT_GT(op.testStep, previousLast);
    previousLast = op.lastStep;
  }
  const Operation& find = Operations()[18];  // replace user-defined: both boxes, both tests
  EXPECT_EQ(find.promptSteps.firstBox, 584);
  EXPECT_EQ(find.promptSteps.secondBox, 586);
  EXPECT_EQ(find.promptSteps.secondAbsentTest, 590);
  EXPECT_EQ(find.loopSteps.loopStart, 592);
  EXPECT_EQ(Operations()[23].promptSteps.mustEnterNumber, 764);
}

TEST(OperationCatalogue, LookupIsExactAndCaseSensitive) {
  for (const Operation& op : Operations()) EXPECT_EQ(FindOperation(op.listText), &op);
  EXPECT_EQ(FindOperation(u"remove all spaces in selected field"), nullptr);
  EXPECT_EQ(FindOperation(u"Remove All Spaces In Selected Field "), nullptr);
  EXPECT_EQ(FindOperation(u""), nullptr);
}

TEST(OperationCatalogue, TextPromptsAskTheirOwnQuestion) {
  EXPECT_EQ(Operations()[1].promptText, u"Replace With:");
  EXPECT_EQ(Operations()[17].promptText, u"Enter User-Defined Character(s):");
  EXPECT_EQ(Operations()[19].promptText, u"Enter User-Defined Character(s):");
  EXPECT_EQ(Operations()[21].promptText, u"Enter User-Defined Character(s):");
}

Answers With(std::u16string first, std::u16string second = {}) { return {first, second}; }

TEST(OperationCatalogue, TransformsTakeTheRightAnswers) {
  const auto& ops = Operations();
  EXPECT_EQ(ops[0].Apply(u" a b ", {}), u"ab");
  EXPECT_EQ(ops[1].Apply(u"a b", With(u"_")), u"a_b");
  EXPECT_EQ(ops[1].Apply(u"a b", With(u"")), u"ab");           // confirmed with nothing typed
  EXPECT_EQ(ops[1].Apply(u"a b", {std::nullopt, {}}), u"ab");  // a cancelled answer is empty
  EXPECT_EQ(ops[15].Apply(u"Caf\u00e9 42!", {}), u"Caf42");     // spaces go
  EXPECT_EQ(ops[16].Apply(u"Caf\u00e9 42!", With(u"_")), u"Caf_ 42_");  // spaces stay
  EXPECT_EQ(ops[18].Apply(u"aaa", With(u"aa", u"b")), u"ba");
  EXPECT_EQ(ops[20].Apply(u"key=value", With(u"=", u"V")), u"key=V");
  EXPECT_EQ(ops[22].Apply(u"key=value", With(u"=", u"K")), u"K=value");
}

TEST(OperationCatalogue, CountOperationsConvertTheAnswerForEachValue) {
  const auto& ops = Operations();
  EXPECT_EQ(ops[23].Apply(u"abcdef", With(u"2.5")), u"cdef");  // 2.5 counts 2
  EXPECT_EQ(ops[24].Apply(u"abcdef", With(u"3.5")), u"ab");    // 3.5 counts 4
  EXPECT_EQ(ops[25].Apply(u"abcdef", With(u" 3 ")), u"abc");
  for (const std::u16string_view value : {u"", u"a", u"abcdef", u"\U0001F600x"}) {
    for (const std::u16string_view count : {u"0", u"1", u"2", u"7"}) {
      EXPECT_EQ(ops[23].Apply(value, With(std::u16string(count))),
                ops[26].Apply(value, With(std::u16string(count))));
    }
  }
  EXPECT_THROW(ops[23].Apply(u"abc", With(u"40000")), Main::Error);
  EXPECT_THROW(ops[23].Apply(u"abc", With(u"many")), Main::Error);
}

}  // namespace
}  // namespace Engine
