#include <gtest/gtest.h>

#include "common/Text.h"
#include "tools/clean/CommandLine.h"

namespace Clean {
namespace {

using Arguments = std::vector<std::u16string>;

// The usage error a command line gives, or "" when it is accepted.
std::string Refusal(const Arguments& arguments) {
  try {
    ParseCommandLine(arguments);
  } catch (const UsageError& error) {
    return error.what();
  }
  return "";
}

bool Mentions(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(CleanCommandLine, TheListingsNeedAFileExceptTheOperationsAndHelp) {
  EXPECT_EQ(ParseCommandLine({u"db.mdb", u"--tables"}).action, Action::kTables);
  const CommandLine fields = ParseCommandLine({u"--fields=Customers", u"db.mdb", u"--password", u"pw"});
  EXPECT_EQ(fields.action, Action::kFields);
  EXPECT_EQ(fields.table, u"Customers");
  EXPECT_EQ(fields.file, u"db.mdb");
  EXPECT_EQ(fields.password, u"pw");
  const CommandLine preview = ParseCommandLine({u"db.mdb", u"--preview", u"Contact Log", u"Note"});
  EXPECT_EQ(preview.action, Action::kPreview);
  EXPECT_EQ(preview.table, u"Contact Log");
  EXPECT_EQ(preview.fields, Arguments{u"Note"});
  EXPECT_EQ(ParseCommandLine({u"--operations"}).action, Action::kOperations);
  EXPECT_EQ(ParseCommandLine({}).action, Action::kHelp);
  EXPECT_EQ(ParseCommandLine({u"db.mdb", u"--tables", u"--help"}).action, Action::kHelp);

  EXPECT_TRUE(Mentions(Refusal({u"--tables"}), "Name the database file")) << Refusal({u"--tables"});
  EXPECT_TRUE(Mentions(Refusal({u"db.mdb"}), "Say what to do"));
  EXPECT_TRUE(Mentions(Refusal({u"db.mdb", u"--preview", u"T"}), "--preview needs a value"));
  EXPECT_TRUE(Mentions(Refusal({u"a.mdb", u"b.mdb", u"--tables"}), "\"b.mdb\" is one too many"));
  EXPECT_TRUE(Mentions(Refusal({u"db.mdb", u"--tables", u"--fields", u"T"}), "Choose one thing"));
  EXPECT_TRUE(Mentions(Refusal({u"db.mdb", u"--tables", u"--table", u"T"}), "Choose one thing"));
  EXPECT_TRUE(Mentions(Refusal({u"db.mdb", u"--tabels"}), "Unknown option --tabels."));
  EXPECT_TRUE(Mentions(Refusal({u"db.mdb", u"--tables=yes"}), "--tables takes no value"));
  EXPECT_TRUE(Mentions(Refusal({u"db.mdb", u"--password", u"a", u"--password=b", u"--tables"}), "given twice"));
}

TEST(CleanCommandLine, ACleaningRunNamesTableFieldsAndOperation) {
  const CommandLine byText = ParseCommandLine({u"db.mdb", u"--table", u"T", u"--field", u"A", u"--field=B",
                                               u"--operation", u"Remove Tabs In Selected Field", u"--dry-run"});
  EXPECT_EQ(byText.action, Action::kClean);
  EXPECT_EQ(byText.table, u"T");
  EXPECT_EQ(byText.fields, (Arguments{u"A", u"B"}));
  ASSERT_NE(byText.operation, nullptr);
  EXPECT_EQ(byText.operation->number, 8);
  EXPECT_TRUE(byText.dryRun);

  for (int number = 1; number <= 27; ++number) {
    const std::u16string text = Main::FromUtf8(std::to_string(number));
    ASSERT_NE(FindOperationByTextOrNumber(text), nullptr) << number;
    EXPECT_EQ(FindOperationByTextOrNumber(text)->number, number);
  }
  EXPECT_EQ(FindOperationByTextOrNumber(u"0"), nullptr);
  EXPECT_EQ(FindOperationByTextOrNumber(u"28"), nullptr);
  EXPECT_EQ(FindOperationByTextOrNumber(u"remove tabs in selected field"), nullptr);  // exact text only
  EXPECT_EQ(FindOperationByTextOrNumber(u"08"), &Engine::Operations()[7]);

  EXPECT_TRUE(Mentions(Refusal({u"db.mdb", u"--field", u"A", u"--operation", u"1"}), "--table"));
  EXPECT_TRUE(Mentions(Refusal({u"db.mdb", u"--table", u"T", u"--operation", u"1"}), "--field"));
  EXPECT_TRUE(Mentions(Refusal({u"db.mdb", u"--table", u"T", u"--field", u"A"}), "--operation"));
  EXPECT_TRUE(Mentions(Refusal({u"db.mdb", u"--table", u"T", u"--field", u"A", u"--operation", u"99"}),
                       "There is no operation \"99\""));
  EXPECT_TRUE(Mentions(Refusal({u"db.mdb", u"--table", u"T", u"--field", u"A", u"--field", u"a", u"--operation", u"1"}),
                       "The field \"a\" is given twice."));
  // "--" ends the options: a file whose name starts with dashes.
  EXPECT_EQ(ParseCommandLine({u"--tables", u"--", u"--odd.mdb"}).file, u"--odd.mdb");
}

TEST(CleanCommandLine, EachOperationTakesExactlyTheAnswersItsPromptsAskFor) {
  const auto clean = [](int operation, Arguments answers) {
    Arguments arguments{u"db.mdb", u"--table", u"T", u"--field", u"F", u"--operation",
                        Main::FromUtf8(std::to_string(operation))};
    arguments.insert(arguments.end(), answers.begin(), answers.end());
    return arguments;
  };
  // No prompt.
  EXPECT_EQ(Refusal(clean(1, {})), "");
  EXPECT_TRUE(Mentions(Refusal(clean(1, {u"--answer", u"x"})), "does not take --answer"));
  // A text prompt: "Replace With:" and "Enter User-Defined Character(s):"; an empty answer is an answer.
  EXPECT_TRUE(Mentions(Refusal(clean(2, {})), "asks \"Replace With:\": give --answer"));
  EXPECT_EQ(ParseCommandLine(clean(2, {u"--answer", u""})).answers.answer, std::u16string());
  EXPECT_TRUE(Mentions(Refusal(clean(18, {})), "asks \"Enter User-Defined Character(s):\""));
  EXPECT_TRUE(Mentions(Refusal(clean(18, {u"--answer", u"x", u"--find", u"y"})), "does not take --find"));
  // Find and replace.
  EXPECT_TRUE(Mentions(Refusal(clean(19, {u"--find", u"x"})), "asks \"Replace With:\": give --replace"));
  EXPECT_TRUE(Mentions(Refusal(clean(19, {u"--replace", u"x"})), "asks \"Find What:\": give --find"));
  const CommandLine findReplace = ParseCommandLine(clean(19, {u"--find", u"a", u"--replace", u"b"}));
  EXPECT_EQ(findReplace.answers.find, u"a");
  EXPECT_EQ(findReplace.answers.replace, u"b");
  EXPECT_TRUE(Mentions(Refusal(clean(19, {u"--find", u"a", u"--replace", u"b", u"--answer", u"c"})),
                       "does not take --answer"));
  // A number from 0 to 32767, recognised as the prompt recognises it.
  EXPECT_TRUE(Mentions(Refusal(clean(24, {})), "asks \"Enter Number:\": give --number"));
  EXPECT_EQ(Refusal(clean(24, {u"--number", u"0"})), "");
  EXPECT_EQ(Refusal(clean(24, {u"--number", u" 2.5 "})), "");
  EXPECT_EQ(Refusal(clean(27, {u"--number", u"32767"})), "");
  EXPECT_TRUE(Mentions(Refusal(clean(24, {u"--number", u"32768"})), "from 0 to 32767, not \"32768\""));
  EXPECT_TRUE(Mentions(Refusal(clean(24, {u"--number", u"-1"})), "from 0 to 32767"));
  EXPECT_TRUE(Mentions(Refusal(clean(24, {u"--number", u"three"})), "from 0 to 32767"));
  EXPECT_TRUE(Mentions(Refusal(clean(3, {u"--number", u"3"})), "does not take --number"));
}

}  // namespace
}  // namespace Clean
