#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "common/ErrorReport.h"
#include "common/StepTrap.h"
#include "common/Text.h"
#include "engine/OperationCatalogue.h"
#include "engine/PromptStage.h"
#include "tests/support/ScriptedDialogs.h"

// The whole operation list written out by hand: for each entry its list text, its prompts and
// what it makes of one shared value. Every expected result was worked out from the operation's
// description, not from the transforms, and the results differ from entry to entry, so an entry
// wired to another entry's transform, prompt or answer fails here.
namespace Engine {
namespace {

// Letters, digits, spaces (single, double, leading and trailing), a tab, CR LF and punctuation
// with "=" as the marker the user-defined entries look for.
constexpr std::u16string_view kValue = u"  Ab 1\t2  x\r\nq=z! ";

// One input box: the prompt it must show and what the user types.
struct Box {
  std::u16string_view prompt;
  std::u16string_view typed;
};
using Boxes = std::vector<Box>;

const Boxes kNoBox{};
const Boxes kReplaceWith{{u"Replace With:", u"_"}};
const Boxes kUserCharacters{{u"Enter User-Defined Character(s):", u"="}};
const Boxes kFindAndReplace{{u"Find What:", u"="}, {u"Replace With:", u"#"}};
const Boxes kNumber{{u"Enter Number:", u"4"}};

struct Entry {
  int number;
  std::u16string_view listText;
  PromptKind kind;
  Boxes boxes;
  std::u16string_view expected;  // kValue after the operation, with the answers typed in `boxes`
};

constexpr auto kNone = PromptKind::NoPrompt;
constexpr auto kText = PromptKind::TextPrompt;
constexpr auto kFind = PromptKind::FindReplacePrompt;
constexpr auto kCount = PromptKind::NumberPrompt;

const std::vector<Entry> kEntries = {
    {1, u"Remove All Spaces In Selected Field", kNone, kNoBox,
     u"Ab1\t2x\r\nq=z!"},
    {2, u"Replace All Spaces In Selected Field With...", kText, kReplaceWith,
     u"__Ab_1\t2__x\r\nq=z!_"},
    {3, u"Remove Extra Spaces at Beginning of Selected Field", kNone, kNoBox,
     u"Ab 1\t2  x\r\nq=z! "},
    {4, u"Remove Extra Spaces at End of Selected Field", kNone, kNoBox,
     u"  Ab 1\t2  x\r\nq=z!"},
    {5, u"Remove All Spaces Except for Single Spaces Between Words In Selected Field", kNone, kNoBox,
     u"Ab 1\t2 x\r\nq=z!"},
    {6, u"Remove Enters (Carriage Returns) In Selected Field", kNone, kNoBox,
     u"  Ab 1\t2  x  q=z! "},
    {7, u"Replace Enters (Carriage Returns) In Selected Field With...", kText, kReplaceWith,
     u"  Ab 1\t2  x__q=z! "},
    {8, u"Remove Tabs In Selected Field", kNone, kNoBox,
     u"  Ab 12  x\r\nq=z! "},
    {9, u"Replace Tabs In Selected Field With...", kText, kReplaceWith,
     u"  Ab 1_2  x\r\nq=z! "},
    {10, u"Remove Alphabet Character(s) In Selected Field", kNone, kNoBox,
     u"   1\t2  \r\n=! "},
    {11, u"Replace Alphabet Character(s) In Selected Field With...", kText, kReplaceWith,
     u"  __ 1\t2  _\r\n_=_! "},
    {12, u"Remove Numeric Character(s) In Selected Field", kNone, kNoBox,
     u"  Ab \t  x\r\nq=z! "},
    {13, u"Replace Numeric Character(s) In Selected Field With...", kText, kReplaceWith,
     u"  Ab _\t_  x\r\nq=z! "},
    {14, u"Remove Alphanumeric Character(s) In Selected Field", kNone, kNoBox,
     u"   \t  \r\n=! "},
    {15, u"Replace Alphanumeric Character(s) In Selected Field With...", kText, kReplaceWith,
     u"  __ _\t_  _\r\n_=_! "},
    {16, u"Remove Non-Alphanumeric Character(s) In Selected Field", kNone, kNoBox,
     u"Ab12xqz"},
    {17, u"Replace Non-Alphanumeric Character(s) In Selected Field With...", kText, kReplaceWith,
     u"  Ab 1_2  x__q_z_ "},
    {18, u"Remove User-Defined Character(s) In Selected Field", kText, kUserCharacters,
     u"  Ab 1\t2  x\r\nqz! "},
    {19, u"Replace User-Defined Character(s) In Selected Field With...", kFind, kFindAndReplace,
     u"  Ab 1\t2  x\r\nq#z! "},
    {20, u"Remove All Text After User-Defined Character(s) In Selected Field", kText, kUserCharacters,
     u"  Ab 1\t2  x\r\nq="},
    {21, u"Replace All Text After User-Defined Character(s) In Selected Field With...", kFind,
     kFindAndReplace, u"  Ab 1\t2  x\r\nq=#"},
    {22, u"Remove All Text Before User-Defined Character(s) In Selected Field", kText, kUserCharacters,
     u"=z! "},
    {23, u"Replace All Text Before User-Defined Character(s) In Selected Field With...", kFind,
     kFindAndReplace, u"#=z! "},
    {24, u"Remove First x Character(s) In Selected Field", kCount, kNumber,
     u" 1\t2  x\r\nq=z! "},
    {25, u"Remove Last x Character(s) In Selected Field", kCount, kNumber,
     u"  Ab 1\t2  x\r\nq"},
    {26, u"Remove All Text After x Position In Field", kCount, kNumber,
     u"  Ab"},
    {27, u"Remove All Text Before x Position In Field", kCount, kNumber,
     u" 1\t2  x\r\nq=z! "},
};

// Names the entry in failure messages.
void PrintTo(const Entry& entry, std::ostream* out) {
  *out << "operation " << entry.number << " \"" << Main::ToUtf8(entry.listText) << "\"";
}

// "Remove First x" and "Remove All Text Before x Position" do the same by design.
bool SameByDesign(int a, int b) { return (a == 24 && b == 27) || (a == 27 && b == 24); }

class CatalogueEntry : public ::testing::TestWithParam<Entry> {
 protected:
  CatalogueEntry() {
    previousReporter_ = Main::InstallErrorReporter([this](std::u16string_view text) {
      reports.emplace_back(text);
    });
  }
  ~CatalogueEntry() override { Main::InstallErrorReporter(previousReporter_); }

  Testing::ScriptedInputBox input;
  Testing::ScriptedMessageBox messages;
  Main::StepTrap trap{Main::HandlerProcedure(u"Form2", u"PushButton2_Click")};
  std::vector<std::u16string> reports;

 private:
  Main::ErrorReporter previousReporter_;
};

TEST_P(CatalogueEntry, ListTextKindPromptsAndResult) {
  const Entry& entry = GetParam();
  const Operation& op = Operations()[entry.number - 1];
  EXPECT_EQ(op.number, entry.number);
  EXPECT_EQ(op.listText, entry.listText);
  EXPECT_EQ(op.promptKind, entry.kind);

  const Operation* found = FindOperation(entry.listText);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->number, entry.number);

  std::vector<std::u16string> expectedPrompts;
  for (const Box& box : entry.boxes) {
    expectedPrompts.emplace_back(box.prompt);
    input.Answer(std::u16string(box.typed));
  }
  Answers answers;  // a fresh run
  ASSERT_EQ(RunPromptStage(op, answers, {input, messages}, trap), PromptOutcome::GoOn);
  EXPECT_EQ(input.Prompts(), expectedPrompts);
  EXPECT_TRUE(input.AllAnswersUsed());
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(reports.empty()) << (reports.empty() ? "" : Main::ToUtf8(reports.front()));

  EXPECT_EQ(op.Apply(kValue, answers), entry.expected);
}

INSTANTIATE_TEST_SUITE_P(AllOperations, CatalogueEntry, ::testing::ValuesIn(kEntries),
                         [](const ::testing::TestParamInfo<Entry>& info) {
                           return "Operation" + std::to_string(info.param.number);
                         });

TEST(CatalogueTable, CoversEveryOperationOnceInListOrder) {
  ASSERT_EQ(kEntries.size(), kOperationCount);
  for (size_t i = 0; i < kEntries.size(); ++i) EXPECT_EQ(kEntries[i].number, static_cast<int>(i) + 1);
}

// The table only tells the entries apart if no two results coincide and no result is the value
// itself; otherwise an entry wired to the other's transform would still pass.
TEST(CatalogueTable, ExpectedResultsTellTheEntriesApart) {
  for (const Entry& a : kEntries) {
    SCOPED_TRACE(a.number);
    EXPECT_NE(a.expected, kValue);
    for (const Entry& b : kEntries) {
      if (a.number >= b.number) continue;
      if (SameByDesign(a.number, b.number)) {
        EXPECT_EQ(a.expected, b.expected) << "operation " << b.number;
        EXPECT_EQ(a.kind, b.kind);
      } else {
        EXPECT_NE(a.expected, b.expected) << "operation " << b.number;
      }
    }
  }
}

}  // namespace
}  // namespace Engine
